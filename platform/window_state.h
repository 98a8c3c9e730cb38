// The window and the settings kept with it: size, full screen, sound, the aim guide and
// the widgets' scale.
#pragma once

#include <string>

#include "platform/widget_scale.h"

struct WindowState {
    int windowWidth = 600;       // drawable size in pixels
    int windowHeight = 450;
    bool fullScreen = false;     // running in a GLUT game mode
    int modeWidth = 0;           // the full-screen mode asked for, kept in Config.glf while
    int modeHeight = 0;          //   full screen (the display may give another size)
    bool soundOn = true;         // sound enabled
    bool soundsPending = true;   // sound effects to be loaded at the end of the next frame
    bool aimGuideOn = false;     // the aim guide's dotted line while aiming
    UiScale uiScale = UiScale::Auto;   // how large the widgets and their text are drawn
    std::string startDirectory;  // the directory every data path is relative to
};

constexpr int MIN_WINDOW_WIDTH = 600;
constexpr int MIN_WINDOW_HEIGHT = 450;
constexpr int MAX_WINDOW_SIDE = 8192;

// The widgets' scale factor for the window as it is now, and the window in widget units.
inline double ui_factor(const WindowState& window)
{
    return ui_scale_factor(window.windowWidth, window.windowHeight, window.uiScale);
}
inline UiSize ui_window(const WindowState& window)
{
    return ui_size(window.windowWidth, window.windowHeight, ui_factor(window));
}
