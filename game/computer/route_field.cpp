#include "game/computer/route_field.h"

#include <cmath>
#include <functional>
#include <queue>
#include <utility>

namespace {

int cell(int i, int j) { return i * GRID_SIZE + j; }

bool has_cup(int edges) { return edges > 0 && (edges & EDGE_CUP); }

bool playable(const HoleGrid& g, int i, int j)
{
    int h = g.height_at(i, j), k = g.kind_at(i, j);
    if (has_cup(g.edges_at(i, j))) return true;
    if (k == KIND_WATER) return false;
    if (h <= 0) return is_warp_entry_code(k);
    return true;
}

// Side s of a tile: 0 = +y, 1 = +x, 2 = -y, 3 = -x.
const int SIDE_DI[4] = {0, 1, 0, -1};
const int SIDE_DJ[4] = {1, 0, -1, 0};
const int SIDE_RAIL[4] = {EDGE_RAIL_YMAX, EDGE_RAIL_XMAX, EDGE_RAIL_YMIN, EDGE_RAIL_XMIN};

bool railed_side(const HoleGrid& g, int i, int j, int side)
{
    int e = g.edges_at(i, j), k = g.kind_at(i, j);
    if (e > 0) return (e & SIDE_RAIL[side]) != 0;
    if (e < 0 && is_ramp(k)) {
        // Ramp railings run along the long sides: x sides for ramps 0 and 2, y sides for 1 and 3.
        bool alongX = k == 0 || k == 2;
        bool low = e == EDGE_RAMP_RAIL_LOW || e == EDGE_RAMP_RAIL_BOTH;
        bool high = e == EDGE_RAMP_RAIL_HIGH || e == EDGE_RAMP_RAIL_BOTH;
        if (alongX) return (side == 3 && low) || (side == 1 && high);
        return (side == 2 && low) || (side == 0 && high);
    }
    return false;
}

// Height of a tile's surface at side s, in levels.
float side_level(const HoleGrid& g, int i, int j, int side)
{
    int h = g.height_at(i, j), k = g.kind_at(i, j);
    if (!is_ramp(k)) return static_cast<float>(h);
    // The side a ramp rises toward: 0 -> +y (side 0), 1 -> -x (3), 2 -> -y (2), 3 -> +x (1).
    static const int HIGH_SIDE[4] = {0, 3, 2, 1};
    int high = HIGH_SIDE[k];
    if (side == high) return static_cast<float>(h);
    if (side == (high + 2) % 4) return static_cast<float>(h - 1);
    return h - 0.5f;
}

// Can a rolling ball get from tile a across side s into its neighbour b?
bool can_cross(const HoleGrid& g, int ai, int aj, int side)
{
    int bi = ai + SIDE_DI[side], bj = aj + SIDE_DJ[side];
    if (!tile_in_grid(bi, bj) || !playable(g, bi, bj)) return false;
    if (railed_side(g, ai, aj, side) || railed_side(g, bi, bj, (side + 2) % 4)) return false;
    // Down or level is fine; a ball cannot climb a step.
    return side_level(g, bi, bj, (side + 2) % 4) <= side_level(g, ai, aj, side) + 0.01f;
}

double wrap_degrees(double a)
{
    a = std::remainder(a, 360.0);
    return a <= -180.0 ? a + 360.0 : a;
}

}  // namespace

std::vector<float> route_distance_field(const HoleGrid& g)
{
    std::vector<float> field(GRID_SIZE * GRID_SIZE, ROUTE_FAR);
    using Item = std::pair<float, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> open;
    for (int i = 0; i < GRID_SIZE; ++i)
        for (int j = 0; j < GRID_SIZE; ++j)
            if (has_cup(g.edges_at(i, j))) {
                field[cell(i, j)] = 0;
                open.push({0.0f, cell(i, j)});
            }
    while (!open.empty()) {
        // Plain copies: a lambda cannot capture structured bindings on every compiler we use.
        const float d = open.top().first;
        const int c = open.top().second;
        open.pop();
        if (d > field[c]) continue;
        int bi = c / GRID_SIZE, bj = c % GRID_SIZE;
        auto relax = [&](int ai, int aj, float cost) {
            if (!tile_in_grid(ai, aj) || !playable(g, ai, aj)) return;
            if (d + cost < field[cell(ai, aj)]) {
                field[cell(ai, aj)] = d + cost;
                open.push({d + cost, cell(ai, aj)});
            }
        };
        // Tiles a ball can roll from into b.
        for (int side = 0; side < 4; ++side) {
            int ai = bi - SIDE_DI[side], aj = bj - SIDE_DJ[side];
            if (tile_in_grid(ai, aj) && playable(g, ai, aj) && can_cross(g, ai, aj, side)) relax(ai, aj, 1.0f);
        }
        // A warp entry leads to its exit at no cost.
        for (int n = 0; n < g.warps.warpCount; ++n) {
            const WarpPair& pair = g.warps.pairs[n];
            if (pair.exitI == bi && pair.exitJ == bj) relax(pair.entryI, pair.entryJ, 0.0f);
        }
    }
    return field;
}

bool tile_at(double x, double y, int& i, int& j)
{
    i = static_cast<int>(std::floor((x - GRID_ORIGIN) / TILE_SIZE));
    j = static_cast<int>(std::floor((y - GRID_ORIGIN) / TILE_SIZE));
    return tile_in_grid(i, j);
}

float route_distance_at(const std::vector<float>& field, double x, double y)
{
    int i = 0, j = 0;
    if (!tile_at(x, y, i, j) || field.size() != static_cast<size_t>(GRID_SIZE * GRID_SIZE)) return ROUTE_FAR;
    return field[cell(i, j)];
}

bool cup_centre(const HoleGrid& grid, double out[2])
{
    for (int i = 0; i < GRID_SIZE; ++i)
        for (int j = 0; j < GRID_SIZE; ++j)
            if (has_cup(grid.edges_at(i, j))) {
                out[0] = tile_corner(i) + 32.0;
                out[1] = tile_corner(j) + 32.0;
                return true;
            }
    return false;
}

std::vector<double> route_directions(const HoleGrid& grid, const std::vector<float>& field, double x, double y,
                                     double avoid, int maxCount, double minApart)
{
    std::vector<double> out;
    int i = 0, j = 0;
    if (!tile_at(x, y, i, j) || field[cell(i, j)] >= ROUTE_FAR) return out;
    // Walk down the field: each step to the neighbour the ball can roll into that is nearest
    // the cup (warps end the walk: what lies beyond is not in line).
    std::vector<std::pair<int, int>> path;
    for (int guard = 0; guard < 2 * GRID_SIZE && field[cell(i, j)] > 0; ++guard) {
        int bestI = -1, bestJ = -1;
        float best = field[cell(i, j)];
        for (int side = 0; side < 4; ++side) {
            const int ni = i + SIDE_DI[side], nj = j + SIDE_DJ[side];
            if (!tile_in_grid(ni, nj) || !can_cross(grid, i, j, side)) continue;
            if (field[cell(ni, nj)] < best) {
                best = field[cell(ni, nj)];
                bestI = ni;
                bestJ = nj;
            }
        }
        if (bestI < 0) break;
        i = bestI;
        j = bestJ;
        path.push_back({i, j});
    }
    // The far end of the walk first: the longest line that still follows the route.
    for (int n = static_cast<int>(path.size()) - 1; n >= 1 && static_cast<int>(out.size()) < maxCount; n = n * 2 / 3) {
        const double tx = tile_corner(path[n].first) + 32.0, ty = tile_corner(path[n].second) + 32.0;
        const double a = std::atan2(ty - y, tx - x) * 57.29577951308232;
        bool apart = std::fabs(wrap_degrees(a - avoid)) > minApart;
        for (double b : out) apart = apart && std::fabs(wrap_degrees(a - b)) > minApart;
        if (apart) out.push_back(a);
    }
    return out;
}
