// The game loop: ticks at 60 a second of wall time, a picture after them whenever the window
// shows, and the reshape and exit paths. The tick moves the game on; the picture only shows
// what the last tick left, so a slow picture costs pictures, never game time, and a hidden
// window goes on playing.
#include <GL/freeglut.h>
#include <plib/pu.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "app/frame_heartbeat.h"
#include "app/config.h"
#include "app/editor_commands.h"
#include "app/shell.h"
#include "app/start_up.h"
#include "audio/audio.h"
#include "editor/editor_gl.h"
#include "editor/editor_tools.h"
#include "game/round/computer_turn.h"
#include "game/ui/game_actions.h"
#include "game/round/round_flow.h"
#include "game/round/round_log.h"
#include "game/play/game_tick.h"
#include "game/rules/status_line.h"
#include "hole/course_archive.h"
#include "physics/physics.h"
#include "platform/quiet_frames.h"
#include "platform/test_seam.h"
#include "platform/ui_dialogs.h"
#include "platform/unpack_dir.h"
#include "render/scene.h"
#include "render/score_card_gl.h"

Session* activeSession = nullptr;
volatile std::sig_atomic_t quitRequested = 0;

namespace {

// Ticks run at most before a picture: a machine further behind gives the rest up and says so.
constexpr int MAX_CATCH_UP_TICKS = 10;
// How long the status line says so after the last ticks were given up.
constexpr auto BEHIND_NOTE_TIME = std::chrono::seconds(3);

}  // namespace

void tick_game(Session& s, long tick)
{
    // The camera moves with the ball and the turn, and scrolls at the window's edge, once a
    // tick however often the picture is drawn; it looks before the tick moves the balls, so a
    // turn that passed is shown from where its ball came to rest.
    if (s.pictures > 0) scroll_at_window_edge(s);
    drop_aim_under_dialog(s);
    // The editor's click of the last picture, where its preview showed it.
    editor_warp_housekeeping(s.editor, s.grid, s.aim.aimMode);
    apply_editor_click(s.editor, s.physics);
    // The player's aim follows the pointer against the ball as the last picture shows it.
    if (s.aim.aimMode == AimMode::Aiming && !computer_aiming(s)) compute_aim(s);
    update_aim_guide(s);
    follow_world(s.camera, s.physics);
    const TickReport report = tick_round(s);
    round_file_tick_ends(s, report.replayEnded);
    editor_frame_step(s);
    advance_conveyor_offset(s.renderer.conveyorOffset);
    // Not before the start question is built: a message about the sounds must stand above
    // it, where its OK can be reached, not under it.
    if (s.window.soundOn && s.window.soundsPending && s.dialogs.startScreenStep != StartStep::BuildQuestion)
        load_pending_sounds(s.window, s.paths.dataDir, choose_music_file(s.course, s.round.currentHole, s.paths.dataDir));
    note_tick_report(report, tick);
}

void draw_scene(Session& s)
{
    PhysicsWorld& world = s.physics;
    Renderer& renderer = s.renderer;
    begin_scene();
    apply_camera(renderer, s.camera);
    draw_base_plane(renderer, s.grid);
    keep_shown_view(s);
    draw_tiles(renderer, world);
    draw_tee_marker(renderer, s.grid);
    if (s.aim.aimMode != AimMode::Aiming) {
        pick_pointer(s.editor, s.grid, world.oscillationFrame, s.pointer.pointerX, s.pointer.pointerY,
                     s.window.windowHeight);
        draw_tool_preview(s.editor, s.grid, s.aim.aimMode != AimMode::Off, s.pointer.pointerX, s.pointer.pointerY,
                          texture_named(renderer.textures, "line_texture"));
    } else if (!computer_aiming(s)) {
        show_aim_guide(s);
    }
    // Before the balls, so the meter and the putter stay on top of the marks.
    show_hidden_ball_and_cup(s);
    draw_world_balls(world);
    update_putt_button(s);
    end_scene();
}

void draw_overlay_screens(Session& s)
{
    const WindowState& window = s.window;
    if (s.round.scoreCardShown && s.round.goToHoleMode != GoToHoleMode::Moved)
        draw_score_card(s.renderer.textures, s.round, s.course, window.windowWidth, window.windowHeight,
                        ui_factor(window), score_card_fonts(s));
    if (s.dialogs.leaderBoardShown)
        draw_leader_board(s.leaderBoard, s.course.holeCount, window.windowWidth, window.windowHeight,
                          ui_factor(window), score_card_fonts(s));
}

// A fingerprint of everything the picture shows that can change without an input event:
// the camera, the putting, the balls, the round, the moving tiles, the open dialogs and the
// status line. Input itself (pointer, buttons, keys, window changes) is noted by its handlers.
std::uint64_t frame_look(const Session& s)
{
    std::uint64_t h = LOOK_START;
    const PhysicsWorld& w = s.physics;
    h = fold_value(h, s.camera);
    h = fold_value(h, s.pointer.pointerX);
    h = fold_value(h, s.pointer.pointerY);
    const AimInput& aim = s.aim;
    h = fold_value(h, aim.aimMode);
    h = fold_value(h, aim.aimState);
    h = fold_value(h, aim.aimClicks);
    h = fold_value(h, aim.aimAngle);
    h = fold_value(h, aim.puttPower);
    h = fold_value(h, aim.struckPower);
    const GameState& round = s.round;
    h = fold_value(h, round.playerCount);
    h = fold_value(h, round.currentPlayer);
    h = fold_value(h, round.currentHole);
    h = fold_value(h, round.holeAdvanceCountdown);
    h = fold_value(h, round.ballReady);
    h = fold_value(h, round.scoreCardShown);
    h = fold_value(h, round.goToHoleMode);
    h = fold_value(h, w.stroke.swingActive);
    h = fold_value(h, w.stroke.strokeInFlight);
    h = fold_value(h, w.bumperFlash.framesLeft);
    h = fold_value(h, w.followBall);
    for (int b = 0; b < BALL_COUNT; ++b) {
        h = fold_value(h, w.balls[b].state.atRest);
        if (!w.balls[b].body) continue;
        // A resting ball may creep by far less than a pixel; a sixteenth of a unit is finer
        // than any zoom shows.
        double at[3];
        ball_position(w, b, at);
        for (int k = 0; k < 3; ++k) h = fold_value(h, static_cast<long long>(at[k] * 16.0));
    }
    bool conveyors = false, blocks = false;
    for (int kind : s.grid.kind) {
        conveyors = conveyors || is_conveyor(kind);
        blocks = blocks || kind == KIND_OSCILLATING_BLOCK;
    }
    if (conveyors) h = fold_value(h, s.renderer.conveyorOffset);
    if (blocks) h = fold_value(h, w.oscillationFrame);
    h = fold_value(h, s.grid.tee);
    h = fold_value(h, s.grid.teeState);
    h = fold_value(h, s.editor.currentTool);
    h = fold_value(h, s.editor.clickRequest);
    h = fold_value(h, s.dialogs);
    h = fold_value(h, s.gameDialogs);
    h = fold_value(h, s.startScreen.question);
    h = fold_value(h, s.startScreen.players);
    h = fold_value(h, platform_dialog_open());
    h = fold_value(h, s.window.windowWidth);
    h = fold_value(h, s.window.windowHeight);
    h = fold_value(h, s.window.uiScale);
    h = fold_look(h, s.statusText, std::strlen(s.statusText));
    h = fold_value(h, s.startMessages.size());
    // The Putt button comes and goes as the turn passes between machines, a frame after the turn.
    h = fold_value(h, s.widgets.puttButton != nullptr && s.widgets.puttButton->isVisible() != 0);
    return h;
}

void display_frame()
{
    Session& s = *activeSession;
    if (quitRequested) std::exit(0);

    // A quiet frame runs the whole game step but paints nothing: every drawing call is clipped
    // away, and the swap shows the picture the back buffer still holds.
    const bool quiet = frame_is_quiet(s.quietFrames, frame_look(s));
    if (quiet) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 0, 0);
    }
    draw_scene(s);
    if (s.round.playerCount > 0) {
        build_status_text(s.statusText, sizeof s.statusText, s.round, s.course);
        net_status_note(s, s.statusText, sizeof s.statusText);
        if (fell_behind_lately(s.clock, GameClock::now(), BEHIND_NOTE_TIME))
            std::snprintf(s.statusText, sizeof s.statusText, "Drawing too slow: running late");
        s.widgets.statusBox->setLegend(s.statusText);
    }
    if (s.dialogs.startScreenStep != StartStep::None) start_screen_step(s);
    show_start_messages(s);
    display_widgets(s);
    draw_overlay_screens(s);
    if (quiet) glDisable(GL_SCISSOR_TEST);
    // The picture is finished before the deadline is waited out, so the swap that follows it
    // only shows it: a software renderer does its drawing when asked to finish, and a frame
    // that repaints everything would otherwise reach the screen later than a quiet one.
    glFinish();
    if (const int delay = test_seam().drawDelayMs) std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    glutSwapBuffers();
    s.pictures += 1;
}

void run_game_loop(Session& s)
{
    TickClock& clock = s.clock;
    for (;;) {
        // Input, window changes and the picture asked for after the last ticks; freeglut
        // draws only a window that shows, and returns at once for a hidden one.
        glutMainLoopEvent();
        if (quitRequested) std::exit(0);
        const int due = take_due_ticks(clock, GameClock::now(), MAX_CATCH_UP_TICKS);
        for (int k = 0; k < due; ++k) tick_game(s, clock.ticks - due + k + 1);
        note_heartbeat(s.pictures, clock.ticks);
        if (due > 0) {
            glutPostRedisplay();
            continue;
        }
        // Time to spare before the next tick: the computer thinks in it, then the loop sleeps.
        think_until(s, clock.nextTick);
        judge_course_pars(s, clock.nextTick);
        sleep_until_next_tick(clock);
    }
}

void on_reshape(int width, int height)
{
    Session& s = *activeSession;
    WindowState& window = s.window;
    const bool springBack = take_window_size(window, width, height);
    // The widgets grow and shrink with the window (UI Scale Auto), and keep their places.
    apply_ui_scale(s);
    if (springBack) glutReshapeWindow(window.windowWidth, window.windowHeight);
    set_projection(window.windowWidth, window.windowHeight);
}

void on_exit()
{
    if (!activeSession) return;
    Session& s = *activeSession;
    if (s.exited) return;   // exit() may be reached twice (menu, then window close)
    s.exited = true;
    shutdown_physics(s.physics);
    if (s.window.soundOn) shutdown_audio(s.window);
    store_settings(s);
    remove_course_files(s.course, true);
    remove_run_unpack_dir(s.unpackDir);
    // Else a game mode that changed the resolution would leave the desktop in it.
    if (glutGameModeGet(GLUT_GAME_MODE_ACTIVE)) glutLeaveGameMode();
}

void store_settings(Session& s) { write_config(settings_to_store(s.window, s.displayOverride), s.paths); }

void on_window_closed()
{
    // Leave before freeglut's own clean-up: that destroys a closed game-mode window twice.
    std::exit(0);
}
