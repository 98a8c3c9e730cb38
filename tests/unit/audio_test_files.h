// Small WAV and MIDI files made by the audio tests themselves, in a temporary folder.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace audio_test {

inline void put16(std::vector<uint8_t>& v, unsigned x)
{
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}

inline void put32(std::vector<uint8_t>& v, uint32_t x)
{
    for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (8 * i)));
}

inline void put_id(std::vector<uint8_t>& v, const char* id) { v.insert(v.end(), id, id + 4); }

// A "fmt " chunk body of 16 bytes.
inline std::vector<uint8_t> fmt_body(unsigned tag, unsigned channels, uint32_t rate, unsigned bits)
{
    std::vector<uint8_t> f;
    put16(f, tag);
    put16(f, channels);
    put32(f, rate);
    put32(f, rate * channels * (bits / 8));
    put16(f, channels * (bits / 8));
    put16(f, bits);
    return f;
}

inline void put_chunk(std::vector<uint8_t>& v, const char* id, const std::vector<uint8_t>& body)
{
    put_id(v, id);
    put32(v, uint32_t(body.size()));
    v.insert(v.end(), body.begin(), body.end());
    if (body.size() & 1) v.push_back(0);
}

// "RIFF" size "WAVE" followed by the given chunks.
inline std::vector<uint8_t> riff_wave(const std::vector<uint8_t>& chunks)
{
    std::vector<uint8_t> v;
    put_id(v, "RIFF");
    put32(v, uint32_t(4 + chunks.size()));
    put_id(v, "WAVE");
    v.insert(v.end(), chunks.begin(), chunks.end());
    return v;
}

// 16-bit mono PCM at rate whose sample k holds the value k (a ramp marks the play position).
inline std::vector<uint8_t> ramp_wave(unsigned frames, uint32_t rate = 22050)
{
    std::vector<uint8_t> data;
    for (unsigned k = 0; k < frames; ++k) put16(data, k & 0x7FFF);
    std::vector<uint8_t> chunks;
    put_chunk(chunks, "fmt ", fmt_body(1, 1, rate, 16));
    put_chunk(chunks, "data", data);
    return riff_wave(chunks);
}

inline void put_be32(std::vector<uint8_t>& v, uint32_t x)
{
    for (int i = 3; i >= 0; --i) v.push_back(uint8_t(x >> (8 * i)));
}

// A one-track Standard MIDI File: a few notes on a piano, then the end of the track.
inline std::vector<uint8_t> small_midi()
{
    std::vector<uint8_t> track = {0x00, 0xC0, 0x00};
    for (int n = 0; n < 4; ++n) {
        uint8_t note = uint8_t(60 + 2 * n);
        const uint8_t on[] = {0x00, 0x90, note, 100, 0x60, 0x80, note, 0};
        track.insert(track.end(), on, on + sizeof on);
    }
    const uint8_t end[] = {0x00, 0xFF, 0x2F, 0x00};
    track.insert(track.end(), end, end + sizeof end);
    std::vector<uint8_t> v = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96};
    put_id(v, "MTrk");
    put_be32(v, uint32_t(track.size()));
    v.insert(v.end(), track.begin(), track.end());
    return v;
}

inline void write_bytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// A fresh folder under the system's temporary directory, removed with its files at the end.
class TempDir {
public:
    TempDir()
    {
        char pattern[] = "/tmp/mg-audio-XXXXXX";
        if (char* made = mkdtemp(pattern)) path_ = made;
    }
    ~TempDir()
    {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

}  // namespace audio_test
