// The round's front door. Aims, putts, pick-ups and skipped turns enter a round only through
// submit(), whoever makes them: the player's mouse, a computer seat, a machine across the
// network, or a resumed round file. submit() checks the event against the round (the player
// on turn, a ball still in play, values in range) and lets it in: a putt struck now swings
// the putter from the next ball step, a putt with its step is armed to strike in that ball
// step, a pick-up takes the ball off the hole and writes its score, a skip counts a stroke
// and passes the turn. What the world then does comes
// back from the game's tick (game/play/game_tick.h); the round's record keeps what entered.
#pragma once

#include "hole/round_file.h"

struct GameSession;

// Where an event came from.
enum class EventSource {
    Person,      // the mouse or the keyboard at this machine
    Computer,    // a computer seat played at this machine
    Network,     // another machine's player, as the lockstep hands it on
    RoundFile,   // the record of a round being resumed
};

// The step of a putt struck now, in the next ball step (the person's click, the computer's
// swing): its direction and power are the live aim's.
constexpr long STRIKE_NOW = -1;

// Lets the event into the round, or refuses it and changes nothing (false).
bool submit(GameSession& s, const RoundEvent& event, EventSource from);

// The events a player makes at this machine.
RoundEvent aim_event(int clicks);      // 1: aiming begins; 0: the aim is given up
RoundEvent strike_now();               // the putter swings with the live aim
RoundEvent pick_up_event(int player);  // the ball of player (1-based) is picked up
RoundEvent skip_event(int player);     // player's time for the turn ran out
