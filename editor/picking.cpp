// Ray casting against the drawn hole. Every solid is a convex set of planes (a column, a
// ramp wedge, a railing, a bumper's post and cap as 24-sided prisms, a moving block); the
// cup tile is its top with the octagonal opening, its outer sides and the hole wall seen
// from inside.
#include "editor/picking.h"

#include <algorithm>
#include <cmath>

#include "physics/hole_events.h"

namespace {

struct Vec {
    double x, y, z;
};
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec operator*(double s, Vec a) { return {s * a.x, s * a.y, s * a.z}; }
double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

constexpr int MAX_DRAWN_HEIGHT = 100;   // columns are never drawn taller
constexpr double RAMP_ANGLE = 0.4636476;   // atan(1/2): one step over one tile
constexpr double PI = 3.14159265358979323846;

struct Ray {
    Vec o, d;
};

// A plane n.p <= c bounding a convex solid; n points out of it.
struct Plane {
    Vec n;
    double c;
};

// Entry of the ray into the convex solid; t in [0, best). Returns true and lowers best on a hit.
bool enter_convex(const Ray& r, const Plane* planes, int count, double& best)
{
    double tIn = -1.0e300, tOut = 1.0e300;
    bool entered = false;
    for (int k = 0; k < count; ++k) {
        const double nd = dot(planes[k].n, r.d);
        const double dist = planes[k].c - dot(planes[k].n, r.o);   // >= 0 when the origin is inside
        if (nd == 0.0) {
            if (dist < 0) return false;
            continue;
        }
        const double t = dist / nd;
        if (nd < 0) {
            tIn = std::max(tIn, t);
            entered = true;
        } else {
            tOut = std::min(tOut, t);
        }
    }
    // A solid the ray starts in shows nothing (its faces lie behind the near plane).
    if (!entered || tIn > tOut || tIn < 0 || tIn >= best) return false;
    best = tIn;
    return true;
}

bool enter_box(const Ray& r, double x0, double y0, double z0, double x1, double y1, double z1, double& best)
{
    const Plane planes[6] = {{{-1, 0, 0}, -x0}, {{1, 0, 0}, x1}, {{0, -1, 0}, -y0},
                             {{0, 1, 0}, y1},   {{0, 0, -1}, -z0}, {{0, 0, 1}, z1}};
    return enter_convex(r, planes, 6, best);
}

// A box centred at c with half sizes h along the orthonormal axes u, v, w.
bool enter_oriented_box(const Ray& r, Vec c, Vec u, Vec v, Vec w, Vec h, double& best)
{
    const Vec axes[3] = {u, v, w};
    const double half[3] = {h.x, h.y, h.z};
    Plane planes[6];
    for (int k = 0; k < 3; ++k) {
        planes[2 * k] = {axes[k], dot(axes[k], c) + half[k]};
        planes[2 * k + 1] = {-1.0 * axes[k], -dot(axes[k], c) + half[k]};
    }
    return enter_convex(r, planes, 6, best);
}

// An upright prism of 24 sides (a drawn cylinder) around (cx, cy) from z0 to z1.
bool enter_cylinder(const Ray& r, double cx, double cy, double radius, double z0, double z1, double& best)
{
    Plane planes[26];
    const double flat = radius * std::cos(PI / 24);
    for (int k = 0; k < 24; ++k) {
        const double a = (k + 0.5) * PI / 12;
        const Vec n{std::cos(a), std::sin(a), 0};
        planes[k] = {n, n.x * cx + n.y * cy + flat};
    }
    planes[24] = {{0, 0, 1}, z1};
    planes[25] = {{0, 0, -1}, -z0};
    return enter_convex(r, planes, 26, best);
}

// The ramp's wedge on a column of base steps: the tile's box from z0 up to z0 + 32, cut by
// the sloping top that rises toward the side of direction kind.
bool enter_wedge(const Ray& r, double x, double y, double z0, int kind, double& best)
{
    // sloping plane through the low edge at z0 and the high edge at z0 + 32
    Vec n{0, 0, 1};
    double c = 0;
    switch (kind) {
    case 0: n = {0, -0.5, 1}; c = -0.5 * y + z0; break;            // z = z0 + (py - y) / 2
    case 1: n = {0.5, 0, 1}; c = 0.5 * (x + 64) + z0; break;       // z = z0 + (x + 64 - px) / 2
    case 2: n = {0, 0.5, 1}; c = 0.5 * (y + 64) + z0; break;       // z = z0 + (y + 64 - py) / 2
    default: n = {-0.5, 0, 1}; c = -0.5 * x + z0; break;           // z = z0 + (px - x) / 2
    }
    const Plane planes[6] = {{{-1, 0, 0}, -x},      {{1, 0, 0}, x + 64}, {{0, -1, 0}, -y},
                             {{0, 1, 0}, y + 64},   {{0, 0, -1}, -z0},  {n, c}};
    return enter_convex(r, planes, 6, best);
}

// The railings lying on a ramp's long sides.
void ramp_rails(const Ray& r, double x, double y, int H, int kind, int edges, double& best)
{
    Vec rise{0, 1, 0};
    switch (kind) {
    case 0: rise = {0, 1, 0}; break;
    case 1: rise = {-1, 0, 0}; break;
    case 2: rise = {0, -1, 0}; break;
    default: rise = {1, 0, 0}; break;
    }
    const double cs = std::cos(RAMP_ANGLE), sn = std::sin(RAMP_ANGLE);
    const Vec along = Vec{rise.x * cs, rise.y * cs, sn};
    const Vec normal = Vec{-rise.x * sn, -rise.y * sn, cs};
    const bool alongY = kind == 0 || kind == 2;
    const Vec across = alongY ? Vec{1, 0, 0} : Vec{0, 1, 0};
    const double midZ = 32.0 * (H - 1) + 16;
    for (int side = 0; side < 2; ++side) {
        const bool wanted = side == 0 ? (edges == EDGE_RAMP_RAIL_LOW || edges == EDGE_RAMP_RAIL_BOTH)
                                      : (edges == EDGE_RAMP_RAIL_HIGH || edges == EDGE_RAMP_RAIL_BOTH);
        if (!wanted) continue;
        const double offset = side == 0 ? 5.0 : 59.0;
        const Vec base = alongY ? Vec{x + offset, y + 32, midZ} : Vec{x + 32, y + offset, midZ};
        enter_oriented_box(r, base + 5.0 * normal, across, along, normal, {5, 71.55417528 / 2, 5}, best);
    }
}

// Railings along the sides and diagonals of a flat tile.
void tile_rails(const Ray& r, double x, double y, int H, int edges, double& best)
{
    const double z0 = 32.0 * H, z1 = z0 + 10;
    if (edges & EDGE_RAIL_YMAX) enter_box(r, x, y + 54, z0, x + 64, y + 64, z1, best);
    if (edges & EDGE_RAIL_XMAX) enter_box(r, x + 54, y, z0, x + 64, y + 64, z1, best);
    if (edges & EDGE_RAIL_YMIN) enter_box(r, x, y, z0, x + 64, y + 10, z1, best);
    if (edges & EDGE_RAIL_XMIN) enter_box(r, x, y, z0, x + 10, y + 64, z1, best);
    const double s = std::sqrt(0.5);
    const Vec centre{x + 32, y + 32, z0 + 5};
    const Vec half{5, 80.50966799 / 2, 5};
    if (edges & EDGE_RAIL_DIAG_MAIN) enter_oriented_box(r, centre, {s, -s, 0}, {s, s, 0}, {0, 0, 1}, half, best);
    if (edges & EDGE_RAIL_DIAG_ANTI) enter_oriented_box(r, centre, {s, s, 0}, {-s, s, 0}, {0, 0, 1}, half, best);
}

// The octagonal opening of the cup: a square from 18 to 46 with its corners cut.
constexpr double CUP_LOW = 18.0, CUP_HIGH = 46.0, CUP_CUT = 8.20101013;

void cup_opening_planes(double x, double y, Plane out[8])
{
    const double s = std::sqrt(0.5);
    const double cx = x + 32, cy = y + 32;
    const double half = 14.0;                              // 46 - 32
    const double diag = (2 * half - CUP_CUT) * s;          // distance of the cut corners' planes
    const Vec normals[8] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {s, s, 0}, {-s, s, 0}, {s, -s, 0}, {-s, -s, 0}};
    for (int k = 0; k < 8; ++k) {
        const double d = k < 4 ? half : diag;
        out[k] = {normals[k], normals[k].x * cx + normals[k].y * cy + d};
    }
}

bool inside_planes(const Plane* planes, int count, Vec p)
{
    for (int k = 0; k < count; ++k)
        if (dot(planes[k].n, p) > planes[k].c + 1e-9) return false;
    return true;
}

// A cup tile: its grass top at 32H with the opening, its column sides, and the hole wall
// from 32(H - 1) up to 32H seen through the opening.
void cup_tile(const Ray& r, double x, double y, int H, double& best)
{
    const double top = 32.0 * H;
    double t = best;
    if (!enter_box(r, x, y, std::min(0.0, top), x + 64, y + 64, top, t)) return;
    const Vec p = r.o + t * r.d;
    const bool throughTop = std::fabs(p.z - top) < 1e-6 && r.d.z < 0;
    Plane opening[8];
    cup_opening_planes(x, y, opening);
    if (!throughTop || !inside_planes(opening, 8, p)) {
        best = t;
        return;
    }
    // Through the opening: the wall inside, where the ray leaves the octagon.
    double tOut = best;
    for (const Plane& plane : opening) {
        const double nd = dot(plane.n, r.d);
        if (nd > 0) tOut = std::min(tOut, (plane.c - dot(plane.n, r.o)) / nd);
    }
    if (tOut >= best) return;
    const double z = r.o.z + tOut * r.d.z;
    if (z >= top - 32.0 && z <= top) best = tOut;
}

void tile_surfaces(const HoleGrid& grid, int blockFrame, const Ray& r, int i, int j, double& best)
{
    const double x = tile_corner(i), y = tile_corner(j);
    const int height = std::clamp(grid.height_at(i, j), -MAX_DRAWN_HEIGHT, MAX_DRAWN_HEIGHT);
    const int kind = grid.kind_at(i, j), edges = grid.edges_at(i, j);
    const int H = std::max(height, 0);
    // Everything of the tile lies in its column, up to a block raised a step above its top.
    double reach = best;
    if (!enter_box(r, x, y, -32.0, x + 64, y + 64, 32.0 * H + 64, reach)) return;
    const bool cup = edges > 0 && (edges & EDGE_CUP);
    if (height > 0 && !cup) {
        if (is_ramp(kind)) {
            if (H > 1) enter_box(r, x, y, 0, x + 64, y + 64, 32.0 * (H - 1), best);
            enter_wedge(r, x, y, 32.0 * (H - 1), kind, best);
        } else {
            enter_box(r, x, y, 0, x + 64, y + 64, 32.0 * H, best);
        }
    }
    if (is_ramp(kind) && edges < 0) ramp_rails(r, x, y, H, kind, edges, best);
    if (edges > 0) tile_rails(r, x, y, H, edges, best);
    if (cup) cup_tile(r, x, y, H, best);
    if (kind == KIND_OSCILLATING_BLOCK) {
        const double top = moving_block_top(blockFrame, H);
        enter_box(r, x, y, top - 32, x + 64, y + 64, top, best);
    }
    if (kind == KIND_BUMPER) {
        enter_cylinder(r, x + 32, y + 32, 6, 32.0 * H, 32.0 * H + 20, best);
        enter_cylinder(r, x + 32, y + 32, 18, 32.0 * H + 20, 32.0 * H + 22, best);
    }
}

// out = m * v for a column-major 4 x 4 matrix.
void transform(const double m[16], const double v[4], double out[4])
{
    for (int row = 0; row < 4; ++row)
        out[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
}

void multiply(const double a[16], const double b[16], double out[16])
{
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += a[k * 4 + row] * b[col * 4 + k];
            out[col * 4 + row] = sum;
        }
}

// Gauss-Jordan inverse with partial pivoting; false for a singular matrix.
bool invert(const double m[16], double out[16])
{
    double a[4][8];
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) {
            a[row][col] = m[col * 4 + row];
            a[row][col + 4] = row == col ? 1.0 : 0.0;
        }
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int row = col + 1; row < 4; ++row)
            if (std::fabs(a[row][col]) > std::fabs(a[pivot][col])) pivot = row;
        if (std::fabs(a[pivot][col]) < 1e-300) return false;
        if (pivot != col)
            for (int k = 0; k < 8; ++k) std::swap(a[pivot][k], a[col][k]);
        const double inv = 1.0 / a[col][col];
        for (int k = 0; k < 8; ++k) a[col][k] *= inv;
        for (int row = 0; row < 4; ++row) {
            if (row == col) continue;
            const double f = a[row][col];
            for (int k = 0; k < 8; ++k) a[row][k] -= f * a[col][k];
        }
    }
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) out[col * 4 + row] = a[row][col + 4];
    return true;
}

}  // namespace

bool pick_ray(const double modelView[16], const double projection[16], const int viewport[4], double winX,
              double winY, PickRay& ray)
{
    double combined[16], inverse[16];
    multiply(projection, modelView, combined);
    if (!invert(combined, inverse) || viewport[2] == 0 || viewport[3] == 0) return false;
    double ends[2][3];
    for (int k = 0; k < 2; ++k) {
        const double depth = k == 0 ? 1.0 : 0.0;
        const double in[4] = {2.0 * (winX - viewport[0]) / viewport[2] - 1.0,
                              2.0 * (winY - viewport[1]) / viewport[3] - 1.0, 2.0 * depth - 1.0, 1.0};
        double outv[4];
        transform(inverse, in, outv);
        if (outv[3] == 0.0) return false;
        for (int c = 0; c < 3; ++c) ends[k][c] = outv[c] / outv[3];
    }
    for (int c = 0; c < 3; ++c) {
        ray.origin[c] = ends[0][c];
        ray.along[c] = ends[1][c] - ends[0][c];
    }
    return true;
}

void cast_pick_ray(const HoleGrid& grid, int blockFrame, const PickRay& pick, double out[3])
{
    const Ray r{{pick.origin[0], pick.origin[1], pick.origin[2]}, {pick.along[0], pick.along[1], pick.along[2]}};
    double best = 1.0;
    // The floor and the black surround, one plane at z = 0 out to 2500 each way.
    if (r.d.z < 0) {
        const double t = -r.o.z / r.d.z;
        const Vec p = r.o + t * r.d;
        if (t >= 0 && t < best && std::fabs(p.x) <= 2500 && std::fabs(p.y) <= 2500) best = t;
    }
    for (int i = 0; i < GRID_SIZE; ++i)
        for (int j = 0; j < GRID_SIZE; ++j) tile_surfaces(grid, blockFrame, r, i, j, best);
    const Vec p = r.o + best * r.d;
    out[0] = p.x;
    out[1] = p.y;
    out[2] = p.z;
}

bool hidden_from_viewer(const HoleGrid& grid, int blockFrame, const double point[3], const double towardViewer[3])
{
    // From beyond the tallest column drawn down to the point itself.
    constexpr double REACH = 8000.0;
    constexpr double TOLERANCE = 1.0;
    PickRay ray;
    for (int c = 0; c < 3; ++c) {
        ray.origin[c] = point[c] + REACH * towardViewer[c];
        ray.along[c] = -REACH * towardViewer[c];
    }
    double hit[3];
    cast_pick_ray(grid, blockFrame, ray, hit);
    const double nearer = (hit[0] - point[0]) * towardViewer[0] + (hit[1] - point[1]) * towardViewer[1] +
                          (hit[2] - point[2]) * towardViewer[2];
    return nearer > TOLERANCE;
}
