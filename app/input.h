// The aiming state machine and what input needs from the rest of the game.
#pragma once

constexpr int AIM_START = 101;   // start (or cancel) aiming
constexpr int AIM_STRIKE = 32;   // strike

// One step of the aiming state: AIM_START from the Putt button or the window edge,
// AIM_STRIKE from a left click while aiming.
void aim_input(int code);

// Whether the editor lets a click act at the pointer now.
bool editor_click_allowed();
// Whether the pointer is on the score card's close button (pixels, y from the top).
bool score_card_close_hit(int px, int py, int windowHeight);
// Rebuilds the hole's physics geometry from the grid.
void rebuild_hole_geometry();
