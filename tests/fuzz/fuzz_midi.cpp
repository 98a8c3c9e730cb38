// MIDI files: the check made before the synthesiser sees the bytes.
#include <string>

#include "audio/midi_check.h"
#include "tests/fuzz/fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string why;
    if (!check_midi_file(data, size, &why)) FUZZ_CHECK(!why.empty());
    return 0;
}
