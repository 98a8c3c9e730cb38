// Window or full screen through GLUT: every switch makes a new GL context and so reloads
// fonts, textures and sounds, and hands the widgets to the new window.
#include <GL/freeglut.h>
#include <plib/pu.h>

#include <cstdio>
#include <unistd.h>

#include "app/shell.h"
#include "platform/display_switch.h"
#include "platform/window_class.h"

namespace {

// The window system as GLUT offers it.
class GlutDisplay : public DisplayBackend {
public:
    bool enter_game_mode(const char* gameMode) override
    {
        if (gameMode) glutGameModeString(gameMode);
        gameModeWindow = glutEnterGameMode();
        if (gameModeWindow > 0) set_window_class();
        return gameModeWindow > 0 && glutGameModeGet(GLUT_GAME_MODE_ACTIVE);
    }
    void leave_game_mode() override
    {
        if (gameModeWindow > 0) forget_close_callback(gameModeWindow);
        gameModeWindow = 0;
        glutLeaveGameMode();
    }
    bool game_mode_active() override { return glutGameModeGet(GLUT_GAME_MODE_ACTIVE) != 0; }
    int open_window(int width, int height, const char* title) override
    {
        glutInitWindowSize(width, height);
        const int id = glutCreateWindow(title);
        set_window_class();
        return id;
    }
    void destroy_window(int id) override
    {
        forget_close_callback(id);
        glutDestroyWindow(id);
    }

private:
    // freeglut calls a window's close callback when it is destroyed by the program too:
    // a window the switch replaces must not end the game.
    static void forget_close_callback(int id)
    {
        glutSetWindow(id);
        glutCloseFunc(nullptr);
    }
    int gameModeWindow = 0;
};

}  // namespace

std::unique_ptr<DisplayBackend> make_glut_display() { return std::make_unique<GlutDisplay>(); }

// Every input event and window change makes the next frames paint in full.
static void noticed() { note_input(activeSession->quietFrames); }

void register_callbacks()
{
    glutDisplayFunc(display_frame);
    glutKeyboardFunc([](unsigned char key, int x, int y) { noticed(); on_keyboard(key, x, y); });
    glutMotionFunc([](int x, int y) { noticed(); on_motion(x, y); });
    glutPassiveMotionFunc([](int x, int y) { noticed(); on_motion(x, y); });
    glutMouseFunc([](int button, int state, int x, int y) { noticed(); on_mouse(button, state, x, y); });
    glutReshapeFunc([](int width, int height) { noticed(); on_reshape(width, height); });
    glutSpecialFunc([](int key, int x, int y) { noticed(); on_special_key(key, x, y); });
    glutWindowStatusFunc([](int) { noticed(); });
    glutEntryFunc([](int) { noticed(); });
    glutCloseFunc(on_window_closed);
}

// PUI draws an object only in the window it was made in: hand every widget to the new one.
static void adopt_widgets(puObject* object, int window)
{
    for (; object; object = object->getNextObject()) {
        object->setWindow(window);
        if (object->getType() & PUCLASS_GROUP) adopt_widgets(static_cast<puGroup*>(object)->getFirstChild(), window);
    }
}

void remember_start_window(Session& s, int id) { s.display.windowId = id; }

void enter_configured_game_mode(Session& s)
{
    enter_stored_full_screen(s.window, s.display, *s.displayBackend, NO_FILE_TITLE);
    set_windowed_label(s, s.window.fullScreen);
}

void reload_after_mode_change(Session& s)
{
    register_callbacks();
    // From the bottom of PUI's interface stack: while a dialog is open the "base" interface
    // is that dialog, and the bars and buttons beneath it would stay with the old window.
    adopt_widgets(puGetUltimateLiveInterface(), glutGetWindow());
    const std::string& start = s.window.startDirectory;
    if (!start.empty()) {
        if (chdir(start.c_str()) != 0) std::perror("display: cannot return to the start directory");
    }
    load_fonts(s);
    load_scene_textures(s);
    if (s.window.soundOn) s.window.soundsPending = true;
    // The pointer last seen belongs to the old window; left where it was it could sit past an
    // edge of the new one and scroll the view away until the mouse moved.
    s.pointer.pointerX = s.window.windowWidth / 2;
    s.pointer.pointerY = s.window.windowHeight / 2;
}

void enter_full_screen(Session& s, const DisplayMode& mode)
{
    if (s.window.soundOn) release_sound();
    switch_to_full_screen(s.window, s.display, *s.displayBackend, mode, current_file_title(s).c_str());
    reload_after_mode_change(s);
    set_windowed_label(s, s.window.fullScreen);
    store_settings(s);
    // the resolution dialog's OK moves the widgets to their places once it has called this
}

void leave_full_screen(Session& s)
{
    set_windowed_label(s, false);
    if (s.window.soundOn) release_sound();
    switch_to_window(s.window, s.display, *s.displayBackend, current_file_title(s).c_str());
    reload_after_mode_change(s);
    apply_ui_scale(s);
    store_settings(s);
}
