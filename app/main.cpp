// Start-up: settings, the window, callbacks, fonts, widgets, textures, physics, main loop.
#include <GL/freeglut.h>
#include <plib/puAux.h>

#include <csignal>
#include <cstdlib>
#include <memory>

#include "app/config.h"
#include "app/shell.h"
#include "platform/fs.h"
#include "platform/ui_dialogs.h"

// A terminal's Ctrl+C or a session logout ends the game through the normal exit path at the
// next frame, so the settings are kept and the unpacked course removed.
static void request_quit(int) { quitRequested = 1; }

int main(int argc, char** argv)
{
    // Never destroyed: the program ends through exit(), and the at-exit handler still needs it.
    Session& s = *new Session();
    activeSession = &s;
    WindowState& window = s.window;
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    // The window manager's close button ends the program through the normal exit path.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_EXIT);

    window.fullScreen = false;
    window.soundOn = true;
    window.soundsPending = true;
    window.windowWidth = 600;
    window.windowHeight = 450;
    window.startDirectory = current_directory();
    read_config(window);
    set_sound_label(s, window.soundOn);

    if (!window.fullScreen) {
        glutInitWindowSize(window.windowWidth, window.windowHeight);
        remember_start_window(s, glutCreateWindow(NO_FILE_TITLE));
    } else {
        enter_configured_game_mode(s);
    }
    clear_layers(s.grid);
    register_callbacks();
    puInit();
    load_fonts(s);
    puSetDefaultStyle(PUSTYLE_SMALL_BEVELLED);
    puSetDefaultColourScheme(0.7f, 0.7f, 0.7f, 1.0f);
    create_permanent_widgets(s);
    load_scene_textures(s);
    start_physics(s);
    std::atexit(on_exit);
    std::signal(SIGTERM, request_quit);
    std::signal(SIGINT, request_quit);
    std::signal(SIGHUP, request_quit);
    glutMainLoop();
    return 0;
}
