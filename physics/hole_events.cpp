// Warps, the cup, picking a ball up, and the oscillating blocks.
#include "physics/hole_events.h"

#include <algorithm>
#include <cmath>

#include "audio/sound_ids.h"
#include "hole/round_rules.h"
#include "hole/round_state.h"
#include "physics/ball_step.h"
#include "physics/hole_geometry.h"
#include "physics/physics_local.h"
#include "physics/physics_world.h"

namespace {

// Points the camera at the next ball still in play after slot, if there are two players
// or more.
void follow_next_ball(PhysicsWorld& w, int slot)
{
    const GameState& game = w.round;
    if (game.playerCount < 2) return;
    int k = slot;
    bool wrapped = false;
    for (;;) {
        bool last = false;
        if (k >= game.playerCount - 1) {
            if (wrapped) {
                w.followBall = 0;
                last = true;
            }
            k = 0;
            wrapped = true;
        } else {
            k += 1;
        }
        if (!game.players[k].holedOut) {
            w.followBall = k;
            return;
        }
        if (last) return;
    }
}

void complete_hole(PhysicsWorld& w)
{
    AimInput& aim = w.aim;
    w.stroke.strokeTaken = false;
    aim.aimState = AimPhase::Idle;
    aim.aimMode = AimMode::Off;
    w.grid.tee = Tee{};
    for (int k = 0; k < BALL_COUNT; ++k) {
        set_holed_out(w, k, false);
        w.balls[k].state.strokesThisHole = 0;
    }
    end_hole(w.round);
}

// The turn is over with no putt (a pick-up, a skip): it passes once every ball is seen at
// rest again, as after a stroke, with the aim put away.
void turn_ends_without_putt(PhysicsWorld& w)
{
    StrokeState& st = w.stroke;
    st.strokeTaken = true;
    st.strokeInFlight = true;
    for (int b = 0; b < balls_in_play(w); ++b) {
        w.balls[b].state.atRest = false;
        w.balls[b].state.restSteps = 0;
    }
    st.strokeForce = 0;
    st.swingActive = false;
    w.aim.aimClicks = 0;
    w.aim.aimState = AimPhase::Struck;
}

}  // namespace

void warp_ball(PhysicsWorld& w, int slot, int i, int j)
{
    WarpExit exit = warp_exit_of(w.grid, i, j);
    // An entry whose pair is not complete leads nowhere; the ball rolls on over it rather
    // than being dropped into the entry tile's own column.
    if (!exit.found) return;
    place_ball(w, slot, clamp_level(w.grid.height_at(exit.i, exit.j)) + 2, tile_corner(exit.i), tile_corner(exit.j));
}

// A ball moved away from where the collision pass found it keeps none of the contacts
// made there: it stops dead, as a placed ball does.
static void release_contacts(PhysicsWorld& w, int slot)
{
    dBodyID body = w.balls[slot].body;
    for (int n = dBodyGetNumJoints(body); n > 0; --n) dJointAttach(dBodyGetJoint(body, n - 1), nullptr, nullptr);
}

void apply_pending_moves(PhysicsWorld& w)
{
    PendingMoves& pm = w.pendingMoves;
    for (int k = 0; k < BALL_COUNT; ++k) {
        if (pm.holed[k]) {
            release_contacts(w, k);
            ball_holed(w, k);
        } else if (pm.warp[k]) {
            WarpExit exit = warp_exit_of(w.grid, pm.warpI[k], pm.warpJ[k]);
            if (exit.found) {
                release_contacts(w, k);
                warp_ball(w, k, pm.warpI[k], pm.warpJ[k]);
            }
        }
    }
    pm = PendingMoves{};
}

void ball_holed(PhysicsWorld& w, int slot)
{
    if (slot < 0 || slot >= BALL_COUNT) return;
    physics_event(w, EVENT_CUP, slot, SOUND_BALL_IN_CUP);
    park_ball(w, slot);
    set_holed_out(w, slot, true);
    follow_next_ball(w, slot);
    w.cupContacts = 0;
    score_hole(w.round, slot, w.round.players[slot].holeStrokes);
    if (hole_complete(w.round)) complete_hole(w);
}

void pick_up_ball(PhysicsWorld& w)
{
    int s = std::clamp(w.round.currentPlayer, 1, MAX_PLAYERS) - 1;
    park_ball(w, s);
    set_holed_out(w, s, true);
    follow_next_ball(w, s);
    w.cupContacts = 0;
    score_hole(w.round, s, PICKUP_STROKES);
    turn_ends_without_putt(w);
    w.balls[s].state.sandContacts = 0;
    if (w.round.playerCount != 0 && hole_complete(w.round)) complete_hole(w);
}

void skip_turn(PhysicsWorld& w)
{
    const int s = std::clamp(w.round.currentPlayer, 1, MAX_PLAYERS) - 1;
    if (skip_picks_up(w.round, s)) {
        pick_up_ball(w);
        return;
    }
    BallPhysicsState& ball = w.balls[s].state;
    if (ball.strokesThisHole == 0 && !ball_is_parked(w, s)) {
        park_ball(w, s);
        ball.waitsForTee = true;
    }
    count_stroke(w.round, s);
    turn_ends_without_putt(w);
}

float moving_block_top(int t, int H)
{
    float base = 32.0f * H;
    if (t <= 60) return base + t / 60.0f * 32.0f;
    if (t <= 240) return base + 32.0f;
    if (t <= 300) return base + (300 - t) / 60.0f * 32.0f;
    return base;
}

void step_moving_block(PhysicsWorld& w, float x, float y, int H)
{
    int t = w.oscillationFrame;
    if (t == 1 || t == 241) request_sound(w, SOUND_BLOCK_MOVING);
    if (t == 61 || t == 301) request_sound_stop(w, SOUND_BLOCK_MOVING);
    float top = moving_block_top(t, H);
    if (!w.geoms.movingBlocks.empty()) update_moving_block(w, x, y, std::trunc(top));
}

void step_moving_blocks(PhysicsWorld& w)
{
    // The blocks the geometry was built with, in the grid's order, rather than a look at
    // every tile of the grid in every frame.
    const HoleGrid& grid = w.grid;
    for (const int tile : w.geoms.blockTiles) {
        const int i = tile / GRID_SIZE, j = tile % GRID_SIZE;
        step_moving_block(w, tile_corner(i), tile_corner(j), clamp_level(grid.height_at(i, j)));
    }
}

void advance_oscillation_frame(PhysicsWorld& w)
{
    w.oscillationFrame += 1;
    if (w.oscillationFrame > OSCILLATION_FRAMES) w.oscillationFrame = 1;
}
