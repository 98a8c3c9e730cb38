// The score card and leader board screens laid out: which text goes in which cell as the
// round goes on, and where each cell's text starts in a window of w x h pixels (origin
// bottom left). The drawing itself is in score_card_gl.cpp.
#pragma once

#include <string>
#include <vector>

struct Course;
struct GameState;
struct LeaderBoard;

inline constexpr const char* GAME_TITLE = "Tallowick's Miniature Golf";

struct Rgb8 {
    int r, g, b;   // 0..255
};

inline constexpr Rgb8 TITLE_SHADOW_COLOUR = {163, 165, 5};
inline constexpr Rgb8 SCORE_CARD_TITLE_COLOUR = {67, 53, 253};
inline constexpr Rgb8 LEADER_BOARD_TITLE_COLOUR = {178, 4, 86};
inline constexpr Rgb8 CELL_COLOUR = {0, 0, 0};

// A raster position in window pixels, y up.
struct RasterPoint {
    int x, y;
};

// One text on the score card: column 1..12, row 1..12.
struct CardCell {
    int column, row;
    std::string text;
};

// One text on the leader board: row and column as board_cell_point takes them.
struct BoardCell {
    int row, column;
    std::string text;
};

// True when every character is a digit 0-9 (so also for the empty text).
bool is_all_digits(const std::string& text);

// The text a score card cell shows: in column 1 anything longer than four characters is cut to
// its first four and a full stop ("Sebastian" -> "Seba.").
std::string score_cell_text(int column, const std::string& text);

// Where a score card cell's text starts: the cell's corner, moved so that "Out", "Total" and
// numbers of two or three digits line up in their columns.
RasterPoint score_cell_point(int column, int row, const std::string& text, int w, int h);

// Where a leader board cell's text starts (no alignment).
RasterPoint board_cell_point(int row, int column, int w, int h);

// The title's position on both screens (its shadow goes one pixel right and down).
RasterPoint title_point(int w, int h);

// The corners of both screens' background: left, bottom, right, top.
struct ScreenRect {
    int left, bottom, right, top;
};
ScreenRect overlay_rect(int w, int h);

// Every filled cell of the score card for the round as it stands: hole numbers and pars, each
// player's strokes on the holes finished, "Out" once a player has finished the front nine (or
// the whole of a shorter course), "In" and "Total" once a player has finished the last hole.
std::vector<CardCell> score_card_cells(const GameState& game, const Course& course);

// The note under the score card's table: "" unless the aim guide was used in the round.
std::string score_card_note(const GameState& game);
// Where the note starts (it is drawn in Helvetica 12, beside the card's OK button).
RasterPoint score_card_note_point(int w, int h);

// "LEADER BOARD FOR 18 HOLES." ("HOLE." for one).
std::string leader_board_heading(int holeCount);

// The heading, the column titles and the five entries of the board.
std::vector<BoardCell> leader_board_cells(const LeaderBoard& board, int holeCount);
