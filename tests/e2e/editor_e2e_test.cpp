// The hole editor driven with the mouse: tools chosen from the Edit menu, previews under the
// pointer, a small hole built, saved, opened again and putted.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "hole/hole_file.h"
#include "hole/hole_grid.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"

namespace {

constexpr int W = 600, H = 450;

// Where world point (x, y, z) appears in the window (pixels, y from the top) with the editor's
// starting camera: turned 45 degrees, tilted 60, zoom 1, centred on the world origin.
Point world_pixel(double x, double y, double z)
{
    const double a = 45 * M_PI / 180;
    const double rx = std::cos(a) * x - std::sin(a) * y;
    const double ry = std::sin(a) * x + std::cos(a) * y;
    const double t = -60 * M_PI / 180;
    const double ey = std::cos(t) * ry - std::sin(t) * z;
    const double halfW = W / 2 - 1, halfH = H / 2 - 1;
    const double winX = (rx / halfW + 1) / 2 * W;
    const double winY = (ey / halfH + 1) / 2 * H;
    return {static_cast<int>(std::lround(winX)), H - 1 - static_cast<int>(std::lround(winY))};
}

// The pixel showing offsets (dx, dy) of tile (i, j), whose top is at height steps.
Point tile_pixel(int i, int j, double dx, double dy, int height)
{
    return world_pixel(i * 64 - 1536 + dx, j * 64 - 1536 + dy, height * 32.0);
}

// The Edit menu's tool entries, top to bottom (below Undo, Redo and a separator).
enum EditEntry { EDIT_BLOCKS, EDIT_CONVEYORS, EDIT_OSCILLATING, EDIT_WARPS, EDIT_WATER, EDIT_SAND, EDIT_BUMPERS,
                 EDIT_RAILINGS, EDIT_PLACE_BALL, EDIT_NOTHING };

// The preview lines: drawn white over the line texture, they come out bright yellow.
bool is_preview_colour(const Rgb& c) { return c.r >= 245 && c.g > 200 && c.r > c.g && c.b < 210; }

// Drives the editor's tools with the mouse.
struct EditorDriver {
    GameSession& game;

    void choose(EditEntry entry)
    {
        game.click(50, 10);
        game.click(60, 38 + 26 * (3 + static_cast<int>(entry)));
    }
    // Points at a spot of a tile and lets a frame preview it.
    Point point_at(int i, int j, double dx, double dy, int height)
    {
        const Point p = tile_pixel(i, j, dx, dy, height);
        game.move(p.x, p.y);
        game.settle(0.1);
        return p;
    }
    void click(int i, int j, double dx, double dy, int height, int button = 1)
    {
        const Point p = point_at(i, j, dx, dy, height);
        game.click(p.x, p.y, button);
        game.settle(0.1);
    }
    // Counts the preview's pixels of the preview within a box around the pixel of a world point.
    int white_near(Point p, int radius = 3)
    {
        int count = 0;
        for (int y = p.y - radius; y <= p.y + radius; ++y)
            for (int x = p.x - radius; x <= p.x + radius; ++x) count += is_preview_colour(game.pixel(x, y));
        return count;
    }
};

// Counts the preview-coloured pixels of a screenshot inside a box (window pixels, y from the top).
int preview_pixels(const std::string& png, int x0, int y0, int x1, int y1)
{
    const std::string geometry = std::to_string(x1 - x0 + 1) + "x" + std::to_string(y1 - y0 + 1) + "+" +
                                 std::to_string(x0) + "+" + std::to_string(y0);
    std::istringstream in(run_command("convert '" + png + "' -crop " + geometry + " -depth 8 -compress none ppm:-"));
    std::string magic;
    int w = 0, h = 0, maxValue = 0;
    if (!(in >> magic >> w >> h >> maxValue) || magic != "P3") return -1;
    int count = 0;
    for (int k = 0; k < w * h; ++k) {
        Rgb c{};
        if (!(in >> c.r >> c.g >> c.b)) return -1;
        count += is_preview_colour(c);
    }
    return count;
}

// "Putt" is shown: its button's face is grey.
bool putt_shown(GameSession& game)
{
    for (int x = W - 90; x < W - 20; x += 7)
        if (is_grey_widget(game.pixel(x, 42))) return true;
    return false;
}

class EditorTest : public DisplayTest {};

}  // namespace



// The hole the test builds, as the editor should store it.
HoleGrid expected_hole()
{
    HoleGrid grid;
    clear_hole(grid);
    for (int i = 22; i <= 27; ++i) grid.height_at(i, 24) = 1;
    grid.height_at(24, 26) = 1;
    grid.kind_at(24, 26) = KIND_WATER;
    grid.height_at(26, 26) = 1;
    grid.kind_at(26, 26) = 3;                    // ramp rising toward +x
    grid.edges_at(24, 24) = EDGE_RAIL_YMIN | EDGE_RAIL_YMAX;
    grid.edges_at(23, 26) = EDGE_RAIL_DIAG_MAIN;
    grid.edges_at(27, 24) = EDGE_CUP;
    grid.kind_at(22, 21) = -100;
    grid.kind_at(26, 21) = -200;
    grid.tee = Tee{1, 22 * 64 - 1536, 24 * 64 - 1536};
    return grid;
}

// The tiles where the hole file differs from the expected hole, for the failure message.
std::string differences(const std::string& path, const HoleGrid& expected)
{
    HoleGrid got;
    std::string error;
    if (!read_hole_file(got, path, &error)) return "unreadable: " + error;
    std::string out;
    for (int i = 0; i < GRID_SIZE; ++i)
        for (int j = 0; j < GRID_SIZE; ++j)
            if (got.height_at(i, j) != expected.height_at(i, j) || got.kind_at(i, j) != expected.kind_at(i, j) ||
                got.edges_at(i, j) != expected.edges_at(i, j))
                out += "(" + std::to_string(i) + "," + std::to_string(j) + ") got " + std::to_string(got.height_at(i, j)) +
                       "/" + std::to_string(got.kind_at(i, j)) + "/" + std::to_string(got.edges_at(i, j)) + " want " +
                       std::to_string(expected.height_at(i, j)) + "/" + std::to_string(expected.kind_at(i, j)) + "/" +
                       std::to_string(expected.edges_at(i, j)) + "\n";
    out += "tee " + std::to_string(got.tee.level) + "," + std::to_string(got.tee.x) + "," + std::to_string(got.tee.y);
    return out;
}

TEST_F(EditorTest, ABuiltHoleIsSavedOpenedAgainAndPutted)
{
    GameSession game(*display);
    ASSERT_TRUE(start_editor(game));
    EditorDriver editor{game};

    editor.choose(EDIT_BLOCKS);
    // far tiles first: a raised tile hides the floor just behind it
    for (int i = 27; i >= 22; --i) editor.click(i, 24, 32, 32, 0);
    editor.click(24, 26, 32, 32, 0);
    editor.click(26, 26, 60, 32, 0);       // side click: a ramp up toward +x
    game.screenshot("build_blocks");

    editor.choose(EDIT_RAILINGS);
    editor.click(24, 24, 32, 4, 1);
    editor.click(24, 24, 32, 60, 1);
    editor.click(23, 26, 16, 16, 0);       // the main diagonal
    editor.click(27, 24, 32, 32, 1);       // the cup
    editor.choose(EDIT_WATER);
    editor.click(24, 26, 32, 32, 1);
    editor.choose(EDIT_WARPS);
    editor.click(22, 21, 32, 32, 0);
    editor.click(26, 21, 32, 32, 0);
    editor.choose(EDIT_PLACE_BALL);
    editor.click(22, 24, 32, 32, 1);
    game.screenshot("build_complete");

    // saved through the dialog, byte for byte the hole that was built
    ASSERT_TRUE(save_hole_as(game, "built")) << game.title();
    const std::string saved = game.read_file("holes/built.top");
    const HoleGrid expected = expected_hole();
    EXPECT_TRUE(saved == format_hole(expected)) << differences(game.file("holes/built.top"), expected);

    // New empties the hole; Open brings it back
    choose_file_entry(game, FILE_NEW);
    const Point yes = yes_button(W, H);
    game.click(yes.x, yes.y);
    ASSERT_TRUE(game.wait_title("No File Loaded."));
    game.screenshot("build_new");
    choose_file_entry(game, FILE_OPEN);
    game.type("built");
    const Point confirm = chooser_confirm(W, H);
    game.click(confirm.x, confirm.y);
    ASSERT_TRUE(game.wait_title("built.top")) << game.title();
    editor.choose(EDIT_NOTHING);
    game.settle(0.5);
    game.screenshot("build_reopened");
    EXPECT_TRUE(putt_shown(game));

    // putt from the tee straight along +x into the cup
    game.click(W - 55, 30);                // "Putt"
    game.settle(0.5);
    const int d = 25;                      // power trunc((25 + 25) / 2) * 0.8 = 20
    game.move(W / 2 - d, H / 2 + d);
    game.settle(0.3);
    game.screenshot("build_aim");
    game.click(W / 2 - d, H / 2 + d);
    game.settle(5.0);
    game.screenshot("build_putted");
    // holed: the ball is out of play and no "Putt" comes back (a ball at rest anywhere would bring it)
    EXPECT_FALSE(putt_shown(game));
}

TEST_F(EditorTest, EveryToolPreviewsOnTheTileUnderThePointer)
{
    GameSession game(*display);
    ASSERT_TRUE(start_editor(game));
    EditorDriver editor{game};
    editor.choose(EDIT_BLOCKS);
    editor.click(24, 24, 32, 32, 0);
    editor.click(26, 24, 32, 32, 0);
    editor.click(26, 24, 60, 32, 1);       // a ramp for the ramp-side railing

    struct Case {
        EditEntry entry;
        const char* name;
        int i;
        double dx, dy;
        int height;
    };
    const Case cases[] = {
        {EDIT_BLOCKS, "blocks_side", 24, 32, 5, 1},       {EDIT_BLOCKS, "blocks_corner", 24, 60, 60, 1},
        {EDIT_RAILINGS, "railings_side", 24, 60, 32, 1},  {EDIT_RAILINGS, "railings_diagonal", 24, 16, 16, 1},
        {EDIT_RAILINGS, "railings_cup", 24, 32, 32, 1},   {EDIT_RAILINGS, "railings_ramp", 26, 32, 58, 2},
        {EDIT_CONVEYORS, "conveyor", 24, 60, 32, 1},      {EDIT_OSCILLATING, "oscillating", 24, 32, 32, 1},
        {EDIT_PLACE_BALL, "place_ball", 24, 32, 32, 1},   {EDIT_WARPS, "warp_entry", 24, 32, 32, 1},
        {EDIT_WATER, "water", 24, 32, 32, 1},             {EDIT_SAND, "sand", 24, 32, 32, 1},
        {EDIT_BUMPERS, "bumper", 24, 32, 32, 1},
    };
    for (const Case& c : cases) {
        editor.choose(c.entry);
        const Point p = editor.point_at(c.i, 24, c.dx, c.dy, c.height);
        game.settle(0.2);
        const std::string png = game.screenshot(std::string("preview_") + c.name);
        EXPECT_GT(preview_pixels(png, p.x - 40, p.y - 45, p.x + 40, p.y + 30), 0) << c.name;
    }
    // where a click would do nothing, nothing is drawn: water on the floor
    editor.choose(EDIT_WATER);
    const Point floor = editor.point_at(20, 20, 32, 32, 0);
    game.settle(0.2);
    const std::string png = game.screenshot("preview_water_on_floor");
    EXPECT_EQ(preview_pixels(png, floor.x - 40, floor.y - 30, floor.x + 40, floor.y + 30), 0);
}

TEST_F(EditorTest, ATapEditsTheTileTappedAndMenuClicksEditNothing)
{
    GameSession game(*display);
    ASSERT_TRUE(start_editor(game));
    EditorDriver editor{game};
    editor.choose(EDIT_BLOCKS);
    editor.point_at(24, 24, 32, 32, 0);   // the preview stands on (24, 24)
    game.settle(0.3);
    const Point tapped = tile_pixel(26, 22, 32, 32, 0);
    game.tap(tapped.x, tapped.y);
    game.settle(0.3);
    game.screenshot("editor_tapped");

    // Save As with the Blocks tool still chosen: the menu's clicks must not edit the hole
    ASSERT_TRUE(save_hole_as(game, "tapped")) << game.title();
    HoleGrid expected;
    clear_hole(expected);
    expected.height_at(26, 22) = 1;
    EXPECT_TRUE(game.read_file("holes/tapped.top") == format_hole(expected))
        << differences(game.file("holes/tapped.top"), expected);
}
