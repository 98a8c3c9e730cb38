// Drawing the hole, seen as a player sees it: a hole holding every kind of tile and every
// edge code, opened in the editor and shown at the four view angles and the zoom limits;
// fixed colours checked where they must be; and the compiled drawing compared with the
// plain one, pixel by pixel, by minigolf-bench check.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "hole/hole_file.h"
#include "render/sample_holes.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"

namespace {

constexpr int W = 600, H = 450;

// Where world point (x, y, z) lands in the window (pixels, y from the top) for a camera
// centred on the origin, turned by angle and scaled by zoom.
Point on_screen(double x, double y, double z, double angle, double zoom)
{
    const double a = angle * M_PI / 180.0;
    const double xr = x * std::cos(a) - y * std::sin(a);
    const double yr = x * std::sin(a) + y * std::cos(a);
    const double up = 0.5 * yr + std::sqrt(3.0) / 2 * z;   // the fixed tilt of 60 degrees
    const double wx = (xr * zoom / (W / 2 - 1) + 1) * W / 2;
    const double wy = (up * zoom / (H / 2 - 1) + 1) * H / 2;
    return {static_cast<int>(std::floor(wx)), static_cast<int>(std::floor(H - wy))};
}

// The window's pixel there; an impossible colour off the window (where X would refuse).
Rgb pixel_at(GameSession& game, const Point& p)
{
    if (p.x < 0 || p.y < 0 || p.x >= W || p.y >= H) return {-1, -1, -1};
    return game.pixel(p.x, p.y);
}

bool is(const Rgb& c, int r, int g, int b) { return c.r == r && c.g == g && c.b == b; }

// The first pixel of exactly this colour within 50 pixels of p (every other pixel looked
// at), or an impossible colour: the editor's camera may sit a little off the grid's centre.
Rgb find_near(GameSession& game, const Point& p, int r, int g, int b)
{
    for (int d = 0; d <= 50; d += 2)
        for (int dy = -d; dy <= d; dy += 2)
            for (int dx = -d; dx <= d; dx += 2) {
                if (std::abs(dx) != d && std::abs(dy) != d) continue;
                const Rgb c = pixel_at(game, {p.x + dx, p.y + dy});
                if (is(c, r, g, b)) return c;
            }
    return {-1, -1, -1};
}

std::string describe(const Rgb& c)
{
    return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
}

Point plus_button() { return {W - 50, H - 50}; }
Point minus_button() { return {W - 50, H - 20}; }
Point turn_left_button() { return {W - 80, H - 35}; }
Point turn_right_button() { return {W - 20, H - 35}; }

class DrawingTest : public DisplayTest {};

}  // namespace

TEST_F(DrawingTest, ShowcaseHoleAtEveryAngleAndZoomWithItsFixedColours)
{
    // The showcase without its tee, so the camera stays centred on the grid's middle.
    auto grid = std::make_unique<HoleGrid>();
    make_showcase_hole(*grid);
    grid->tee = Tee();
    GameSession game(*display);
    ASSERT_TRUE(start_editor(game));
    game.write_file("holes/showcase.top", format_hole(*grid));
    game.settle(1.0);
    game.click(file_menu().x, file_menu().y);
    game.settle(0.5);
    game.click(file_entry(FILE_OPEN).x, file_entry(FILE_OPEN).y);
    game.settle(1.0);
    game.screenshot("drawing_open_dialog");
    game.type("showcase");
    game.settle(0.5);
    Point confirm = chooser_confirm(W, H);
    game.click(confirm.x, confirm.y);
    const bool opened = game.wait_title("showcase.top", 10.0);
    game.screenshot("drawing_opened");
    ASSERT_TRUE(opened) << "title: " << game.title();
    game.move(W / 2, H / 2 + 30);
    game.settle(1.0);
    game.screenshot("drawing_angle45_zoom0");

    // A rail's long face is white, a bumper's post yellow, its cap magenta.
    int i = 0, j = 0;
    ASSERT_TRUE(find_tile(*grid, KIND_BUMPER, i, j));
    const double bx = tile_corner(i) + 32, by = tile_corner(j) + 32, bz = 32.0 * grid->height_at(i, j);
    const Point cap = on_screen(bx, by, bz + 22, 45, 1);
    const Point post = on_screen(bx - 6 * M_SQRT1_2 + 1, by - 6 * M_SQRT1_2 + 1, bz + 5, 45, 1);
    Rgb c = find_near(game, cap, 255, 0, 255);
    EXPECT_TRUE(is(c, 255, 0, 255)) << "cap at " << cap.x << "," << cap.y << " is " << describe(c);
    c = find_near(game, post, 255, 255, 0);
    EXPECT_TRUE(is(c, 255, 255, 0)) << "post at " << post.x << "," << post.y << " is " << describe(c);
    // tile (20, 27) carries the rail along its low-y side; its -y face faces this view
    const double rx = tile_corner(20) + 32, ry = tile_corner(27), rz = 32.0 * grid->height_at(20, 27) + 5;
    ASSERT_EQ(grid->edges_at(20, 27), EDGE_RAIL_YMIN);
    const Point rail = on_screen(rx, ry, rz, 45, 1);
    c = find_near(game, rail, 255, 255, 255);
    EXPECT_TRUE(is(c, 255, 255, 255)) << "rail at " << rail.x << "," << rail.y << " is " << describe(c);

    // The four view angles: ">" turns to 315, 225, 135 and back to 45; "<" the other way.
    const int right[] = {315, 225, 135};
    Point turn = turn_right_button();
    for (int angle : right) {
        game.click(turn.x, turn.y);
        game.move(W / 2, H / 2 + 30);
        game.settle(0.6);
        game.screenshot("drawing_angle" + std::to_string(angle) + "_zoom0");
        // the cap's top is seen from every side
        const Point top = on_screen(bx, by, bz + 22, angle, 1);
        c = find_near(game, top, 255, 0, 255);
        EXPECT_TRUE(is(c, 255, 0, 255)) << "cap at angle " << angle << " is " << describe(c);
    }
    game.click(turn.x, turn.y);
    Point left = turn_left_button();
    game.click(left.x, left.y);
    game.click(left.x, left.y);
    game.click(turn.x, turn.y);
    game.click(turn.x, turn.y);   // back at 45

    // Zoom limits: three steps in (a fourth does nothing), then down to -3.
    Point plus = plus_button();
    for (int k = 0; k < 4; ++k) game.click(plus.x, plus.y);
    game.move(W / 2, H / 2 + 30);
    game.settle(0.6);
    game.screenshot("drawing_angle45_zoom3");
    const double most = 1.2 * 1.2 * 1.2;
    // the bumper nearer the middle, on two steps, stays in view
    ASSERT_EQ(grid->kind_at(22, 25), KIND_BUMPER);
    Point zoomed = on_screen(tile_corner(22) + 32, tile_corner(25) + 32, 32.0 * grid->height_at(22, 25) + 22, 45, most);
    c = find_near(game, zoomed, 255, 0, 255);
    EXPECT_TRUE(is(c, 255, 0, 255)) << "cap zoomed in is " << describe(c);
    Point minus = minus_button();
    for (int k = 0; k < 7; ++k) game.click(minus.x, minus.y);
    game.move(W / 2, H / 2 + 30);
    game.settle(0.6);
    game.screenshot("drawing_angle45_zoom-3");
    zoomed = on_screen(bx, by, bz + 22, 45, 1 / most);
    c = find_near(game, zoomed, 255, 0, 255);
    EXPECT_TRUE(is(c, 255, 0, 255)) << "cap zoomed out is " << describe(c);

    // Scrolling at the bottom-left corner (at 45 degrees: +20 in x a frame) brings the
    // grid's low-x edge to the middle, beyond which lies the black surround.
    game.move(1, H - 2);
    game.settle(6.0);
    game.move(W / 2, H / 2 + 30);
    game.settle(0.5);
    game.screenshot("drawing_scrolled_to_edge");
    c = game.pixel(5, 200);
    EXPECT_TRUE(is(c, 0, 0, 0)) << "beyond the grid is " << describe(c);
    c = game.pixel(W - 60, 200);
    EXPECT_FALSE(is(c, 0, 0, 0)) << "the grid's edge squares must show";
}

TEST_F(DrawingTest, CompiledDrawingMatchesThePlainOneAndABumperFlashes)
{
    const std::string bench = std::string(MG_RUN_DIR) + "/minigolf-bench";
    if (!std::filesystem::exists(bench)) GTEST_SKIP() << "minigolf-bench is not built";
    const std::string out = (artifact_dir() / "drawing_check").string();
    run_command("mkdir -p '" + out + "'");
    const std::string output = run_command("DISPLAY=" + display->name() + " ASAN_OPTIONS=detect_leaks=0 '" + bench + "' check --out '" + out +
                                           "' 2>&1; echo status=$?");
    std::istringstream lines(output);
    std::string line;
    int compared = 0;
    bool flashed = false;
    while (std::getline(lines, line)) {
        if (line.rfind("compare ", 0) == 0) {
            ++compared;
            EXPECT_NE(line.find(" unexplained=0"), std::string::npos) << line;
        }
        if (line.rfind("flash ", 0) == 0) {
            flashed = true;
            // magenta before the hit, white for 7 frames, magenta after; the other stays magenta
            EXPECT_EQ(line, "flash hit=1 before=255,0,255 first=255,255,255 white_frames=7 after=255,0,255 other=255,0,255");
        }
    }
    EXPECT_EQ(compared, 12) << output;   // four angles at three zooms
    EXPECT_TRUE(flashed) << output;
    EXPECT_NE(output.find("status=0"), std::string::npos) << output;
    run_command("cd '" + out + "' && for f in *.ppm; do convert \"$f\" \"${f%.ppm}.png\" && rm \"$f\"; done");
}
