// The session of the running program: the game's part (hole, course, round, physics, window,
// dialogs) and what only the application sees: the editor, the camera, the drawing, the
// pointer, the display and the frame clock. One is made in main and handed down by reference.
#pragma once

#include <chrono>
#include <memory>

#include "editor/editor_state.h"
#include "game/session.h"
#include "render/camera.h"
#include "render/renderer.h"

// Pointer and click state kept by the input callbacks.
struct PointerState {
    int pointerX = 319;             // last pointer position, pixels from the left
    int pointerY = 239;             // pixels from the top
    bool pointerOverMenu = false;   // over a visible menu bar
    bool swallowClick = false;      // the Hide/Show Menu button fired: do not use this click again
};

// The frame clock: 60 frames a second, a slow frame not made up for.
struct FrameTiming {
    using Clock = std::chrono::steady_clock;
    bool initialised = false;       // first frame done
    Clock::duration ticksPerFrame{};
    Clock::time_point nextDeadline;
};

struct ShellFonts;        // the widgets' texture fonts (widgets.cpp)
class DisplayBackend;     // the window system as GLUT offers it (display_modes.cpp)

struct Session : GameSession {
    Session();
    ~Session();

    EditorState editor;             // tool, pending click, last preview
    CameraState camera;             // turn, zoom, target
    Renderer renderer;              // textures, conveyor scroll, the compiled hole
    PointerState pointer;
    DisplaySwitch display;          // the window made at start-up or at the last switch
    std::unique_ptr<DisplayBackend> displayBackend;
    FrameTiming timing;
    std::unique_ptr<ShellFonts> fonts;
    char statusText[96] = "Zero Players";   // PUI keeps only a pointer to a legend
    bool exited = false;            // the exit path ran (exit may be reached twice)
};

// The application's session is always a Session.
inline Session& app_session(GameSession& s) { return static_cast<Session&>(s); }
