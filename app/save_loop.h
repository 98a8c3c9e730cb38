// A test's trigger: MG_SAVE_LOOP=DIR makes the game save a hole, its settings and a leader
// board into DIR over and over (flipping each between two versions) instead of starting.
#pragma once

#include "platform/window_state.h"
#include "hole/hole_grid.h"
#include "hole/leader_board.h"

// Fills the three records with version 0 or 1 of what the loop saves.
void save_loop_versions(int version, HoleGrid& grid, WindowState& window, LeaderBoard& board);
// Runs the loop (and never returns) when MG_SAVE_LOOP is set; returns at once otherwise.
void run_save_loop_if_asked();
