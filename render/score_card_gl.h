// Drawing the score card and leader board screens over their dialogs.
#pragma once

#include "hole/course.h"
#include "hole/leader_board.h"
#include "hole/round_state.h"
#include "render/textures.h"

class puFont;

// The texture fonts the screens write with, which grow with the widgets; null ones leave
// GLUT's bitmap fonts (Helvetica 18 and 12) standing in, at their pixel size.
struct ScoreCardFonts {
    const puFont* text = nullptr;   // 18 units high
    const puFont* note = nullptr;   // 12 units high
};

// The score card of round on course over the window of w x h pixels, with the widgets' scale
// factor: the card is laid out in a window of (w / factor) x (h / factor) and stretched to it.
void draw_score_card(const TextureTable& textures, const GameState& round, const Course& course, int w, int h,
                     double factor = 1.0, const ScoreCardFonts& fonts = {});
// The leader board of a course of holeCount holes, in the same way.
void draw_leader_board(const LeaderBoard& board, int holeCount, int w, int h, double factor = 1.0,
                       const ScoreCardFonts& fonts = {});
