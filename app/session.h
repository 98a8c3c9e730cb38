// The session of the running program: the game's part (hole, course, round, physics, window,
// dialogs) and what only the application sees: the editor, the camera, the drawing, the
// pointer, the display and the game's clock. One is made in main and handed down by reference.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/editor_extras.h"
#include "editor/editor_state.h"
#include "game/computer/aim_guide.h"
#include "game/round/session.h"
#include "platform/tick_clock.h"
#include "platform/quiet_frames.h"
#include "platform/user_files.h"
#include "render/camera.h"
#include "render/renderer.h"

// Pointer and click state kept by the input callbacks.
struct PointerState {
    int pointerX = 319;             // last pointer position, pixels from the left
    int pointerY = 239;             // pixels from the top
    bool pointerOverMenu = false;   // over a visible menu bar
    bool swallowClick = false;      // the Hide/Show Menu button fired: do not use this click again
    bool swallowRelease = false;    // a press closed a menu by its title: its release is spent too
};

// The view of the last picture, kept by the drawing so the tick can aim as the player sees:
// where a point of the world lands on the screen.
struct ShownView {
    bool known = false;             // a picture of the hole was drawn
    double modelview[16] = {};
    double projection[16] = {};
    int viewport[4] = {};
};

// A message of the start-up, shown over the start screen's first dialog.
struct StartMessage {
    std::string text, caption;
};

struct ShellFonts;        // the widgets' texture fonts (widgets.cpp)
class DisplayBackend;     // the window system as GLUT offers it (display_modes.cpp)

struct Session : GameSession {
    Session();
    ~Session();

    EditorState editor;             // tool, pending click, last preview, undo history
    EditorExtras editorExtras;      // the title's unsaved mark, Try Hole, Make Course
    CameraState camera;             // turn, zoom, target
    Renderer renderer;              // textures, conveyor scroll, the compiled hole
    PointerState pointer;
    ShownView shownView;            // the last picture's view, for aiming
    AimGuide aimGuide;              // the aim guide's own world and its path
    DisplaySwitch display;          // the window made at start-up or at the last switch
    std::unique_ptr<DisplayBackend> displayBackend;
    TickClock clock = make_tick_clock(60);     // 60 ticks a second of wall time
    long pictures = 0;                         // pictures drawn so far
    QuietFrames quietFrames;                   // frames that need not be painted again
    DisplayOverride displayOverride;           // --windowed / --fullscreen of this run
    CopyReport copyReport;                     // older user files copied at first start
    std::vector<StartMessage> startMessages;   // shown once the start screen is up
    std::unique_ptr<ShellFonts> fonts;
    char statusText[96] = "Zero Players";   // PUI keeps only a pointer to a legend
    bool exited = false;            // the exit path ran (exit may be reached twice)
};

// The application's session is always a Session.
inline Session& app_session(GameSession& s) { return static_cast<Session&>(s); }
