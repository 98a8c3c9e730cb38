// The window and the settings kept with it: size, full screen, sound.
#pragma once

#include <string>

struct WindowState {
    int windowWidth = 600;       // drawable size in pixels
    int windowHeight = 450;
    bool fullScreen = false;     // running in a GLUT game mode
    int modeWidth = 0;           // the full-screen mode asked for, kept in Config.glf while
    int modeHeight = 0;          //   full screen (the display may give another size)
    bool soundOn = true;         // sound enabled
    bool soundsPending = true;   // sound effects to be loaded at the end of the next frame
    bool aimGuideOn = false;     // the aim guide's dotted line while aiming
    std::string startDirectory;  // the directory every data path is relative to
};

constexpr int MIN_WINDOW_WIDTH = 600;
constexpr int MIN_WINDOW_HEIGHT = 450;
constexpr int MAX_WINDOW_SIDE = 8192;
