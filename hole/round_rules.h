// The round's rules on the score card: strokes counted, scores written, the turn passed, the
// hole ended. The physics world reports what the balls did (a strike, every ball at rest
// after it, a ball in the cup or picked up) and these rules act on the report at once, so a
// hole plays the same on every machine and in every replay. Nothing here knows a ball.
#pragma once

#include "hole/round_state.h"

// Player slot (0-based) struck the ball: one more stroke on the hole.
void count_stroke(GameState& game, int slot);

// Every ball rests after a stroke: the turn goes to the next player who has not holed out,
// wrapping to player 1 (player 1 again when no stroke was taken on the hole).
void pass_turn(GameState& game, bool strokeTaken);

// Player slot is done with the hole for strokes (in the cup, or picked up): the score is
// written in the card's column of the hole, and the hole's count starts again.
void score_hole(GameState& game, int slot, int strokes);

// Player slot's turn ran out: true when the stroke it costs would bring the hole to
// PICKUP_STROKES, so the ball is picked up instead (an absent player cannot hold a hole open).
bool skip_picks_up(const GameState& game, int slot);

// True when every player is done with the hole in play.
bool hole_complete(const GameState& game);

// The hole is over: nobody has holed out on the next one, player 1 is up, and the pause
// before it begins (no pause, and hole 1, when nobody plays).
void end_hole(GameState& game);
