// The switches between window and full screen, for the menus.
#pragma once

#include "app/display_switch.h"

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
