// The application shell: start-up, the frame driver, input callbacks, the permanent widgets,
// the menus and the display modes. Everything takes the session it works on; only the GLUT
// callbacks, which carry no user data, find it through activeSession.
#pragma once

#include <csignal>

#include "app/session.h"
#include "render/score_card_gl.h"

class puObject;

// The session the GLUT callbacks (and the at-exit handler) work on: GLUT hands its callbacks
// no user data, so this one pointer is how they reach the session main made.
extern Session* activeSession;

// Set by a termination signal; the game loop leaves through the exit path.
extern volatile std::sig_atomic_t quitRequested;

// GLUT callbacks.
void display_frame();
void on_reshape(int width, int height);
void on_keyboard(unsigned char key, int x, int y);
void on_special_key(int key, int x, int y);
void on_mouse(int button, int state, int x, int y);
void on_motion(int x, int y);
// The window manager closed the window: the normal exit path.
void on_window_closed();
// Writes the settings (Config.glf) as they are now: after every change, and at exit.
void store_settings(Session& s);
// The exit path (registered with atexit): settings saved, unpacked course removed, and the
// display's own mode given back when the game mode changed it.
void on_exit();
// Registers the seven callbacks, and the close callback, on the current window.
void register_callbacks();

// The game loop (never returns): ticks on the clock, a picture after them while the window
// shows, input between them.
void run_game_loop(Session& s);
// One tick of the running game, the clock's tick-th: the round's tick and what the
// application keeps moving.
void tick_game(Session& s, long tick);
// The scene as the last tick left it, in its order of drawing.
void draw_scene(Session& s);

// Start-up: the session's hooks (physics sound and drawing, round, game, audio messages).
void install_session_hooks(Session& s);
// Creates the permanent widgets and both menu bars for the current window size.
void create_permanent_widgets(Session& s);
// Moves the permanent widgets to their places for the current window size.
void place_permanent_widgets(Session& s);
// Keeps every open dialog centred after a resize.
void recentre_dialogs(Session& s, int windowWidth, int windowHeight);
// Loads the two texture fonts (each in its sharp and its large texture) into the PUI default
// fonts, the dialogs' title font and the score card's fonts.
void load_fonts(Session& s);
// The texture the fonts draw from, for the widgets' scale factor in force.
void choose_font_textures(Session& s);
// Gives PUI the window in widget units (after puInit), so that its layout, its events and
// its dialogs' centring all work in them.
void install_widget_scale();
// Draws the widgets as puDisplay does, stretched by the widgets' scale factor.
void display_widgets(Session& s);
// After a change of the window's size or of the UI Scale setting: the font textures chosen,
// the permanent widgets placed, every open dialog centred again.
void apply_ui_scale(Session& s);
// The fonts of the score card and the leader board.
ScoreCardFonts score_card_fonts(const Session& s);
// Loads every texture and forgets the compiled hole (it refers to the old names).
void load_scene_textures(Session& s);
// The window title (ignored in full screen).
void set_window_title_now(Session& s, const char* title);
// The title for a new window: the current file's base name or "No File Loaded.", after a '*'
// when the editor's hole has unsaved changes.
std::string current_file_title(Session& s);

// The menus: both bars, the Config labels and the game's Yes/No message box.
void create_menu_bars(Session& s);
void place_menu_bars(Session& s, int h);
// Opens the Yes/No box for the question s.dialogs.confirmKind names.
void message_box(Session& s, const char* text);
// The Edit menu's tool chosen: the label shows it.
void choose_tool(Session& s, EditorTool tool, const char* label);

// Input steps: the aiming state machine, the Putt button, edge scrolling.
void aim_input(Session& s, AimCode code);
void update_putt_button(Session& s);
// A person's aim not yet struck is dropped and the Putt button shows again; false when
// nothing was being aimed.
bool cancel_aim(Session& s);
// Once a tick: a dialog or question open over an aim drops it, so no click made after the
// dialog closes can strike until Putt is pressed again.
void drop_aim_under_dialog(Session& s);
void scroll_at_window_edge(Session& s);
// Aim angle and offsets from where the followed ball is on screen against the pointer.
// The view of the picture being drawn, kept for aiming (after the camera is applied).
void keep_shown_view(Session& s);
// The live aim from the pointer and the followed ball as the last picture shows it.
void compute_aim(Session& s);
// The aim guide's dotted line while a person aims with the guide on (aim_guide_view.cpp).
// The guide's path brought up to date with the aim (a tick), and drawn (a picture).
void update_aim_guide(Session& s);
void show_aim_guide(Session& s);
// The aimed ball and the cup drawn over whatever hides them while a putt is aimed
// (see_through_view.cpp).
void show_hidden_ball_and_cup(Session& s);
// Button callbacks of the permanent widgets (each carries the session as user data).
void hide_menu_pressed(puObject* button);
void putt_pressed(puObject* button);
void zoom_in_pressed(puObject* button);
void zoom_out_pressed(puObject* button);
void turn_left_pressed(puObject* button);
void turn_right_pressed(puObject* button);

// Commands of the menus that reach into the shell.
void new_hole(Session& s);
void switch_sound(Session& s, bool on);
void release_sound();
void leave_full_screen_if_needed(Session& s);

// The display modes through GLUT: every switch makes a new GL context and so reloads fonts,
// textures and sounds, and hands the widgets to the new window.
void enter_full_screen(Session& s, const DisplayMode& mode);
void leave_full_screen(Session& s);
void reload_after_mode_change(Session& s);
// Start-up with full screen stored; falls back to a window when the display refuses.
void enter_configured_game_mode(Session& s);
// The window start-up made (the one a switch to full screen replaces).
void remember_start_window(Session& s, int id);
// The GLUT display backend for the session.
std::unique_ptr<DisplayBackend> make_glut_display();

// The score card and leader board screens over their dialogs.
void draw_overlay_screens(Session& s);
