// A computer seat playing a hole alone, headless: decide, putt with the level's hand, and
// again from where the ball came to rest, until it drops or is picked up. The designer's
// tool (round, hole par) and the bench use it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "hole/hole_grid.h"
#include "hole/round_state.h"

// Strokes after which a computer picks its ball up (scoring PICKUP_STROKES).
constexpr int COMPUTER_PICKUP_AFTER = 10;

struct DecisionCost {
    long putts = 0;        // simulated putts
    double cpuMs = 0;      // processor time of the decision
    bool teeShot = false;  // the first stroke of the hole
};

struct HoleGame {
    int strokes = 0;                     // the score: strokes to hole out, or PICKUP_STROKES
    bool pickedUp = false;
    std::vector<DecisionCost> decisions;
};

// Plays grid's hole with seat's level as player (1-based) of hole (1-based) of a round seeded
// roundSeed. The same arguments give the same game.
HoleGame play_hole_game(const HoleGrid& grid, Seat seat, std::uint64_t roundSeed, int hole, int player);

struct PuttTable;
class PuttSearch;
struct TurnSnapshot;

// The same game played in slices, so that it can be spread over frames: each advance plays at
// most about maxPutts simulated putts (the searches' and the strokes'). However it is sliced,
// the game is the one play_hole_game plays.
class HoleGameRun {
public:
    HoleGameRun(const HoleGrid& grid, Seat seat, std::uint64_t roundSeed, int hole, int player);
    ~HoleGameRun();
    HoleGameRun(const HoleGameRun&) = delete;
    HoleGameRun& operator=(const HoleGameRun&) = delete;

    // Plays on; true once the ball has dropped or been picked up.
    bool advance(int maxPutts);
    bool finished() const { return done; }
    const HoleGame& result() const { return game; }

private:
    void finish(int strokes, bool pickedUp);

    std::unique_ptr<PuttTable> table;
    std::unique_ptr<PuttSearch> search;
    std::unique_ptr<TurnSnapshot> turn;
    Seat seat;
    std::uint64_t roundSeed;
    int hole, player;
    int stroke = 1;
    double decisionMs = 0;
    bool done = false;
    HoleGame game;
};

// Parses "novice", "club" or "expert" (any case); false for anything else.
bool seat_from_name(const char* text, Seat& out);
// "Person", "Novice", "Club" or "Expert".
const char* seat_name(Seat seat);
