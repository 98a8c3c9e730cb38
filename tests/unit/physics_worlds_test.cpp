// Physics worlds are independent: two holes played in two worlds, frame about frame, give
// exactly the events and ball positions each gives when played alone, and a search world
// leaves the game's world, round and grid as they were.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "hole/hole_file.h"
#include "physics/physics.h"
#include "physics/putt_play.h"
#include "replay_hash.h"
#include "tools/courses/hole_layout.h"

namespace {

// One bundled hole played frame by frame in a world of its own, its first recorded putt
// struck as the player strikes it; every event and every ball position goes into a hash.
class HoleRun {
public:
    HoleRun(const std::string& course, const std::string& stem)
    {
        const std::string dir = MG_COURSE_SOURCES;
        std::string text, error;
        HoleSource source;
        EXPECT_TRUE(read_text_file(dir + "/" + course + "/" + stem + ".hole", text, &error)) << error;
        EXPECT_TRUE(parse_hole_source(text, source, &error)) << error;
        EXPECT_TRUE(build_hole_grid(source, table->grid, &error)) << error;
        std::vector<Putt> putts;
        EXPECT_TRUE(parse_putts(source.putts, putts, &error)) << error;
        EXPECT_FALSE(putts.empty());
        PhysicsWorld& w = table->world;
        EXPECT_TRUE(start_hole_play(w, 2));
        w.hooks.user = &hash;
        w.hooks.on_event = [](void* user, PhysicsEvent event, int slot) {
            static_cast<ReplayHash*>(user)->add_event(static_cast<int>(event), slot, 0);
        };
        AimInput& aim = table->aim;
        aim.aimMode = AimMode::Aiming;
        aim.aimClicks = 1;
        aim.aimAngle = static_cast<float>(putts.front().angle);
        aim.aimOffset[0] = offset_for_power(putts.front().power);
        aim.puttPower = power_meter_value(aim);
        aim.struckPower = aim.puttPower;
        aim.aimState = AimPhase::Struck;
    }

    // One tick as the game runs it; every ball's position is hashed after it.
    void frame()
    {
        PhysicsWorld& w = table->world;
        tick_world(w);
        for (int slot = 0; slot < BALL_COUNT; ++slot) {
            double p[3];
            ball_position(w, slot, p);
            for (double v : p) hash.add<double>(v);
        }
        hash.add<std::int32_t>(table->round.players[0].holeStrokes);
    }

    std::uint64_t value() const { return hash.value(); }

private:
    std::unique_ptr<PuttTable> table = std::make_unique<PuttTable>();
    ReplayHash hash;
};

bool same_grid(const HoleGrid& a, const HoleGrid& b)
{
    return std::memcmp(a.height, b.height, sizeof a.height) == 0 && std::memcmp(a.kind, b.kind, sizeof a.kind) == 0 &&
           std::memcmp(a.edges, b.edges, sizeof a.edges) == 0 && a.tee.level == b.tee.level && a.tee.x == b.tee.x &&
           a.tee.y == b.tee.y && a.teeState == b.teeState && a.warps.warpCount == b.warps.warpCount;
}

bool same_round(const GameState& a, const GameState& b)
{
    bool same = a.playerCount == b.playerCount && a.currentPlayer == b.currentPlayer && a.currentHole == b.currentHole &&
                a.ballReady == b.ballReady && std::memcmp(a.scoreTable, b.scoreTable, sizeof a.scoreTable) == 0;
    for (int p = 0; p < MAX_PLAYERS; ++p)
        same = same && a.players[p].holeStrokes == b.players[p].holeStrokes && a.players[p].holedOut == b.players[p].holedOut;
    return same;
}

constexpr int FRAMES = 700;   // long enough for both putts to roll out and rest

}  // namespace

TEST(PhysicsWorlds, TwoHolesSteppedInAlternationPlayAsTheyDoAlone)
{
    // Moving blocks in one, bumpers and warps in the other: the per-world state (block phase,
    // bumper flash, pending warps, cup contacts) would show if it were shared.
    std::uint64_t aloneA = 0, aloneB = 0;
    {
        HoleRun a("championship", "12_block_party");
        for (int f = 0; f < FRAMES; ++f) a.frame();
        aloneA = a.value();
    }
    {
        HoleRun b("championship", "17_ricochet");
        for (int f = 0; f < FRAMES; ++f) b.frame();
        aloneB = b.value();
    }
    HoleRun a("championship", "12_block_party");
    HoleRun b("championship", "17_ricochet");
    for (int f = 0; f < FRAMES; ++f) {
        a.frame();
        b.frame();
    }
    EXPECT_EQ(a.value(), aloneA);
    EXPECT_EQ(b.value(), aloneB);
    EXPECT_NE(aloneA, aloneB);
}

TEST(PhysicsWorlds, ASearchWorldLeavesTheGameWorldAsItWas)
{
    // The game's world with a ball at rest on the first bundled hole's tee.
    const std::string dir = MG_COURSE_SOURCES;
    std::string text, error;
    HoleSource source;
    ASSERT_TRUE(read_text_file(dir + "/beginners/02_dogleg_right.hole", text, &error)) << error;
    ASSERT_TRUE(parse_hole_source(text, source, &error)) << error;
    auto game = std::make_unique<PuttTable>();
    ASSERT_TRUE(build_hole_grid(source, game->grid, &error));
    ASSERT_TRUE(start_hole_play(game->world, 1));
    const auto grid_before = std::make_unique<HoleGrid>(game->grid);
    const GameState round_before = game->round;
    double ball_before[3];
    ball_position(game->world, 0, ball_before);
    const size_t geoms_before = hole_geom_count(game->world);

    // A search plays many putts on a copy of the hole in its own world.
    auto search = std::make_unique<PuttTable>();
    search->grid = game->grid;
    ASSERT_TRUE(start_hole_play(search->world, 1));
    const Tee tee = search->grid.tee;
    const BallRest rest = tee_rest(search->grid);
    for (int angle = 0; angle < 360; angle += 45) {
        restore_ball_rest(search->world, tee, rest);
        play_putt(search->world, angle, 30, PuttWatch{});
    }

    double ball_after[3];
    ball_position(game->world, 0, ball_after);
    EXPECT_EQ(std::memcmp(ball_before, ball_after, sizeof ball_before), 0);
    EXPECT_TRUE(same_grid(*grid_before, game->grid));
    EXPECT_TRUE(same_round(round_before, game->round));
    EXPECT_EQ(hole_geom_count(game->world), geoms_before);
    EXPECT_EQ(game->world.oscillationFrame, 1);
}

TEST(PhysicsWorlds, ASearchWorldWithoutItsParkedBallsPlaysTheBallInPlayExactlyAlike)
{
    // A putt search leaves the parked balls out of every step to save their resting contacts;
    // its putts must still end bit for bit where the game's world ends them, on holes with
    // moving blocks, bumpers and warps, and ramps.
    const std::string dir = MG_COURSE_SOURCES;
    for (const char* stem : {"12_block_party", "17_ricochet", "09_downhill"}) {
        std::string text, error;
        HoleSource source;
        ASSERT_TRUE(read_text_file(dir + "/championship/" + stem + ".hole", text, &error)) << error;
        ASSERT_TRUE(parse_hole_source(text, source, &error)) << error;
        auto whole = std::make_unique<PuttTable>();
        auto lean = std::make_unique<PuttTable>();
        ASSERT_TRUE(build_hole_grid(source, whole->grid, &error)) << error;
        lean->grid = whole->grid;
        ASSERT_TRUE(start_hole_play(whole->world, 1));
        ASSERT_TRUE(start_hole_play(lean->world, 1));
        leave_parked_balls_out(lean->world);
        const Tee tee = whole->grid.tee;
        const BallRest rest = tee_rest(whole->grid);
        for (int angle = 0; angle < 360; angle += 40) {
            restore_ball_rest(whole->world, tee, rest);
            restore_ball_rest(lean->world, tee, rest);
            const PuttResult a = play_putt(whole->world, angle, 40, PuttWatch{});
            const PuttResult b = play_putt(lean->world, angle, 40, PuttWatch{});
            EXPECT_EQ(a.steps, b.steps) << stem << " angle " << angle;
            EXPECT_EQ(a.holed, b.holed) << stem << " angle " << angle;
            EXPECT_EQ(std::memcmp(a.position, b.position, sizeof a.position), 0) << stem << " angle " << angle;
        }
    }
}

TEST(PhysicsWorlds, AHeadlessPuttAsksNoHookOfTheWorldAndGivesItsHooksBack)
{
    // The game's own hooks read their user data as the game's session; a headless putt in the
    // game's world (a replay) must neither call them with anything else nor sound or draw.
    struct Owner {
        int calls = 0;
    } owner;
    auto table = std::make_unique<PuttTable>();
    for (int j = 10; j <= 22; ++j) table->grid.height_at(24, j) = 1;
    table->grid.edges_at(24, 20) = EDGE_CUP;
    table->grid.tee = Tee{1, static_cast<int>(tile_corner(24)), static_cast<int>(tile_corner(12))};
    PhysicsWorld& w = table->world;
    ASSERT_TRUE(start_hole_play(w, 1));
    PhysicsHooks& hooks = w.hooks;
    hooks.user = &owner;
    hooks.sound_enabled = [](void* user) { return ++static_cast<Owner*>(user)->calls > 0; };
    hooks.play_sound = [](void* user, int) { return ++static_cast<Owner*>(user)->calls > 0; };
    hooks.draw_ball = [](void* user, int, const double*, const double*, double) { ++static_cast<Owner*>(user)->calls; };
    hooks.on_event = [](void* user, PhysicsEvent, int) { ++static_cast<Owner*>(user)->calls; };
    int watched = 0;
    PuttWatch watch;
    watch.user = &watched;
    watch.on_event = [](PhysicsEvent, int, long, void* user) { ++*static_cast<int*>(user); };
    const PuttResult result = play_putt(w, 90.0, 20.0, watch);
    EXPECT_TRUE(result.holed || result.rested);
    EXPECT_GT(watched, 0);          // the putt's own listener heard the putter and the rest
    EXPECT_EQ(owner.calls, 0);      // the world's hooks were set aside
    EXPECT_EQ(hooks.user, &owner);  // and are back
    EXPECT_NE(hooks.on_event, nullptr);
    EXPECT_NE(hooks.draw_ball, nullptr);
}
