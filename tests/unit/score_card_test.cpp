// The score card and leader board layouts: where cells go and which ones fill in as a round
// of 9, 12 or 18 holes goes on.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "hole/round_state.h"
#include "hole/course.h"
#include "hole/leader_board.h"
#include "render/score_card.h"

namespace {

std::optional<std::string> cell_at(const std::vector<CardCell>& cells, int column, int row)
{
    std::optional<std::string> found;
    for (const CardCell& cell : cells) {
        if (cell.column == column && cell.row == row) {
            EXPECT_FALSE(found.has_value()) << "two texts in column " << column << " row " << row;
            found = cell.text;
        }
    }
    return found;
}

bool any_in_row(const std::vector<CardCell>& cells, int row)
{
    for (const CardCell& cell : cells)
        if (cell.row == row) return true;
    return false;
}

struct Round {
    GameState game;
    std::unique_ptr<Course> course = std::make_unique<Course>();

    Round(int holes, int players)
    {
        course->holeCount = holes;
        for (int k = 0; k < holes; ++k) course->parTable[k] = 2 + k % 3;   // 2, 3, 4, 2, ...
        game.playerCount = players;
        const char* names[] = {"Sebastian", "Ann", "Maximilian", "Jo"};
        for (int p = 0; p < players; ++p) std::strcpy(game.players[p].name, names[p]);
    }
    // Every player has strokes on holes 1..hole - 1, and the round stands at hole.
    void played_up_to(int hole)
    {
        for (int p = 0; p < game.playerCount; ++p)
            for (int k = 1; k < hole; ++k) game.scoreTable[p][k - 1] = 1 + (k + p) % 4;
        game.currentHole = hole;
    }
    std::vector<CardCell> cells() const { return score_card_cells(game, *course); }
    int total(int player, int first, int last) const
    {
        int sum = 0;
        for (int k = first; k <= last; ++k) sum += game.scoreTable[player - 1][k - 1];
        return sum;
    }
    int par(int first, int last) const
    {
        int sum = 0;
        for (int k = first; k <= last; ++k) sum += course->parTable[k - 1];
        return sum;
    }
};

}  // namespace

TEST(ScoreCardLayout, CellCornersFollowColumnsAndTruncatedRowSteps)
{
    // 600 x 450: the centre is (300, 225); texts start one pixel right of and below the corner
    EXPECT_EQ(score_cell_point(1, 1, "Hole", 600, 450).x, 71);
    EXPECT_EQ(score_cell_point(1, 1, "Hole", 600, 450).y, 327);
    EXPECT_EQ(score_cell_point(2, 3, "4", 600, 450).x, 149);
    EXPECT_EQ(score_cell_point(2, 3, "4", 600, 450).y, 328 - 42 - 1);    // 2 x 21.3 = 42.6
    EXPECT_EQ(score_cell_point(3, 8, "4", 600, 450).y, 328 - 149 - 1);   // 7 x 21.3 = 149.1
    EXPECT_EQ(score_cell_point(3, 11, "4", 600, 450).y, 328 - 213 - 1);  // 10 x 21.3 = 213.0
    EXPECT_EQ(score_cell_point(3, 12, "4", 600, 450).y, 328 - 234 - 1);  // 11 x 21.3 = 234.3
    // an odd window size halves downwards
    EXPECT_EQ(score_cell_point(2, 1, "4", 801, 601).x, 400 + 68 - 220 + 1);
    EXPECT_EQ(score_cell_point(2, 1, "4", 801, 601).y, 300 + 103 - 1);
}

TEST(ScoreCardLayout, LabelsAndNumbersLineUpInTheirColumns)
{
    const int w = 600, h = 450;
    const int column5 = 300 + 170 - 220 + 1, column11 = 300 + 374 - 220 + 1, column12 = 300 + 408 - 220 + 1;
    EXPECT_EQ(score_cell_point(5, 3, "7", w, h).x, column5);
    EXPECT_EQ(score_cell_point(5, 3, "12", w, h).x, column5 - 4);
    EXPECT_EQ(score_cell_point(5, 3, "100", w, h).x, column5 - 8);
    EXPECT_EQ(score_cell_point(11, 1, "Out", w, h).x, column11 - 8);
    EXPECT_EQ(score_cell_point(11, 1, "OUT", w, h).x, column11 - 8);
    EXPECT_EQ(score_cell_point(11, 7, "In", w, h).x, column11);
    EXPECT_EQ(score_cell_point(11, 3, "36", w, h).x, column11 - 4);
    EXPECT_EQ(score_cell_point(12, 7, "Total", w, h).x, column12 - 4);
    EXPECT_EQ(score_cell_point(12, 9, "7", w, h).x, column12 + 14);
    EXPECT_EQ(score_cell_point(12, 9, "72", w, h).x, column12 + 9);
    EXPECT_EQ(score_cell_point(12, 9, "144", w, h).x, column12 + 1);
    // "Out" and "Total" move only in their own columns; names and numbers in column 1 never
    EXPECT_EQ(score_cell_point(12, 1, "Out", w, h).x, column12);
    EXPECT_EQ(score_cell_point(11, 1, "Total", w, h).x, column11);
    EXPECT_EQ(score_cell_point(1, 3, "12", w, h).x, 71);
    EXPECT_EQ(score_cell_point(5, 3, "1a", w, h).x, column5);
}

TEST(ScoreCardLayout, LongTextsInTheNameColumnAreCutToFourAndAStop)
{
    EXPECT_EQ(score_cell_text(1, "Sebastian"), "Seba.");
    EXPECT_EQ(score_cell_text(1, "Alice"), "Alic.");
    EXPECT_EQ(score_cell_text(1, "Hole"), "Hole");
    EXPECT_EQ(score_cell_text(1, "Par"), "Par");
    EXPECT_EQ(score_cell_text(1, ""), "");
    EXPECT_EQ(score_cell_text(12, "Total"), "Total");
    EXPECT_TRUE(is_all_digits(""));
    EXPECT_TRUE(is_all_digits("0123456789"));
    EXPECT_FALSE(is_all_digits("12 "));
    EXPECT_FALSE(is_all_digits("-1"));
}

TEST(ScoreCardLayout, BoardCellsRiseAgainBelowTheFourthRow)
{
    const int w = 600, h = 450;
    EXPECT_EQ(board_cell_point(0, 0, w, h).x, 71);
    EXPECT_EQ(board_cell_point(0, 0, w, h).y, 327);
    EXPECT_EQ(board_cell_point(1, 4, w, h).x, 300 + 136 - 264 + 1);
    EXPECT_EQ(board_cell_point(1, 4, w, h).y, 327);
    EXPECT_EQ(board_cell_point(3, 2, w, h).x, 300 + 68 - 264 + 1);
    EXPECT_EQ(board_cell_point(3, 2, w, h).y, 328 - 42 - 1);
    EXPECT_EQ(board_cell_point(4, 6, w, h).y, 328 - 63 - 1);
    EXPECT_EQ(board_cell_point(5, 6, w, h).y, 328 - 85 - 1);
    EXPECT_EQ(board_cell_point(13, 12, w, h).x, 300 + 408 - 264 + 1);
    EXPECT_EQ(board_cell_point(13, 12, w, h).y, 328 - 255 + 48 - 1);   // 12 x 21.3 = 255.6
}

TEST(ScoreCard, NoCourseShowsNoCells)
{
    Round round(0, 2);
    EXPECT_TRUE(round.cells().empty());
}

TEST(ScoreCard, NineHolesFillInAndShowOutOncePerPlayer)
{
    Round round(9, 2);
    round.played_up_to(1);
    auto cells = round.cells();
    EXPECT_EQ(cell_at(cells, 1, 1), "Hole");
    EXPECT_EQ(cell_at(cells, 1, 2), "Par");
    EXPECT_EQ(cell_at(cells, 10, 1), "9");
    EXPECT_EQ(cell_at(cells, 10, 2), std::to_string(round.course->parTable[8]));
    EXPECT_EQ(cell_at(cells, 11, 1), "Out");
    EXPECT_EQ(cell_at(cells, 11, 2), std::to_string(round.par(1, 9)));
    EXPECT_EQ(cell_at(cells, 1, 3), "Sebastian");   // cut when drawn
    EXPECT_EQ(cell_at(cells, 1, 4), "Ann");
    EXPECT_FALSE(cell_at(cells, 2, 3));              // nothing played yet
    EXPECT_FALSE(cell_at(cells, 11, 3));
    for (int row = 5; row <= 12; ++row) EXPECT_FALSE(any_in_row(cells, row)) << row;

    round.played_up_to(5);
    cells = round.cells();
    EXPECT_EQ(cell_at(cells, 5, 4), std::to_string(round.game.scoreTable[1][3]));
    EXPECT_FALSE(cell_at(cells, 6, 3));
    EXPECT_FALSE(cell_at(cells, 11, 3));

    // on the last hole: the player who has finished it gets "Out", the other not yet
    round.played_up_to(9);
    round.game.scoreTable[0][8] = 3;
    cells = round.cells();
    EXPECT_EQ(cell_at(cells, 10, 3), "3");
    EXPECT_EQ(cell_at(cells, 11, 3), std::to_string(round.total(1, 1, 9)));
    EXPECT_FALSE(cell_at(cells, 10, 4));
    EXPECT_FALSE(cell_at(cells, 11, 4));

    round.played_up_to(10);
    cells = round.cells();
    EXPECT_EQ(cell_at(cells, 11, 4), std::to_string(round.total(2, 1, 9)));
    EXPECT_FALSE(cell_at(cells, 11, 7));   // no "In", no "Total", no back nine
    EXPECT_FALSE(cell_at(cells, 12, 7));
    for (int row = 5; row <= 12; ++row) EXPECT_FALSE(any_in_row(cells, row)) << row;
}

TEST(ScoreCard, TwelveHolesPutTheBackNineInColumnsTwoToFour)
{
    Round round(12, 1);
    round.played_up_to(9);
    auto cells = round.cells();
    EXPECT_FALSE(cell_at(cells, 11, 3));   // 12 holes: "Out" waits for hole 10
    EXPECT_EQ(cell_at(cells, 1, 7), "Hole");
    EXPECT_EQ(cell_at(cells, 1, 8), "Par");
    EXPECT_EQ(cell_at(cells, 2, 7), "10");
    EXPECT_EQ(cell_at(cells, 4, 7), "12");
    EXPECT_FALSE(cell_at(cells, 5, 7));
    EXPECT_EQ(cell_at(cells, 4, 8), std::to_string(round.course->parTable[11]));
    EXPECT_EQ(cell_at(cells, 11, 7), "In");
    EXPECT_EQ(cell_at(cells, 11, 8), std::to_string(round.par(10, 12)));
    EXPECT_EQ(cell_at(cells, 12, 7), "Total");
    EXPECT_EQ(cell_at(cells, 12, 8), std::to_string(round.par(1, 12)));
    EXPECT_FALSE(cell_at(cells, 1, 9));    // the name comes back on the lower rows after hole 9

    round.played_up_to(10);
    cells = round.cells();
    EXPECT_EQ(cell_at(cells, 11, 3), std::to_string(round.total(1, 1, 9)));
    EXPECT_EQ(cell_at(cells, 1, 9), "Sebastian");

    // on hole 12 without strokes on it: no "In" or "Total" for the player
    round.played_up_to(12);
    cells = round.cells();
    EXPECT_EQ(cell_at(cells, 3, 9), std::to_string(round.game.scoreTable[0][10]));
    EXPECT_FALSE(cell_at(cells, 11, 9));
    EXPECT_FALSE(cell_at(cells, 12, 9));

    round.played_up_to(13);
    cells = round.cells();
    EXPECT_EQ(cell_at(cells, 11, 9), std::to_string(round.total(1, 10, 12)));
    EXPECT_EQ(cell_at(cells, 12, 9), std::to_string(round.total(1, 1, 12)));
}

TEST(ScoreCard, EighteenHolesForFourPlayersAddUpPerNineAndInTotal)
{
    Round round(18, 4);
    round.played_up_to(19);
    round.game.scoreTable[2][17] = 99;   // three-digit totals stay whole
    const auto cells = round.cells();
    EXPECT_EQ(cell_at(cells, 10, 7), "18");
    for (int p = 1; p <= 4; ++p) {
        EXPECT_EQ(cell_at(cells, 11, 2 + p), std::to_string(round.total(p, 1, 9)));
        EXPECT_EQ(cell_at(cells, 11, 8 + p), std::to_string(round.total(p, 10, 18)));
        EXPECT_EQ(cell_at(cells, 12, 8 + p), std::to_string(round.total(p, 1, 18)));
        EXPECT_EQ(cell_at(cells, 1, 8 + p), round.game.players[p - 1].name);
    }
    EXPECT_EQ(cell_at(cells, 10, 11), "99");
    EXPECT_GT(round.total(3, 1, 18), 99);
    EXPECT_FALSE(any_in_row(cells, 13));
}

TEST(ScoreCard, AHoleAPlayerHasNotFinishedStaysEmpty)
{
    Round round(9, 2);
    round.played_up_to(10);
    round.game.scoreTable[1][2] = 0;
    const auto cells = round.cells();
    EXPECT_FALSE(cell_at(cells, 4, 4));
    EXPECT_EQ(cell_at(cells, 4, 3), std::to_string(round.game.scoreTable[0][2]));
    EXPECT_EQ(cell_at(cells, 11, 4), std::to_string(round.total(2, 1, 9)));   // what was written
}

TEST(LeaderBoardScreen, HeadingColumnsAndFiveEntries)
{
    EXPECT_EQ(leader_board_heading(1), "LEADER BOARD FOR 1 HOLE.");
    EXPECT_EQ(leader_board_heading(9), "LEADER BOARD FOR 9 HOLES.");
    LeaderBoard board;
    default_leader_board(board, 9);
    const auto cells = leader_board_cells(board, 9);
    auto at = [&](int row, int column) -> std::string {
        for (const BoardCell& cell : cells)
            if (cell.row == row && cell.column == column) return cell.text;
        return "<none>";
    };
    EXPECT_EQ(at(1, 4), "LEADER BOARD FOR 9 HOLES.");
    EXPECT_EQ(at(3, 2), "Rank");
    EXPECT_EQ(at(3, 6), "Name");
    EXPECT_EQ(at(3, 12), "Score");
    EXPECT_EQ(at(5, 2), "  1) ");
    EXPECT_EQ(at(5, 6), "Avery K.");
    EXPECT_EQ(at(5, 12), "   36");
    EXPECT_EQ(at(13, 2), "  5) ");
    EXPECT_EQ(at(13, 6), "Emery T.");
    EXPECT_EQ(at(13, 12), "   44");
    EXPECT_EQ(cells.size(), 19u);
}
