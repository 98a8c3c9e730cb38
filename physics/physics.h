// What other subsystems include to use the physics: the world and balls, the hole's
// geometry, the ball step and the hole events, and the hooks the application fills.
#pragma once

#include "physics/ball_step.h"
#include "physics/hole_events.h"
#include "physics/hole_geometry.h"
#include "physics/physics_hooks.h"
#include "physics/physics_world.h"
