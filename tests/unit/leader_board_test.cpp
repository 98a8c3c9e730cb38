// Leader boards: defaults per course length, reading sound and broken files, the insertion
// rule with its tie order, and writing once a course is finished.
#include <gtest/gtest.h>

#include <memory>

#include <cstring>
#include <string>
#include <unistd.h>

#include "hole/round_state.h"
#include "hole/course.h"
#include "hole/leader_board.h"
#include "tests/unit/course_test_util.h"

using namespace course_test;

namespace {

std::string board_text(int holes, const char* const names[], const int totals[], int count)
{
    LeaderBoard board;
    default_leader_board(board, holes);
    insert_leader_totals(board, names, totals, count);
    return format_leader_board(board);
}

const char* const ONE[] = {"Robin"};

}  // namespace

TEST(LeaderBoard, DefaultsDependOnTheCourseLength)
{
    LeaderBoard board;
    default_leader_board(board, 18);
    EXPECT_EQ(format_leader_board(board), "Avery K.*72*Blake M.*74*Casey N.*76*Devon P.*78*Emery T.*80*");
    default_leader_board(board, 9);
    EXPECT_EQ(format_leader_board(board), "Avery K.*36*Blake M.*38*Casey N.*40*Devon P.*42*Emery T.*44*");
    EXPECT_EQ(leader_board_file_name(18), "leader_board18.lbh");
    EXPECT_EQ(leader_board_file_name(9), "leader_board9.lbh");
}

TEST(LeaderBoard, TotalGoesAboveTheFirstGreaterScore)
{
    int total73[] = {73};
    EXPECT_EQ(board_text(18, ONE, total73, 1), "Avery K.*72*Robin*73*Blake M.*74*Casey N.*76*Devon P.*78*");
    int total72[] = {72};   // equal to the best: goes below it
    EXPECT_EQ(board_text(18, ONE, total72, 1), "Avery K.*72*Robin*72*Blake M.*74*Casey N.*76*Devon P.*78*");
    int total50[] = {50};
    EXPECT_EQ(board_text(18, ONE, total50, 1), "Robin*50*Avery K.*72*Blake M.*74*Casey N.*76*Devon P.*78*");
    int total79[] = {79};
    EXPECT_EQ(board_text(18, ONE, total79, 1), "Avery K.*72*Blake M.*74*Casey N.*76*Devon P.*78*Robin*79*");
    int total80[] = {80};   // not better than anyone: unchanged
    EXPECT_EQ(board_text(18, ONE, total80, 1), "Avery K.*72*Blake M.*74*Casey N.*76*Devon P.*78*Emery T.*80*");
}

TEST(LeaderBoard, PlayersWithEqualTotalsAreListedInPlayerOrder)
{
    const char* const names[] = {"Ann", "Bo", "Cy", "Di"};
    int totals[] = {70, 70, 90, 75};
    EXPECT_EQ(board_text(18, names, totals, 4), "Ann*70*Bo*70*Avery K.*72*Blake M.*74*Di*75*");
}

TEST(LeaderBoard, ReadsSoundFilesAndDefaultsTheRest)
{
    LeaderBoard board;
    EXPECT_EQ(parse_leader_board(board, "Robin*60*Avery K.*72*Blake M.*74*Casey N.*76*Devon P.*78*", 18), 5);
    EXPECT_STREQ(board.names[0], "Robin");
    EXPECT_EQ(board.scores[0], 60);

    EXPECT_EQ(parse_leader_board(board, "", 9), 0);
    EXPECT_EQ(format_leader_board(board), "Avery K.*36*Blake M.*38*Casey N.*40*Devon P.*42*Emery T.*44*");

    // Names keep their blanks; numbers skip leading white space.
    EXPECT_EQ(parse_leader_board(board, " Sam *\n 61*", 18), 1);
    EXPECT_STREQ(board.names[0], " Sam ");
    EXPECT_EQ(board.scores[0], 61);
    EXPECT_STREQ(board.names[1], "Blake M.");
    EXPECT_EQ(board.scores[1], 74);
}

TEST(LeaderBoard, BrokenFilesAreReadAsFarAsTheyAreSound)
{
    LeaderBoard board;
    // Cut short in the middle of the second entry.
    EXPECT_EQ(parse_leader_board(board, "Ann*60*Bo*6", 18), 1);
    EXPECT_EQ(format_leader_board(board), "Ann*60*Blake M.*74*Casey N.*76*Devon P.*78*Emery T.*80*");

    // A 24-character name is sound, a 25-character one is not.
    std::string name24(24, 'a'), name25(25, 'b');
    EXPECT_EQ(parse_leader_board(board, name24 + "*61*" + name25 + "*62*Cy*63*", 18), 1);
    EXPECT_EQ(std::string(board.names[0]), name24);
    EXPECT_STREQ(board.names[1], "Blake M.");
    EXPECT_STREQ(board.names[2], "Casey N.");

    // A score without digits is junk.
    EXPECT_EQ(parse_leader_board(board, "Ann*sixty*Bo*61*", 18), 0);
    EXPECT_STREQ(board.names[0], "Avery K.");

    // A long run without any '*' neither hangs nor overruns.
    EXPECT_EQ(parse_leader_board(board, std::string(1 << 20, 'z'), 18), 0);
    EXPECT_EQ(board.scores[4], 80);
}

TEST(LeaderBoard, FilesAreCreatedReadAndWrittenWhole)
{
    ScratchDir dir;
    LeaderBoard board;
    read_leader_board_file(board, dir / "leader_board18.lbh", 18);
    EXPECT_TRUE(exists(dir / "leader_board18.lbh"));   // made empty: the default board
    EXPECT_EQ(read_file(dir / "leader_board18.lbh"), "");
    EXPECT_EQ(board.scores[0], 72);

    const char* const names[] = {"Star*Name"};   // '*' cannot be stored
    int totals[] = {70};
    insert_leader_totals(board, names, totals, 1);
    std::string error;
    ASSERT_TRUE(write_leader_board_file(board, dir / "leader_board18.lbh", &error)) << error;
    EXPECT_EQ(read_file(dir / "leader_board18.lbh"), "Star Name*70*Avery K.*72*Blake M.*74*Casey N.*76*Devon P.*78*");
    LeaderBoard again;
    read_leader_board_file(again, dir / "leader_board18.lbh", 18);
    EXPECT_EQ(format_leader_board(again), format_leader_board(board));
    EXPECT_EQ(listing(dir.path), std::vector<std::string>{"leader_board18.lbh"});   // no temporary left
}

// The game's calls work on the global course and round, in the working directory.
class LeaderBoardRound : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = current_directory_name();
        ASSERT_EQ(chdir(dir.path.c_str()), 0);
    }
    void TearDown() override
    {
        ASSERT_EQ(chdir(saved.c_str()), 0);
    }
    static std::string current_directory_name()
    {
        char buffer[4096];
        return getcwd(buffer, sizeof buffer) ? buffer : "/";
    }
    void play(int holes, int players, const int strokesPerHole[])
    {
        course = Course{};
        course.holeCount = holes;
        gameState.playerCount = players;
        std::memset(gameState.scoreTable, 0, sizeof gameState.scoreTable);
        const char* names[] = {"Ann", "Bo", "Cy", "Di"};
        for (int p = 0; p < players; ++p) {
            std::snprintf(gameState.players[p].name, sizeof gameState.players[p].name, "%s", names[p]);
            for (int h = 0; h < holes; ++h) gameState.scoreTable[p][h] = strokesPerHole[p];
        }
    }
    // The round's calls on the test's round, course and board.
    void read_leader_board() { ::read_leader_board(leaderBoard, course.holeCount); }
    bool update_leader_board(std::string* error = nullptr)
    {
        const char* names[MAX_PLAYERS] = {};
        for (int p = 0; p < MAX_PLAYERS; ++p) names[p] = gameState.players[p].name;
        return ::update_leader_board(leaderBoard, course.holeCount, names, gameState.scoreTable, gameState.playerCount,
                                     error);
    }

    ScratchDir dir;
    std::string saved;
    GameState gameState;
    std::unique_ptr<Course> coursePtr = std::make_unique<Course>();
    Course& course = *coursePtr;
    LeaderBoard leaderBoard;
};

TEST_F(LeaderBoardRound, CoursesOfNineAndEighteenHolesKeepSeparateBoards)
{
    int strokes[] = {2, 5};   // Ann 36 / 18, Bo 90 / 45
    play(18, 2, strokes);
    read_leader_board();
    ASSERT_TRUE(update_leader_board());
    EXPECT_EQ(read_file(dir / "leader_board18.lbh"), "Ann*36*Avery K.*72*Blake M.*74*Casey N.*76*Devon P.*78*");

    play(9, 2, strokes);
    read_leader_board();
    EXPECT_EQ(leaderBoard.scores[0], 36);   // the nine-hole defaults, not the 18-hole board
    ASSERT_TRUE(update_leader_board());
    EXPECT_EQ(read_file(dir / "leader_board9.lbh"), "Ann*18*Avery K.*36*Blake M.*38*Casey N.*40*Devon P.*42*");
    EXPECT_EQ(read_file(dir / "leader_board18.lbh"), "Ann*36*Avery K.*72*Blake M.*74*Casey N.*76*Devon P.*78*");
}

TEST_F(LeaderBoardRound, ABoardNobodyEntersIsStillWritten)
{
    int strokes[] = {6};   // 108 on 18 holes
    play(18, 1, strokes);
    read_leader_board();
    ASSERT_TRUE(update_leader_board());
    EXPECT_EQ(read_file(dir / "leader_board18.lbh"), "Avery K.*72*Blake M.*74*Casey N.*76*Devon P.*78*Emery T.*80*");
}

TEST_F(LeaderBoardRound, OnlyTheCourseHolesCount)
{
    int strokes[] = {4};
    play(9, 1, strokes);
    gameState.scoreTable[0][12] = 50;   // beyond the course: ignored
    read_leader_board();
    ASSERT_TRUE(update_leader_board());
    EXPECT_STREQ(leaderBoard.names[0], "Avery K.");
    EXPECT_STREQ(leaderBoard.names[1], "Ann");
    EXPECT_EQ(leaderBoard.scores[1], 36);
}

TEST_F(LeaderBoardRound, NoCourseNoBoardFile)
{
    int strokes[] = {3};
    play(0, 1, strokes);
    std::string error;
    EXPECT_FALSE(update_leader_board(&error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(listing(dir.path).empty());
}
