// The two menu bars, their Config labels and the game's Yes/No message box.
#pragma once

// Creates editorMenuBar and playMenuBar (both visible until a screen hides them).
void create_menu_bars();
// Keeps both bars at the top edge of a window of height h.
void place_menu_bars(int h);
// The Config entries offer the opposite of the current state, on both bars at once.
void set_sound_label(int soundOn);
void set_windowed_label(int fullScreen);
// Opens the Yes/No box for the question dialogState.confirmKind names.
void message_box(const char* text);
