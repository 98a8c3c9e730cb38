#include "game/computer/suggested_par.h"

#include <algorithm>
#include <cmath>

#include "game/computer/computer_round.h"

ParJudge::ParJudge(const HoleGrid& hole, int gameCount, std::uint64_t seedGiven)
    : grid(std::make_unique<HoleGrid>(hole)), games(std::max(1, gameCount)), seed(seedGiven)
{
}

ParJudge::~ParJudge() = default;

bool ParJudge::advance(int maxPutts)
{
    while (played < games && maxPutts > 0) {
        if (!run) run = std::make_unique<HoleGameRun>(*grid, Seat::Expert, seed, 1, played + 1);
        const int slice = maxPutts;
        // A run reports its finish without saying how much of the slice it used; one game per
        // call keeps the slices short.
        if (!run->advance(slice)) return false;
        strokes += run->result().strokes;
        run.reset();
        ++played;
        maxPutts = 0;
    }
    return judged();
}

double ParJudge::expected() const { return played > 0 ? static_cast<double>(strokes) / played : 0.0; }

int ParJudge::par() const { return std::clamp(static_cast<int>(std::lround(expected())), 2, 9); }
