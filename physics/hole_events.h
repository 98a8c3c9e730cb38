// Events that move a ball or end a hole outright: warps, the cup, picking a ball up, and the
// oscillating blocks.
#pragma once

#include "hole/hole_grid.h"

constexpr int OSCILLATION_FRAMES = 480;

extern int oscillationFrame;   // 1..480, shared by every oscillating block
extern int cupContacts;        // 0..2, 0 between events

// Moves ball slot to the exit of the warp whose entry is tile (i, j); it stops dead and
// drops from two levels above the exit tile. An entry without a complete pair does nothing.
void warp_ball(int slot, int i, int j);
// Ball slot touched the cup bottom: park it, write its score, and complete the hole when
// every player has finished.
void ball_holed(int slot);
// The current player gives up the hole for PICKUP_STROKES.
void pick_up_ball();

// Top height of an oscillating block on a tile of height H for the current frame.
float moving_block_top(int H);
// Per oscillating-block tile per frame, in i-then-j order: plays the block sound at the
// phase changes and moves the block's physics box.
void step_moving_block(float x, float y, int H);
// Calls step_moving_block for every oscillating-block tile of grid in build order (what the
// tile drawing does each frame; used where nothing is drawn).
void step_moving_blocks(const HoleGrid& grid);
// Advances oscillationFrame by one frame, wrapping after 480.
void advance_oscillation_frame();
