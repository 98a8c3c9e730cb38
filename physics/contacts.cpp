// The collision callback: surface parameters by the role of what the ball touches, and
// the zone effects (water, sand, bumper kicks, warps, the cup) recorded for the ball step.
#include <cmath>
#include <cstring>

#include "audio/sound_ids.h"
#include "physics/contact_report.h"
#include "physics/hole_events.h"
#include "physics/hole_geometry.h"
#include "physics/physics_local.h"
#include "physics/physics_world.h"

namespace {

constexpr int MODE_APPROX1 = dContactApprox1_1 | dContactApprox1_2;   // friction pyramid both ways
constexpr double SURFACE_MU = 0.5;
constexpr double BOUNCE = 1.0;
constexpr double BOUNCE_VELOCITY = 0.5;
constexpr double FIRM_CFM = 0.0001;
constexpr double WATER_CFM = 1.0;          // so soft the ball sinks into the water
constexpr double BELT_SPEED = 125.0;
constexpr double BUMPER_KICK_SPEED = 1300;  // slower hits get a boost
constexpr int BUMPER_FLASH_FRAMES = 7;
constexpr double SEAM_SPEED = 1000;         // slower balls roll over tile seams as they always have

enum Surface { SURFACE_BOUNCE, SURFACE_PAD, SURFACE_WATER, SURFACE_FIRM, SURFACE_CONVEYOR, SURFACE_PLAIN };

dSurfaceParameters surface_of(Surface kind, int beltDirection)
{
    dSurfaceParameters s;
    std::memset(&s, 0, sizeof s);
    s.mu = SURFACE_MU;
    switch (kind) {
    case SURFACE_BOUNCE:
        s.mode = MODE_APPROX1 | dContactBounce;
        s.bounce = BOUNCE;
        s.bounce_vel = BOUNCE_VELOCITY;
        break;
    case SURFACE_PAD:
    case SURFACE_FIRM:
        s.mode = MODE_APPROX1 | dContactSoftCFM;
        s.soft_cfm = FIRM_CFM;
        break;
    case SURFACE_WATER:
        s.mode = MODE_APPROX1 | dContactSoftCFM;
        s.soft_cfm = WATER_CFM;
        break;
    case SURFACE_CONVEYOR:
        s.mode = MODE_APPROX1 | dContactMotion1 | dContactFDir1;
        s.mu = dInfinity;
        s.motion1 = BELT_SPEED;
        (void)beltDirection;
        break;
    case SURFACE_PLAIN:
        s.mode = MODE_APPROX1;
        break;
    }
    return s;
}

// The height of the flat top a ball over the tile at (x, y) rolls on, or -1 where the
// tile has no flat top (void, ramp, water, the cup, a moving block) or lies off the grid.
double flat_top_under(const HoleGrid& grid, double x, double y)
{
    int i = static_cast<int>(std::floor((x - GRID_ORIGIN) / TILE_SIZE));
    int j = static_cast<int>(std::floor((y - GRID_ORIGIN) / TILE_SIZE));
    if (i < 0 || j < 0 || i >= GRID_SIZE || j >= GRID_SIZE) return -1;
    int K = grid.kind_at(i, j);
    int E = grid.edges_at(i, j);
    int H = clamp_level(grid.height_at(i, j));
    if (H == 0 || is_ramp(K) || K == KIND_WATER || K == KIND_OSCILLATING_BLOCK || (E > 0 && (E & EDGE_CUP))) return -1;
    return 32.0 * H;
}

// Ground columns are one box per tile, so a ball crossing from one tile onto a level
// neighbour can touch the neighbour's top edge while it rests on its own tile. The edge's
// slanted normal is an artefact of the seam: a fast ball that lands on it is thrown up as if
// it had hit a kerb. Such a contact of a fast ball is dropped; the tile under the ball holds
// it. (Slower balls only feel a bump, and putts played before keep their paths.)
bool seam_contact(const PhysicsWorld& w, dGeomID ground, const dContactGeom& c, dGeomID ballGeom)
{
    if (c.normal[2] > 0.99999 || c.normal[2] < -0.99999) return false;
    if (dGeomGetClass(ground) != dBoxClass) return false;
    const dReal* R = dGeomGetRotation(ground);
    if (R[0] != 1 || R[5] != 1 || R[10] != 1) return false;   // ramp slabs lean
    dVector3 lengths;
    dGeomBoxGetLengths(ground, lengths);
    double top = dGeomGetPosition(ground)[2] + lengths[2] / 2;
    const dReal* p = dGeomGetPosition(ballGeom);
    if (p[2] <= top) return false;
    const dReal* v = dBodyGetLinearVel(dGeomGetBody(ballGeom));
    if (v[0] * v[0] + v[1] * v[1] < SEAM_SPEED * SEAM_SPEED) return false;
    return flat_top_under(w.grid, p[0], p[1]) == top;
}

// Finds at most one contact between g1 and g2 and makes a joint of it; the joint's first
// body is the body of the contact's first geom. A detached joint holds nothing (warp pads).
bool make_contact(PhysicsWorld& pw, dGeomID g1, dGeomID g2, Surface kind, bool attach, int beltDirection = 0)
{
    dContact contact;
    std::memset(&contact, 0, sizeof contact);
    contact.surface = surface_of(kind, beltDirection);
    if (dCollide(g1, g2, 1, &contact.geom, sizeof(dContact)) == 0) return false;
    GeomRole r1 = geom_role(g1), r2 = geom_role(g2);
    if (r1 == ROLE_GROUND && r2 == ROLE_BALL && seam_contact(pw, g1, contact.geom, g2)) return false;
    if (r2 == ROLE_GROUND && r1 == ROLE_BALL && seam_contact(pw, g2, contact.geom, g1)) return false;
    report_contact(pw, g1, g2);
    if (kind == SURFACE_CONVEYOR) {
        static const double belts[4][3] = {{0, -1, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}};
        const double* d = belts[beltDirection & 3];
        contact.fdir1[0] = d[0];
        contact.fdir1[1] = d[1];
        contact.fdir1[2] = d[2];
    }
    dJointID joint = dJointCreateContact(pw.world, pw.contactGroup, &contact);
    if (attach) dJointAttach(joint, dGeomGetBody(contact.geom.g1), dGeomGetBody(contact.geom.g2));
    return true;
}

// The tile index of a coordinate of a pad's centre, rounding toward zero as the pad tile
// lookup always has.
int pad_tile(double centre)
{
    int corner = static_cast<int>(std::trunc(centre - 32));
    return (corner + 1536) / 64;
}

}  // namespace

void near_callback(void* data, dGeomID g1, dGeomID g2)
{
    if (g1 == g2) return;
    PhysicsWorld& w = *static_cast<PhysicsWorld*>(data);
    int slot1 = ball_slot_of(g1);
    int slot2 = ball_slot_of(g2);
    if (slot1 < 0 && slot2 < 0) return;
    int slot = slot2 >= 0 ? slot2 : slot1;
    BallPhysicsState& ball = w.balls[slot].state;
    GeomRole r1 = geom_role(g1);
    GeomRole r2 = geom_role(g2);
    auto either = [&](GeomRole role) { return r1 == role || r2 == role; };
    auto the = [&](GeomRole role) { return r1 == role ? g1 : g2; };

    if (slot1 >= 0 && slot2 >= 0) {
        if (make_contact(w, g1, g2, SURFACE_BOUNCE, true)) physics_event(w, EVENT_BALL, slot, SOUND_BALL_HIT_BALL);
        return;
    }
    if (either(ROLE_WARP_PAD)) {
        if (make_contact(w, g1, g2, SURFACE_PAD, false)) {
            physics_event(w, EVENT_WARP, slot, SOUND_WARP);
            const dReal* p = dGeomGetPosition(the(ROLE_WARP_PAD));
            if (!w.pendingMoves.warp[slot]) {
                w.pendingMoves.warp[slot] = true;
                w.pendingMoves.warpI[slot] = pad_tile(p[0]);
                w.pendingMoves.warpJ[slot] = pad_tile(p[1]);
            }
        }
        return;
    }
    if (either(ROLE_WATER)) {
        if (make_contact(w, g1, g2, SURFACE_WATER, true)) {
            if (ball.waterContacts < 2) ++ball.waterContacts;
            if (ball.waterContacts == 1) physics_event(w, EVENT_WATER, slot, SOUND_BALL_IN_WATER);
            ball.onWater = true;
        }
        return;
    }
    if (either(ROLE_SAND)) {
        if (make_contact(w, g1, g2, SURFACE_FIRM, true)) {
            ball.onSand = true;
            if (ball.sandContacts < 2) ++ball.sandContacts;
            if (ball.sandContacts == 1) physics_event(w, EVENT_SAND, slot, SOUND_SAND);
        }
        return;
    }
    if (either(ROLE_BUMPER_POST)) {
        const dReal* v = dBodyGetLinearVel(w.balls[slot].body);
        double speed = std::fabs(std::trunc(v[0])) + std::fabs(std::trunc(v[1])) + std::fabs(std::trunc(v[2]));
        if (make_contact(w, g1, g2, SURFACE_BOUNCE, true)) {
            physics_event(w, EVENT_BUMPER, slot, SOUND_BUMPER);
            ball.bumperKick = speed <= BUMPER_KICK_SPEED;
            const dReal* p = dGeomGetPosition(the(ROLE_BUMPER_POST));
            BumperFlash& flash = w.bumperFlash;
            flash.x = static_cast<float>(p[0] - 32);
            flash.y = static_cast<float>(p[1] - 32);
            flash.framesLeft = BUMPER_FLASH_FRAMES;
        }
        return;
    }
    if (either(ROLE_RAIL)) {
        if (make_contact(w, g1, g2, SURFACE_BOUNCE, true)) physics_event(w, EVENT_RAIL, slot, SOUND_BALL_HIT_WOOD);
        return;
    }
    if (either(ROLE_RAMP_SURFACE)) {
        make_contact(w, g1, g2, SURFACE_FIRM, true);
        return;
    }
    bool belt = either(ROLE_CONVEYOR);
    int beltDirection = belt ? geom_role_index(the(ROLE_CONVEYOR)) : 0;
    if (!make_contact(w, g1, g2, belt ? SURFACE_CONVEYOR : SURFACE_PLAIN, true, beltDirection)) return;
    if (belt) physics_event(w, EVENT_CONVEYOR, slot, SOUND_CONVEYOR);
    if (either(ROLE_BOUNDARY)) physics_event(w, EVENT_EDGE, slot, SOUND_BALL_HIT_EDGE);
    if (either(ROLE_CUP_BOTTOM)) {
        if (w.cupContacts < 2) ++w.cupContacts;
        if (w.cupContacts == 1) {
            w.pendingMoves.holed[slot] = true;
            w.cupContacts = 0;
        }
    }
}
