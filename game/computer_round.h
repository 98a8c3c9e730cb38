// A computer seat playing a hole alone, headless: decide, putt with the level's hand, and
// again from where the ball came to rest, until it drops or is picked up. The designer's
// tool (round, hole par) and the bench use it.
#pragma once

#include <cstdint>
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

// Parses "novice", "club" or "expert" (any case); false for anything else.
bool seat_from_name(const char* text, Seat& out);
// "Person", "Novice", "Club" or "Expert".
const char* seat_name(Seat seat);
