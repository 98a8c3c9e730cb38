// Reading RIFF WAVE files: the chunk walk to "fmt " and "data", then the PCM bytes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The "fmt " chunk: its first 16 bytes, then the extra bytes of formats other than plain PCM.
struct WaveFormat {
    uint16_t formatTag = 0;        // 1 PCM, 3 IEEE float, 0xFFFE extensible
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;       // bytes per frame (all channels)
    uint16_t bitsPerSample = 0;
    uint16_t extraSize = 0;        // 0 for PCM
    std::vector<uint8_t> extra;    // extraSize bytes
};

constexpr uint16_t WAVE_FORMAT_PCM = 1;
constexpr uint16_t WAVE_FORMAT_IEEE_FLOAT = 3;
constexpr uint16_t WAVE_FORMAT_EXTENSIBLE = 0xFFFE;

// Reads one WAVE file. Every chunk size is checked against the end of the file, so a
// truncated or lying file is refused and nothing outside the file is ever read.
class WaveReader {
public:
    WaveReader() = default;
    ~WaveReader() { close(); }
    WaveReader(const WaveReader&) = delete;
    WaveReader& operator=(const WaveReader&) = delete;

    // Opens path, checks the "RIFF"/"WAVE" header, reads the format and finds the data.
    // False (with error() saying why) when the file is missing or malformed; the reader is
    // closed then.
    bool open(const std::string& path);
    // Goes back to the first data byte; bytes_left() becomes the data size again.
    bool reset();
    // Copies min(count, bytes_left()) data bytes into dest and puts that number in *bytesRead.
    // False when the file could not deliver them.
    bool read(size_t count, uint8_t* dest, size_t* bytesRead);
    void close();

    bool is_open() const { return file_ != nullptr; }
    const WaveFormat& format() const { return format_; }
    uint32_t data_size() const { return dataSize_; }
    uint32_t bytes_left() const { return bytesLeft_; }
    const std::string& error() const { return error_; }

private:
    bool fail(std::string why);
    // Looks for chunk id between from and end (file offsets); on success start is the
    // offset of its contents and size their length, which lies wholly before end.
    bool find_chunk(const char id[4], uint64_t from, uint64_t end, uint64_t* start, uint32_t* size);
    bool read_at(uint64_t offset, void* dest, size_t count);

    std::FILE* file_ = nullptr;
    uint64_t fileSize_ = 0;
    uint64_t riffStart_ = 0;      // first byte after "WAVE"
    uint64_t riffEnd_ = 0;        // end of the RIFF chunk's contents
    uint64_t dataStart_ = 0;      // first byte of the "data" chunk's contents
    uint32_t dataSize_ = 0;
    uint32_t bytesLeft_ = 0;
    WaveFormat format_;
    std::string error_;
};
