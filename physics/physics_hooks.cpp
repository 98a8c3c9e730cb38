// The world's ways out: sound requests and event reports through its hooks.
#include "physics/physics_hooks.h"

#include "physics/physics_local.h"
#include "physics/physics_world.h"

static bool sound_on(const PhysicsHooks& hooks) { return hooks.sound_enabled && hooks.sound_enabled(hooks.user); }

void request_sound(PhysicsWorld& w, int id)
{
    const PhysicsHooks& hooks = w.hooks;
    if (!sound_on(hooks) || !hooks.play_sound) return;
    // A sound service that keeps refusing must not hold up the ball step.
    for (int attempt = 0; attempt < SOUND_RETRY_LIMIT; ++attempt) {
        if (hooks.play_sound(hooks.user, id)) return;
    }
}

void request_sound_stop(PhysicsWorld& w, int id)
{
    const PhysicsHooks& hooks = w.hooks;
    if (sound_on(hooks) && hooks.stop_sound) hooks.stop_sound(hooks.user, id);
}

void physics_event(PhysicsWorld& w, PhysicsEvent event, int slot, int soundId)
{
    if (w.hooks.on_event) w.hooks.on_event(w.hooks.user, event, slot);
    if (soundId >= 0) request_sound(w, soundId);
}
