#include "game/play/game_tick.h"

#include "game/net/net_round.h"
#include "game/round/computer_turn.h"
#include "game/round/round_flow.h"
#include "game/round/round_log.h"
#include "game/round/session.h"

namespace {

int holed_out_count(const GameState& game)
{
    int n = 0;
    for (const Player& player : game.players) n += player.holedOut ? 1 : 0;
    return n;
}

// The score card between holes closes by itself when nobody here is asked to read it.
void count_score_card_down(GameSession& s)
{
    GameState& game = s.round;
    const bool between = game.scoreCardShown && game.playerCount > 0 && game.currentHole <= s.course.holeCount;
    if (!between || person_at_this_machine(s)) {
        s.scoreCardTicks = 0;
        return;
    }
    if (++s.scoreCardTicks < SCORE_CARD_AUTO_CLOSE_TICKS) return;
    s.scoreCardTicks = 0;
    if (s.hooks.close_score_card) s.hooks.close_score_card(s);
    else game.scoreCardShown = false;
}

}  // namespace

bool person_at_this_machine(const GameSession& s)
{
    const GameState& game = s.round;
    for (int p = 1; p <= game.playerCount && p <= MAX_PLAYERS; ++p) {
        if (game.players[p - 1].seat != Seat::Person) continue;
        if (s.net.phase != NetPhase::Playing || net_player_is_local(s.net, p)) return true;
    }
    return false;
}

TickReport tick_round(GameSession& s)
{
    const GameState& game = s.round;
    const StrokeState& stroke = s.physics.stroke;
    const int strikes = stroke.strikeCount, holedOut = holed_out_count(game), hole = game.currentHole;
    const bool inFlight = stroke.strokeInFlight, replaying = s.roundLog.replaying;
    const long holesBegun = s.holesBegun;

    step_net_play(s);
    round_frame_begins(s);
    set_up_turn(s);
    step_computer_turn(s);
    hole_tick(s);
    round_frame_ends(s);
    advance_hole(s);
    count_score_card_down(s);

    TickReport report;
    report.struck = stroke.strikeCount != strikes;
    report.angle = stroke.strikeAngle;
    report.power = stroke.strikePower;
    report.rested = inFlight && !stroke.strokeInFlight;
    report.holed = holed_out_count(game) > holedOut && game.currentHole == hole;
    report.holeOver = game.currentHole != hole;
    report.holeBegan = s.holesBegun != holesBegun;
    report.replayEnded = replaying && !s.roundLog.replaying;
    return report;
}
