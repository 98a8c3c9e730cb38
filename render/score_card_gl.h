// Drawing the score card and leader board screens over their dialogs.
#pragma once

#include "hole/course.h"
#include "hole/leader_board.h"
#include "hole/round_state.h"
#include "render/textures.h"

// The score card of round on course over the window of w x h pixels.
void draw_score_card(const TextureTable& textures, const GameState& round, const Course& course, int w, int h);
// The leader board of a course of holeCount holes.
void draw_leader_board(const LeaderBoard& board, int holeCount, int w, int h);
