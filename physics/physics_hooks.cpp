#include "physics/physics_hooks.h"

#include "physics/physics_local.h"

PhysicsHooks physicsHooks;

static bool sound_on()
{
    return physicsHooks.sound_enabled && physicsHooks.sound_enabled() == 1;
}

void request_sound(int id)
{
    if (!sound_on() || !physicsHooks.play_sound) return;
    // A sound service that keeps refusing must not hold up the ball step.
    for (int attempt = 0; attempt < SOUND_RETRY_LIMIT; ++attempt) {
        if (physicsHooks.play_sound(id)) return;
    }
}

void request_sound_stop(int id)
{
    if (sound_on() && physicsHooks.stop_sound) physicsHooks.stop_sound(id);
}

void physics_event(PhysicsEvent event, int slot, int soundId)
{
    if (physicsHooks.on_event) physicsHooks.on_event(event, slot);
    if (soundId >= 0) request_sound(soundId);
}
