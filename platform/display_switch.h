// Window or full screen: the five game modes and the rules of switching between them,
// apart from GLUT so that they are tested headless. The window system is reached through
// a DisplayBackend.
#pragma once

#include "platform/window_state.h"

struct DisplayMode {
    const char* listEntry;   // as the resolution dialog lists it, e.g. "640 x 480"
    const char* gameMode;    // GLUT game-mode string, e.g. "640x480:16@60"
    int width;
    int height;
};

constexpr int DISPLAY_MODE_COUNT = 5;
extern const DisplayMode DISPLAY_MODES[DISPLAY_MODE_COUNT];

// The mode of the given width, or nullptr when no mode has it.
const DisplayMode* display_mode_for_width(int width);
// The mode whose list entry matches (without regard to case), or nullptr.
const DisplayMode* display_mode_for_entry(const char* entry);

// What a switch asks of the window system.
class DisplayBackend {
public:
    virtual ~DisplayBackend() = default;
    // Enters the game mode of the given GLUT string (nullptr: the display's current mode);
    // true when the display took it.
    virtual bool enter_game_mode(const char* gameMode) = 0;
    virtual void leave_game_mode() = 0;
    virtual bool game_mode_active() = 0;
    // Opens a window of the given drawable size and title; returns its identifier.
    virtual int open_window(int width, int height, const char* title) = 0;
    virtual void destroy_window(int id) = 0;
};

// The window made at start-up or at the last switch to a window; 0 while none is open.
struct DisplaySwitch {
    int windowId = 0;
};

// Into the given full-screen mode. A window is destroyed only when one is open, so choosing
// another resolution while full screen leaves the game mode instead. When the display refuses
// the mode the game carries on in a 600 x 450 window titled `title`, and the state says so.
void switch_to_full_screen(WindowState& window, DisplaySwitch& display, DisplayBackend& backend,
                           const DisplayMode& mode, const char* title);

// Back to a 600 x 450 window titled `title`.
void switch_to_window(WindowState& window, DisplaySwitch& display, DisplayBackend& backend, const char* title);

// Start-up with full screen stored: the stored mode (by its width; a width no mode has asks
// for the display's own mode), or a window of the stored size (at least 600 x 450) when the
// display refuses it.
void enter_stored_full_screen(WindowState& window, DisplaySwitch& display, DisplayBackend& backend,
                              const char* title);

// A new drawable size from the window system. A window is kept at least 600 x 450 (true: it
// must be reshaped to windowWidth x windowHeight). Full screen takes whatever size the display
// granted: many grant the game mode without changing their resolution, and the game-mode
// window then covers the whole screen.
bool take_window_size(WindowState& window, int width, int height);
