// The round: holes played in order, turns, the pause between holes, Go To Hole, loading
// another course and restarting. No window code; what needs the screen goes through the
// session's hooks.
#pragma once

struct GameSession;

// Loads hole number hole of the course with the balls parked; false (reported) when its
// file cannot be read.
bool start_round_hole(GameSession& s, int hole);

// Round start: the course's leader board, hole 1 on the next frame.
void begin_round(GameSession& s);

// The hole advance, once per frame while holeAdvanceCountdown > 0: counts the pause after a
// finished hole, then loads the next hole or finishes the course. A hole whose file cannot
// be read is reported and skipped, so the round never sticks.
void advance_hole(GameSession& s);

// In draw_scene, before the camera: the player on turn's ball is followed and, for players
// after the first, dropped onto the tee the first time their turn comes.
void set_up_turn(GameSession& s);

// In draw_scene, while no editor tool is selected: a waiting tee puts player 1's ball on the
// tee; no tee takes it off the course.
void set_up_tee(GameSession& s);

// Go To Hole confirmed with hole number n (refused below 1): the round moves there unscored.
bool go_to_hole(GameSession& s, int n);

// After a new course has been loaded from the play menu: the same players start it.
void begin_loaded_course(GameSession& s);

// Back to the start screen's state: no players, no course, an empty hole.
void reset_round(GameSession& s);
