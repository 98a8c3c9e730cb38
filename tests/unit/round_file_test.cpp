// The round file: written and read back the same, refused when it is not sound, and a hole's
// putts played again from it leave every ball exactly where play left it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "game/round/round_events.h"
#include "game/round/round_tick.h"
#include "game/round/round_flow.h"
#include "game/round/round_log.h"
#include "game/round/session.h"
#include "hole/course_archive.h"
#include "hole/hole_file.h"
#include "hole/round_file.h"
#include "physics/physics.h"
#include "tests/unit/bundled_holes.h"
#include "tests/unit/test_files.h"

namespace {

RoundFile sample_round()
{
    RoundFile round;
    round.coursePath = "courses/with spaces/beginners.cor";
    round.courseHash = 0x0123456789abcdefull;
    round.holeCount = 9;
    round.roundSeed = 18446744073709551615ull;
    round.aimGuideUsed = true;
    round.seats = {{"Ann", 2, Seat::Person}, {"Bo (2nd)", 11, Seat::Expert}, {"  Cy", 5, Seat::Novice}};
    round.seats[2].name = "Cy z";
    round.scoreTable[0][0] = 3;
    round.scoreTable[1][0] = 12;
    round.scoreTable[2][0] = 9999;
    round.hole = 2;
    round.startOscillation = 417;
    round.lastRest[1][0] = 0.1f;
    round.lastRest[1][1] = -1536.000122f;
    round.lastRest[2][2] = 3010.333333f;
    round.quaternion[0][0] = 0.70710678118654757;
    round.quaternion[0][3] = -0.70710678118654746;
    round.events = {{RoundEventKind::Aim, 6, 1, 1, 0, 0},
                    {RoundEventKind::Putt, 29, 1, 0, -179.999985f, 9.6000004f},
                    {RoundEventKind::Aim, 300, 1, 0, 0, 0},
                    {RoundEventKind::Putt, 331, 2, 0, 1e-7f, 53.6f},
                    {RoundEventKind::PickUp, 900, 3, 0, 0, 0}};
    round.steps = 1200;
    round.currentPlayer = 3;
    round.holeStrokes[0] = 1;
    round.holeStrokes[1] = 1;
    return round;
}

bool parses(const std::string& text, std::string* error = nullptr)
{
    RoundFile round;
    return parse_round_file(text, round, error);
}

// Replaces the first line starting with key by line.
std::string with_line(std::string text, const std::string& key, const std::string& line)
{
    size_t at = text.find("\n" + key) + 1;
    size_t end = text.find('\n', at);
    return text.replace(at, end - at, line);
}

}  // namespace

TEST(RoundFile, WritesAndReadsBackEveryFieldExactly)
{
    const RoundFile round = sample_round();
    RoundFile back;
    std::string error;
    ASSERT_TRUE(parse_round_file(format_round_file(round), back, &error)) << error;
    EXPECT_EQ(back.coursePath, round.coursePath);
    EXPECT_EQ(back.courseHash, round.courseHash);
    EXPECT_EQ(back.roundSeed, round.roundSeed);
    EXPECT_TRUE(back.aimGuideUsed);
    ASSERT_EQ(back.seats.size(), 3u);
    EXPECT_EQ(back.seats[1].name, "Bo (2nd)");
    EXPECT_EQ(back.seats[1].seat, Seat::Expert);
    EXPECT_EQ(back.seats[1].ballColour, 11);
    EXPECT_EQ(back.seats[2].seat, Seat::Novice);
    EXPECT_EQ(std::memcmp(back.scoreTable, round.scoreTable, sizeof round.scoreTable), 0);
    EXPECT_EQ(back.hole, 2);
    EXPECT_EQ(back.startOscillation, 417);
    // Floats and doubles come back bit for bit.
    EXPECT_EQ(std::memcmp(back.lastRest, round.lastRest, sizeof round.lastRest), 0);
    EXPECT_EQ(std::memcmp(back.quaternion, round.quaternion, sizeof round.quaternion), 0);
    ASSERT_EQ(back.events.size(), round.events.size());
    for (size_t k = 0; k < round.events.size(); ++k) {
        EXPECT_EQ(back.events[k].kind, round.events[k].kind);
        EXPECT_EQ(back.events[k].step, round.events[k].step);
        EXPECT_EQ(back.events[k].player, round.events[k].player);
        EXPECT_EQ(std::memcmp(&back.events[k].angle, &round.events[k].angle, sizeof(float)), 0);
        EXPECT_EQ(std::memcmp(&back.events[k].power, &round.events[k].power, sizeof(float)), 0);
    }
    EXPECT_EQ(back.steps, 1200);
    EXPECT_EQ(back.currentPlayer, 3);
    EXPECT_EQ(format_round_file(back), format_round_file(round));
}

TEST(RoundFile, FloatTextReadsBackToTheSameFloatForManyValues)
{
    std::mt19937 random(18);
    RoundFile round = sample_round();
    round.events.clear();
    std::uniform_real_distribution<float> angle(-180.0f, 180.0f), power(1.0f, 54.0f);
    for (int k = 0; k < 2000; ++k) round.events.push_back({RoundEventKind::Putt, k + 1, 1, 0, angle(random), power(random)});
    round.steps = 3000;
    RoundFile back;
    ASSERT_TRUE(parse_round_file(format_round_file(round), back, nullptr));
    for (size_t k = 0; k < round.events.size(); ++k) {
        ASSERT_EQ(std::memcmp(&back.events[k].angle, &round.events[k].angle, sizeof(float)), 0) << k;
        ASSERT_EQ(std::memcmp(&back.events[k].power, &round.events[k].power, sizeof(float)), 0) << k;
    }
}

TEST(RoundFile, RefusesWhatIsNotASoundRoundFile)
{
    const std::string good = format_round_file(sample_round());
    ASSERT_TRUE(parses(good));
    // Cut anywhere, the file is refused.
    for (size_t n = 0; n < good.size(); ++n) ASSERT_FALSE(parses(good.substr(0, n))) << "cut at " << n;

    std::string error;
    EXPECT_FALSE(parses(with_line(good, "minigolf", "minigolf round 2"), &error));
    EXPECT_NE(error.find("another version"), std::string::npos) << error;
    EXPECT_FALSE(parses(with_line(good, "player person", "player person 2 Fourteen chars"), &error));
    EXPECT_FALSE(parses(with_line(good, "player person", "player robot 2 Ann"), &error));
    EXPECT_FALSE(parses(with_line(good, "player person", "player person 12 Ann"), &error));
    EXPECT_FALSE(parses(with_line(good, "course", "course 0123456789abcdef " + std::string(5000, 'a')), &error));
    EXPECT_FALSE(parses(with_line(good, "course", "course 0123456789abcdef " + std::string(4100, 'a')), &error));
    EXPECT_FALSE(parses(with_line(good, "hole", "hole 10"), &error));   // beyond the course's 9
    EXPECT_FALSE(parses(with_line(good, "putt 29", "putt 29 1 nan 9.6"), &error));
    EXPECT_FALSE(parses(with_line(good, "putt 29", "putt 29 1 0x1p3 9.6"), &error));
    EXPECT_FALSE(parses(with_line(good, "putt 29", "putt 29 1 10 54.5"), &error));
    EXPECT_FALSE(parses(with_line(good, "putt 29", "putt 29 4 10 9.6"), &error));   // a fourth player of three
    EXPECT_FALSE(parses(with_line(good, "putt 331", "putt 3 2 10 9.6"), &error));   // out of order
    EXPECT_FALSE(parses(with_line(good, "score", "score 1 2 3"), &error));
    EXPECT_FALSE(parses(good + "more\n", &error));

    // Ten megabytes of junk, from a string and from a file.
    std::mt19937 random(10);
    std::string junk(10 << 20, '\0');
    for (char& c : junk) c = static_cast<char>(random());
    EXPECT_FALSE(parses(junk, &error));
    ScratchDir dir;
    {
        std::ofstream out(dir.file("junk.rnd"), std::ios::binary);
        out << junk;
    }
    RoundFile round;
    EXPECT_FALSE(read_round_file(dir.file("junk.rnd"), round, &error));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
}

TEST(RoundFile, RefusesACourseThatIsMissingOrHasChanged)
{
    ScratchDir dir;
    const std::string path = dir.file("course.cor");
    {
        std::ofstream out(path, std::ios::binary);
        out << "the course's bytes";
    }
    RoundFile round = sample_round();
    round.coursePath = path;
    ASSERT_TRUE(hash_file(path, round.courseHash, nullptr));
    std::string error;
    EXPECT_TRUE(round_course_unchanged(round, &error)) << error;
    {
        std::ofstream out(path, std::ios::binary);
        out << "the course's bytes, changed";
    }
    EXPECT_FALSE(round_course_unchanged(round, &error));
    EXPECT_NE(error.find("changed"), std::string::npos) << error;
    std::remove(path.c_str());
    EXPECT_FALSE(round_course_unchanged(round, &error));
    EXPECT_NE(error.find("missing"), std::string::npos) << error;
}

// --- playing a hole and playing it again from the file ---------------------------------------

namespace {

struct SessionHolder {
    std::unique_ptr<GameSession> session = std::make_unique<GameSession>();
};

class RoundReplayTest : public ::testing::Test, protected SessionHolder {
protected:
    GameSession& s = *session;

    void SetUp() override
    {
        char buffer[4096];
        previousDir = getcwd(buffer, sizeof buffer) ? buffer : ".";
        ASSERT_EQ(chdir(dir.path().c_str()), 0);
        init_physics(s.physics);
    }
    void TearDown() override
    {
        remove_course_files(s.course, true);
        shutdown_physics(s.physics);
        ASSERT_EQ(chdir(previousDir.c_str()), 0);
    }

    // Packs the named bundled holes into a course and loads it for players players.
    void load_course_of(const std::vector<std::string>& stems, int players)
    {
        size_t packed = 0;
        pack_bundled_course(dir.file("c.cor"), dir.path().string(), [&](const BundledHole& hole, size_t) {
            return std::find(stems.begin(), stems.end(), hole.course + "/" + hole.stem) != stems.end();
        }, &packed);
        if (HasFatalFailure()) return;
        ASSERT_EQ(packed, stems.size());
        CourseLoadResult result = load_course(s.course, dir.file("c.cor"));
        ASSERT_TRUE(result.ok) << result.message;
        s.currentFileName = dir.file("c.cor");
        s.round.playerCount = players;
        for (int p = 0; p < players; ++p) {
            std::snprintf(s.round.players[p].name, sizeof s.round.players[p].name, "P%d", p + 1);
            s.round.players[p].ballColour = p + 2;
        }
        s.round.players[players - 1].seat = Seat::Club;
        s.round.roundSeed = 77;
    }

    // Hole 1 of a one-hole course begun for two players, its round file written.
    void begin_first_hole_for_two()
    {
        load_course_of({"beginners/01_first_putt"}, 2);
        s.round.currentHole = 1;
        s.round.currentPlayer = 1;
        ASSERT_TRUE(start_round_hole(s, 1));
        note_hole_started(s);
    }

    void frame()
    {
        round_frame_begins(s);
        replay_tick(s);
        round_frame_ends(s);
    }

    // One turn as the player takes it: Putt pressed after wait frames, the pointer moved for
    // a few frames, the click, then frames until every ball rests. cancelFirst aims once and
    // takes it back first.
    void take_turn(float angle, float power, int wait, bool cancelFirst)
    {
        for (int k = 0; k < wait; ++k) frame();
        if (cancelFirst) {
            press_putt();
            frame();
            frame();
            cancel_stroke(s.physics);
            s.aim.aimMode = AimMode::Off;
            frame();
        }
        press_putt();
        frame();
        s.aim.aimAngle = angle;
        s.aim.aimOffset[0] = offset_for_power(power);
        s.aim.aimOffset[1] = 0;
        frame();
        frame();
        ASSERT_TRUE(submit(s, strike_now(), EventSource::Person));   // the click
        const int strikes = s.physics.stroke.strikeCount;
        for (int k = 0; k < 20000 && (s.physics.stroke.strikeCount == strikes || s.physics.stroke.strokeInFlight); ++k)
            frame();
    }
    void press_putt()
    {
        ASSERT_TRUE(submit(s, aim_event(1), EventSource::Person));
    }

    ScratchDir dir;
    std::string previousDir;
};

void expect_same_world(const WorldSnapshot& a, const WorldSnapshot& b, int players, const std::string& where,
                       bool rotations = true)
{
    for (int k = 0; k < players; ++k) {
        EXPECT_EQ(std::memcmp(a.balls[k].position, b.balls[k].position, sizeof a.balls[k].position), 0)
            << where << " ball " << k << " at " << a.balls[k].position[0] << " " << a.balls[k].position[1] << " "
            << a.balls[k].position[2] << " / " << b.balls[k].position[0] << " " << b.balls[k].position[1] << " "
            << b.balls[k].position[2];
        if (rotations) {
            EXPECT_EQ(std::memcmp(a.balls[k].quaternion, b.balls[k].quaternion, sizeof a.balls[k].quaternion), 0)
                << where << " ball " << k;
        }
        EXPECT_EQ(std::memcmp(a.balls[k].linear, b.balls[k].linear, sizeof a.balls[k].linear), 0) << where << " ball " << k;
        EXPECT_EQ(std::memcmp(a.balls[k].state.lastRest, b.balls[k].state.lastRest, sizeof a.balls[k].state.lastRest), 0)
            << where << " ball " << k;
    }
    EXPECT_EQ(a.oscillationFrame, b.oscillationFrame) << where;
}

struct ReplayCase {
    const char* hole;
    int players;
};

}  // namespace

TEST_F(RoundReplayTest, PuttsPlayedAgainFromTheFileLeaveEveryBallBitForBitWherePlayLeftIt)
{
    const std::vector<ReplayCase> cases = {{"beginners/02_dogleg_right", 2},
                                           {"beginners/07_the_pond", 3},
                                           {"championship/04_drawbridge", 4},
                                           {"championship/12_block_party", 3},
                                           {"championship/07_twin_warps", 2}};
    std::vector<std::string> stems;
    for (const ReplayCase& c : cases) stems.push_back(c.hole);
    load_course_of(stems, 4);
    std::mt19937 random(2026);
    for (size_t h = 0; h < cases.size(); ++h) {
        SCOPED_TRACE(cases[h].hole);
        const int players = cases[h].players;
        s.round.playerCount = players;
        for (int p = 0; p < MAX_PLAYERS; ++p) {
            std::snprintf(s.round.players[p].name, sizeof s.round.players[p].name, "P%d", p + 1);
            s.round.players[p].seat = p == players - 1 ? Seat::Club : Seat::Person;
        }
        for (auto& row : s.round.scoreTable) row[h] = 0;
        s.round.currentHole = static_cast<int>(h) + 1;
        s.round.currentPlayer = 1;   // as the round flow starts every hole
        s.physics.oscillationFrame = 1 + static_cast<int>(random() % 480);
        ASSERT_TRUE(start_round_hole(s, s.round.currentHole));
        note_hole_started(s);

        // Two turns each, softly enough that nobody holes out of the hole (a ball may drop).
        std::uniform_real_distribution<float> angle(-180.0f, 180.0f), power(6.0f, 24.0f);
        for (int turn = 0; turn < 2 * players && s.round.holeAdvanceCountdown == 0; ++turn)
            take_turn(angle(random), power(random), static_cast<int>(random() % 40), turn == 1);
        ASSERT_EQ(s.round.holeAdvanceCountdown, 0) << "the hole was finished; choose softer putts";
        ASSERT_TRUE(s.roundLog.saveError.empty()) << s.roundLog.saveError;

        const RoundSnapshot played = capture_round(s);
        const RoundSnapshot playedBefore = s.roundLog.beforeLastPutt;
        const int strokes = s.round.players[0].holeStrokes;

        // Something else in between: another hole, other blocks' phase.
        ASSERT_TRUE(start_round_hole(s, 1 + static_cast<int>((h + 1) % cases.size())));
        s.physics.oscillationFrame = 5;
        for (int k = 0; k < 30; ++k) replay_tick(s);

        RoundFile file;
        std::string error;
        ASSERT_TRUE(read_round_file(round_file_path(s), file, &error)) << error;
        EXPECT_EQ(file.seats[players - 1].seat, Seat::Club);
        EXPECT_EQ(file.roundSeed, 77u);
        ASSERT_TRUE(restore_round(s, file, &error)) << error;
        expect_same_world(played.world, capture_round(s).world, players, "resumed");
        EXPECT_EQ(std::memcmp(played.round.scoreTable, s.round.scoreTable, sizeof s.round.scoreTable), 0);
        EXPECT_EQ(s.round.currentPlayer, played.round.currentPlayer);
        EXPECT_EQ(s.round.players[0].holeStrokes, strokes);
        ASSERT_TRUE(s.roundLog.haveLastPutt);
        expect_same_world(playedBefore.world, s.roundLog.beforeLastPutt.world, players, "before the last putt");

        // Replay Last Putt: the balls move, then lie exactly where they were; the round as it was.
        std::string why;
        ASSERT_TRUE(begin_last_putt_replay(s, &why)) << why;
        const RoundSnapshot replayedFrom = s.roundLog.afterReplay;
        expect_same_world(played.world, replayedFrom.world, players, "positions before the replay", false);
        bool moved = false;
        for (int k = 0; k < 20000 && s.roundLog.replaying; ++k) {
            replay_tick(s);
            const WorldSnapshot now = capture_world(s.physics);
            for (int b = 0; b < players; ++b)
                moved = moved || std::memcmp(now.balls[b].position, played.world.balls[b].position, sizeof(double) * 3) != 0;
            round_frame_ends(s);
        }
        EXPECT_FALSE(s.roundLog.replaying);
        EXPECT_TRUE(moved);
        expect_same_world(replayedFrom.world, capture_round(s).world, players, "after the replay", false);
        EXPECT_EQ(std::memcmp(played.round.scoreTable, s.round.scoreTable, sizeof s.round.scoreTable), 0);
        EXPECT_EQ(s.round.currentPlayer, played.round.currentPlayer);
        EXPECT_EQ(s.round.players[0].holeStrokes, strokes);
        // ... and a round resumed afterwards plays on exactly as the game does.
        take_turn(angle(random), power(random), 3, false);
        if (s.round.holeAdvanceCountdown == 0) {
            const RoundSnapshot playedOn = capture_round(s);
            ASSERT_TRUE(read_round_file(round_file_path(s), file, &error)) << error;
            ASSERT_TRUE(restore_round(s, file, &error)) << error;
            expect_same_world(playedOn.world, capture_round(s).world, players, "resumed after a replay");
        }
    }
}

TEST_F(RoundReplayTest, FinishingTheCourseRemovesTheRoundFile)
{
    load_course_of({"beginners/01_first_putt"}, 1);
    s.round.currentHole = 1;
    ASSERT_TRUE(start_round_hole(s, 1));
    note_hole_started(s);
    EXPECT_TRUE(round_file_exists(s));
    s.round.currentHole = 2;   // the last hole was finished
    s.round.holeAdvanceCountdown = HOLE_PAUSE_FRAMES + 1;
    advance_hole(s);
    EXPECT_FALSE(round_file_exists(s));
}

TEST_F(RoundReplayTest, ARoundKeptAsItsHoleBeganResumesWithTheFirstBallOnTheTee)
{
    // The file is written as a hole starts, before its first frame has put a ball on the tee;
    // resumed from there, the first player's ball must come onto the tee, not stay parked.
    begin_first_hole_for_two();
    if (HasFatalFailure()) return;
    RoundFile file;
    std::string error;
    ASSERT_TRUE(read_round_file(round_file_path(s), file, &error)) << error;
    EXPECT_EQ(file.steps, 0);
    ASSERT_TRUE(restore_round(s, file, &error)) << error;
    for (int k = 0; k < 5; ++k) frame();
    EXPECT_FALSE(ball_is_parked(s.physics, 0));
    double p[3];
    ball_position(s.physics, 0, p);
    EXPECT_NEAR(p[0], s.grid.tee.x + 32.0, 1.0);
    EXPECT_NEAR(p[1], s.grid.tee.y + 32.0, 1.0);
}

TEST_F(RoundReplayTest, TheFrontDoorRefusesWhatTheTurnDoesNotAllowAndKeepsEveryPickUp)
{
    begin_first_hole_for_two();
    if (HasFatalFailure()) return;
    for (int k = 0; k < 120; ++k) frame();
    ASSERT_EQ(s.round.currentPlayer, 1);

    // Nothing enters that the round cannot play: another player's putt, a putt with no sound
    // direction or power, a settle from a player, a strike with no aim, a pick-up out of turn.
    RoundEvent putt{RoundEventKind::Putt, 500, 2, 0, 10.0f, 20.0f};
    EXPECT_FALSE(submit(s, putt, EventSource::Network));
    putt.player = 1;
    for (const float angle : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        putt.angle = angle;
        EXPECT_FALSE(submit(s, putt, EventSource::Network)) << angle;
    }
    putt.angle = 10.0f;
    for (const float power : {0.0f, -3.0f, MAX_POWER + 1.0f, std::numeric_limits<float>::quiet_NaN()}) {
        putt.power = power;
        EXPECT_FALSE(submit(s, putt, EventSource::RoundFile)) << power;
    }
    EXPECT_FALSE(submit(s, RoundEvent{RoundEventKind::Settle, 0, 1, 0, 0, 0}, EventSource::Person));
    EXPECT_FALSE(submit(s, strike_now(), EventSource::Person));
    EXPECT_FALSE(submit(s, strike_now(), EventSource::Network));
    EXPECT_FALSE(submit(s, pick_up_event(2), EventSource::Computer));
    EXPECT_FALSE(submit(s, pick_up_event(7), EventSource::RoundFile));
    EXPECT_EQ(s.physics.stroke.armedStep, 0);
    EXPECT_EQ(s.aim.aimClicks, 0);
    EXPECT_FALSE(s.round.players[0].holedOut);
    EXPECT_FALSE(s.round.players[1].holedOut);

    // A pick-up made by the computer is kept in the round's record like a person's, so a
    // resumed round has it too.
    ASSERT_TRUE(submit(s, pick_up_event(1), EventSource::Computer));
    EXPECT_TRUE(s.round.players[0].holedOut);
    ASSERT_FALSE(s.roundLog.events.empty());
    EXPECT_EQ(s.roundLog.events.back().kind, RoundEventKind::PickUp);
    EXPECT_EQ(s.roundLog.events.back().player, 1);
    EXPECT_FALSE(submit(s, pick_up_event(1), EventSource::Person));   // that ball is off the hole
    for (int k = 0; k < 30; ++k) frame();
    ASSERT_TRUE(save_round(s));
    RoundFile file;
    std::string error;
    ASSERT_TRUE(read_round_file(round_file_path(s), file, &error)) << error;
    ASSERT_TRUE(restore_round(s, file, &error)) << error;
    EXPECT_TRUE(s.round.players[0].holedOut);
    EXPECT_EQ(s.round.scoreTable[0][0], PICKUP_STROKES);
    EXPECT_EQ(s.round.currentPlayer, 2);
}

TEST_F(RoundReplayTest, ASkippedTurnCountsAStrokeKeepsTheTeeFreeAndIsResumedAsItWasPlayed)
{
    begin_first_hole_for_two();
    if (HasFatalFailure()) return;
    for (int k = 0; k < 120; ++k) frame();
    double tee[3];
    ball_position(s.physics, 0, tee);
    auto turn_passes_to = [&](int player) {
        for (int k = 0; k < 600 && (s.physics.stroke.strokeInFlight || s.round.currentPlayer != player); ++k) frame();
        for (int k = 0; k < 5; ++k) frame();   // the next ball is teed
        return !s.physics.stroke.strokeInFlight && s.round.currentPlayer == player;
    };
    auto on_tee = [&](int slot) {
        double p[3];
        ball_position(s.physics, slot, p);
        return !ball_is_parked(s.physics, slot) && std::fabs(p[0] - tee[0]) < 1 && std::fabs(p[1] - tee[1]) < 1;
    };

    // Only the player on turn, and only while nothing is under way.
    EXPECT_FALSE(submit(s, skip_event(2), EventSource::Person));
    ASSERT_TRUE(submit(s, aim_event(1), EventSource::Person));
    frame();
    ASSERT_TRUE(submit(s, skip_event(1), EventSource::Person)) << "time runs out while aiming";
    EXPECT_FALSE(submit(s, skip_event(1), EventSource::Person)) << "the turn is already passing";
    EXPECT_EQ(s.aim.aimClicks, 0);
    EXPECT_EQ(s.aim.aimMode, AimMode::Off);
    ASSERT_TRUE(turn_passes_to(2));
    EXPECT_EQ(s.round.players[0].holeStrokes, 1);
    EXPECT_EQ(s.physics.stroke.strikeCount, 0) << "nothing was struck";
    EXPECT_TRUE(ball_is_parked(s.physics, 0)) << "the skipped ball left the tee";
    EXPECT_TRUE(on_tee(1)) << "and the next ball was teed";

    // The second player is skipped on the tee too: the first ball comes back to it.
    ASSERT_TRUE(submit(s, skip_event(2), EventSource::Network));
    ASSERT_TRUE(turn_passes_to(1));
    EXPECT_TRUE(on_tee(0));
    EXPECT_TRUE(ball_is_parked(s.physics, 1));
    EXPECT_EQ(s.round.players[1].holeStrokes, 1);

    // Resumed from the file, the hole stands as it was played.
    const WorldSnapshot played = capture_world(s.physics);
    ASSERT_TRUE(save_round(s));
    RoundFile file;
    std::string error;
    ASSERT_TRUE(read_round_file(round_file_path(s), file, &error)) << error;
    int skips = 0;
    for (const RoundEvent& event : file.events) skips += event.kind == RoundEventKind::Skip ? 1 : 0;
    EXPECT_EQ(skips, 2);
    ASSERT_TRUE(restore_round(s, file, &error)) << error;
    expect_same_world(played, capture_world(s.physics), 2, "resumed after two skips");
    EXPECT_EQ(s.round.currentPlayer, 1);
    EXPECT_EQ(s.round.players[0].holeStrokes, 1);
    EXPECT_EQ(s.round.players[1].holeStrokes, 1);

    // A player who is away cannot hold the hole open: the skip that would make the pick-up's
    // strokes picks the ball up.
    for (int turn = 0; turn < 2 * PICKUP_STROKES && !s.round.players[0].holedOut; ++turn) {
        const int p = s.round.currentPlayer;
        ASSERT_TRUE(submit(s, skip_event(p), EventSource::Person)) << "turn " << turn;
        ASSERT_TRUE(turn_passes_to(p == 1 ? 2 : 1) || s.round.players[0].holedOut) << "turn " << turn;
    }
    EXPECT_EQ(s.round.scoreTable[0][0], PICKUP_STROKES);
    EXPECT_LT(s.round.players[1].holeStrokes, PICKUP_STROKES);
}
