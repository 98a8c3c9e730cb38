#include "hole/round_rules.h"

#include <algorithm>

namespace {

bool hole_in_table(int hole) { return hole >= 1 && hole <= MAX_HOLES; }

int slot_on_turn(const GameState& game) { return std::clamp(game.currentPlayer, 1, MAX_PLAYERS) - 1; }

}  // namespace

void count_stroke(GameState& game, int slot)
{
    if (slot >= 0 && slot < MAX_PLAYERS) game.players[slot].holeStrokes += 1;
}

void pass_turn(GameState& game, bool strokeTaken)
{
    // Bounded: if every player has holed out (which the hole's end normally prevents) the
    // turn goes to player 1.
    for (int tries = 0; tries <= MAX_PLAYERS; ++tries) {
        if (game.currentPlayer < game.playerCount && strokeTaken) game.currentPlayer += 1;
        else game.currentPlayer = 1;
        if (!game.players[slot_on_turn(game)].holedOut) return;
    }
    game.currentPlayer = 1;
}

void score_hole(GameState& game, int slot, int strokes)
{
    if (slot < 0 || slot >= MAX_PLAYERS) return;
    if (hole_in_table(game.currentHole)) game.scoreTable[slot][game.currentHole - 1] = strokes;
    game.players[slot].holeStrokes = 0;
}

bool skip_picks_up(const GameState& game, int slot)
{
    return slot >= 0 && slot < MAX_PLAYERS && game.players[slot].holeStrokes + 1 >= PICKUP_STROKES;
}

bool hole_complete(const GameState& game)
{
    if (game.playerCount == 0) return true;
    for (int p = 0; p < game.playerCount && p < MAX_PLAYERS; ++p) {
        // Past the last column of the score card only the holed flags can tell.
        bool done = hole_in_table(game.currentHole) ? game.scoreTable[p][game.currentHole - 1] != 0
                                                    : game.players[p].holedOut;
        if (!done) return false;
    }
    return true;
}

void end_hole(GameState& game)
{
    game.ballReady = false;
    game.holeAdvanceCountdown = 1;
    if (game.currentHole < MAX_HOLES + 1) game.currentHole += 1;
    for (Player& player : game.players) player.holedOut = false;
    game.currentPlayer = 1;
    if (game.playerCount == 0) {
        game.holeAdvanceCountdown = 0;
        game.currentHole = 1;
    }
}
