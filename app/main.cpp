// Start-up: settings, the window, callbacks, fonts, widgets, textures, physics, main loop.
#include <GL/freeglut.h>
#include <plib/puAux.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/config.h"
#include "app/net_start.h"
#include "app/save_loop.h"
#include "app/shell.h"
#include "app/start_up.h"
#include "platform/fs.h"
#include "platform/unpack_dir.h"
#include "platform/window_class.h"

// A terminal's Ctrl+C or a session logout ends the game through the normal exit path at the
// next frame, so the settings are kept and the unpacked course removed.
static void request_quit(int) { quitRequested = 1; }

int main(int argc, char** argv)
{
    run_save_loop_if_asked();
    // The game's own options are answered before GLUT sees the line (and a display is needed).
    const CommandLine line = parse_command_line(argc, argv);
    if (const int status = answer_command_line(line, argv[0]); status >= 0) return status;

    // Never destroyed: the program ends through exit(), and the at-exit handler still needs it.
    Session& s = *new Session();
    activeSession = &s;
    install_session_hooks(s);
    if (!set_up_game_paths(s, line.dataDir)) return 1;
    // Copies killed outright (a crash, SIGKILL, a power cut) leave their unpack folders behind.
    remove_stale_run_unpack_dirs();
    std::vector<char*> glutArgs;
    for (const std::string& word : line.glutArguments) glutArgs.push_back(const_cast<char*>(word.c_str()));
    int glutArgc = static_cast<int>(glutArgs.size());
    glutArgs.push_back(nullptr);

    WindowState& window = s.window;
    glutInit(&glutArgc, glutArgs.data());
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    // The window manager's close button ends the program through the normal exit path.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_EXIT);

    window.fullScreen = false;
    window.soundOn = true;
    window.soundsPending = true;
    window.windowWidth = 600;
    window.windowHeight = 450;
    window.startDirectory = current_directory();
    read_config(window, s.paths);
    apply_display_choice(line.display, window, s.displayOverride);
    set_sound_label(s, window.soundOn);
    set_aim_guide_label(s, window.aimGuideOn);
    set_ui_scale_label(s, window.uiScale);

    if (!window.fullScreen) {
        glutInitWindowSize(window.windowWidth, window.windowHeight);
        remember_start_window(s, glutCreateWindow(NO_FILE_TITLE));
        set_window_class();
    } else {
        enter_configured_game_mode(s);
    }
    clear_layers(s.grid);
    register_callbacks();
    puInit();
    install_widget_scale();
    load_fonts(s);
    puSetDefaultStyle(PUSTYLE_SMALL_BEVELLED);
    puSetDefaultColourScheme(0.7f, 0.7f, 0.7f, 1.0f);
    create_permanent_widgets(s);
    init_physics(s.physics);
    open_command_line_files(s, line.files);
    if (line.resume && line.files.empty()) s.startScreen.resumeAtStart = true;
    start_net_from_command_line(s, line.net);
    load_scene_textures(s);
    std::atexit(on_exit);
    std::signal(SIGTERM, request_quit);
    std::signal(SIGINT, request_quit);
    std::signal(SIGHUP, request_quit);
    run_game_loop(s);
    return 0;
}
