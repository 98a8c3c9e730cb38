// The score card's note under the table: a round played with the aim guide is not entered in
// the leader board, and the card says so.
#include "hole/round_state.h"
#include "render/score_card.h"

std::string score_card_note(const GameState& game)
{
    return game.aimGuideUsed ? "Aim Guide used: no leader board" : "";
}

// Beside the OK button, left of it, below the table (the table's rows all hold scores).
RasterPoint score_card_note_point(int w, int h) { return {w / 2 - 230, h / 2 - 161}; }
