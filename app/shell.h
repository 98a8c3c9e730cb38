// The application shell: start-up, the frame driver, input callbacks and the permanent
// widgets every screen shares.
#pragma once

class puButton;
class puFrame;
class puMenuBar;
class puObject;

struct PermanentWidgets {
    puButton* hideMenuButton = nullptr;   // "Hide Menu" / "Show Menu"
    puFrame* toolLabel = nullptr;         // the editor's current tool
    puFrame* statusBox = nullptr;         // the status line during a round
    puButton* puttButton = nullptr;       // begins aiming
    puButton* zoomInButton = nullptr;     // "+"
    puButton* zoomOutButton = nullptr;    // "-"
    puButton* turnLeftButton = nullptr;   // "<"
    puButton* turnRightButton = nullptr;  // ">"
    puMenuBar* editorMenuBar = nullptr;   // File, Edit, Config
    puMenuBar* playMenuBar = nullptr;     // File, Stats, Special, Config
};

extern PermanentWidgets widgets;

// Pointer and click state kept by the input callbacks.
struct PointerState {
    int pointerX = 319;        // last pointer position, pixels from the left
    int pointerY = 239;        // pixels from the top
    int pointerOverMenu = 0;   // over a visible menu bar
    int swallowClick = 0;      // the Hide/Show Menu button fired: do not use this click again
};

extern PointerState pointerState;

#include <csignal>

// Set by a termination signal; the next frame leaves through the exit path.
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
// The exit path (registered with atexit): settings saved, unpacked course removed, and the
// display's own mode given back when the game mode changed it.
void on_exit();

// Registers the seven callbacks, and the close callback, on the current window.
void register_callbacks();

// Creates the permanent widgets and both menu bars for the current window size.
void create_permanent_widgets();
// Moves the permanent widgets to their places for the current window size.
void place_permanent_widgets();

// Loads the two texture fonts into the PUI default fonts.
void load_fonts();

// Sets the window title (ignored in full screen).
void set_window_title(const char* title);
// The current file's base name; with setTitle also makes it the window title.
const char* current_file_base_name(bool setTitle);

// Enters the full-screen mode stored in the settings (start-up); falls back to a window
// when the display refuses every mode.
void enter_configured_game_mode();

// Button callbacks of the permanent widgets.
void hide_menu_pressed(puObject* button);
void putt_pressed(puObject* button);
void zoom_in_pressed(puObject* button);
void zoom_out_pressed(puObject* button);
void turn_left_pressed(puObject* button);
void turn_right_pressed(puObject* button);
