#include "render/score_card.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "hole/round_state.h"
#include "hole/course.h"
#include "hole/leader_board.h"

namespace {

constexpr double ROW_STEP = 21.3;   // pixels between rows, truncated per row

// Rows of the back nine sit six rows under the front nine.
constexpr int BACK_NINE_ROWS = 6;

bool equals_ignoring_case(const std::string& a, const char* b)
{
    size_t k = 0;
    for (; k < a.size() && b[k]; ++k) {
        if (std::tolower(static_cast<unsigned char>(a[k])) != std::tolower(static_cast<unsigned char>(b[k])))
            return false;
    }
    return k == a.size() && b[k] == '\0';
}

int row_drop(int row) { return static_cast<int>((row - 1) * ROW_STEP); }

// A player's strokes on hole k (1-based); 0 outside the table.
int strokes(const GameState& game, int player, int hole)
{
    if (player < 1 || player > MAX_PLAYERS || hole < 1 || hole > MAX_HOLES) return 0;
    return game.scoreTable[player - 1][hole - 1];
}

}  // namespace

bool is_all_digits(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string score_cell_text(int column, const std::string& text)
{
    if (column == 1 && text.size() > 4) return text.substr(0, 4) + ".";
    return text;
}

RasterPoint score_cell_point(int column, int row, const std::string& text, int w, int h)
{
    int x = column == 1 ? w / 2 - 230 : w / 2 + 34 * column - 220;
    const int y = row == 1 ? h / 2 + 103 : h / 2 + 103 - row_drop(row);
    if (column == 11 && equals_ignoring_case(text, "out")) x -= 8;
    if (column == 12 && equals_ignoring_case(text, "total")) x -= 4;
    if (is_all_digits(text)) {
        const size_t length = text.size();
        if (column != 1 && column != 12) {
            if (length == 2) x -= 4;
            if (length == 3) x -= 8;
        } else if (column == 12) {
            if (length == 1) x += 14;
            if (length == 2) x += 9;
            if (length == 3) x += 1;
        }
    }
    return {x + 1, y - 1};
}

RasterPoint board_cell_point(int row, int column, int w, int h)
{
    const int x = column > 0 ? w / 2 + 34 * column - 264 : w / 2 - 230;
    int y = h / 2 + 103;
    if (row > 0) y -= row_drop(row);
    if (row > 4) y += static_cast<int>((row - 5) * 6.0);
    return {x + 1, y - 1};
}

RasterPoint title_point(int w, int h) { return {w / 2 - 118, h / 2 + 135}; }

ScreenRect overlay_rect(int w, int h) { return {w / 2 - 240, h / 2 - 140, w / 2 + 240, h / 2 + 165}; }

std::vector<CardCell> score_card_cells(const GameState& game, const Course& course)
{
    std::vector<CardCell> cells;
    const int holeCount = std::clamp(course.holeCount, 0, MAX_HOLES);
    const int players = std::clamp(game.playerCount, 0, MAX_PLAYERS);
    const int current = game.currentHole;
    if (holeCount <= 0) return cells;

    int frontPar = 0, backPar = 0;
    int frontSum[MAX_PLAYERS] = {}, backSum[MAX_PLAYERS] = {};

    const int frontHoles = std::min(9, holeCount);
    cells.push_back({1, 1, "Hole"});
    cells.push_back({1, 2, "Par"});
    for (int k = 1; k <= frontHoles; ++k) {
        cells.push_back({k + 1, 1, std::to_string(k)});
        cells.push_back({k + 1, 2, std::to_string(course.parTable[k - 1])});
        frontPar += course.parTable[k - 1];
        for (int p = 1; p <= players; ++p) {
            const int s = strokes(game, p, k);
            if (s > 0) {
                cells.push_back({k + 1, 2 + p, std::to_string(s)});
                frontSum[p - 1] += s;
            }
        }
    }

    cells.push_back({11, 1, "Out"});
    cells.push_back({11, 2, std::to_string(frontPar)});
    int last = 0;   // the hole whose strokes show that a player has finished the front nine
    if (current >= holeCount) last = holeCount;
    if (current > 9) last = 9;
    if (last == holeCount || last == 9) {
        for (int p = 1; p <= players; ++p) {
            if (strokes(game, p, last) > 0) cells.push_back({11, 2 + p, std::to_string(frontSum[p - 1])});
        }
    }

    if (holeCount > 9) {
        cells.push_back({1, 1 + BACK_NINE_ROWS, "Hole"});
        cells.push_back({1, 2 + BACK_NINE_ROWS, "Par"});
        for (int k = 10; k <= holeCount; ++k) {
            cells.push_back({k - 8, 1 + BACK_NINE_ROWS, std::to_string(k)});
            cells.push_back({k - 8, 2 + BACK_NINE_ROWS, std::to_string(course.parTable[k - 1])});
            backPar += course.parTable[k - 1];
            for (int p = 1; p <= players; ++p) {
                const int s = strokes(game, p, k);
                if (s > 0) {
                    cells.push_back({k - 8, 2 + BACK_NINE_ROWS + p, std::to_string(s)});
                    backSum[p - 1] += s;
                }
            }
        }
        cells.push_back({11, 1 + BACK_NINE_ROWS, "In"});
        cells.push_back({11, 2 + BACK_NINE_ROWS, std::to_string(backPar)});
        cells.push_back({12, 1 + BACK_NINE_ROWS, "Total"});
        cells.push_back({12, 2 + BACK_NINE_ROWS, std::to_string(frontPar + backPar)});
        if (current >= holeCount) {
            for (int p = 1; p <= players; ++p) {
                if (strokes(game, p, holeCount) <= 0) continue;
                cells.push_back({11, 2 + BACK_NINE_ROWS + p, std::to_string(backSum[p - 1])});
                cells.push_back({12, 2 + BACK_NINE_ROWS + p, std::to_string(frontSum[p - 1] + backSum[p - 1])});
            }
        }
    }

    for (int p = 1; p <= players; ++p) {
        const std::string name = game.players[p - 1].name;
        cells.push_back({1, 2 + p, name});
        if (holeCount > 9 && current > 9) cells.push_back({1, 2 + BACK_NINE_ROWS + p, name});
    }
    return cells;
}

std::string leader_board_heading(int holeCount)
{
    return "LEADER BOARD FOR " + std::to_string(holeCount) + (holeCount > 1 ? " HOLES." : " HOLE.");
}

std::vector<BoardCell> leader_board_cells(const LeaderBoard& board, int holeCount)
{
    std::vector<BoardCell> cells;
    cells.push_back({1, 4, leader_board_heading(holeCount)});
    cells.push_back({3, 2, "Rank"});
    cells.push_back({3, 6, "Name"});
    cells.push_back({3, 12, "Score"});
    for (int i = 1; i <= LEADER_ENTRIES; ++i) {
        const int row = 2 * i + 3;
        cells.push_back({row, 2, "  " + std::to_string(i) + ") "});
        // names are kept terminated, but never read past the field
        const char* name = board.names[i - 1];
        cells.push_back({row, 6, std::string(name, strnlen(name, LEADER_NAME_MAX + 1))});
        cells.push_back({row, 12, "   " + std::to_string(board.scores[i - 1])});
    }
    return cells;
}
