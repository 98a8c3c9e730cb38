// The structure of a Standard MIDI File, down to each track's events, checked before the
// synthesiser sees it: FluidSynth's player takes any bytes at load time, then fails to read a
// malformed track while playing and, with the music looping, tries again without end inside
// the mixer's callback, which holds the audio lock, so the game would freeze.
#include "audio/midi_check.h"

#include <cstring>

namespace {

// FluidSynth's player fails to load a file of 128 tracks or more.
constexpr unsigned MAX_TRACKS = 127;

uint32_t be32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

uint16_t be16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

// Reads a variable-length number of at most four bytes at pos, before end.
bool read_varlen(const uint8_t* data, size_t& pos, size_t end, uint32_t& value)
{
    value = 0;
    for (int k = 0; k < 4; ++k) {
        if (pos >= end) return false;
        const uint8_t c = data[pos++];
        value = value << 7 | (c & 0x7F);
        if (!(c & 0x80)) return true;
    }
    return false;
}

// Data bytes after a channel message's status byte.
int channel_data_bytes(uint8_t status)
{
    const uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

// The events of the track in data[pos, end): each within the track, ending with an End of
// Track meta event; whatever follows that is ignored, as players do. ticks becomes the
// track's length (its events' delta times added up).
bool check_track(const uint8_t* data, size_t pos, size_t end, uint64_t& ticks, std::string* why)
{
    uint8_t running = 0;   // the status a data byte in first place continues; 0 = none
    ticks = 0;
    for (;;) {
        uint32_t delta = 0;
        if (pos >= end) {
            *why = "a track has no end";
            return false;
        }
        if (!read_varlen(data, pos, end, delta) || pos >= end) {
            *why = "a track's event runs past its end";
            return false;
        }
        ticks += delta;
        uint8_t status = data[pos];
        if (status & 0x80) {
            ++pos;
        } else if (running) {
            status = running;
        } else {
            *why = "a track's event has no status";
            return false;
        }
        if (status == 0xFF || status == 0xF0 || status == 0xF7) {
            // Meta and system exclusive events: a length and that many bytes; they end any
            // running status.
            running = 0;
            uint8_t type = 0;
            if (status == 0xFF) {
                if (pos >= end) {
                    *why = "a track's event runs past its end";
                    return false;
                }
                type = data[pos++];
            }
            uint32_t length = 0;
            if (!read_varlen(data, pos, end, length) || length > end - pos) {
                *why = "a track's event runs past its end";
                return false;
            }
            pos += length;
            if (status != 0xFF) continue;
            // The meta events the player acts on have the lengths the format gives them.
            const bool badLength = (type == 0x2F && length != 0) || (type == 0x51 && length != 3) ||
                                   (type == 0x58 && length != 4) || (type == 0x59 && length != 2) ||
                                   (type == 0x54 && length != 5);
            if (badLength) {
                *why = "a meta event has the wrong length";
                return false;
            }
            if (type == 0x2F) return true;
            continue;
        }
        if (status >= 0xF0) {
            *why = "a track holds a system message";
            return false;
        }
        running = status;
        const int bytes = channel_data_bytes(status);
        if (size_t(bytes) > end - pos) {
            *why = "a track's event runs past its end";
            return false;
        }
        for (int k = 0; k < bytes; ++k) {
            if (data[pos + size_t(k)] & 0x80) {
                *why = "a channel message has a bad data byte";
                return false;
            }
        }
        pos += size_t(bytes);
    }
}

}  // namespace

bool check_midi_file(const uint8_t* data, size_t size, std::string* why)
{
    if (size < 14 || std::memcmp(data, "MThd", 4) != 0) {
        *why = "not a MIDI file";
        return false;
    }
    // Players read the six header bytes and expect the first chunk right after them.
    uint32_t headerSize = be32(data + 4);
    if (headerSize != 6) {
        *why = "bad MIDI header";
        return false;
    }
    uint16_t format = be16(data + 8);
    uint16_t tracks = be16(data + 10);
    uint16_t division = be16(data + 12);
    // A negative division (SMPTE frames) is not played.
    if (format > 2 || tracks == 0 || division == 0 || (division & 0x8000) != 0) {
        *why = "bad MIDI header";
        return false;
    }
    if (tracks > MAX_TRACKS) {
        *why = "too many tracks";
        return false;
    }
    size_t pos = 14;
    unsigned found = 0;
    uint64_t longest = 0;
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
        // Only tracks: a player reading chunk after chunk does not skip others reliably.
        if (std::memcmp(data + pos, "MTrk", 4) != 0) {
            *why = "a chunk that is not a track";
            return false;
        }
        uint64_t ticks = 0;
        if (!check_track(data, pos + 8, pos + 8 + size_t(chunkSize), ticks, why)) return false;
        if (ticks > longest) longest = ticks;
        ++found;
        pos += 8 + size_t(chunkSize);
    }
    // Looped, a piece that takes no time at all starts again and again within one buffer.
    if (longest == 0) {
        *why = "the music lasts no time";
        return false;
    }
    return true;
}
