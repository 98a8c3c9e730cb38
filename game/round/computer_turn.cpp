#include "game/round/computer_turn.h"

#include "game/round/round_events.h"

#include <cmath>
#include <cstdlib>

#include "game/rules/aim.h"
#include "game/computer/computer_round.h"
#include "game/computer/putt_search.h"
#include "game/round/session.h"
#include "physics/physics.h"
#include "platform/test_seam.h"

ComputerTurn::ComputerTurn() = default;
ComputerTurn::~ComputerTurn() = default;

namespace {

void forget_turn(ComputerTurn& c)
{
    c.phase = ComputerPhase::Idle;
    c.search.reset();
    c.aimFrame = 0;
    c.starvedFrames = 0;
}

// Puts the putter where a pointer at offset (u, v) from the ball would: the same aim
// functions, the same fields the pointer sets.
void aim_at(AimInput& aim, int u, int v)
{
    const AimResult r = compute_aim_angle(0.0f, 0.0f, static_cast<float>(u), static_cast<float>(v), COMPUTER_VIEW_ANGLE);
    aim.aimAngle = r.aimAngle;
    while (aim.aimAngle > 180.0f) aim.aimAngle -= 360.0f;
    while (aim.aimAngle < -180.0f) aim.aimAngle += 360.0f;
    aim.aimOffset[0] = r.offsetU;
    aim.aimOffset[1] = r.offsetV;
    aim.puttPower = meter_power(r.offsetU, r.offsetV);
}

bool balls_still(const GameSession& s)
{
    const PhysicsWorld& w = s.physics;
    return !w.stroke.strokeInFlight && !w.stroke.swingActive && s.aim.aimState != AimPhase::Struck &&
           s.aim.struckPower == 0;
}

bool screens_closed(const GameSession& s)
{
    const DialogState& d = s.dialogs;
    return !s.round.scoreCardShown && !d.leaderBoardShown && !d.pickUpDialogOpen && !d.goToHoleDialogOpen &&
           d.startScreenStep == StartStep::None;
}

}  // namespace

bool computer_on_turn(const GameSession& s)
{
    const GameState& game = s.round;
    if (game.playerCount <= 0 || game.currentPlayer < 1 || game.currentPlayer > game.playerCount) return false;
    if (game.holeAdvanceCountdown > 0 || game.currentHole > s.course.holeCount) return false;
    const Player& player = game.players[game.currentPlayer - 1];
    return player.seat != Seat::Person && !player.holedOut;
}

bool computer_aiming(const GameSession& s)
{
    // Through the swing too: the putter strikes along the computer's aim, not the pointer's.
    const ComputerPhase phase = s.computer.phase;
    return (phase == ComputerPhase::Aiming || phase == ComputerPhase::Struck) && computer_on_turn(s);
}

void step_computer_turn(GameSession& s)
{
    ComputerTurn& c = s.computer;
    // Replay Last Putt shows a putt already played: the computer's turn waits, whatever the
    // replay puts back, and is thought out afresh when it is over.
    if (!computer_on_turn(s) || s.roundLog.replaying) {
        if (c.phase != ComputerPhase::Idle) forget_turn(c);
        return;
    }
    GameState& game = s.round;
    const int slot = game.currentPlayer - 1;
    const Player& player = game.players[slot];
    const int stroke = player.holeStrokes + 1;
    if (c.phase != ComputerPhase::Idle && (c.hole != game.currentHole || c.player != game.currentPlayer)) forget_turn(c);

    switch (c.phase) {
    case ComputerPhase::Idle:
    case ComputerPhase::Struck: {
        if (c.phase == ComputerPhase::Struck && c.stroke == stroke) return;   // the putt still rolls
        c.phase = ComputerPhase::Idle;
        if (!game.ballReady || !balls_still(s) || !screens_closed(s) || s.aim.aimClicks != 0) return;
        if (ball_is_parked(s.physics, slot) || !s.physics.balls[slot].state.atRest) return;
        // A ball just dropped onto the tee is still falling or bouncing.
        double v[3];
        ball_velocity(s.physics, slot, v);
        if (std::fabs(v[0]) + std::fabs(v[1]) + std::fabs(v[2]) > 1.0) return;
        if (player.holeStrokes >= COMPUTER_PICKUP_AFTER) {
            submit(s, pick_up_event(game.currentPlayer), EventSource::Computer);
            return;
        }
        c.hole = game.currentHole;
        c.player = game.currentPlayer;
        c.stroke = stroke;
        c.search = std::make_unique<PuttSearch>(snapshot_turn(s.physics, slot), player.seat,
                                                dice_seed(game.roundSeed, c.hole, c.player, c.stroke, DicePurpose::Search));
        c.starvedFrames = 0;
        c.phase = ComputerPhase::Thinking;
        return;
    }
    case ComputerPhase::Thinking: {
        if (!c.search || !c.search->decided()) return;
        Dice hand{dice_seed(game.roundSeed, c.hole, c.player, c.stroke, DicePurpose::Execution)};
        c.played = noisy_putt(c.search->decision(), player.seat, hand);
        c.search.reset();
        // Aiming begins as with the Putt button: the geometry rebuilt, the camera to the ball.
        submit(s, aim_event(1), EventSource::Computer);
        game.puttRequested = true;
        c.aimFrame = 0;
        c.phase = ComputerPhase::Aiming;
        aim_at(s.aim, c.played.u / 5, c.played.v / 5);
        return;
    }
    case ComputerPhase::Aiming: {
        c.aimFrame += 1;
        const int aimFrames = computer_aim_frames();
        // The pointer glides out from near the ball to the chosen offset.
        const double t = static_cast<double>(c.aimFrame) / aimFrames;
        const double along = t >= 1.0 ? 1.0 : 0.2 + 0.8 * t * (2.0 - t);
        aim_at(s.aim, static_cast<int>(c.played.u * along), static_cast<int>(c.played.v * along));
        if (c.aimFrame < aimFrames) return;
        // The strike, as a left click while aiming.
        submit(s, strike_now(), EventSource::Computer);
        game.puttRequested = false;
        c.phase = ComputerPhase::Struck;
        return;
    }
    }
}

int computer_aim_frames()
{
    // The end-to-end tests slow the move down so that a screenshot is sure to catch it.
    const int n = test_seam().computerAimTicks;
    return n > 0 ? n : COMPUTER_AIM_FRAMES;
}

void think_until(GameSession& s, std::chrono::steady_clock::time_point deadline)
{
    ComputerTurn& c = s.computer;
    if (c.phase != ComputerPhase::Thinking || !c.search || c.search->decided()) return;
    using Clock = std::chrono::steady_clock;
    bool sliced = false;
    while (!c.search->decided()) {
        const Clock::time_point now = Clock::now();
        const auto expected = std::chrono::microseconds(static_cast<long>(c.puttMs * 1500.0));   // with a margin
        if (now + expected > deadline && (sliced || c.starvedFrames < COMPUTER_STARVED_FRAMES)) break;
        c.search->advance(1);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - now).count();
        c.puttMs = 0.8 * c.puttMs + 0.2 * ms;
        sliced = true;
    }
    c.starvedFrames = sliced ? 0 : c.starvedFrames + 1;
}
