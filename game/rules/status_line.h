// The status line shown during a round.
#pragma once

#include <cstddef>

struct GameState;
struct Course;

// "name  strokes  Hole h  Par p" for the player on turn (name cut to 6 characters, strokes
// capped at 99), or "Finished Course" once the last hole is done.
void build_status_text(char* out, size_t size, const GameState& game, const Course& holes);
