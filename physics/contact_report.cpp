// The contact report: a listener learns every contact of every ball step, by role. Reading
// the geoms' tags changes nothing in the simulation.
#include "physics/contact_report.h"

#include "physics/hole_geometry.h"
#include "physics/physics_local.h"

void report_contact(PhysicsWorld& w, dGeomID g1, dGeomID g2)
{
    if (!w.hooks.on_contact) return;
    const int slot1 = ball_slot_of(g1);
    const int slot2 = ball_slot_of(g2);
    if (slot1 >= 0 && slot2 >= 0) {
        w.hooks.on_contact(w.hooks.user, slot1, ROLE_BALL);
        w.hooks.on_contact(w.hooks.user, slot2, ROLE_BALL);
        return;
    }
    if (slot1 >= 0) w.hooks.on_contact(w.hooks.user, slot1, geom_role(g2));
    else if (slot2 >= 0) w.hooks.on_contact(w.hooks.user, slot2, geom_role(g1));
}
