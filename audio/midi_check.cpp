#include "audio/midi_check.h"

#include <cstring>

static uint32_t be32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

static uint16_t be16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

bool check_midi_file(const uint8_t* data, size_t size, std::string* why)
{
    if (size < 14 || std::memcmp(data, "MThd", 4) != 0) {
        *why = "not a MIDI file";
        return false;
    }
    uint32_t headerSize = be32(data + 4);
    if (headerSize < 6 || headerSize > size - 8) {
        *why = "bad MIDI header";
        return false;
    }
    uint16_t format = be16(data + 8);
    uint16_t tracks = be16(data + 10);
    uint16_t division = be16(data + 12);
    if (format > 2 || tracks == 0 || division == 0) {
        *why = "bad MIDI header";
        return false;
    }
    size_t pos = 8 + size_t(headerSize);
    unsigned found = 0;
    while (found < tracks) {
        if (size - pos < 8) {
            *why = "a track is missing";
            return false;
        }
        uint32_t chunkSize = be32(data + pos + 4);
        if (chunkSize > size - pos - 8) {
            *why = "a chunk runs past the end of the file";
            return false;
        }
        if (std::memcmp(data + pos, "MTrk", 4) == 0) ++found;
        pos += 8 + size_t(chunkSize);
    }
    return true;
}
