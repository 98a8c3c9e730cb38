// Start-up and per-frame glue between the shell and the subsystems: the physics world with
// its sound and drawing hooks, the sounds, the textures and the unpacked course.
#include <GL/glu.h>

#include "app/frame_steps.h"
#include "app/input.h"
#include "app/shell.h"
#include "app/window_state.h"
#include "audio/audio.h"
#include "game/aim.h"
#include "game/dialogs_ui.h"
#include "game/game_state.h"
#include "game/round_flow.h"
#include "hole/course_archive.h"
#include "physics/physics.h"
#include "platform/ui_dialogs.h"
#include "render/camera.h"
#include "render/scene.h"
#include "render/textures.h"
#include "render/tile_rules.h"
#include "platform/unpack_dir.h"

namespace {

int physics_sound_enabled() { return windowState.soundOn; }
bool physics_play_sound(int id) { return play_sound(0, id) == SOUND_OK; }
void physics_stop_sound(int id) { stop_sound(1, id); }
void physics_shutdown_audio() { shutdown_audio(windowState); }

void show_audio_message(const char* text, const char* caption) { show_message(text, caption); }
void show_round_message(const char* text, const char* caption) { show_message(text, caption); }

}  // namespace

void start_physics()
{
    PhysicsHooks& hooks = physicsHooks;
    hooks.sound_enabled = physics_sound_enabled;
    hooks.play_sound = physics_play_sound;
    hooks.stop_sound = physics_stop_sound;
    hooks.shutdown_audio = physics_shutdown_audio;
    set_audio_message_handler(show_audio_message);
    roundHooks.show_message = show_round_message;
    install_dialog_hooks();
    roundHooks.start_hole_music = [] {
        if (windowState.soundOn == 1) start_hole_music();
    };
    install_drawing_hooks();
    init_physics();
}

void shut_down_physics() { shutdown_physics(); }

void advance_animation_counters()
{
    advance_conveyor_offset();
    advance_oscillation_frame();
}

void rebuild_hole_geometry() { build_hole_geometry(); }

void run_ball_step(bool draw) { step_balls(draw ? 1 : 0); }

void load_sound_effects() { load_sounds(); }

void release_sound()
{
    free_sound();
    stop_music();
}

void remove_unpacked_course()
{
    remove_course_files(true);
    remove_run_unpack_dir();
}

void load_scene_textures()
{
    load_textures();
    drop_compiled_scene();   // the compiled hole refers to the old texture names
}

// Aim computation: where the followed ball is on screen against the pointer.
void compute_aim()
{
    GLint viewport[4];
    GLdouble modelview[16], projection[16];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    double ball[3];
    ball_position(physicsWorld.followBall, ball);
    GLdouble bx = 0, by = 0, bz = 0;
    if (gluProject(ball[0], ball[1], ball[2], modelview, projection, viewport, &bx, &by, &bz) != GL_TRUE) return;
    const AimResult aim = compute_aim_angle(static_cast<float>(bx), static_cast<float>(by),
                                            static_cast<float>(pointerState.pointerX),
                                            static_cast<float>(pointerState.pointerY), cameraState.viewAngle);
    aimInput.aimAngle = aim.aimAngle;
    aimInput.aimOffset[0] = aim.offsetU;
    aimInput.aimOffset[1] = aim.offsetV;
}
