// What the game's screens offer the menus and the frame: the round's dialogs, loading a
// course, starting and restarting.
#pragma once

#include <functional>
#include <string>

struct GameSession;
class puObject;

// The dialogs of the play and Config menus.
void open_score_card_dialog(GameSession& s);
void close_score_card_dialog(GameSession& s);
void open_leader_board_dialog(GameSession& s);
void open_pick_up_dialog(GameSession& s);
void open_go_to_hole_dialog(GameSession& s);
void open_resolution_dialog(GameSession& s);
// Keeps the game's open dialogs (and the start screen's) centred in a window of w x h.
void recentre_game_dialogs(GameSession& s, int w, int h);
// Whether the pointer is on the score card's close button (pixels, y from the top).
bool score_card_close_hit(const GameSession& s, int px, int py, int windowHeight);
// Lets the round flow open the score card between holes and at the end of the course.
void install_dialog_hooks(GameSession& s);

// The "Load Course File" dialog; onLoaded runs once the chosen course is unpacked and
// read, onCancelled when the user cancels (or the course cannot be played).
void open_course_dialog(GameSession& s, bool fromPlayMenu, std::function<void()> onLoaded,
                        std::function<void()> onCancelled);
// Loads the course file at path as the dialog's OK does.
void load_chosen_course(GameSession& s, bool fromPlayMenu, const std::string& path, std::function<void()> onLoaded,
                        std::function<void()> onCancelled);
// The round start: the course's leader board, the play widgets, hole 1 on the next frame.
void start_round(GameSession& s);
// The play menu's "Load Course".
void load_course_from_menu(GameSession& s);
// Back to the start screen, no players, no course.
void restart_program(GameSession& s);

// The start screen, run by the frame driver while dialogs.startScreenStep is not None.
void start_screen_step(GameSession& s);
// Keeps the start screen's dialogs centred.
void recentre_start_screen(GameSession& s, int w, int h);
// A course named on the command line: the start screen goes straight to the player dialog,
// and the course is loaded once the players are named (instead of asking for a file).
void start_with_course(GameSession& s, const std::string& path);
// The saved round: its course loaded, the round put back as it stood, play goes on. False
// (reported, back at the start question) when it cannot be resumed.
bool resume_saved_round(GameSession& s);
// The Stats menu's "Replay Last Putt" (a message when there is nothing to replay now).
void replay_last_putt(GameSession& s);
// After each tick: the replay's widgets back when it ended, a round file that cannot be
// written told once.
void round_file_tick_ends(GameSession& s, bool replayEnded);

// Network play's screens: the lobby window and what the round needs of the screen.
void install_net_hooks(GameSession& s);
void recentre_net_lobby(GameSession& s, int w, int h);
// The start question's "Host Game" and "Join Game" (PUI callbacks).
void host_game_chosen(puObject* button);
void join_game_chosen(puObject* button);
// Once the players are named: a chosen Join Game joins; true when it took the step over.
bool join_chosen_game(GameSession& s);
// The course of a chosen Host Game is loaded: hosting begins with the named players.
void host_chosen_game(GameSession& s);
// In a network round, when refuse holds: says that what is not offered there and returns true.
bool refused_in_network_game(GameSession& s, const char* what, bool refuse);
// True while Host Game or Join Game was chosen on the start screen.
bool net_game_chosen(const GameSession& s);

// A hole named on the command line has been read: the start screen gives way to the editor.
void start_in_editor(GameSession& s);
