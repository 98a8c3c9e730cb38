// Internals shared by the physics files.
#pragma once

#include <ode/ode.h>

#include "physics/physics_hooks.h"

class PhysicsWorld;

// The near callback handed to dSpaceCollide once per ball step; data is the PhysicsWorld.
void near_callback(void* data, dGeomID g1, dGeomID g2);

// Reports event for ball slot and, with sound on, requests sound effect soundId (pass a
// negative id for an event without sound).
void physics_event(PhysicsWorld& w, PhysicsEvent event, int slot, int soundId);
// Requests sound effect id when sound is on; a busy sound service is asked at most
// SOUND_RETRY_LIMIT times.
void request_sound(PhysicsWorld& w, int id);
// Stops (and rewinds) sound effect id when sound is on.
void request_sound_stop(PhysicsWorld& w, int id);

// Slot of a ball geom, or -1.
int ball_slot_of(dGeomID geom);

// A tile height as the physics uses it: files may hold anything, the course is 0..16.
int clamp_level(int height);

// Carries out and clears the pending moves, slot by slot.
void apply_pending_moves(PhysicsWorld& w);
