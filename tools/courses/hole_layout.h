// Hole sources: a hole written as a small text picture (one character per tile) with its
// name, par, music and the putts that play it, turned into a HoleGrid. README.md beside
// this file gives the characters.
#pragma once

#include <string>
#include <vector>

#include "hole/hole_grid.h"

struct HoleSource {
    std::string name;          // what the hole is called
    int par = 0;
    std::string music;         // a tune file name in the sounds folder, or "" for none
    std::string putts;         // the recorded winning putts, "ANGLE/POWER ..."
    std::vector<std::string> layout;    // rows, top row = highest y
    std::vector<std::string> heights;   // same shape, or empty (every tile level 1)
};

// Reads a hole source text. False with a message (naming the line) when it is malformed.
bool parse_hole_source(const std::string& text, HoleSource& out, std::string* error);

// Lays the source out in the middle of grid: heights, kinds, railings around the fairway,
// the cup and the tee. False with a message on a character it does not know, a layout too
// large for the grid, or a hole without exactly one tee and one cup.
bool build_hole_grid(const HoleSource& source, HoleGrid& grid, std::string* error);

// Reads a whole file (bounded to a size a hole source never reaches).
bool read_text_file(const std::string& path, std::string& out, std::string* error);

// A course list: its title line and the hole source names in playing order.
struct CourseList {
    std::string title;
    std::vector<std::string> holes;
};
bool parse_course_list(const std::string& text, CourseList& out, std::string* error);
