// WAVE files: the chunk walk, then every data byte read twice (after a reset).
#include <vector>

#include "audio/wave_reader.h"
#include "tests/fuzz/fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WaveReader reader;
    if (!reader.open(fuzz_write_input("sound.wav", data, size))) return 0;
    FUZZ_CHECK(reader.data_size() <= size);
    std::vector<uint8_t> buffer(4096);
    for (int pass = 0; pass < 2; ++pass) {
        size_t total = 0, got = 0;
        while (reader.bytes_left() > 0 && reader.read(buffer.size(), buffer.data(), &got) && got > 0) total += got;
        FUZZ_CHECK(total <= reader.data_size());
        if (!reader.reset()) break;
    }
    return 0;
}
