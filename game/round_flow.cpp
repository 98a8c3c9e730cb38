#include "game/round_flow.h"

#include <string>

#include "editor/editor_state.h"
#include "game/dialog_state.h"
#include "game/game_state.h"
#include "hole/course.h"
#include "hole/course_archive.h"
#include "hole/hole_grid.h"
#include "hole/leader_board.h"
#include "physics/physics.h"

RoundHooks roundHooks;

namespace {

bool has_tee(const Tee& tee) { return !(tee.level == -1 && tee.x == -1 && tee.y == -1); }

void open_score_card()
{
    if (roundHooks.open_score_card) roundHooks.open_score_card();
}

void reset_aim()
{
    AimInput& aim = aimInput;
    aim.aimState = 0;
    aim.aimMode = 0;
    cancel_stroke();
}

// Loads hole number hole of the course; false (reported) when its file cannot be read.
bool start_hole(int hole)
{
    GameState& game = gameState;
    std::string error;
    if (!read_course_hole(course, hole, holeGrid, &error)) {
        if (roundHooks.show_message) roundHooks.show_message(error.c_str(), "Load Course File");
        return false;
    }
    if (roundHooks.start_hole_music) roundHooks.start_hole_music();
    for (Player& player : game.players) player.holeStrokes = 0;
    return true;
}

}  // namespace

void begin_round()
{
    read_leader_board();
    gameState.currentHole = 1;
    gameState.holeAdvanceCountdown = 1;
}

void advance_hole()
{
    GameState& game = gameState;
    if (game.holeAdvanceCountdown <= 0) return;
    game.holeAdvanceCountdown += 1;
    if (game.goToHoleMode == 2) game.holeAdvanceCountdown = HOLE_PAUSE_FRAMES + 1;
    if (!(game.holeAdvanceCountdown > HOLE_PAUSE_FRAMES || game.currentHole == 1)) return;

    if (game.currentHole > course.holeCount) {
        if (game.goToHoleMode != 2 && game.playerCount > 0) {
            std::string error;
            if (!update_leader_board(&error) && roundHooks.show_message)
                roundHooks.show_message(error.c_str(), "Leader Board");
            open_score_card();
        }
        game.holeAdvanceCountdown = 0;
        return;
    }
    if (game.currentHole > 1 && game.goToHoleMode != 2) open_score_card();
    game.holeAdvanceCountdown = 0;
    game.currentPlayer = 1;
    if (!start_hole(game.currentHole)) {
        // Skip the hole that cannot be played; its score stays open on the card.
        game.currentHole += 1;
        game.holeAdvanceCountdown = HOLE_PAUSE_FRAMES + 1;
        reset_balls();
        holeGrid.teeState = 1;
    }
}

void set_up_turn()
{
    GameState& game = gameState;
    const int p = game.currentPlayer;
    if (p < 1 || p > MAX_PLAYERS) return;
    Player& player = game.players[p - 1];
    if (player.holedOut) return;
    physicsWorld.followBall = p - 1;
    const Tee& tee = holeGrid.tee;
    if (p >= 2 && ball_is_parked(p - 1) && has_tee(tee)) {
        place_ball(p - 1, level_plus(tee.level, 2), static_cast<float>(tee.x), static_cast<float>(tee.y));
        holeGrid.teeState = 3;
        game.ballReady = 1;
        game.puttRequested = 0;
    }
}

void set_up_tee()
{
    if (editorState.currentTool != TOOL_NOTHING) return;
    HoleGrid& grid = holeGrid;
    if (grid.teeState == 2) {
        build_hole_geometry();
        place_ball(0, grid.tee.level, static_cast<float>(grid.tee.x), static_cast<float>(grid.tee.y));
        grid.teeState = 3;
        gameState.ballReady = 1;
        gameState.puttRequested = 0;
    } else if (grid.teeState == 1) {
        build_hole_geometry();
        place_ball(0, 94, -32.0f, -32.0f);   // 3017 up: out of play
        grid.tee = Tee{};
        grid.teeState = 0;
    }
}

bool go_to_hole(int n)
{
    GameState& game = gameState;
    if (n < 1) return false;
    game.currentHole = n > course.holeCount ? course.holeCount + 1 : n;
    game.holeAdvanceCountdown = 1;
    game.goToHoleMode = 2;
    reset_aim();
    game.currentPlayer = 1;
    holeGrid.teeState = 1;
    reset_balls();
    game.puttRequested = 0;
    for (Player& player : game.players) player.holedOut = 0;
    return true;
}

void begin_loaded_course()
{
    GameState& game = gameState;
    read_leader_board();
    game.currentHole = 1;
    game.holeAdvanceCountdown = 1;
    game.goToHoleMode = 0;
    editorState.currentTool = TOOL_NOTHING;
    for (auto& row : game.scoreTable)
        for (int& score : row) score = 0;
    reset_aim();
    holeGrid.teeState = 1;
    reset_balls();
    game.puttRequested = 0;
    for (Player& player : game.players) player.holedOut = 0;
}

void reset_round()
{
    GameState& game = gameState;
    game.goToHoleMode = 0;
    reset_aim();
    game.playerCount = 0;
    for (Player& player : game.players) {
        player.name[0] = '\0';
        player.holedOut = 0;
        player.holeStrokes = 0;
    }
    editorState.currentTool = TOOL_NOTHING;
    dialogState.startScreenStep = 1;
    remove_course_files(true);
    clear_hole();
    build_hole_geometry();
    course.holeCount = 0;
    game.currentHole = 1;
    game.currentPlayer = 1;
    game.holeAdvanceCountdown = 0;
    holeGrid.teeState = 1;
    reset_balls();
    for (auto& row : game.scoreTable)
        for (int& score : row) score = 0;
    game.puttRequested = 0;
    game.ballReady = 0;
}
