// The seat choice in the player dialog: a person, or the computer at one of its levels.
#pragma once

#include "hole/round_state.h"

struct GameSession;

// The bottom of each player's row in the player dialog (dialog coordinates).
constexpr int SEAT_ROW_BOTTOMS[MAX_PLAYERS] = {300, 230, 160, 90};

// The seat a press of the seat button moves on to: Person, Novice, Club, Expert, Person...
Seat next_seat(Seat seat);

// Adds player's seat button (beside the name, legend "Person") to the dialog being built and
// makes the seat a person's.
void add_seat_button(GameSession& s, int player);
