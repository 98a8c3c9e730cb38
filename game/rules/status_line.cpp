#include "game/rules/status_line.h"

#include <cstdio>
#include <cstring>

#include "hole/course.h"

void build_status_text(char* out, size_t size, const GameState& game, const Course& holes)
{
    if (game.currentHole > holes.holeCount) {
        std::snprintf(out, size, "Finished Course");
        return;
    }
    const int player = game.currentPlayer >= 1 && game.currentPlayer <= MAX_PLAYERS ? game.currentPlayer - 1 : 0;
    char name[7] = {};
    std::strncpy(name, game.players[player].name, 6);
    int strokes = game.players[player].holeStrokes;
    if (strokes > 99) strokes = 99;
    const int hole = game.currentHole;
    const int par = hole >= 1 && hole <= MAX_HOLES ? holes.parTable[hole - 1] : 0;
    std::snprintf(out, size, "%s  %d  Hole %d  Par %d", name, strokes, hole, par);
}
