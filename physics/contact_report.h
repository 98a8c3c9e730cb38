// Tells the world's on_contact hook about a ball's contact: what it touched, by role.
#pragma once

#include <ode/ode.h>

#include "physics/physics_world.h"

// Reports a contact between g1 and g2 (at least one a ball) to w.hooks.on_contact; a contact
// between two balls is reported for each. Does nothing when the hook is null.
void report_contact(PhysicsWorld& w, dGeomID g1, dGeomID g2);
