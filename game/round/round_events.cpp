#include "game/round/round_events.h"

#include <cmath>

#include "game/round/round_log.h"
#include "game/round/session.h"
#include "physics/hole_events.h"
#include "physics/hole_geometry.h"
#include "physics/putt_play.h"

namespace {

bool made_here(EventSource from) { return from == EventSource::Person || from == EventSource::Computer; }

// A player of this round whose ball is still on the hole.
bool in_play(const GameState& game, int player)
{
    return player >= 1 && player <= game.playerCount && player <= MAX_PLAYERS && !game.players[player - 1].holedOut;
}

bool submit_aim(GameSession& s, const RoundEvent& event, EventSource from)
{
    AimInput& aim = s.aim;
    if (event.clicks != 0 && event.clicks != 1) return false;
    if (made_here(from) && aim.aimState == AimPhase::Struck) return false;   // the swing is under way
    if (event.clicks == 1) {
        // Aiming begins as the Putt button begins it, with the hole's geometry built again.
        if (aim.aimClicks == 0) build_hole_geometry(s.physics);
        aim.aimClicks = 1;
        if (made_here(from)) {
            aim.aimMode = AimMode::Aiming;
            aim.aimState = AimPhase::Began;
        }
        if (from == EventSource::Network) {
            // The other machine's pointer is not known here: the meter rests at its lowest
            // until the putt shows where it went.
            aim.aimOffset[0] = 0;
            aim.aimOffset[1] = 0;
        }
        return true;
    }
    aim.aimClicks = 0;
    if (made_here(from)) {
        aim.aimMode = AimMode::Off;
        aim.aimState = AimPhase::Idle;
        aim.puttPower = 0;
        aim.struckPower = 0;
    }
    return true;
}

bool submit_putt(GameSession& s, const RoundEvent& event, EventSource from)
{
    AimInput& aim = s.aim;
    if (event.step == STRIKE_NOW) {
        // Only a player at this machine swings the live aim.
        if (!made_here(from) || aim.aimClicks != 1 || aim.aimState == AimPhase::Struck) return false;
        aim.struckPower = aim.puttPower;
        if (aim.puttPower == 0) aim.aimClicks = 0;   // no power yet: nothing to strike with
        aim.aimState = AimPhase::Struck;
        return true;
    }
    const GameState& game = s.round;
    if (event.step < 0 || event.player != game.currentPlayer || !in_play(game, event.player)) return false;
    if (!std::isfinite(event.angle) || !(event.power > 0.0f && event.power <= MAX_POWER)) return false;
    StrokeState& st = s.physics.stroke;
    st.armedStep = s.roundLog.holeStartStep + event.step;
    st.armedAngle = event.angle;
    st.armedPower = event.power;
    aim.aimClicks = 1;
    if (from == EventSource::Network) {
        // The putter and the meter show the putt as it was struck there.
        aim.aimAngle = event.angle;
        aim.aimOffset[0] = offset_for_power(event.power);
        aim.aimOffset[1] = 0;
    }
    return true;
}

// A pick-up or a skip may give up this player's turn: a resumed round says whose turn it was;
// everyone else may give up only the turn of the player on turn.
bool may_give_up_turn(const GameState& game, const RoundEvent& event, EventSource from)
{
    return in_play(game, event.player) && (from == EventSource::RoundFile || event.player == game.currentPlayer);
}

bool submit_pick_up(GameSession& s, const RoundEvent& event, EventSource from)
{
    if (!may_give_up_turn(s.round, event, from)) return false;
    s.round.currentPlayer = event.player;
    if (from != EventSource::RoundFile) note_turn_given_up(s, RoundEventKind::PickUp);
    pick_up_ball(s.physics);
    return true;
}

// The turn's time ran out. Only between strokes: a putt already swinging is the turn's.
bool submit_skip(GameSession& s, const RoundEvent& event, EventSource from)
{
    const StrokeState& st = s.physics.stroke;
    if (!may_give_up_turn(s.round, event, from)) return false;
    if (st.strokeInFlight || st.swingActive || st.armedStep != 0 || (made_here(from) && s.aim.aimState == AimPhase::Struck))
        return false;
    s.round.currentPlayer = event.player;
    if (from != EventSource::RoundFile) note_turn_given_up(s, RoundEventKind::Skip);
    skip_turn(s.physics);
    s.aim.aimMode = AimMode::Off;
    s.aim.puttPower = 0;
    s.aim.struckPower = 0;
    s.round.puttRequested = false;
    return true;
}

}  // namespace

bool submit(GameSession& s, const RoundEvent& event, EventSource from)
{
    switch (event.kind) {
    case RoundEventKind::Aim: return submit_aim(s, event, from);
    case RoundEventKind::Putt: return submit_putt(s, event, from);
    case RoundEventKind::PickUp: return submit_pick_up(s, event, from);
    case RoundEventKind::Skip: return submit_skip(s, event, from);
    case RoundEventKind::Settle:
        // Only a replay settles the balls' rotations, at the moment its record says.
        if (from != EventSource::RoundFile) return false;
        renormalise_ball_rotations(s.physics);
        return true;
    }
    return false;
}

RoundEvent aim_event(int clicks)
{
    RoundEvent event;
    event.kind = RoundEventKind::Aim;
    event.clicks = clicks;
    return event;
}

RoundEvent strike_now()
{
    RoundEvent event;
    event.kind = RoundEventKind::Putt;
    event.step = STRIKE_NOW;
    return event;
}

RoundEvent pick_up_event(int player)
{
    RoundEvent event;
    event.kind = RoundEventKind::PickUp;
    event.player = player;
    return event;
}

RoundEvent skip_event(int player)
{
    RoundEvent event;
    event.kind = RoundEventKind::Skip;
    event.player = player;
    return event;
}
