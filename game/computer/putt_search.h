// The computer's choice of putt: a search played in a physics world of its own, from a
// snapshot of the turn, so the live world, the round and the sound are never touched.
// Its budget is counted in simulated putts, never in time: the same snapshot and seed give
// the same decision however the work is cut into slices.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "game/computer/computer_player.h"
#include "hole/hole_grid.h"
#include "physics/putt_play.h"

// What a decision depends on: the hole, where the ball on turn lies still, the blocks' phase
// and the strokes already played.
struct TurnSnapshot {
    HoleGrid grid;               // a copy of the hole
    Tee tee;                     // the hole's tee
    BallRest rest;               // the ball on turn, still
};

// The turn of the ball in slot of a live world. The world is only read.
TurnSnapshot snapshot_turn(const PhysicsWorld& live, int slot);
// A turn from the hole's tee (tools and tests).
TurnSnapshot snapshot_tee(const HoleGrid& grid);

// How a searched putt turned out.
struct PuttOutcome {
    bool holed = false;
    double value = 0;            // expected strokes: 1 holed, else 1 + the estimate from the rest
    double position[3] = {};     // where the ball rests (or was judged to come to rest)
};

// Expected strokes still needed from a resting place with route distance tiles to the cup.
double strokes_from_rest(double routeTiles, double cupDistance);

class PuttSearch {
public:
    // A search for the seat's level; seed feeds its noisy checks. Makes its world at once.
    PuttSearch(const TurnSnapshot& turn, Seat seat, std::uint64_t seed);
    ~PuttSearch();
    PuttSearch(const PuttSearch&) = delete;
    PuttSearch& operator=(const PuttSearch&) = delete;

    // Plays at most maxPutts more putts; true once decided.
    bool advance(int maxPutts);
    bool decided() const { return phase == Phase::Decided; }
    // The putt chosen (the intended one; the hand's noise comes afterwards).
    const PointerPutt& decision() const { return chosen; }
    double expected_strokes() const { return chosenExpected; }
    // Putts simulated so far, and the level's budget.
    long simulated() const { return sims; }
    int budget() const { return level.budget; }
    // Plays one putt from the snapshot in the search's world (tools and tests).
    PuttOutcome play(const PointerPutt& putt);

private:
    enum class Phase { Screen, Refine, Check, Decided };
    struct Tried {
        PointerPutt putt;
        PuttOutcome outcome;
    };

    void plan_screen();
    void plan_refine();
    void plan_check();
    void decide();
    std::vector<const Tried*> best_distinct(int count) const;

    std::unique_ptr<PuttTable> table;
    TurnSnapshot turn;
    Seat seat;
    SkillLevel level;
    std::uint64_t seed;
    std::vector<float> field;
    double cup[2] = {};
    bool hasCup = false;

    Phase phase = Phase::Screen;
    std::vector<PointerPutt> jobs;       // putts of the phase, in order
    size_t nextJob = 0;
    std::vector<Tried> tried;            // screened and refined putts
    std::vector<PointerPutt> finalists;
    std::vector<double> checkSums;       // per finalist, summed over the noisy draws
    long sims = 0;
    PointerPutt chosen;
    double chosenExpected = 0;
};
