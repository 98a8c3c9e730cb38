// What a new player sees while aiming on a hole whose walls stand in the way: the power
// meter keeps off the line of the putt, and the ball and the cup behind the walls show
// through them until the view turns to where nothing hides them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"
#include "tests/e2e/test_courses.h"
#include "tests/e2e/test_courses.h"

namespace {

class AimingViewTest : public DisplayTest {};

// A walled fairway of height 1 with the tee on (24, 12) and the cup on (28, 12). Seen from
// the start (view 45, the camera toward minus x and minus y), a block of height 5 stands in
// front of each: the ball and the cup are both behind walls.
void write_walled_hole(const std::string& path)
{
    auto grid = std::make_unique<HoleGrid>();
    clear_hole(*grid);
    railed_ground(*grid, 18, 30, 6, 18);
    const int walls[][2] = {{23, 11}, {23, 12}, {24, 11}, {27, 11}, {27, 12}, {28, 11}};
    for (const auto& t : walls) grid->height_at(t[0], t[1]) = 5;
    grid->edges_at(28, 12) = EDGE_CUP;
    grid->tee = {1, static_cast<int>(tile_corner(24)), static_cast<int>(tile_corner(12))};
    std::string error;
    ASSERT_TRUE(write_hole_file(*grid, path, &error)) << error;
}

constexpr int W = 600, H = 450;
constexpr double BALL_X = 300, BALL_Y = 225;   // the camera centres the aimed ball

// The window at one moment, y from the top. The server places it one pixel off the screen's
// corner, so the first row and column cannot be read.
struct Picture {
    std::vector<Rgb> pixels;
    Rgb at(int x, int y) const
    {
        const size_t wide = W - 1;
        if (x < 1 || y < 1 || x >= W || y >= H || pixels.size() != wide * (H - 1)) return {-1, -1, -1};
        return pixels[(y - 1) * wide + (x - 1)];
    }
};

Picture grab(const VirtualDisplay& display, GameSession& game)
{
    return {window_pixels(display.name(), std::strtoul(game.window_id().c_str(), nullptr, 10), 1, 1, W - 1, H - 1)};
}

bool is_meter_bar(const Rgb& c) { return c.r == 255 && c.b == 0 && c.g < 250; }   // red to yellow
bool is_pure_white(const Rgb& c) { return c.r == 255 && c.g == 255 && c.b == 255; }
bool is_light(const Rgb& c) { return c.r > 180 && c.g > 180 && c.b > 180; }         // Nell's white ball

// The pixels of the rectangle of half sizes (hw, hh) round (cx, cy) that are such, relative
// to the ball with y up.
template <typename Such>
std::vector<std::array<double, 2>> find(const Picture& p, Such such, int cx = W / 2, int cy = H / 2, int hw = W / 2,
                                        int hh = H / 2)
{
    std::vector<std::array<double, 2>> found;
    for (int y = cy - hh; y <= cy + hh; ++y)
        for (int x = cx - hw; x <= cx + hw; ++x)
            if (such(p.at(x, y))) found.push_back({x - BALL_X, BALL_Y - y});
    return found;
}

// The distance of p from the half-line leaving the ball along (dx, dy).
double from_ray(const std::array<double, 2>& p, double dx, double dy)
{
    const double length = std::hypot(dx, dy), t = (p[0] * dx + p[1] * dy) / length;
    return t <= 0 ? std::hypot(p[0], p[1]) : std::fabs(p[0] * dy - p[1] * dx) / length;
}

// Pure white pixels out of 48 on the circle just outside the ball's edge.
int white_round_ball(const Picture& p)
{
    int white = 0;
    for (int k = 0; k < 48; ++k)
        white += is_pure_white(p.at(static_cast<int>(std::lround(BALL_X + 11.5 * std::cos(2 * M_PI * k / 48))),
                                    static_cast<int>(std::lround(BALL_Y + 11.5 * std::sin(2 * M_PI * k / 48)))));
    return white;
}

}  // namespace

TEST_F(AimingViewTest, TheMeterKeepsOffThePuttAndHiddenBallAndCupShowThroughTheWalls)
{
    GameSession game(*display);
    {
        const std::string path = game.file("walled.top");
        write_walled_hole(path);
        std::string error;
        ASSERT_TRUE(pack_course(game.file("courses/walled.cor"), {{path, 2, ""}}, &error)) << error;
    }
    ASSERT_TRUE(game.start());
    sit_down(game, {"Nell"}, "walled");
    ASSERT_TRUE(game.wait_title("walled.cor"));
    game.settle(1.0);

    // Nell aims at the cup, up and to the right, where the meter used to stand: the pointer
    // goes down and to the left of the ball.
    game.click(545, 30);   // "Putt"
    const int pointerX = 300 - 54, pointerY = 225 + 27;
    game.move(pointerX, pointerY);
    EXPECT_TRUE(soon(game, [&] { return find(grab(*display, game), is_meter_bar).size() > 40; })) << "no meter";
    game.settle(0.3);
    const Picture behind = grab(*display, game);
    const auto bars = find(behind, is_meter_bar);
    game.screenshot("aiming_view_behind_walls");

    // The putt runs away from the pointer; on screen the tilt flattens it toward the
    // horizontal. Neither line may pass over the meter, which stands behind the ball.
    const double awayX = BALL_X - pointerX, awayY = pointerY - BALL_Y;
    const double flatX = 0.894, flatY = 0.224;   // away, as the tilted ground shows it
    double nearest = 1e9, ahead = 0;
    for (const auto& p : bars) {
        nearest = std::min({nearest, from_ray(p, awayX, awayY), from_ray(p, flatX, flatY)});
        ahead += (p[0] * awayX + p[1] * awayY) / std::hypot(awayX, awayY) / static_cast<double>(bars.size());
    }
    EXPECT_GT(nearest, 15.0) << "the meter lies on the ball's path";
    EXPECT_LT(ahead, 0.0) << "the meter stands ahead of the ball";

    // The ball behind the first block shows through it, ringed in white; so does the cup's
    // opening behind the second block (at (28, 12): 181 right of the ball and 90 up, a step
    // lower).
    EXPECT_GE(find(behind, is_light, 300, 225, 4, 4).size(), 70u) << "the hidden ball is not drawn over the wall";
    EXPECT_GE(white_round_ball(behind), 36) << "no ring round the hidden ball";
    EXPECT_GE(find(behind, is_pure_white, 481, 142, 25, 15).size(), 30u) << "no outline of the hidden cup";

    // Turned to look from the other side, nothing hides them, and neither is marked.
    game.click(520, 415);   // "<" twice
    game.click(520, 415);
    game.move(pointerX, pointerY);
    game.settle(0.6);
    Picture turned;
    EXPECT_TRUE(soon(game, [&] {
        turned = grab(*display, game);
        return white_round_ball(turned) <= 4 && find(turned, is_pure_white, 119, 323, 25, 15).size() <= 4;
    })) << "marks shown round a ball and a cup in plain view";
    game.screenshot("aiming_view_turned");
    EXPECT_GT(find(turned, is_meter_bar).size(), 40u);
}
