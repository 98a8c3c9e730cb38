// Drawing the score card and leader board screens over their dialogs.
#pragma once

// The score card of the round in play (gameState, course) over the window of w x h pixels.
void draw_score_card(int w, int h);
// The leader board of the course loaded now (leaderBoard, course.holeCount).
void draw_leader_board(int w, int h);
