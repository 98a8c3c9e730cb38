// Window or full screen: the five game modes and the switch between them, which makes a
// new GL context and so reloads fonts, textures and sounds.
#include <GL/freeglut.h>
#include <plib/pu.h>

#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "app/display_modes.h"
#include "app/frame_steps.h"
#include "app/shell.h"
#include "app/window_state.h"
#include "game/menus.h"
#include "render/scene.h"

namespace {

int windowId = 0;   // the window made at start-up or at the last switch to a window

}  // namespace

const DisplayMode DISPLAY_MODES[DISPLAY_MODE_COUNT] = {
    {"640 x 480", "640x480:16@60", 640, 480},       {"800 x 600", "800x600:16@60", 800, 600},
    {"1024 x 768", "1024x768:16@60", 1024, 768},    {"1280 x 1024", "1280x1024:16@60", 1280, 1024},
    {"1600 x 1200", "1600x1200:16@60", 1600, 1200},
};

const DisplayMode* display_mode_for_width(int width)
{
    for (const DisplayMode& mode : DISPLAY_MODES) {
        if (mode.width == width) return &mode;
    }
    return nullptr;
}

void register_callbacks()
{
    glutDisplayFunc(display_frame);
    glutKeyboardFunc(on_keyboard);
    glutMotionFunc(on_motion);
    glutPassiveMotionFunc(on_motion);
    glutMouseFunc(on_mouse);
    glutReshapeFunc(on_reshape);
    glutSpecialFunc(on_special_key);
}

static void open_window(const char* title)
{
    glutInitWindowSize(windowState.windowWidth, windowState.windowHeight);
    windowId = glutCreateWindow(title);
}

// PUI draws an object only in the window it was made in: hand every widget to the new one.
static void adopt_widgets(puObject* object, int window)
{
    for (; object; object = object->getNextObject()) {
        object->setWindow(window);
        if (object->getType() & PUCLASS_GROUP) adopt_widgets(static_cast<puGroup*>(object)->getFirstChild(), window);
    }
}

void remember_start_window(int id) { windowId = id; }

void enter_configured_game_mode()
{
    WindowState& window = windowState;
    set_windowed_label(1);
    if (const DisplayMode* mode = display_mode_for_width(window.windowWidth)) glutGameModeString(mode->gameMode);
    if (glutEnterGameMode() <= 0 || !glutGameModeGet(GLUT_GAME_MODE_ACTIVE)) {
        // The display refused: carry on in a window of the stored size.
        std::fprintf(stderr, "display: full screen refused, using a window\n");
        window.fullScreen = 0;
        set_windowed_label(0);
        if (window.windowWidth < MIN_WINDOW_WIDTH) window.windowWidth = MIN_WINDOW_WIDTH;
        if (window.windowHeight < MIN_WINDOW_HEIGHT) window.windowHeight = MIN_WINDOW_HEIGHT;
        open_window("No File Loaded.");
    }
}

void reload_after_mode_change()
{
    register_callbacks();
    adopt_widgets(puGetBaseLiveInterface(), glutGetWindow());
    const std::string& start = windowState.startDirectory;
    if (!start.empty()) {
        if (chdir(start.c_str()) != 0) std::perror("display: cannot return to the start directory");
    }
    load_fonts();
    load_scene_textures();
    if (windowState.soundOn == 1) windowState.soundsPending = 1;
}

void enter_full_screen(const DisplayMode& mode)
{
    WindowState& window = windowState;
    if (window.soundOn == 1) release_sound();
    // A window exists only when not already full screen; never destroy one that is gone.
    if (!window.fullScreen && windowId > 0) {
        glutDestroyWindow(windowId);
        windowId = 0;
    } else if (window.fullScreen && glutGameModeGet(GLUT_GAME_MODE_ACTIVE)) {
        glutLeaveGameMode();
    }
    glutGameModeString(mode.gameMode);
    window.windowWidth = mode.width;
    window.windowHeight = mode.height;
    window.fullScreen = 1;
    if (glutEnterGameMode() <= 0 || !glutGameModeGet(GLUT_GAME_MODE_ACTIVE)) {
        std::fprintf(stderr, "display: full screen %s refused, using a window\n", mode.gameMode);
        window.fullScreen = 0;
        window.windowWidth = MIN_WINDOW_WIDTH;
        window.windowHeight = MIN_WINDOW_HEIGHT;
        open_window(current_file_title());
    }
    reload_after_mode_change();
    set_windowed_label(window.fullScreen);
    place_permanent_widgets();
}

void leave_full_screen()
{
    WindowState& window = windowState;
    set_windowed_label(0);
    if (window.soundOn == 1) release_sound();
    if (glutGameModeGet(GLUT_GAME_MODE_ACTIVE)) glutLeaveGameMode();
    window.windowWidth = MIN_WINDOW_WIDTH;
    window.windowHeight = MIN_WINDOW_HEIGHT;
    window.fullScreen = 0;
    open_window(current_file_title());
    reload_after_mode_change();
    place_permanent_widgets();
}

const char* current_file_title()
{
    const char* base = current_file_base_name(false);
    return base[0] ? base : "No File Loaded.";
}
