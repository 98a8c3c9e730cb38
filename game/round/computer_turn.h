// A computer seat's turn in the live game: it thinks in slices of the time the game waits for
// its next tick (on the game loop's own thread, so no two worlds ever collide at once),
// then moves the putter and power meter to its choice over half a second and strikes,
// through the same turn flow as a person.
#pragma once

#include <chrono>
#include <memory>

#include "game/computer/computer_player.h"

class PuttSearch;
struct GameSession;

// Ticks the putter takes to move to the computer's choice.
constexpr int COMPUTER_AIM_FRAMES = 30;
// Ticks of the move: COMPUTER_AIM_FRAMES, or the tests' longer move when they ask for one.
int computer_aim_frames();
// Frames without a slice after which a slice is taken anyway, so a slow machine still ends
// its thinking.
constexpr int COMPUTER_STARVED_FRAMES = 1;

enum class ComputerPhase {
    Idle = 0,       // not the computer's turn, or waiting for the balls to rest
    Thinking = 1,   // the search runs in slices
    Aiming = 2,     // the putter moves to the choice
    Struck = 3,     // the putt is under way
};

struct ComputerTurn {
    ComputerTurn();
    ~ComputerTurn();
    ComputerTurn(const ComputerTurn&) = delete;
    ComputerTurn& operator=(const ComputerTurn&) = delete;

    ComputerPhase phase = ComputerPhase::Idle;
    std::unique_ptr<PuttSearch> search;   // while thinking
    PointerPutt played;                   // the putt the hand makes of the decision
    int aimFrame = 0;                     // frames of the putter's move so far
    int hole = 0, player = 0, stroke = 0; // the turn the decision is for
    int starvedFrames = 0;                // frames since the last slice
    double puttMs = 4.0;                  // running estimate of one simulated putt, ms
};

// True while the player on turn is a computer seat whose ball is in play in a hole under way.
bool computer_on_turn(const GameSession& s);
// True while the computer, not the pointer, sets the aim (aiming and through the swing).
bool computer_aiming(const GameSession& s);

// Once per frame, after the turn set-up: starts thinking when the computer's ball lies still,
// moves the putter while it aims, strikes, and forgets a turn that was interrupted.
void step_computer_turn(GameSession& s);

// Before the frame waits for its deadline: simulated putts of the search while each is
// expected to end before deadline (one at least every COMPUTER_STARVED_FRAMES frames).
void think_until(GameSession& s, std::chrono::steady_clock::time_point deadline);
