#include "hole/hole_reach.h"

#include <vector>

#include "hole/hole_check.h"

namespace {

// A tile is split into four triangles toward its sides, in the order of the edge bits.
enum Quarter { Q_YMAX = 0, Q_XMAX = 1, Q_YMIN = 2, Q_XMIN = 3 };
constexpr int DI[4] = {0, 1, 0, -1};
constexpr int DJ[4] = {1, 0, -1, 0};

// The side a ramp rises toward (kinds 0..3 rise toward +y, -x, -y, +x).
int high_side(int kind)
{
    constexpr int sides[4] = {Q_YMAX, Q_XMIN, Q_YMIN, Q_XMAX};
    return sides[kind];
}

// The lowest and highest ground along a side of tile (i, j), in steps.
void side_heights(const HoleGrid& grid, int i, int j, int side, int& low, int& high)
{
    const int h = grid.height_at(i, j), kind = grid.kind_at(i, j);
    low = high = h;
    if (!is_ramp(kind)) return;
    const int up = high_side(kind);
    if (side == (up + 2) % 4) high = h - 1;
    if (side != up) low = h - 1;
}

bool railed(const HoleGrid& grid, int i, int j, int side)
{
    const int edges = grid.edges_at(i, j), kind = grid.kind_at(i, j);
    if (edges > 0) return (edges & (1 << side)) != 0;
    if (edges >= 0 || !is_ramp(kind)) return false;
    // ramp railings run along the long sides: -2 the lower-numbered one (x or y min), -3 the other
    const bool alongY = kind == 0 || kind == 2;
    const int minSide = alongY ? Q_XMIN : Q_YMIN, maxSide = alongY ? Q_XMAX : Q_YMAX;
    if (edges == EDGE_RAMP_RAIL_BOTH) return side == minSide || side == maxSide;
    if (edges == EDGE_RAMP_RAIL_LOW) return side == minSide;
    if (edges == EDGE_RAMP_RAIL_HIGH) return side == maxSide;
    return false;
}

// Whether a diagonal railing of the tile separates quarter q from quarter q + 1.
bool diagonal_between(const HoleGrid& grid, int i, int j, int q)
{
    const int edges = grid.edges_at(i, j);
    if (edges <= 0) return false;
    // the main diagonal (0,0)-(64,64) cuts the corners (64,64) and (0,0): YMAX|XMAX and YMIN|XMIN
    if ((edges & EDGE_RAIL_DIAG_MAIN) && (q == Q_YMAX || q == Q_YMIN)) return true;
    if ((edges & EDGE_RAIL_DIAG_ANTI) && (q == Q_XMAX || q == Q_XMIN)) return true;
    return false;
}

bool has_cup(const HoleGrid& grid, int i, int j) { return grid.edges_at(i, j) > 0 && (grid.edges_at(i, j) & EDGE_CUP); }

}  // namespace

CupReach cup_reach(const HoleGrid& grid)
{
    const Tee& tee = grid.tee;
    const long long ti = tee_tile_index(tee.x), tj = tee_tile_index(tee.y);
    if ((tee.level == -1 && tee.x == -1 && tee.y == -1) || ti < 0 || ti >= GRID_SIZE || tj < 0 || tj >= GRID_SIZE)
        return CupReach::NoTeeOrCup;
    bool anyCup = false;
    for (int k = 0; k < GRID_SIZE * GRID_SIZE && !anyCup; ++k) anyCup = grid.edges[k] > 0 && (grid.edges[k] & EDGE_CUP);
    if (!anyCup) return CupReach::NoTeeOrCup;

    std::vector<char> seen(GRID_SIZE * GRID_SIZE * 4, 0);
    std::vector<int> queue;
    auto visit = [&](int i, int j, int q) {
        const int node = (i * GRID_SIZE + j) * 4 + q;
        if (seen[node]) return;
        seen[node] = 1;
        queue.push_back(node);
    };
    for (int q = 0; q < 4; ++q) visit(static_cast<int>(ti), static_cast<int>(tj), q);
    for (size_t head = 0; head < queue.size(); ++head) {
        const int node = queue[head], q = node % 4, tile = node / 4;
        const int i = tile / GRID_SIZE, j = tile % GRID_SIZE;
        if (has_cup(grid, i, j)) return CupReach::Reachable;
        const WarpExit exit = warp_exit_of(grid, i, j);
        if (exit.found) {   // the ball is taken to the exit and dropped there
            for (int e = 0; e < 4; ++e) visit(exit.i, exit.j, e);
            continue;
        }
        if (!diagonal_between(grid, i, j, q)) visit(i, j, (q + 1) % 4);
        if (!diagonal_between(grid, i, j, (q + 3) % 4)) visit(i, j, (q + 3) % 4);
        const int ni = i + DI[q], nj = j + DJ[q], back = (q + 2) % 4;
        if (!tile_in_grid(ni, nj) || railed(grid, i, j, q) || railed(grid, ni, nj, back)) continue;
        int lowHere = 0, highHere = 0, lowThere = 0, highThere = 0;
        side_heights(grid, i, j, q, lowHere, highHere);
        side_heights(grid, ni, nj, back, lowThere, highThere);
        if (lowThere <= highHere) visit(ni, nj, back);
    }
    return CupReach::Unreachable;
}

std::vector<std::string> save_findings(const HoleGrid& grid)
{
    std::vector<std::string> findings = check_hole(grid);
    if (cup_reach(grid) == CupReach::Unreachable) findings.push_back(CUP_UNREACHABLE);
    return findings;
}
