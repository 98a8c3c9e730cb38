// The whole game's tick on the round's side: the network, the round's record, the turn, the
// computer's move, the hole, the round file, the pause between holes and the score card's
// countdown, in that order. The application calls it 60 times a second of wall time.
#pragma once

#include "game/round/round_tick.h"

struct GameSession;

// How long the score card between holes stays up when nobody at this machine plays: the
// computer's round goes on by itself, and a click still closes it at once.
constexpr int SCORE_CARD_AUTO_CLOSE_TICKS = 4 * TICKS_PER_SECOND;

// One tick of the game, and what it did.
TickReport tick_round(GameSession& s);

// True when somebody at this machine plays in the round (a person in a seat of its own).
bool person_at_this_machine(const GameSession& s);
