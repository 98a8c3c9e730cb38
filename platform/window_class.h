// The window's class (X11 WM_CLASS), which task bars and docks use to tie the window to the
// game's desktop entry (its StartupWMClass).
#pragma once

constexpr const char* WINDOW_CLASS = "minigolf";

// Gives the window whose GL context is current the class WINDOW_CLASS. Call right after
// the window (or the full-screen window) is made; does nothing without an X display.
void set_window_class();
