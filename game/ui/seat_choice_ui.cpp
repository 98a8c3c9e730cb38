// The seat button beside each name in the player dialog: a person, or the computer at
// Novice, Club or Expert; each press moves on to the next.
#include <plib/pu.h>

#include "game/rules/seat_choice.h"
#include "game/round/session.h"
#include "game/ui/ui_local.h"

namespace {

const char* const SEAT_LEGENDS[4] = {"Person", "Novice", "Club", "Expert"};

// The player a seat button belongs to, told by where it stands in the dialog.
int player_of(puObject* button, const int rowBottoms[MAX_PLAYERS])
{
    int x = 0, y = 0;
    button->getPosition(&x, &y);
    for (int k = 0; k < MAX_PLAYERS; ++k)
        if (rowBottoms[k] == y) return k;
    return -1;
}

void seat_pressed(puObject* button)
{
    GameSession& s = session_of(button);
    const int k = player_of(button, SEAT_ROW_BOTTOMS);
    if (k < 0) return;
    Player& player = s.round.players[k];
    player.seat = next_seat(player.seat);
    button->setLegend(SEAT_LEGENDS[static_cast<int>(player.seat)]);
}

}  // namespace

void add_seat_button(GameSession& s, int player)
{
    if (player < 0 || player >= MAX_PLAYERS) return;
    s.round.players[player].seat = Seat::Person;
    const int y0 = SEAT_ROW_BOTTOMS[player];
    add_button(s, 204, y0, 268, y0 + 30, SEAT_LEGENDS[0], seat_pressed);
}
