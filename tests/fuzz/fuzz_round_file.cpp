// Round files: from text and from the file, and a round that reads writes back to text that
// reads as the same round.
#include "hole/round_file.h"
#include "tests/fuzz/fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    RoundFile round;
    std::string error;
    const bool parsed = parse_round_file(text, round, &error);
    FUZZ_CHECK(parsed || !error.empty());

    RoundFile fromFile;
    std::string fileError;
    FUZZ_CHECK(read_round_file(fuzz_write_input("round_in_play.rnd", data, size), fromFile, &fileError) == parsed);
    if (!parsed) return 0;

    FUZZ_CHECK(!round.seats.empty() && round.seats.size() <= static_cast<size_t>(MAX_PLAYERS));
    FUZZ_CHECK(round.hole >= 1 && round.hole <= round.holeCount && round.holeCount <= MAX_HOLES);
    FUZZ_CHECK(round.currentPlayer >= 1 && round.currentPlayer <= static_cast<int>(round.seats.size()));
    const std::string written = format_round_file(round);
    RoundFile again;
    FUZZ_CHECK(parse_round_file(written, again, &error));
    FUZZ_CHECK(format_round_file(again) == written);
    return 0;
}
