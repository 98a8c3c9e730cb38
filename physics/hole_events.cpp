// Warps, the cup, picking a ball up, and the oscillating blocks.
#include "physics/hole_events.h"

#include <algorithm>
#include <cmath>

#include "audio/sound_ids.h"
#include "game/game_state.h"
#include "physics/ball_step.h"
#include "physics/hole_geometry.h"
#include "physics/physics_local.h"
#include "physics/physics_world.h"

int oscillationFrame = 1;
int cupContacts = 0;
PendingMoves pendingMoves;

namespace {

// Points the camera at the next ball still in play after slot, if there are two players
// or more.
void follow_next_ball(int slot)
{
    const GameState& game = gameState;
    if (game.playerCount < 2) return;
    int k = slot;
    bool wrapped = false;
    for (;;) {
        bool last = false;
        if (k >= game.playerCount - 1) {
            if (wrapped) {
                physicsWorld.followBall = 0;
                last = true;
            }
            k = 0;
            wrapped = true;
        } else {
            k += 1;
        }
        if (game.players[k].holedOut == 0) {
            physicsWorld.followBall = k;
            return;
        }
        if (last) return;
    }
}

bool hole_in_table(int hole) { return hole >= 1 && hole <= MAX_HOLES; }

bool hole_complete()
{
    const GameState& game = gameState;
    if (game.playerCount == 0) return true;
    for (int p = 0; p < game.playerCount && p < MAX_PLAYERS; ++p) {
        // Past the last column of the score card only the holed flags can tell.
        bool done = hole_in_table(game.currentHole) ? game.scoreTable[p][game.currentHole - 1] != 0
                                                    : game.players[p].holedOut != 0;
        if (!done) return false;
    }
    return true;
}

void complete_hole()
{
    GameState& game = gameState;
    AimInput& aim = aimInput;
    strokeState.strokeTaken = 0;
    game.ballReady = 0;
    aim.aimState = 0;
    aim.aimMode = 0;
    holeGrid.tee = Tee{};
    game.holeAdvanceCountdown = 1;
    if (game.currentHole < MAX_HOLES + 1) game.currentHole += 1;
    for (int k = 0; k < BALL_COUNT; ++k) {
        set_holed_out(k, 0);
        physicsWorld.balls[k].state.strokesThisHole = 0;
    }
    game.currentPlayer = 1;
    if (game.playerCount == 0) {
        game.holeAdvanceCountdown = 0;
        game.currentHole = 1;
    }
}

void write_score(int slot, int strokes)
{
    GameState& game = gameState;
    if (hole_in_table(game.currentHole)) game.scoreTable[slot][game.currentHole - 1] = strokes;
    game.players[slot].holeStrokes = 0;
}

}  // namespace

void warp_ball(int slot, int i, int j)
{
    WarpExit exit = warp_exit_of(holeGrid, i, j);
    // An entry whose pair is not complete leads nowhere; the ball rolls on over it rather
    // than being dropped into the entry tile's own column.
    if (!exit.found) return;
    place_ball(slot, clamp_level(holeGrid.height_at(exit.i, exit.j)) + 2, tile_corner(exit.i), tile_corner(exit.j));
}

// A ball moved away from where the collision pass found it keeps none of the contacts
// made there: it stops dead, as a placed ball does.
static void release_contacts(int slot)
{
    dBodyID body = physicsWorld.balls[slot].body;
    for (int n = dBodyGetNumJoints(body); n > 0; --n) dJointAttach(dBodyGetJoint(body, n - 1), nullptr, nullptr);
}

void apply_pending_moves()
{
    PendingMoves& pm = pendingMoves;
    for (int k = 0; k < BALL_COUNT; ++k) {
        if (pm.holed[k]) {
            release_contacts(k);
            ball_holed(k);
        } else if (pm.warp[k]) {
            WarpExit exit = warp_exit_of(holeGrid, pm.warpI[k], pm.warpJ[k]);
            if (exit.found) {
                release_contacts(k);
                warp_ball(k, pm.warpI[k], pm.warpJ[k]);
            }
        }
    }
    pm = PendingMoves{};
}

void ball_holed(int slot)
{
    if (slot < 0 || slot >= BALL_COUNT) return;
    physics_event(EVENT_CUP, slot, SOUND_BALL_IN_CUP);
    park_ball(slot);
    set_holed_out(slot, 1);
    follow_next_ball(slot);
    cupContacts = 0;
    write_score(slot, gameState.players[slot].holeStrokes);
    if (hole_complete()) complete_hole();
}

void pick_up_ball()
{
    int s = std::clamp(gameState.currentPlayer, 1, MAX_PLAYERS) - 1;
    park_ball(s);
    set_holed_out(s, 1);
    follow_next_ball(s);
    cupContacts = 0;
    write_score(s, PICKUP_STROKES);
    StrokeState& st = strokeState;
    st.strokeTaken = 1;
    st.strokeInFlight = 1;
    for (int b = 0; b < balls_in_play(); ++b) {
        physicsWorld.balls[b].state.atRest = 0;
        physicsWorld.balls[b].state.restSteps = 0;
    }
    st.strokeForce = 0;
    st.swingActive = 0;
    aimInput.aimClicks = 0;
    aimInput.aimState = 2;
    physicsWorld.balls[s].state.sandContacts = 0;
    if (gameState.playerCount != 0 && hole_complete()) complete_hole();
}

float moving_block_top(int H)
{
    int t = oscillationFrame;
    float base = 32.0f * H;
    if (t <= 60) return base + t / 60.0f * 32.0f;
    if (t <= 240) return base + 32.0f;
    if (t <= 300) return base + (300 - t) / 60.0f * 32.0f;
    return base;
}

void step_moving_block(float x, float y, int H)
{
    int t = oscillationFrame;
    if (t == 1 || t == 241) request_sound(SOUND_BLOCK_MOVING);
    if (t == 61 || t == 301) request_sound_stop(SOUND_BLOCK_MOVING);
    float top = moving_block_top(H);
    if (!geomLists.movingBlocks.empty()) update_moving_block(x, y, std::trunc(top));
}

void step_moving_blocks(const HoleGrid& grid)
{
    for (int i = 0; i < GRID_SIZE; ++i)
        for (int j = 0; j < GRID_SIZE; ++j)
            if (grid.kind_at(i, j) == KIND_OSCILLATING_BLOCK)
                step_moving_block(tile_corner(i), tile_corner(j), clamp_level(grid.height_at(i, j)));
}

void advance_oscillation_frame()
{
    oscillationFrame += 1;
    if (oscillationFrame > OSCILLATION_FRAMES) oscillationFrame = 1;
}
