// What each editor tool would do on the tile under the pointer, decided by the region of the
// tile the pointer is in, and the white outline that shows it.
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "editor/editor_tools.h"

namespace {

// Ranges include both ends.
bool within(float value, float low, float high) { return value >= low && value <= high; }
bool in_box(const TileSpot& s, float u0, float u1, float v0, float v1) { return within(s.dx, u0, u1) && within(s.dy, v0, v1); }
bool inside_tile(const TileSpot& s) { return in_box(s, 0, 64, 0, 64); }

struct P2 {
    double x, y;
};

// Barycentric point-in-triangle test; a point on an edge counts as inside.
bool in_triangle(double px, double py, P2 a, P2 b, P2 c)
{
    const double d = (b.y - c.y) * (a.x - c.x) + (c.x - b.x) * (a.y - c.y);
    if (d == 0) return false;
    const double l1 = ((b.y - c.y) * (px - c.x) + (c.x - b.x) * (py - c.y)) / d;
    const double l2 = ((c.y - a.y) * (px - c.x) + (a.x - c.x) * (py - c.y)) / d;
    const double l3 = 1.0 - l1 - l2;
    const double eps = 1e-6;   // pointer offsets are floats: a corner given in float is still on it
    return l1 >= -eps && l2 >= -eps && l3 >= -eps;
}

// The diagonal railing band of the main diagonal, 5 units to either side of it, in two pieces
// (one from each end corner) that leave the tile's middle to the cup.
constexpr double D_A = 7.0710678, D_B = 24.928932, D_C = 39.071068, D_D = 56.928932;
const P2 MAIN_TRIANGLES[4][3] = {
    {{D_A, 0}, {32, D_B}, {D_B, 32}},
    {{D_A, 0}, {D_B, 32}, {0, D_A}},
    {{D_C, 32}, {64, D_D}, {D_D, 64}},
    {{D_C, 32}, {D_D, 64}, {32, D_C}},
};

bool in_main_band(double u, double v)
{
    for (const auto& t : MAIN_TRIANGLES)
        if (in_triangle(u, v, t[0], t[1], t[2])) return true;
    return false;
}

int ramp_side_result(int kind, const TileSpot& s)
{
    const float offset = (kind == 0 || kind == 2) ? s.dx : s.dy;
    return offset < 32 ? EDGE_RAMP_RAIL_LOW : EDGE_RAMP_RAIL_HIGH;
}

int railings_result(int h, int kind, const TileSpot& s)
{
    if (is_ramp(kind)) return ramp_side_result(kind, s);
    if (in_main_band(s.dx, s.dy)) return EDGE_RAIL_DIAG_MAIN;
    if (in_main_band(64.0 - s.dx, s.dy)) return EDGE_RAIL_DIAG_ANTI;
    if (h >= 1 && in_box(s, D_B, D_C, D_B, D_C)) return EDGE_CUP;
    if (in_box(s, 10, 54, 54, 64)) return EDGE_RAIL_YMAX;
    if (in_box(s, 54, 64, 10, 54)) return EDGE_RAIL_XMAX;
    if (in_box(s, 10, 54, 0, 10)) return EDGE_RAIL_YMIN;
    if (in_box(s, 0, 10, 10, 54)) return EDGE_RAIL_XMIN;
    return 0;
}

int blocks_result(int h, int kind, const TileSpot& s)
{
    if (is_ramp(kind)) return RESULT_FLAT_BLOCK;
    if (in_box(s, 10, 54, 0, 10)) return 2;
    if (in_box(s, 54, 64, 10, 54)) return 3;
    if (in_box(s, 10, 54, 54, 64)) return 0;
    if (in_box(s, 0, 10, 10, 54)) return 1;
    if (h >= 1) {
        if (in_box(s, 0, 10, 0, 10)) return 4;
        if (in_box(s, 54, 64, 0, 10)) return 5;
        if (in_box(s, 54, 64, 54, 64)) return 6;
        if (in_box(s, 0, 10, 54, 64)) return 7;
    }
    return RESULT_FLAT_BLOCK;
}

int conveyor_result(const TileSpot& s)
{
    if (in_box(s, 16, 48, 0, 16)) return -5;
    if (in_box(s, 48, 64, 16, 48)) return -4;
    if (in_box(s, 16, 48, 48, 64)) return -3;
    if (in_box(s, 0, 16, 16, 48)) return -2;
    return 0;
}

// Drawing in tile offsets (u, v) at a height above the tile's top.
struct Pen {
    PreviewDrawing& out;
    float cx, cy, z;
    void segment(float u0, float v0, float u1, float v1, float h0 = 0, float h1 = 0)
    {
        out.lines.push_back({cx + u0, cy + v0, z + h0});
        out.lines.push_back({cx + u1, cy + v1, z + h1});
    }
    void loop(std::initializer_list<std::pair<float, float>> corners)
    {
        const auto* first = corners.begin();
        for (const auto* p = first; p != corners.end(); ++p) {
            const auto* q = (p + 1 == corners.end()) ? first : p + 1;
            segment(p->first, p->second, q->first, q->second);
        }
    }
    void rect(float u0, float v0, float u1, float v1) { loop({{u0, v0}, {u1, v0}, {u1, v1}, {u0, v1}}); }
    void arrow_up(float u, float v, float from, float to)
    {
        // a vertical shaft with a head at "to"
        const float head = to > from ? -6.0f : 6.0f;
        segment(u, v, u, v, from, to);
        segment(u, v, u - 4, v, to, to + head);
        segment(u, v, u + 4, v, to, to + head);
    }
    void point(float u, float v) { out.points.push_back({cx + u, cy + v, z}); }
};

// Height above the tile's top of a point on a ramp rising in direction kind.
float ramp_rise(int kind, float u, float v)
{
    switch (kind) {
    case 0: return -32.0f + v * 0.5f;
    case 1: return -32.0f + (64.0f - u) * 0.5f;
    case 2: return -32.0f + (64.0f - v) * 0.5f;
    default: return -32.0f + u * 0.5f;
    }
}

// An outline of the rectangle (u0, v0)-(u1, v1) lying on a ramp's slope.
void ramp_rect(Pen& pen, int kind, float u0, float v0, float u1, float v1)
{
    const float us[4] = {u0, u1, u1, u0}, vs[4] = {v0, v0, v1, v1};
    for (int k = 0; k < 4; ++k) {
        const int n = (k + 1) % 4;
        pen.segment(us[k], vs[k], us[n], vs[n], ramp_rise(kind, us[k], vs[k]), ramp_rise(kind, us[n], vs[n]));
    }
}

void draw_blocks(Pen& pen, int kind, int result)
{
    if (is_ramp(kind)) {
        ramp_rect(pen, kind, 0, 0, 64, 64);
        return;
    }
    switch (result) {
    case 2: pen.rect(0, 0, 64, 20); break;
    case 3: pen.rect(44, 0, 64, 64); break;
    case 0: pen.rect(0, 44, 64, 64); break;
    case 1: pen.rect(0, 0, 20, 64); break;
    case 4: pen.loop({{0, 0}, {64, 0}, {0, 64}}); break;
    case 5: pen.loop({{0, 0}, {64, 0}, {64, 64}}); break;
    case 6: pen.loop({{64, 0}, {64, 64}, {0, 64}}); break;
    case 7: pen.loop({{0, 0}, {64, 64}, {0, 64}}); break;
    default: pen.rect(0, 0, 64, 64); break;
    }
}

void draw_cup_outline(Pen& pen)
{
    const float a = 18, b = 26.20101013f, c = 37.79898987f, d = 46;
    pen.loop({{b, a}, {c, a}, {d, b}, {d, c}, {c, d}, {b, d}, {a, c}, {a, b}});
}

void draw_railings(Pen& pen, int kind, int result)
{
    const float t = RAIL_THICKNESS;
    if (is_ramp(kind)) {
        const bool alongY = kind == 0 || kind == 2;
        const float low = result == EDGE_RAMP_RAIL_LOW ? 0.0f : 64.0f - t;
        if (alongY) ramp_rect(pen, kind, low, 0, low + t, 64);
        else ramp_rect(pen, kind, 0, low, 64, low + t);
        return;
    }
    const float a = static_cast<float>(D_A), d = static_cast<float>(D_D);
    switch (result) {
    case EDGE_RAIL_DIAG_MAIN: pen.loop({{a, 0}, {64, d}, {d, 64}, {0, a}}); break;
    case EDGE_RAIL_DIAG_ANTI: pen.loop({{64 - a, 0}, {0, d}, {64 - d, 64}, {64, a}}); break;
    case EDGE_CUP: draw_cup_outline(pen); break;
    case EDGE_RAIL_YMAX: pen.rect(0, 64 - t, 64, 64); break;
    case EDGE_RAIL_XMAX: pen.rect(64 - t, 0, 64, 64); break;
    case EDGE_RAIL_YMIN: pen.rect(0, 0, 64, t); break;
    case EDGE_RAIL_XMIN: pen.rect(0, 0, t, 64); break;
    default: break;
    }
}

void draw_place_ball(Pen& pen)
{
    pen.rect(28, 28, 36, 36);
    pen.segment(0, 0, 6, 0);
    pen.segment(0, 0, 0, 6);
    pen.segment(64, 0, 58, 0);
    pen.segment(64, 0, 64, 6);
    pen.segment(64, 64, 58, 64);
    pen.segment(64, 64, 64, 58);
    pen.segment(0, 64, 6, 64);
    pen.segment(0, 64, 0, 58);
}

void draw_warp(Pen& pen, int result)
{
    // an entry zigzags along x, an exit along y
    float prevA = 4, prevB = 32;
    for (int k = 1; k <= 8; ++k) {
        const float a = 4 + 7.0f * k;
        const float b = (k % 2) ? 12.0f : 52.0f;
        if (result == RESULT_WARP_ENTRY) pen.segment(prevA, prevB, a, b);
        else pen.segment(prevB, prevA, b, a);
        prevA = a;
        prevB = b;
    }
}

void draw_water(Pen& pen)
{
    const float pi = 3.14159265f;
    for (float line : {16.0f, 32.0f, 48.0f}) {
        for (int k = 0; k < 16; ++k) {
            const float u0 = 4.0f * k, u1 = u0 + 4.0f;
            pen.segment(u0, line + 4.0f * std::sin(u0 * pi / 16), u1, line + 4.0f * std::sin(u1 * pi / 16));
        }
    }
}

void draw_sand(Pen& pen)
{
    for (int row = 0; row < 16; ++row) {
        const float v = 2.0f + 4.0f * row;
        const float start = (row % 2) ? 4.0f : 2.0f;   // rows between the main rows are offset
        for (float u = start; u <= 62.0f; u += 4.0f) pen.point(u, v);
    }
}

void draw_bumper(Pen& pen)
{
    // a regular octagon 12 units across the flats, bottom and top ring and its edges
    const float r = 6.0f / std::cos(3.14159265f / 8);
    float u[8], v[8];
    for (int k = 0; k < 8; ++k) {
        const float angle = 3.14159265f / 8 + k * 3.14159265f / 4;
        u[k] = 32 + r * std::cos(angle);
        v[k] = 32 + r * std::sin(angle);
    }
    for (int k = 0; k < 8; ++k) {
        const int n = (k + 1) % 8;
        pen.segment(u[k], v[k], u[n], v[n]);
        pen.segment(u[k], v[k], u[n], v[n], 20, 20);
        pen.segment(u[k], v[k], u[k], v[k], 0, 20);
    }
}

void draw_conveyor(Pen& pen, int result)
{
    // from the far side through the middle to the side the belt carries toward
    float u0 = 32, v0 = 32, u1 = 32, v1 = 32;
    switch (result) {
    case -5: v0 = 56; v1 = 8; break;
    case -4: u0 = 8; u1 = 56; break;
    case -3: v0 = 8; v1 = 56; break;
    default: u0 = 56; u1 = 8; break;
    }
    pen.segment(u0, v0, u1, v1);
    const float du = (u1 - u0) / 48.0f * 10.0f, dv = (v1 - v0) / 48.0f * 10.0f;
    pen.segment(u1, v1, u1 - du - dv, v1 - dv + du);
    pen.segment(u1, v1, u1 - du + dv, v1 - dv - du);
}

void draw_oscillating(Pen& pen)
{
    pen.rect(0, 0, 64, 64);
    pen.arrow_up(21, 32, 32, 64);
    pen.arrow_up(42, 32, 64, 32);
}

void draw_preview(Pen& pen, EditorTool tool, int kind, int result)
{
    if (tool == EditorTool::Blocks) {
        draw_blocks(pen, kind, result);
        return;
    }
    if (result == RESULT_NOTHING) return;   // a click would do nothing here
    switch (tool) {
    case EditorTool::Railings: draw_railings(pen, kind, result); break;
    case EditorTool::Conveyors: draw_conveyor(pen, result); break;
    case EditorTool::OscillatingBlocks: draw_oscillating(pen); break;
    case EditorTool::PlaceBall: draw_place_ball(pen); break;
    case EditorTool::WarpZones: draw_warp(pen, result); break;
    case EditorTool::Water: draw_water(pen); break;
    case EditorTool::Sand: draw_sand(pen); break;
    case EditorTool::Bumpers: draw_bumper(pen); break;
    default: break;
    }
}

}  // namespace

TileSpot locate_tile(float x, float y)
{
    TileSpot spot;
    // Far-off or undefined points (the cleared background) are no tile.
    if (!(std::fabs(x) < 1.0e6f) || !(std::fabs(y) < 1.0e6f)) return spot;
    const int tx = static_cast<int>(x), ty = static_cast<int>(y);   // toward zero
    const auto step_down = [](int v) { return v >= 0 ? v - v % 64 : v - ((v % 64) + 64) % 64; };
    const int cx = step_down(tx), cy = step_down(ty);
    spot.i = (cx + 1536) / 64;
    spot.j = (cy + 1536) / 64;
    spot.cornerX = static_cast<float>(cx);
    spot.cornerY = static_cast<float>(cy);
    spot.dx = x - spot.cornerX;
    spot.dy = y - spot.cornerY;
    spot.valid = tile_in_grid(spot.i, spot.j) && cx >= -1536;
    return spot;
}

bool is_tee_tile(const HoleGrid& grid, int i, int j)
{
    const Tee& tee = grid.tee;
    if (tee.level == -1 && tee.x == -1 && tee.y == -1) return false;
    return i == tee_tile_index(tee.x) && j == tee_tile_index(tee.y);
}

bool is_bare_tile(const HoleGrid& grid, int i, int j)
{
    const int kind = grid.kind_at(i, j);
    return (kind == KIND_PLAIN || kind >= KIND_HALF_GRASS_FIRST) && grid.edges_at(i, j) == 0;
}

int preview_result(const HoleGrid& grid, EditorTool tool, const TileSpot& s)
{
    const int h = grid.height_at(s.i, s.j), kind = grid.kind_at(s.i, s.j);
    const bool bare = is_bare_tile(grid, s.i, s.j) && inside_tile(s);
    const bool bareOffTee = bare && !is_tee_tile(grid, s.i, s.j);
    switch (tool) {
    case EditorTool::Blocks: return blocks_result(h, kind, s);
    case EditorTool::Railings: return railings_result(h, kind, s);
    case EditorTool::Conveyors: return (!is_ramp(kind) && h >= 1) ? conveyor_result(s) : 0;
    case EditorTool::OscillatingBlocks: return (!is_ramp(kind) && inside_tile(s)) ? KIND_OSCILLATING_BLOCK : 0;
    case EditorTool::PlaceBall: return bare ? RESULT_PLACE_BALL : 0;
    case EditorTool::WarpZones:
        if (!bareOffTee) return 0;
        return grid.warps.warpPending == 0 ? RESULT_WARP_ENTRY : RESULT_WARP_EXIT;
    case EditorTool::Water: return (bareOffTee && h >= 1) ? KIND_WATER : 0;
    case EditorTool::Sand: return (bareOffTee && h >= 1) ? KIND_SAND : 0;
    case EditorTool::Bumpers: return bareOffTee ? KIND_BUMPER : 0;
    default: return 0;
    }
}

ToolPreview tool_preview(const HoleGrid& grid, EditorTool tool, float x, float y, PreviewDrawing* drawing)
{
    ToolPreview preview;
    if (drawing) drawing->clear();
    if (tool == EditorTool::Nothing) return preview;
    const TileSpot spot = locate_tile(x, y);
    if (!spot.valid) return preview;
    preview.noTile = false;
    preview.tileI = spot.i;
    preview.tileJ = spot.j;
    preview.cornerX = spot.cornerX;
    preview.cornerY = spot.cornerY;
    preview.result = preview_result(grid, tool, spot);
    if (drawing) {
        const int h = grid.height_at(spot.i, spot.j);
        Pen pen{*drawing, spot.cornerX, spot.cornerY, static_cast<float>(static_cast<int64_t>(h) * 32 + 1)};
        draw_preview(pen, tool, grid.kind_at(spot.i, spot.j), preview.result);
    }
    return preview;
}
