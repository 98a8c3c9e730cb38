// The par the course maker suggests for a hole: what the Expert computer player is expected
// to need, over a few seeded games (the same games `minigolf-tool hole par` plays first).
#pragma once

#include <cstdint>
#include <memory>

#include "hole/hole_grid.h"

class HoleGameRun;

constexpr int PAR_JUDGE_GAMES = 6;

// Judges one hole in slices, so that the course maker's dialog stays responsive: each advance
// plays about maxPutts simulated putts. The grid is copied.
class ParJudge {
public:
    explicit ParJudge(const HoleGrid& grid, int games = PAR_JUDGE_GAMES, std::uint64_t seed = 1);
    ~ParJudge();
    ParJudge(const ParJudge&) = delete;
    ParJudge& operator=(const ParJudge&) = delete;

    // Plays on; true once every game is played.
    bool advance(int maxPutts);
    bool judged() const { return played == games; }
    // The mean strokes so far, and the par they give: max(2, the mean rounded), at most 9.
    double expected() const;
    int par() const;

private:
    std::unique_ptr<HoleGrid> grid;
    std::unique_ptr<HoleGameRun> run;
    int games;
    std::uint64_t seed;
    int played = 0;
    long strokes = 0;
};
