// Hole files: the reader, the canonical form read back, the checks the tool runs, and the
// hole played for a few hundred ball steps so that whatever the file holds reaches the
// geometry, the ball step and the warps.
#include <cstring>

#include "hole/hole_check.h"
#include "hole/hole_file.h"
#include "physics/putt_play.h"
#include "tests/fuzz/fuzz_util.h"

namespace {

constexpr long PLAYED_STEPS = 300;

// The one place this target touches the physics: the hole's geometry, the ball on the tee
// and one putt of at most PLAYED_STEPS ball steps.
void play_fuzzed_hole(const HoleGrid& grid, double angle, double power)
{
    // One world for the whole run, as the game keeps one; each input gets the hole afresh.
    static PuttTable* table = new PuttTable();
    table->grid = grid;
    if (!start_hole_play(table->world, 1)) return;
    PuttWatch watch;
    watch.maxSteps = PLAYED_STEPS;
    play_putt(table->world, angle, power, watch);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = fuzz_write_input("hole.top", data, size);
    static HoleGrid grid;
    clear_hole(grid);
    if (!read_hole_file(grid, path, nullptr)) return 0;
    check_hole(grid);

    // What is written reads back the same.
    std::string text = format_hole(grid);
    std::string again = fuzz_write_input("again.top", reinterpret_cast<const uint8_t*>(text.data()), text.size());
    static HoleGrid copy;
    clear_hole(copy);
    FUZZ_CHECK(read_hole_file(copy, again, nullptr));
    FUZZ_CHECK(format_hole(copy) == text);

    // The aim comes from the input too, so a corpus explores putts as well as holes.
    unsigned hash = 2166136261u;
    for (size_t k = 0; k < size; ++k) hash = (hash ^ data[k]) * 16777619u;
    play_fuzzed_hole(grid, hash % 360, 1 + (hash >> 9) % 54);
    return 0;
}
