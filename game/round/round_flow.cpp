// The round's flow from hole to hole: starting, advancing, Go To Hole and resetting.
#include "game/round/round_flow.h"

#include <chrono>
#include <random>
#include <string>

#include "game/rules/player_setup.h"
#include "game/round/round_log.h"
#include "game/round/session.h"
#include "hole/course_archive.h"
#include "physics/physics.h"

namespace {

bool has_tee(const Tee& tee) { return !(tee.level == -1 && tee.x == -1 && tee.y == -1); }

void open_score_card(GameSession& s)
{
    if (s.hooks.open_score_card) s.hooks.open_score_card(s);
}

void show_message(GameSession& s, const std::string& text, const char* caption)
{
    if (s.hooks.show_message) s.hooks.show_message(s, text.c_str(), caption);
}

void reset_aim(GameSession& s)
{
    s.aim.aimState = AimPhase::Idle;
    s.aim.aimMode = AimMode::Off;
    cancel_stroke(s.physics);
}

void drop_editor_tool(GameSession& s)
{
    if (s.hooks.drop_editor_tool) s.hooks.drop_editor_tool(s);
}

void read_board(GameSession& s) { read_leader_board(s.leaderBoard, s.course.holeCount, user_data_dir(s.paths)); }

}  // namespace

bool start_round_hole(GameSession& s, int hole)
{
    GameState& game = s.round;
    std::string error;
    if (!read_course_hole(s.course, hole, s.grid, &error)) {
        show_message(s, error, "Load Course File");
        return false;
    }
    if (s.hooks.start_hole_music) s.hooks.start_hole_music(s);
    for (Player& player : game.players) player.holeStrokes = 0;
    // Every hole starts from the same state of the balls (all parked, nothing pending), so
    // the round file can play it again.
    reset_balls(s.physics);
    return true;
}

void begin_round(GameSession& s)
{
    read_board(s);
    // A fresh seed for the computer seats' dice; a round read back keeps its own.
    std::random_device device;
    s.round.roundSeed = (static_cast<unsigned long long>(device()) << 32) ^ device() ^
                        static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    s.round.currentHole = 1;
    s.round.holeAdvanceCountdown = 1;
    s.round.aimGuideUsed = false;
}

void advance_hole(GameSession& s)
{
    GameState& game = s.round;
    if (game.holeAdvanceCountdown <= 0 || s.roundLog.replaying) return;
    game.holeAdvanceCountdown += 1;
    if (game.goToHoleMode == GoToHoleMode::Moved) game.holeAdvanceCountdown = HOLE_PAUSE_FRAMES + 1;
    if (!(game.holeAdvanceCountdown > HOLE_PAUSE_FRAMES || game.currentHole == 1)) return;

    if (game.currentHole > s.course.holeCount) {
        if (game.goToHoleMode != GoToHoleMode::Moved && game.playerCount > 0) {
            // Only people enter the leader board; the computer's totals stay on the score card.
            const char* names[MAX_PLAYERS] = {};
            int scores[MAX_PLAYERS][MAX_HOLES] = {};
            const int people = leader_board_entrants(game, names, scores);
            std::string error;
            if (people > 0 && !update_leader_board(s.leaderBoard, s.course.holeCount, names, scores, people, &error,
                                                   user_data_dir(s.paths)))
                show_message(s, error, "Leader Board");
            open_score_card(s);
        }
        game.holeAdvanceCountdown = 0;
        note_round_finished(s);
        return;
    }
    if (game.currentHole > 1 && game.goToHoleMode != GoToHoleMode::Moved) open_score_card(s);
    game.holeAdvanceCountdown = 0;
    game.currentPlayer = 1;
    if (start_round_hole(s, game.currentHole)) {
        s.holesBegun += 1;
        note_hole_started(s);
    } else {
        // Skip the hole that cannot be played; its score stays open on the card.
        game.currentHole += 1;
        game.holeAdvanceCountdown = HOLE_PAUSE_FRAMES + 1;
        reset_balls(s.physics);
        s.grid.teeState = TeeState::NoTee;
    }
}

void set_up_turn(GameSession& s)
{
    GameState& game = s.round;
    const int p = game.currentPlayer;
    if (p < 1 || p > MAX_PLAYERS) return;
    Player& player = game.players[p - 1];
    if (player.holedOut) return;
    s.physics.followBall = p - 1;
    const Tee& tee = s.grid.tee;
    // Player 1's ball is teed with the hole; a later ball is teed at its first turn, and a
    // ball whose turn was skipped on the tee is teed again at its next (not while the skip
    // still waits for the balls to rest).
    BallPhysicsState& ball = s.physics.balls[p - 1].state;
    const bool turnBegins = !s.physics.stroke.strokeInFlight;
    if ((p >= 2 || ball.waitsForTee) && turnBegins && ball_is_parked(s.physics, p - 1) && has_tee(tee)) {
        ball.waitsForTee = false;
        place_ball(s.physics, p - 1, level_plus(tee.level, 2), static_cast<float>(tee.x), static_cast<float>(tee.y));
        s.grid.teeState = TeeState::JustPlaced;
        game.ballReady = true;
        game.puttRequested = false;
    }
}

void set_up_tee(GameSession& s)
{
    HoleGrid& grid = s.grid;
    if (grid.teeState == TeeState::Waiting) {
        build_hole_geometry(s.physics);
        place_ball(s.physics, 0, grid.tee.level, static_cast<float>(grid.tee.x), static_cast<float>(grid.tee.y));
        grid.teeState = TeeState::JustPlaced;
        s.round.ballReady = true;
        s.round.puttRequested = false;
    } else if (grid.teeState == TeeState::NoTee) {
        build_hole_geometry(s.physics);
        place_ball(s.physics, 0, 94, -32.0f, -32.0f);   // 3017 up: out of play
        grid.tee = Tee{};
        grid.teeState = TeeState::Idle;
    }
}

bool go_to_hole(GameSession& s, int n)
{
    GameState& game = s.round;
    if (n < 1) return false;
    game.currentHole = n > s.course.holeCount ? s.course.holeCount + 1 : n;
    game.holeAdvanceCountdown = 1;
    game.goToHoleMode = GoToHoleMode::Moved;
    reset_aim(s);
    game.currentPlayer = 1;
    s.grid.teeState = TeeState::NoTee;
    reset_balls(s.physics);
    game.puttRequested = false;
    for (Player& player : game.players) player.holedOut = false;
    return true;
}

void begin_loaded_course(GameSession& s)
{
    GameState& game = s.round;
    read_board(s);
    game.currentHole = 1;
    game.holeAdvanceCountdown = 1;
    game.goToHoleMode = GoToHoleMode::Scored;
    drop_editor_tool(s);
    for (auto& row : game.scoreTable)
        for (int& score : row) score = 0;
    reset_aim(s);
    s.grid.teeState = TeeState::NoTee;
    reset_balls(s.physics);
    game.puttRequested = false;
    for (Player& player : game.players) player.holedOut = false;
}

void reset_round(GameSession& s)
{
    GameState& game = s.round;
    stop_round_log(s);
    game.goToHoleMode = GoToHoleMode::Scored;
    reset_aim(s);
    game.playerCount = 0;
    for (Player& player : game.players) {
        player.name[0] = '\0';
        player.holedOut = false;
        player.holeStrokes = 0;
    }
    drop_editor_tool(s);
    s.dialogs.startScreenStep = StartStep::BuildQuestion;
    remove_course_files(s.course, true);
    clear_hole(s.grid);
    build_hole_geometry(s.physics);
    s.course.holeCount = 0;
    game.currentHole = 1;
    game.currentPlayer = 1;
    game.holeAdvanceCountdown = 0;
    s.grid.teeState = TeeState::NoTee;
    reset_balls(s.physics);
    for (auto& row : game.scoreTable)
        for (int& score : row) score = 0;
    game.puttRequested = false;
    game.ballReady = false;
}
