// What the camera cannot see: a ball or a cup behind a block is hidden from the side the
// block stands on and seen from the other; railings and the cup's own opening hide nothing.
#include <gtest/gtest.h>

#include <memory>

#include "editor/picking.h"
#include "render/camera.h"

namespace {

constexpr double BALL_Z = 32.0 + 9.0;   // a ball resting on ground of height 1

// A fairway of height 1 over tiles 18..30 x 6..18, the cup on (28, 12).
std::unique_ptr<HoleGrid> fairway()
{
    auto grid = std::make_unique<HoleGrid>();
    clear_hole(*grid);
    for (int i = 18; i <= 30; ++i)
        for (int j = 6; j <= 18; ++j) grid->height_at(i, j) = 1;
    grid->edges_at(28, 12) = EDGE_CUP;
    return grid;
}

bool hidden(const HoleGrid& grid, const double point[3], float viewAngle)
{
    double right[3], up[3], toward[3];
    camera_axes(viewAngle, right, up, toward);
    return hidden_from_viewer(grid, 1, point, toward);
}

const double BALL[3] = {tile_corner(24) + 32.0, tile_corner(12) + 32.0, BALL_Z};
const double CUP[3] = {tile_corner(28) + 32.0, tile_corner(12) + 32.0, 32.0};

}  // namespace

TEST(HiddenFromViewer, ABlockHidesTheBallAndTheCupOnlyFromItsOwnSide)
{
    auto grid = fairway();
    for (float view : {45.0f, 135.0f, 225.0f, 315.0f}) {
        EXPECT_FALSE(hidden(*grid, BALL, view)) << view;
        EXPECT_FALSE(hidden(*grid, CUP, view)) << view << ": the opening hid the cup";
    }
    // The view at 45 looks from minus x and minus y.
    const int blocks[][2] = {{23, 11}, {23, 12}, {24, 11}, {27, 11}, {27, 12}, {28, 11}};
    for (const auto& t : blocks) grid->height_at(t[0], t[1]) = 5;
    EXPECT_TRUE(hidden(*grid, BALL, 45.0f));
    EXPECT_TRUE(hidden(*grid, CUP, 45.0f));
    EXPECT_FALSE(hidden(*grid, BALL, 225.0f));
    EXPECT_FALSE(hidden(*grid, CUP, 225.0f));
    // A block only one step high is looked over.
    for (const auto& t : blocks) grid->height_at(t[0], t[1]) = 2;
    EXPECT_FALSE(hidden(*grid, BALL, 45.0f));
}

TEST(HiddenFromViewer, ARailingInFrontLeavesTheBallInSight)
{
    auto grid = fairway();
    grid->edges_at(24, 12) = EDGE_RAIL_XMIN | EDGE_RAIL_YMIN;
    EXPECT_FALSE(hidden(*grid, BALL, 45.0f));
    // Close behind the railing and lower than its top, a point is hidden.
    const double low[3] = {tile_corner(24) + 14.0, tile_corner(12) + 14.0, 32.0 + 5.0};
    EXPECT_TRUE(hidden(*grid, low, 45.0f));
}
