// The hole solver: a bounded, deterministic search of putts (direction and power) played
// with the real physics, stroke after stroke, for a way into the cup.
#pragma once

#include <string>
#include <vector>

#include "hole/hole_grid.h"
#include "physics/putt_play.h"

struct SolveOptions {
    int maxStrokes = 6;          // deepest sequence tried
    int beamWidth = 4;           // resting places carried on to the next stroke
    int angleStep = 400;         // coarse sweep, hundredths of a degree
    long maxStepsPerPutt = 12000;
    bool verbose = false;        // progress on stderr
};

struct SolveResult {
    bool solved = false;
    std::vector<Putt> putts;     // the holing sequence
    long putts_simulated = 0;
    double seconds = 0;
};

// Searches the world's hole for the shortest holing sequence the search finds. Same hole and
// options, same answer.
SolveResult solve_hole(PhysicsWorld& w, const SolveOptions& options);

// minigolf-tool hole solve FILE.top [--max-strokes N] [--beam B] [--angle-step TENTHS] [--verbose]
int cmd_hole_solve(int argc, char** argv);
