// The round: holes played in order, turns, the pause between holes, Go To Hole, loading
// another course and restarting. No window code; what needs the screen goes through
// roundHooks.
#pragma once

struct RoundHooks {
    void (*open_score_card)() = nullptr;                                 // the score card screen
    void (*show_message)(const char* text, const char* caption) = nullptr;   // a problem to report
    void (*start_hole_music)() = nullptr;                                // this hole's music
};

extern RoundHooks roundHooks;

// Round start: the course's leader board, hole 1 on the next frame.
void begin_round();

// The hole advance, once per frame while holeAdvanceCountdown > 0: counts the pause after a
// finished hole, then loads the next hole or finishes the course. A hole whose file cannot
// be read is reported and skipped, so the round never sticks.
void advance_hole();

// In draw_scene, before the camera: the player on turn's ball is followed and, for players
// after the first, dropped onto the tee the first time their turn comes.
void set_up_turn();

// In draw_scene, while no editor tool is selected: teeState 2 puts player 1's ball on the
// tee; teeState 1 takes it off the course.
void set_up_tee();

// Go To Hole confirmed with hole number n (refused below 1): the round moves there unscored.
bool go_to_hole(int n);

// After a new course has been loaded from the play menu: the same players start it.
void begin_loaded_course();

// Back to the start screen's state: no players, no course, an empty hole.
void reset_round();
