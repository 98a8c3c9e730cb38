// Events that move a ball or end a hole outright: warps, the cup, picking a ball up, and the
// oscillating blocks.
#pragma once

#include "hole/hole_grid.h"

class PhysicsWorld;

// Moves ball slot to the exit of the warp whose entry is tile (i, j); it stops dead and
// drops from two levels above the exit tile. An entry without a complete pair does nothing.
void warp_ball(PhysicsWorld& w, int slot, int i, int j);
// Ball slot touched the cup bottom: park it, write its score, and complete the hole when
// every player has finished.
void ball_holed(PhysicsWorld& w, int slot);
// The current player gives up the hole for PICKUP_STROKES.
void pick_up_ball(PhysicsWorld& w);
// The current player's time for the turn ran out: one stroke is counted and the turn passes
// once every ball rests, as after a putt. A ball still on the tee leaves it until its next
// turn, so the next ball can be teed. A skip that brings the hole to PICKUP_STROKES picks
// the ball up instead, so a player who is away cannot hold a hole open for ever.
void skip_turn(PhysicsWorld& w);

// Top height of an oscillating block on a tile of height H at oscillation frame t.
float moving_block_top(int t, int H);
// Per oscillating-block tile per frame, in i-then-j order: plays the block sound at the
// phase changes and moves the block's physics box.
void step_moving_block(PhysicsWorld& w, float x, float y, int H);
// Calls step_moving_block for every oscillating-block tile of the world's grid in build order
// (what the tile drawing does each frame; used where nothing is drawn).
void step_moving_blocks(PhysicsWorld& w);
// Advances the oscillation frame by one frame, wrapping after 480.
void advance_oscillation_frame(PhysicsWorld& w);
