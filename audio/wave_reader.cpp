#include "audio/wave_reader.h"

#include <cstring>
#include <utility>

static uint32_t le32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

static uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

bool WaveReader::fail(std::string why)
{
    close();
    error_ = std::move(why);
    return false;
}

bool WaveReader::read_at(uint64_t offset, void* dest, size_t count)
{
    if (offset > fileSize_ || count > fileSize_ - offset) return false;
    if (std::fseek(file_, long(offset), SEEK_SET) != 0) return false;
    return std::fread(dest, 1, count, file_) == count;
}

bool WaveReader::find_chunk(const char id[4], uint64_t from, uint64_t end, uint64_t* start,
                            uint32_t* size)
{
    uint64_t pos = from;
    // Each step moves at least one 8-byte header forward, so the walk ends.
    while (pos + 8 <= end) {
        uint8_t header[8];
        if (!read_at(pos, header, 8)) return false;
        uint32_t chunkSize = le32(header + 4);
        if (chunkSize > end - pos - 8) {
            error_ = "a chunk runs past the end of the file";
            return false;
        }
        if (std::memcmp(header, id, 4) == 0) {
            *start = pos + 8;
            *size = chunkSize;
            return true;
        }
        // Chunks are word aligned: an odd-sized one is followed by a pad byte.
        pos += 8 + uint64_t(chunkSize) + (chunkSize & 1);
    }
    return false;
}

bool WaveReader::open(const std::string& path)
{
    close();
    error_.clear();
    format_ = WaveFormat{};
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) return fail("cannot open the file");
    if (std::fseek(file_, 0, SEEK_END) != 0) return fail("cannot seek in the file");
    long size = std::ftell(file_);
    if (size < 0) return fail("cannot size the file");
    fileSize_ = uint64_t(size);

    uint8_t riff[12];
    if (!read_at(0, riff, sizeof riff)) return fail("too short for a RIFF header");
    if (std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) {
        return fail("not a RIFF WAVE file");
    }
    uint64_t riffSize = le32(riff + 4);
    if (riffSize < 4 || 8 + riffSize > fileSize_) return fail("the RIFF chunk runs past the end of the file");
    riffStart_ = 12;
    riffEnd_ = 8 + riffSize;

    uint64_t fmtStart = 0;
    uint32_t fmtSize = 0;
    if (!find_chunk("fmt ", riffStart_, riffEnd_, &fmtStart, &fmtSize)) {
        return fail(error_.empty() ? "no \"fmt \" chunk" : error_);
    }
    if (fmtSize < 16) return fail("the \"fmt \" chunk is shorter than 16 bytes");
    uint8_t fmt[16];
    if (!read_at(fmtStart, fmt, sizeof fmt)) return fail("cannot read the \"fmt \" chunk");
    format_.formatTag = le16(fmt);
    format_.channels = le16(fmt + 2);
    format_.samplesPerSec = le32(fmt + 4);
    format_.avgBytesPerSec = le32(fmt + 8);
    format_.blockAlign = le16(fmt + 12);
    format_.bitsPerSample = le16(fmt + 14);
    // Formats other than plain PCM carry a size and that many extra bytes; a bare 16-byte
    // chunk means none.
    if (format_.formatTag != WAVE_FORMAT_PCM && fmtSize >= 18) {
        uint8_t extraSize[2];
        if (!read_at(fmtStart + 16, extraSize, 2)) return fail("cannot read the format's extra size");
        format_.extraSize = le16(extraSize);
        if (format_.extraSize > fmtSize - 18) return fail("the format's extra bytes run past its chunk");
        format_.extra.resize(format_.extraSize);
        if (format_.extraSize > 0 && !read_at(fmtStart + 18, format_.extra.data(), format_.extraSize)) {
            return fail("cannot read the format's extra bytes");
        }
    }
    if (!reset()) return fail(error_);
    return true;
}

bool WaveReader::reset()
{
    if (!file_) {
        error_ = "not open";
        return false;
    }
    error_.clear();
    uint64_t start = 0;
    uint32_t size = 0;
    if (!find_chunk("data", riffStart_, riffEnd_, &start, &size)) {
        if (error_.empty()) error_ = "no \"data\" chunk";
        return false;
    }
    dataStart_ = start;
    dataSize_ = size;
    bytesLeft_ = size;
    return std::fseek(file_, long(dataStart_), SEEK_SET) == 0;
}

bool WaveReader::read(size_t count, uint8_t* dest, size_t* bytesRead)
{
    *bytesRead = 0;
    if (!file_) return false;
    size_t n = count < bytesLeft_ ? count : bytesLeft_;
    uint64_t offset = dataStart_ + (dataSize_ - bytesLeft_);
    if (n > 0 && !read_at(offset, dest, n)) {
        error_ = "the data ended early";
        return false;
    }
    bytesLeft_ -= uint32_t(n);
    *bytesRead = n;
    return true;
}

void WaveReader::close()
{
    if (file_) std::fclose(file_);
    file_ = nullptr;
    fileSize_ = riffStart_ = riffEnd_ = dataStart_ = 0;
    dataSize_ = bytesLeft_ = 0;
}
