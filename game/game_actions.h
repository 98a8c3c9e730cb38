// Commands the menus and dialogs carry out.
#pragma once

void new_hole();                      // "Start new hole?" answered Yes
void restart_program();               // back to the start screen, no players, no course
void switch_sound(bool on);           // the Config menu's sound entry
void load_course_from_menu();         // the play menu's "Load Course"
void open_score_card_dialog();
void open_leader_board_dialog();
void open_pick_up_dialog();
void open_go_to_hole_dialog();
void open_resolution_dialog();
void leave_full_screen_if_needed();   // "Really switch to windowed mode?" answered Yes
void recentre_game_dialogs(int windowWidth, int windowHeight);

#include <functional>
#include <string>

// The "Load Course File" dialog; onLoaded runs once the chosen course is unpacked and
// read, onCancelled when the user cancels (or the course cannot be played).
void open_course_dialog(bool fromPlayMenu, std::function<void()> onLoaded, std::function<void()> onCancelled);
// Loads the course file at path as the dialog's OK does.
void load_chosen_course(bool fromPlayMenu, const std::string& path, std::function<void()> onLoaded,
                        std::function<void()> onCancelled);
// The round start: the course's leader board, the play widgets, hole 1 on the next frame.
void start_round();
