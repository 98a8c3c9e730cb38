// The frame driver: one display_frame per frame, paced to 60 frames per second, and the
// reshape and exit paths.
#include <GL/freeglut.h>
#include <plib/pu.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/frame_heartbeat.h"
#include "app/config.h"
#include "app/display_switch.h"
#include "app/frame_steps.h"
#include "app/shell.h"
#include "app/window_state.h"
#include "game/dialog_state.h"
#include "game/game_state.h"
#include "game/round_flow.h"
#include "game/status_line.h"
#include "game/start_screen.h"
#include "hole/course.h"
#include "platform/ui_dialogs.h"
#include "render/scene.h"

namespace {

using FrameClock = std::chrono::steady_clock;

struct FrameTiming {
    bool initialised = false;            // first frame done
    FrameClock::duration ticksPerFrame;  // one sixtieth of a second
    FrameClock::time_point nextDeadline;
};

FrameTiming timing;

// The status text must outlive the frame: PUI keeps only a pointer to a legend.
char statusText[96] = "Zero Players";

void pace_frame()
{
    // Spin without sleeping until the deadline has passed; a slow frame is not made up for.
    FrameClock::time_point now = FrameClock::now();
    while (now <= timing.nextDeadline) now = FrameClock::now();
    timing.nextDeadline = now + timing.ticksPerFrame;
}

}  // namespace

void draw_scene()
{
    begin_scene();
    set_up_turn();
    apply_camera();
    draw_base_plane();
    editor_warp_housekeeping();
    set_up_tee();
    apply_editor_click();
    draw_tiles();
    draw_tee_marker();
    if (aimInput.aimMode != 1) {
        pick_pointer();
        draw_tool_preview();
    } else {
        compute_aim();
    }
    for (int step = 0; step < 3; ++step) run_ball_step(step == 2);
    update_putt_button();
    end_scene();
    advance_animation_counters();
    if (windowState.soundOn == 1 && windowState.soundsPending == 1) {
        load_sound_effects();
        windowState.soundsPending = 0;
    }
}

volatile std::sig_atomic_t quitRequested = 0;

void display_frame()
{
    if (quitRequested) std::exit(0);
    if (!timing.initialised) {
        timing.ticksPerFrame = std::chrono::duration_cast<FrameClock::duration>(std::chrono::nanoseconds(1000000000 / 60));
        timing.nextDeadline = FrameClock::now();
    } else {
        scroll_at_window_edge();
    }
    timing.initialised = true;

    draw_scene();
    pace_frame();

    if (gameState.playerCount > 0) {
        build_status_text(statusText, sizeof statusText, gameState, course);
        widgets.statusBox->setLegend(statusText);
    }
    advance_hole();
    if (dialogState.startScreenStep > 0) start_screen_step();
    puDisplay();
    draw_overlay_screens();
    glutSwapBuffers();
    note_frame_heartbeat();
    glutPostRedisplay();
}

void on_reshape(int width, int height)
{
    WindowState& window = windowState;
    const bool springBack = take_window_size(window, width, height);
    place_permanent_widgets();
    recentre_dialogs(window.windowWidth, window.windowHeight);
    if (springBack) glutReshapeWindow(window.windowWidth, window.windowHeight);
    set_projection(window.windowWidth, window.windowHeight);
}

void on_exit()
{
    static bool done = false;   // exit() may be reached twice (menu, then window close)
    if (done) return;
    done = true;
    shut_down_physics();
    write_config();
    remove_unpacked_course();
    // Else a game mode that changed the resolution would leave the desktop in it.
    if (glutGameModeGet(GLUT_GAME_MODE_ACTIVE)) glutLeaveGameMode();
}

void on_window_closed()
{
    // Leave before freeglut's own clean-up: that destroys a closed game-mode window twice.
    std::exit(0);
}
