// The computer players: their dice, their hands (pointer offsets through the aim functions,
// noise of the level's size) and their putt search (its own world, its budget, the same
// decision however it is sliced).
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "game/computer/computer_dice.h"
#include "game/computer/computer_player.h"
#include "game/computer/computer_round.h"
#include "game/rules/player_setup.h"
#include "game/computer/putt_search.h"
#include "game/computer/route_field.h"
#include "game/rules/seat_choice.h"
#include "game/computer/suggested_par.h"
#include "hole/course_archive.h"
#include "hole/hole_file.h"
#include "physics/physics.h"
#include "physics/putt_play.h"
#include "tests/unit/physics_test_util.h"
#include "tests/unit/test_files.h"
#include "tests/unit/tool_runner.h"

namespace {

double wrap(double a)
{
    a = std::remainder(a, 360.0);
    return a <= -180.0 ? a + 360.0 : a;
}


bool same_putt(const PointerPutt& a, const PointerPutt& b) { return a.u == b.u && a.v == b.v; }

}  // namespace

TEST(ComputerDice, SeedsReproduceAndPurposesDiffer)
{
    const std::uint64_t seed = dice_seed(77, 3, 2, 1, DicePurpose::Search);
    EXPECT_EQ(seed, dice_seed(77, 3, 2, 1, DicePurpose::Search));
    EXPECT_NE(seed, dice_seed(77, 3, 2, 1, DicePurpose::Execution));
    EXPECT_NE(seed, dice_seed(77, 3, 2, 2, DicePurpose::Search));
    EXPECT_NE(seed, dice_seed(77, 3, 1, 1, DicePurpose::Search));
    EXPECT_NE(seed, dice_seed(78, 3, 2, 1, DicePurpose::Search));
    Dice a{seed}, b{seed};
    for (int k = 0; k < 100; ++k) ASSERT_EQ(next_bits(a), next_bits(b));
    // The generator's own numbers, so every machine and library draws the same.
    Dice fixed{0};
    EXPECT_EQ(next_bits(fixed), 0xe220a8397b1dcdafULL);

    Dice g{seed};
    double sum = 0, squares = 0;
    const int n = 40000;
    for (int k = 0; k < n; ++k) {
        const double z = next_gaussian(g);
        sum += z;
        squares += z * z;
    }
    EXPECT_NEAR(sum / n, 0.0, 0.02);
    EXPECT_NEAR(std::sqrt(squares / n), 1.0, 0.02);
}

TEST(ComputerHand, EveryPuttIsAPointerOffsetThroughTheAimFunctions)
{
    Dice dice{5};
    for (double power : {1.0, 4.8, 8.0, 20.8, 40.0, 53.6, 54.0}) {
        for (double angle = -179.0; angle < 180.0; angle += 13.7) {
            const PointerPutt intended = pointer_putt_for(angle, power);
            const PointerPutt again = putt_from_pointer(intended.u, intended.v);
            EXPECT_EQ(intended.angle, again.angle);
            EXPECT_EQ(intended.power, again.power);
            EXPECT_FLOAT_EQ(intended.power, power_of_step(power_step_for(power)));
            // The nearest reachable direction is never further than one gap.
            EXPECT_LE(std::fabs(wrap(intended.angle - angle)), angle_gap(power)) << angle << " at " << power;
            for (Seat seat : {Seat::Novice, Seat::Club, Seat::Expert}) {
                const PointerPutt played = noisy_putt(intended, seat, dice);
                const PointerPutt check = putt_from_pointer(played.u, played.v);
                EXPECT_EQ(played.angle, check.angle);
                EXPECT_EQ(played.power, check.power);
                if (intended.power == MAX_POWER) {
                    EXPECT_EQ(played.power, MAX_POWER);
                }
            }
        }
    }
    // The reachable directions grow closer as the pointer goes out.
    EXPECT_NEAR(angle_gap(8.0), 2.2, 0.5);
    EXPECT_NEAR(angle_gap(40.0), 0.45, 0.2);
    const PointerPutt p = pointer_putt_for(30.0, 20.8);
    const PointerPutt left = turn_putt(p, 1), right = turn_putt(p, -1);
    EXPECT_GT(wrap(left.angle - p.angle), 0.0);
    EXPECT_LT(wrap(right.angle - p.angle), 0.0);
    EXPECT_EQ(left.power, p.power);
}

TEST(ComputerHand, SampledNoiseMatchesTheLevelsSigma)
{
    for (Seat seat : {Seat::Novice, Seat::Club, Seat::Expert}) {
        for (double power : {12.0, 40.0}) {
            const PointerPutt intended = pointer_putt_for(60.0, power);
            Dice dice{dice_seed(9, 1, 1, 1, DicePurpose::Execution)};
            const int n = 3000;
            double angleSquares = 0, powerSum = 0, powerSquares = 0;
            for (int k = 0; k < n; ++k) {
                const PointerPutt played = noisy_putt(intended, seat, dice);
                const double e = wrap(played.angle - intended.angle);
                angleSquares += e * e;
                const double r = played.power / intended.power - 1.0;
                powerSum += r;
                powerSquares += r * r;
            }
            // The direction spreads by the model's sigma; its gap term comes from the pointer
            // put on whole pixels, which changes with the noisy power, so allow some slack.
            const double sigma = angle_sigma(seat, intended.power);
            EXPECT_NEAR(std::sqrt(angleSquares / n), sigma, 0.12 * sigma) << static_cast<int>(seat) << " at " << power;
            const double spread = std::sqrt(powerSquares / n - (powerSum / n) * (powerSum / n));
            const double wanted = skill_of(seat).powerSpread;
            // The meter's steps of 0.8 add their own rounding to the spread.
            const double rounding = 0.8 / std::sqrt(12.0) / intended.power;
            EXPECT_NEAR(spread, std::sqrt(wanted * wanted + rounding * rounding), 0.12 * wanted);
        }
    }
    EXPECT_LT(angle_sigma(Seat::Expert, 20.8), angle_sigma(Seat::Club, 20.8));
    EXPECT_LT(angle_sigma(Seat::Club, 20.8), angle_sigma(Seat::Novice, 20.8));
}

TEST(ComputerSearch, LeavesTheLiveWorldRoundAndGridAsTheyWere)
{
    auto live = std::make_unique<PuttTable>();
    make_straight_hole(live->grid);
    ASSERT_TRUE(start_hole_play(live->world, 2));
    live->round.players[0].holeStrokes = 1;
    live->world.oscillationFrame = 123;
    auto gridBefore = std::make_unique<HoleGrid>(live->grid);
    const GameState roundBefore = live->round;
    const AimInput aimBefore = live->aim;
    double ballBefore[BALL_COUNT][3];
    for (int k = 0; k < BALL_COUNT; ++k) ball_position(live->world, k, ballBefore[k]);

    PuttSearch search(snapshot_turn(live->world, 0), Seat::Novice, 42);
    search.advance(INT_MAX);
    ASSERT_TRUE(search.decided());

    EXPECT_EQ(std::memcmp(gridBefore.get(), &live->grid, sizeof(HoleGrid)), 0);
    EXPECT_EQ(std::memcmp(&roundBefore, &live->round, sizeof(GameState)), 0);
    EXPECT_EQ(std::memcmp(&aimBefore, &live->aim, sizeof(AimInput)), 0);
    EXPECT_EQ(live->world.oscillationFrame, 123);
    for (int k = 0; k < BALL_COUNT; ++k) {
        double now[3];
        ball_position(live->world, k, now);
        for (int c = 0; c < 3; ++c) EXPECT_EQ(now[c], ballBefore[k][c]);
    }
    shutdown_physics(live->world);
}

TEST(ComputerSearch, SameSeedSameDecisionSlicedOrNotWithinItsBudget)
{
    auto grid = std::make_unique<HoleGrid>();
    make_straight_hole(*grid);
    const TurnSnapshot turn = snapshot_tee(*grid);
    double expected[4] = {};
    for (Seat seat : {Seat::Novice, Seat::Club, Seat::Expert}) {
        PuttSearch whole(turn, seat, 7);
        EXPECT_TRUE(whole.advance(INT_MAX));
        EXPECT_LE(whole.simulated(), whole.budget());
        EXPECT_GT(whole.simulated(), whole.budget() / 2);
        expected[static_cast<int>(seat)] = whole.expected_strokes();

        // The straight hole is a hole-in-one for the intended putt.
        PuttSearch replay(turn, seat, 8);
        const PuttOutcome outcome = replay.play(whole.decision());
        EXPECT_TRUE(outcome.holed) << static_cast<int>(seat);
        EXPECT_GE(whole.expected_strokes(), 1.0);

        if (seat != Seat::Novice) continue;
        // One putt per slice, as the frame loop may give it.
        PuttSearch sliced(turn, seat, 7);
        int slices = 0;
        while (!sliced.advance(1)) {
            ++slices;
            ASSERT_LE(sliced.simulated(), sliced.budget());
        }
        EXPECT_GT(slices, 20);
        EXPECT_TRUE(same_putt(whole.decision(), sliced.decision()));
        EXPECT_EQ(whole.expected_strokes(), sliced.expected_strokes());
        EXPECT_EQ(whole.simulated(), sliced.simulated());
    }
    // A steadier hand expects fewer strokes from the same tee.
    EXPECT_LT(expected[static_cast<int>(Seat::Expert)], 1.6);
    EXPECT_LE(expected[static_cast<int>(Seat::Expert)], expected[static_cast<int>(Seat::Club)]);
    EXPECT_LE(expected[static_cast<int>(Seat::Club)], expected[static_cast<int>(Seat::Novice)]);
}

TEST(ComputerRound, HoleGamesReproduce)
{
    auto grid = std::make_unique<HoleGrid>();
    make_straight_hole(*grid, 16);
    const HoleGame a = play_hole_game(*grid, Seat::Novice, 11, 1, 1);
    // The same game spread over frames, three simulated putts at a time.
    HoleGameRun run(*grid, Seat::Novice, 11, 1, 1);
    int slices = 0;
    while (!run.advance(3)) ++slices;
    const HoleGame& b = run.result();
    EXPECT_GT(slices, 20);
    EXPECT_EQ(a.strokes, b.strokes);
    ASSERT_EQ(a.decisions.size(), b.decisions.size());
    for (size_t k = 0; k < a.decisions.size(); ++k) EXPECT_EQ(a.decisions[k].putts, b.decisions[k].putts);
    EXPECT_GE(a.strokes, 1);
    EXPECT_LE(a.strokes, 4);
    EXPECT_FALSE(a.pickedUp);
    EXPECT_TRUE(a.decisions[0].teeShot);
}

TEST(ComputerRound, TheCourseMakersParIsTheExpertsMeanOverItsGames)
{
    auto grid = std::make_unique<HoleGrid>();
    make_straight_hole(*grid, 16);
    const int games = 2;
    double sum = 0;
    for (int g = 1; g <= games; ++g) sum += play_hole_game(*grid, Seat::Expert, 1, 1, g).strokes;
    ParJudge judge(*grid, games);
    while (!judge.advance(1)) {
    }
    EXPECT_TRUE(judge.judged());
    EXPECT_DOUBLE_EQ(judge.expected(), sum / games);
    EXPECT_EQ(judge.par(), std::max(2, static_cast<int>(std::lround(sum / games))));
}

TEST(ComputerSeats, SeatsCycleMoveWithTheirPlayersAndStayOffTheLeaderBoard)
{
    EXPECT_EQ(next_seat(Seat::Person), Seat::Novice);
    EXPECT_EQ(next_seat(Seat::Novice), Seat::Club);
    EXPECT_EQ(next_seat(Seat::Club), Seat::Expert);
    EXPECT_EQ(next_seat(Seat::Expert), Seat::Person);
    Seat parsed = Seat::Person;
    EXPECT_TRUE(seat_from_name("EXPERT", parsed));
    EXPECT_EQ(parsed, Seat::Expert);
    EXPECT_FALSE(seat_from_name("pro", parsed));

    GameState game;
    set_player_name(game.players[1], "Robo");
    game.players[1].seat = Seat::Club;
    set_player_name(game.players[3], "Alice");
    game.playerCount = compact_players(game);
    ASSERT_EQ(game.playerCount, 2);
    EXPECT_EQ(game.players[0].seat, Seat::Club);
    EXPECT_EQ(game.players[1].seat, Seat::Person);
    EXPECT_EQ(game.players[3].seat, Seat::Person);

    game.scoreTable[0][0] = 3;
    game.scoreTable[1][0] = 4;
    const char* names[MAX_PLAYERS] = {};
    int scores[MAX_PLAYERS][MAX_HOLES] = {};
    ASSERT_EQ(leader_board_entrants(game, names, scores), 1);
    EXPECT_STREQ(names[0], "Alice");
    EXPECT_EQ(scores[0][0], 4);
}

TEST(RouteField, DirectionsFollowTheRouteRoundACorner)
{
    // An L: up the x = 24 column from the tee, then right along j = 20 to the cup at (30, 20).
    auto grid = std::make_unique<HoleGrid>();
    clear_hole(*grid);
    for (int j = 10; j <= 20; ++j) grid->height_at(24, j) = 1;
    for (int i = 24; i <= 30; ++i) grid->height_at(i, 20) = 1;
    grid->edges_at(30, 20) = EDGE_CUP;
    grid->tee = {1, static_cast<int>(tile_corner(24)), static_cast<int>(tile_corner(10))};
    const std::vector<float> field = route_distance_field(*grid);
    const double x = tile_corner(24) + 32.0, y = tile_corner(10) + 32.0;
    EXPECT_EQ(route_distance_at(field, x, y), 16.0f);
    EXPECT_GE(route_distance_at(field, tile_corner(10), tile_corner(10)), ROUTE_FAR);
    double cup[2];
    ASSERT_TRUE(cup_centre(*grid, cup));
    const double direct = std::atan2(cup[1] - y, cup[0] - x) * 57.29577951308232;
    const std::vector<double> ways = route_directions(*grid, field, x, y, direct, 3, 5.0);
    ASSERT_FALSE(ways.empty());
    // The first way leads up the column, not across the grass-less corner.
    EXPECT_LT(std::fabs(wrap(ways[0] - 90.0)), std::fabs(wrap(direct - 90.0)));
}

TEST(ComputerTool, HoleParAndRoundPrintTheirLines)
{
    ScratchDir dir;
    auto grid = std::make_unique<HoleGrid>();
    make_straight_hole(*grid, 17);
    std::string error;
    ASSERT_TRUE(write_hole_file(*grid, dir.file("short.top"), &error)) << error;
    const ToolRun par = run_tool("hole par " + dir.file("short.top") + " --games 1 --seed 3");
    EXPECT_EQ(par.status, 0) << par.output;
    EXPECT_NE(par.output.find("over 1 Expert games"), std::string::npos) << par.output;
    EXPECT_NE(par.output.find("par 2"), std::string::npos) << par.output;

    ASSERT_TRUE(pack_course(dir.file("one.cor"), {{dir.file("short.top"), 3, ""}}, &error)) << error;
    const ToolRun round = run_tool("round " + dir.file("one.cor") + " --seats novice --seed 3");
    EXPECT_EQ(round.status, 0) << round.output;
    int strokes = 0, total = 0;
    ASSERT_EQ(std::sscanf(round.output.c_str(), "hole 1 par 3 strokes %d\ntotal par 3 strokes %d", &strokes, &total), 2)
        << round.output;
    EXPECT_EQ(strokes, total);
    EXPECT_GE(strokes, 1);
    EXPECT_LE(strokes, 5);
    EXPECT_EQ(run_tool("round " + dir.file("one.cor") + " --seats pro").status, 2);
    EXPECT_EQ(run_tool("hole par " + dir.file("short.top") + " --games 0").status, 2);
}
