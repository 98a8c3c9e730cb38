// Finding the point of the hole under the pointer: the ray through the pixel stops at the
// surface that is drawn there, seen through the game's tilted orthographic camera.
#include <gtest/gtest.h>

#include <cmath>

#include "editor/editor_tools.h"
#include "editor/picking.h"

namespace {

constexpr int WIDTH = 600, HEIGHT = 450;

// Column-major 4 x 4 matrices built the way the scene sets its camera up.
struct Mat {
    double m[16];
};

Mat identity()
{
    Mat a{};
    for (int k = 0; k < 4; ++k) a.m[k * 5] = 1;
    return a;
}

Mat mul(const Mat& a, const Mat& b)
{
    Mat out{};
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            for (int k = 0; k < 4; ++k) out.m[c * 4 + r] += a.m[k * 4 + r] * b.m[c * 4 + k];
    return out;
}

Mat rotate_x(double degrees)
{
    const double a = degrees * M_PI / 180, c = std::cos(a), s = std::sin(a);
    Mat r = identity();
    r.m[5] = c;
    r.m[6] = s;
    r.m[9] = -s;
    r.m[10] = c;
    return r;
}

Mat rotate_z(double degrees)
{
    const double a = degrees * M_PI / 180, c = std::cos(a), s = std::sin(a);
    Mat r = identity();
    r.m[0] = c;
    r.m[1] = s;
    r.m[4] = -s;
    r.m[5] = c;
    return r;
}

Mat scale_translate(double zoom, double tx, double ty, double tz)
{
    Mat s = identity();
    s.m[0] = s.m[5] = s.m[10] = zoom;
    Mat t = identity();
    t.m[12] = tx;
    t.m[13] = ty;
    t.m[14] = tz;
    return mul(s, t);
}

Mat ortho(double l, double r, double b, double t, double n, double f)
{
    Mat o{};
    o.m[0] = 2 / (r - l);
    o.m[5] = 2 / (t - b);
    o.m[10] = -2 / (f - n);
    o.m[12] = -(r + l) / (r - l);
    o.m[13] = -(t + b) / (t - b);
    o.m[14] = -(f + n) / (f - n);
    o.m[15] = 1;
    return o;
}

struct View {
    Mat modelView, projection;
    int viewport[4] = {0, 0, WIDTH, HEIGHT};

    View(double viewAngle, double zoom, double tx, double ty)
    {
        const double a = WIDTH / 2 - 1, b = HEIGHT / 2 - 1;
        projection = ortho(-a, a, -b, b, 2500, -2500);
        modelView = mul(mul(rotate_x(-60), rotate_z(viewAngle)), scale_translate(zoom, tx, ty, 0));
    }
    // The window position (x from the left, y from the bottom) of a world point.
    void project(double x, double y, double z, double& winX, double& winY) const
    {
        const Mat all = mul(projection, modelView);
        double clip[4];
        for (int r = 0; r < 4; ++r) clip[r] = all.m[r] * x + all.m[4 + r] * y + all.m[8 + r] * z + all.m[12 + r];
        winX = (clip[0] / clip[3] + 1) / 2 * WIDTH;
        winY = (clip[1] / clip[3] + 1) / 2 * HEIGHT;
    }
    // The world point picked at a window position.
    void pick(const HoleGrid& grid, double winX, double winY, double out[3]) const
    {
        PickRay ray;
        ASSERT_TRUE(pick_ray(modelView.m, projection.m, viewport, winX, winY, ray));
        cast_pick_ray(grid, 1, ray, out);
    }
    // Picks at the pixel where world point (x, y, z) is seen.
    void pick_seen(const HoleGrid& grid, double x, double y, double z, double out[3]) const
    {
        double wx, wy;
        project(x, y, z, wx, wy);
        pick(grid, wx, wy, out);
    }
};

class EditorPickingTest : public ::testing::Test {
protected:
    void SetUp() override { clear_hole(grid); }
    HoleGrid grid;
};

void expect_point(const double got[3], double x, double y, double z)
{
    EXPECT_NEAR(got[0], x, 1e-3);
    EXPECT_NEAR(got[1], y, 1e-3);
    EXPECT_NEAR(got[2], z, 1e-3);
}

}  // namespace

TEST_F(EditorPickingTest, TheFloorIsPickedWhereItIsSeen)
{
    for (double angle : {45.0, 135.0, 225.0, 315.0}) {
        const View view(angle, 1.0, 100, -200);
        double p[3];
        view.pick_seen(grid, 10.5, 20.25, 0, p);
        expect_point(p, 10.5, 20.25, 0);
    }
    // the window centre shows minus the camera translation
    const View view(45, 1.2, 100, -200);
    double p[3];
    view.pick(grid, WIDTH / 2.0, HEIGHT / 2.0, p);
    expect_point(p, -100, 200, 0);
}

TEST_F(EditorPickingTest, ARaisedTileIsPickedOnItsTopNotAtItsBase)
{
    grid.height_at(24, 24) = 3;
    const View view(45, 1.0, 0, 0);
    double p[3];
    view.pick_seen(grid, 32, 32, 96, p);
    expect_point(p, 32, 32, 96);
    EXPECT_EQ(locate_tile(static_cast<float>(p[0]), static_cast<float>(p[1])).i, 24);
    // the floor behind the block is hidden at the pixel of the top
    double wx, wy, hx, hy;
    view.project(32, 32, 96, wx, wy);
    view.project(32, 32, 0, hx, hy);
    EXPECT_GT(std::fabs(wy - hy), 50.0);
    // a side face of the block shows where the floor behind it would be seen
    view.project(100, 100, 0, wx, wy);
    view.pick(grid, wx, wy, p);
    EXPECT_GT(p[2], 0.5);
    const TileSpot spot = locate_tile(static_cast<float>(p[0]), static_cast<float>(p[1]));
    EXPECT_EQ(spot.i, 24);
    EXPECT_EQ(spot.j, 24);
}

TEST_F(EditorPickingTest, RampsRailingsAndBumpersStopTheRay)
{
    grid.height_at(20, 20) = 2;
    grid.kind_at(20, 20) = 0;   // ramp rising toward +y from z 32 to 64
    const View view(135, 1.0, 256, 256);
    double p[3];
    const double x = tile_corner(20), y = tile_corner(20);
    view.pick_seen(grid, x + 32, y + 16, 40, p);
    expect_point(p, x + 32, y + 16, 40);

    grid.height_at(22, 22) = 1;
    grid.edges_at(22, 22) = EDGE_RAIL_YMIN;
    const double rx = tile_corner(22), ry = tile_corner(22);
    view.pick_seen(grid, rx + 30, ry + 5, 42, p);   // top of the railing
    expect_point(p, rx + 30, ry + 5, 42);

    grid.kind_at(26, 26) = KIND_BUMPER;
    const double bx = tile_corner(26) + 32, by = tile_corner(26) + 32;
    view.pick_seen(grid, bx + 10, by, 22, p);   // on the cap
    EXPECT_NEAR(p[2], 22, 1e-3);
}

TEST_F(EditorPickingTest, TheCupOpeningShowsItsWall)
{
    grid.height_at(24, 24) = 2;
    grid.edges_at(24, 24) = EDGE_CUP;
    const View view(45, 2.0, 0, 0);
    double p[3];
    view.pick_seen(grid, 5, 5, 64, p);   // the grass around the opening
    expect_point(p, 5, 5, 64);
    // through the opening the ray meets the far wall, inside the tile and below its top
    double wx, wy;
    view.project(32, 32, 64, wx, wy);
    view.pick(grid, wx, wy, p);
    EXPECT_LT(p[2], 64);
    EXPECT_GE(p[2], 32);
    const TileSpot spot = locate_tile(static_cast<float>(p[0]), static_cast<float>(p[1]));
    EXPECT_EQ(spot.i, 24);
    EXPECT_EQ(spot.j, 24);
}

TEST_F(EditorPickingTest, TheSurroundAndTheEmptyBackgroundAreNoTile)
{
    const View view(45, 1.0, 1536, 1536);   // looking at the grid's low corner
    double p[3];
    view.pick_seen(grid, -1700, -1700, 0, p);
    expect_point(p, -1700, -1700, 0);
    EXPECT_FALSE(locate_tile(static_cast<float>(p[0]), static_cast<float>(p[1])).valid);
    // beyond the surround nothing is drawn: the far end of the ray, no tile either
    const View far(45, 1.0, 2400, 2400);
    far.pick(grid, 0, HEIGHT - 1, p);
    EXPECT_FALSE(locate_tile(static_cast<float>(p[0]), static_cast<float>(p[1])).valid);
}

TEST(EditorPickRay, SingularMatricesGiveNoRay)
{
    double zero[16] = {};
    double one[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const int viewport[4] = {0, 0, WIDTH, HEIGHT};
    PickRay ray;
    EXPECT_FALSE(pick_ray(zero, one, viewport, 10, 10, ray));
    EXPECT_TRUE(pick_ray(one, one, viewport, 10, 10, ray));
}
