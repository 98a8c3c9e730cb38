// Leader boards: the five best course totals, one board per course length, kept in
// "leader_board" + N + ".lbh" as name*score* five times.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "hole/round_state.h"

constexpr int LEADER_ENTRIES = 5;
constexpr int LEADER_NAME_MAX = 24;   // characters of a name

struct LeaderBoard {
    char names[LEADER_ENTRIES][LEADER_NAME_MAX + 1] = {};   // best first
    int scores[LEADER_ENTRIES] = {};                        // total strokes, lowest first
};

// The board of a course of holeCount holes that nobody has played yet: Avery K. 4N,
// Blake M. 4N + 2, ... Emery T. 4N + 8.
void default_leader_board(LeaderBoard& board, int holeCount);

// "leader_board18.lbh" for 18 holes.
std::string leader_board_file_name(int holeCount);

// Reads a board from text: the defaults first, then entries in order for as long as they are
// sound (a name of at most 24 characters ended by '*', a score with digits ended by '*');
// the first unsound entry and everything after it keep the defaults. Returns the number of
// entries taken from the text.
int parse_leader_board(LeaderBoard& board, std::string_view text, int holeCount);
int read_leader_board_from(LeaderBoard& board, std::FILE* file, int holeCount);

// Reads the board file at path (creating it empty when it is missing); a file that cannot be
// read leaves the defaults.
void read_leader_board_file(LeaderBoard& board, const std::string& path, int holeCount);

// Puts the players' totals on the board one after the other, first player first: a total
// goes in above the first entry with a greater score (so below an equal one), and the last
// entry falls off. A total no entry exceeds leaves the board as it is.
void insert_leader_totals(LeaderBoard& board, const char* const names[], const int totals[], int count);

// The file text of a board.
std::string format_leader_board(const LeaderBoard& board);

// Writes the board to path atomically (temporary file, then rename).
bool write_leader_board_file(const LeaderBoard& board, const std::string& path, std::string* error);

// The game's calls, with the board file in folder dir ("" for the working directory).
// read_leader_board: the board of the course's length, after a course is loaded for play.
// update_leader_board: once when the last hole of a scored round is finished; adds every
// player's total over the course's holes and writes the file. Returns false with a message
// when it cannot be written.
void read_leader_board(LeaderBoard& board, int holeCount, const std::string& dir = {});
bool update_leader_board(LeaderBoard& board, int holeCount, const char* const names[], const int scores[][MAX_HOLES],
                         int players, std::string* error = nullptr, const std::string& dir = {});
