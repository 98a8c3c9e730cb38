// Start-up: settings, the window, callbacks, fonts, widgets, textures, physics, main loop.
#include <GL/freeglut.h>
#include <plib/puAux.h>

#include <csignal>
#include <cstdlib>

#include "app/config.h"
#include "app/display_modes.h"
#include "app/frame_steps.h"
#include "app/save_loop.h"
#include "app/shell.h"
#include "app/window_state.h"
#include "game/menus.h"
#include "hole/hole_grid.h"
#include "platform/fs.h"
#include "render/scene.h"

// A terminal's Ctrl+C or a session logout ends the game through the normal exit path at the
// next frame, so the settings are kept and the unpacked course removed.
static void request_quit(int) { quitRequested = 1; }

int main(int argc, char** argv)
{
    run_save_loop_if_asked();
    WindowState& window = windowState;
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    // The window manager's close button ends the program through the normal exit path.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_EXIT);

    window.fullScreen = 0;
    window.soundOn = 1;
    window.soundsPending = 1;
    window.windowWidth = 600;
    window.windowHeight = 450;
    window.startDirectory = current_directory();
    read_config();
    set_sound_label(window.soundOn);

    if (window.fullScreen != 1) {
        glutInitWindowSize(window.windowWidth, window.windowHeight);
        remember_start_window(glutCreateWindow("No File Loaded."));
    } else {
        enter_configured_game_mode();
    }
    clear_layers(holeGrid);
    register_callbacks();
    puInit();
    load_fonts();
    puSetDefaultStyle(PUSTYLE_SMALL_BEVELLED);
    puSetDefaultColourScheme(0.7f, 0.7f, 0.7f, 1.0f);
    create_permanent_widgets();
    load_scene_textures();
    start_physics();
    std::atexit(on_exit);
    std::signal(SIGTERM, request_quit);
    std::signal(SIGINT, request_quit);
    std::signal(SIGHUP, request_quit);
    glutMainLoop();
    return 0;
}
