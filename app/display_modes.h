// The five full-screen modes and the switches between window and full screen.
#pragma once

struct DisplayMode {
    const char* listEntry;   // as the resolution dialog lists it, e.g. "640 x 480"
    const char* gameMode;    // GLUT game-mode string, e.g. "640x480:16@60"
    int width;
    int height;
};

constexpr int DISPLAY_MODE_COUNT = 5;
extern const DisplayMode DISPLAY_MODES[DISPLAY_MODE_COUNT];

const DisplayMode* display_mode_for_width(int width);

void enter_full_screen(const DisplayMode& mode);
void leave_full_screen();
// Callbacks, start directory, fonts, textures and (with sound on) sounds again.
void reload_after_mode_change();
// The title for a new window: the current file's base name or "No File Loaded.".
const char* current_file_title();
// The window start-up made (the one a switch to full screen replaces).
void remember_start_window(int id);
// Frees the sound effects and stops the music before the context goes.
void release_sound();
