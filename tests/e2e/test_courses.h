// Holes and courses the end-to-end tests play, written by the tests themselves.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hole/course_archive.h"
#include "hole/hole_file.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"

// Ground of height 1 on the tiles (i0..i1, j0..j1), railed all round.
inline void railed_ground(HoleGrid& grid, int i0, int i1, int j0, int j1)
{
    for (int i = i0; i <= i1; ++i)
        for (int j = j0; j <= j1; ++j) {
            int edges = 0;
            if (i == i0) edges |= EDGE_RAIL_XMIN;
            if (i == i1) edges |= EDGE_RAIL_XMAX;
            if (j == j0) edges |= EDGE_RAIL_YMIN;
            if (j == j1) edges |= EDGE_RAIL_YMAX;
            grid.height_at(i, j) = 1;
            grid.edges_at(i, j) = edges;
        }
}

// A fairway of height 1 walled by railings, the tee on (24, 12) and the cup on (24, 20):
// a putt straight up the fairway at power 20 drops.
inline void write_straight_hole(const std::string& path)
{
    auto grid = std::make_unique<HoleGrid>();
    clear_hole(*grid);
    railed_ground(*grid, 22, 26, 8, 24);
    grid->edges_at(24, 20) = EDGE_CUP;
    grid->tee = {1, static_cast<int>(tile_corner(24)), static_cast<int>(tile_corner(12))};
    std::string error;
    ASSERT_TRUE(write_hole_file(*grid, path, &error)) << error;
}

// courses/NAME.cor in the game's folder, of straight holes of par 2.
inline void make_straight_course(GameSession& game, const std::string& name, int holes)
{
    std::vector<CoursePackHole> list;
    for (int k = 1; k <= holes; ++k) {
        const std::string path = game.file("straight" + std::to_string(k) + ".top");
        write_straight_hole(path);
        list.push_back({path, 2, ""});
    }
    std::string error;
    ASSERT_TRUE(pack_course(game.file("courses/" + name + ".cor"), list, &error)) << error;
}

// From the start question to the first hole of courses/course.cor, with the given names.
inline void sit_down(GameSession& game, const std::vector<std::string>& names, const std::string& course)
{
    Point play = play_course_button(600, 450);
    game.click(play.x, play.y);
    const int nameRows[4] = {85, 155, 225, 295};
    for (size_t k = 0; k < names.size() && k < 4; ++k) {
        game.click(150, nameRows[k]);
        game.type(names[k]);
    }
    game.click(215, 355);   // "Ready To Play"
    game.type(course);
    Point confirm = chooser_confirm(600, 450);
    game.click(confirm.x, confirm.y);
}
