// Start-up and per-frame glue between the shell and the subsystems: the session's hooks for
// the physics (sound, drawing), the round and the game, the textures and the aim.
#include <GL/glu.h>
#include <plib/pu.h>

#include "app/hole_dialogs.h"
#include "app/shell.h"
#include "audio/audio.h"
#include "game/rules/aim.h"
#include "game/ui/game_actions.h"
#include "physics/physics.h"
#include "platform/ui_dialogs.h"
#include "render/scene.h"

namespace {

Session& session_of(void* user) { return *static_cast<Session*>(user); }

bool physics_sound_enabled(void* user) { return session_of(user).window.soundOn; }
bool physics_play_sound(void*, int id) { return play_sound(0, id) == SOUND_OK; }
void physics_stop_sound(void*, int id) { stop_sound(1, id); }

void physics_draw_ball(void* user, int slot, const double pos[3], const double rot[12], double radius)
{
    Session& s = session_of(user);
    draw_ball(s.renderer, ball_colour_of(s.round, slot), pos, rot, radius);
}

void physics_draw_putter(void*, const double pos[3], const double rot[12]) { draw_putter(pos, rot); }

void physics_draw_power_meter(void* user, float meter, const double ballPos[3])
{
    const Session& s = session_of(user);
    draw_power_meter(meter, ballPos, s.aim.aimAngle, s.camera.viewAngle, s.aim.meterFlipped);
}

void show_audio_message(const char* text, const char* caption) { show_message(text, caption); }

void show_round_message(GameSession&, const char* text, const char* caption) { show_message(text, caption); }

void start_round_music(GameSession& s)
{
    if (s.window.soundOn) start_hole_music(s.course, s.round.currentHole, s.paths.dataDir);
}

// What the game asks of the application.
void hook_set_window_title(GameSession& s, const char* title) { set_window_title_now(app_session(s), title); }
void hook_place_widgets(GameSession& s) { apply_ui_scale(app_session(s)); }
void hook_enter_full_screen(GameSession& s, const DisplayMode& mode) { enter_full_screen(app_session(s), mode); }
void hook_drop_editor_tool(GameSession& s) { app_session(s).editor.currentTool = EditorTool::Nothing; }

bool hook_editor_holds_tee(const GameSession& s)
{
    return static_cast<const Session&>(s).editor.currentTool != EditorTool::Nothing;
}

void hook_show_editor(GameSession& s)
{
    Session& app = app_session(s);
    if (app.editor.currentTool != EditorTool::Nothing) app.widgets.toolLabel->reveal();
}

}  // namespace

void install_session_hooks(Session& s)
{
    PhysicsHooks& physics = s.physics.hooks;
    physics.user = &s;
    physics.sound_enabled = physics_sound_enabled;
    physics.play_sound = physics_play_sound;
    physics.stop_sound = physics_stop_sound;
    physics.draw_ball = physics_draw_ball;
    physics.draw_putter = physics_draw_putter;
    physics.draw_power_meter = physics_draw_power_meter;
    set_audio_message_handler(show_audio_message);

    GameHooks& game = s.hooks;
    game.show_message = show_round_message;
    game.start_hole_music = start_round_music;
    game.set_window_title = hook_set_window_title;
    game.place_widgets = hook_place_widgets;
    game.enter_full_screen = hook_enter_full_screen;
    game.drop_editor_tool = hook_drop_editor_tool;
    game.show_editor = hook_show_editor;
    game.editor_holds_tee = hook_editor_holds_tee;
    install_dialog_hooks(s);
}

void release_sound()
{
    free_sound();
    stop_music();
}

void load_scene_textures(Session& s) { load_scene_textures(s.renderer, s.paths.dataDir); }

void keep_shown_view(Session& s)
{
    ShownView& view = s.shownView;
    glGetIntegerv(GL_VIEWPORT, view.viewport);
    glGetDoublev(GL_MODELVIEW_MATRIX, view.modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, view.projection);
    view.known = true;
}

// Aim computation: where the followed ball is in the last picture against the pointer.
void compute_aim(Session& s)
{
    const ShownView& view = s.shownView;
    if (!view.known) return;
    double ball[3];
    ball_position(s.physics, s.physics.followBall, ball);
    GLdouble bx = 0, by = 0, bz = 0;
    if (gluProject(ball[0], ball[1], ball[2], view.modelview, view.projection, view.viewport, &bx, &by, &bz) != GL_TRUE)
        return;
    const AimResult aim = compute_aim_angle(static_cast<float>(bx), static_cast<float>(by),
                                            static_cast<float>(s.pointer.pointerX),
                                            static_cast<float>(s.pointer.pointerY), s.camera.viewAngle);
    s.aim.aimAngle = aim.aimAngle;
    s.aim.aimOffset[0] = aim.offsetU;
    s.aim.aimOffset[1] = aim.offsetV;
}
