// Builds the static geoms of a hole from the grid: ground columns, feature slabs, ramps,
// bumpers, railings and the cup, each filed by its surface role.
#include "physics/hole_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "physics/hole_events.h"
#include "physics/physics_local.h"
#include "physics/physics_world.h"

// The role lives in the geom's user data as (role << 8 | index) + 1, so untagged geoms
// (null data) read as ROLE_NONE.
void set_geom_role(dGeomID geom, GeomRole role, int index)
{
    uintptr_t tag = ((static_cast<uintptr_t>(role) << 8) | static_cast<uintptr_t>(index & 0xFF)) + 1;
    dGeomSetData(geom, reinterpret_cast<void*>(tag));
}

GeomRole geom_role(dGeomID geom)
{
    uintptr_t tag = reinterpret_cast<uintptr_t>(dGeomGetData(geom));
    return tag == 0 ? ROLE_NONE : static_cast<GeomRole>((tag - 1) >> 8);
}

int geom_role_index(dGeomID geom)
{
    uintptr_t tag = reinterpret_cast<uintptr_t>(dGeomGetData(geom));
    return tag == 0 ? 0 : static_cast<int>((tag - 1) & 0xFF);
}

void make_static(dGeomID geom)
{
    dGeomSetCategoryBits(geom, CATEGORY_STATIC);
    dGeomSetCollideBits(geom, CATEGORY_BALL);
}

namespace {

constexpr double RAMP_ANGLE = 0.4636476;        // atan(0.5): a rise of 32 over 64
constexpr double RAMP_LENGTH = 71.55417528;     // sqrt(64^2 + 32^2)
constexpr double RAMP_SLAB_LONG = 57.24334022;  // 0.8 of the slope
constexpr double RAMP_SLAB_THICK = 14.31083506; // 0.2 of the slope
constexpr double RAMP_SLAB_Z = 6.400000002;
constexpr double RAMP_RAIL_RISE = 4.472135955;  // 2 sqrt 5: rail offset 5 along the normal
constexpr double RAMP_RAIL_SHIFT = 2.236067977;
constexpr double RAMP_COS = 0.894427191;         // cos and sin of RAMP_ANGLE
constexpr double RAMP_SIN = 0.447213595;
constexpr double DIAGONAL_RAIL = 80.50966799;   // tile diagonal less 10
constexpr double CUP_CORNER = 11.59797974;
constexpr double RAIL_REACH = 18.0;             // railing boxes reach this far above their drawn top
constexpr double OPEN_RAIL_REACH = 64.0;        // and this much more with nothing higher beyond
constexpr double PI = 3.14159265358979323846;

enum Axis { AXIS_NONE, AXIS_X, AXIS_Y, AXIS_Z };

// Files a posed geom in the hole's space. The geom is posed before it joins the space and
// its bounds are known, so the quadtree puts it straight into its tile's block rather than
// sorting thousands of moved geoms later.
void add_to_hole_space(PhysicsWorld& w, dGeomID geom, GeomRole role, int index)
{
    set_geom_role(geom, role, index);
    make_static(geom);
    dReal bounds[6];
    dGeomGetAABB(geom, bounds);
    dSpaceAdd(w.holeSpace, geom);
}

dGeomID add_box(PhysicsWorld& w, std::vector<dGeomID>& list, GeomRole role, int index, double lx, double ly, double lz,
                double px, double py, double pz, Axis axis = AXIS_NONE, double angle = 0.0)
{
    dGeomID box = dCreateBox(nullptr, lx, ly, lz);
    dGeomSetPosition(box, px, py, pz);
    if (axis != AXIS_NONE && angle != 0.0) {
        dMatrix3 r;
        dRFromAxisAndAngle(r, axis == AXIS_X, axis == AXIS_Y, axis == AXIS_Z, angle);
        dGeomSetRotation(box, r);
    }
    add_to_hole_space(w, box, role, index);
    list.push_back(box);
    return box;
}

// A square column 64 x 64 centred at z = 0 whose top is at level * 32.
void add_plain_column(PhysicsWorld& w, double x, double y, int level)
{
    if (level <= 0) return;
    add_box(w, w.geoms.groundBoxes, ROLE_GROUND, 0, 64, 64, 64.0 * level, x + 32, y + 32, 0);
}

// A column topped 10 below the tile top with a 10-thick slab of role on it.
void add_slab_column(PhysicsWorld& w, std::vector<dGeomID>& list, GeomRole role, int index, double x, double y, int H)
{
    add_box(w, w.geoms.groundBoxes, ROLE_GROUND, 0, 64, 64, 64.0 * H - 20, x + 32, y + 32, 0);
    add_box(w, list, role, index, 64, 64, 10, x + 32, y + 32, 32.0 * H - 5);
}

void add_ramp_vertex(PhysicsWorld& w, double x, double y, double z)
{
    float* v = &w.rampVertices[w.rampVertexCount * 3];
    v[0] = static_cast<float>(x);
    v[1] = static_cast<float>(y);
    v[2] = static_cast<float>(z);
    ++w.rampVertexCount;
}

void build_ramp(PhysicsWorld& w, double x, double y, int H, int K)
{
    int c = H - 1;
    if (H > 1) add_plain_column(w, x, y, c);
    double z0 = 32.0 * c;
    auto& ground = w.geoms.groundBoxes;
    int n = w.rampVertexCount;
    switch (K) {
    case 0:  // rises toward +y
        add_box(w, ground, ROLE_GROUND, 0, 64, RAMP_SLAB_LONG, RAMP_SLAB_THICK, x + 32, y + 28.8, z0 + RAMP_SLAB_Z, AXIS_X, RAMP_ANGLE);
        add_box(w, ground, ROLE_GROUND, 0, 64, 12.8, 25.6, x + 32, y + 57.6, z0 + 12.8);
        add_ramp_vertex(w, x, y + 51.2, z0 + 25.6);
        add_ramp_vertex(w, x + 64, y + 51.2, z0 + 25.6);
        add_ramp_vertex(w, x + 64, y + 64, z0 + 32);
        add_ramp_vertex(w, x, y + 64, z0 + 32);
        break;
    case 1:  // rises toward -x
        add_box(w, ground, ROLE_GROUND, 0, RAMP_SLAB_LONG, 64, RAMP_SLAB_THICK, x + 35.2, y + 32, z0 + RAMP_SLAB_Z, AXIS_Y, RAMP_ANGLE);
        add_box(w, ground, ROLE_GROUND, 0, 12.8, 64, 25.6, x + 6.4, y + 32, z0 + 12.8);
        add_ramp_vertex(w, x, y, z0 + 32);
        add_ramp_vertex(w, x + 12.8, y, z0 + 25.6);
        add_ramp_vertex(w, x + 12.8, y + 64, z0 + 25.6);
        add_ramp_vertex(w, x, y + 64, z0 + 32);
        break;
    case 2:  // rises toward -y
        add_box(w, ground, ROLE_GROUND, 0, 64, RAMP_SLAB_LONG, RAMP_SLAB_THICK, x + 32, y + 35.2, z0 + RAMP_SLAB_Z, AXIS_X, -RAMP_ANGLE);
        add_box(w, ground, ROLE_GROUND, 0, 64, 12.8, 25.6, x + 32, y + 6.4, z0 + 12.8);
        add_ramp_vertex(w, x, y, z0 + 32);
        add_ramp_vertex(w, x + 64, y, z0 + 32);
        add_ramp_vertex(w, x + 64, y + 12.8, z0 + 25.6);
        add_ramp_vertex(w, x, y + 12.8, z0 + 25.6);
        break;
    default:  // 3: rises toward +x
        add_box(w, ground, ROLE_GROUND, 0, RAMP_SLAB_LONG, 64, RAMP_SLAB_THICK, x + 28.8, y + 32, z0 + RAMP_SLAB_Z, AXIS_Y, -RAMP_ANGLE);
        add_box(w, ground, ROLE_GROUND, 0, 12.8, 64, 25.6, x + 57.6, y + 32, z0 + 12.8);
        add_ramp_vertex(w, x + 64, y, z0 + 32);
        add_ramp_vertex(w, x + 64, y + 64, z0 + 32);
        add_ramp_vertex(w, x + 51.2, y + 64, z0 + 25.6);
        add_ramp_vertex(w, x + 51.2, y, z0 + 25.6);
        break;
    }
    int* t = &w.rampIndices[w.rampIndexCount];
    t[0] = n; t[1] = n + 1; t[2] = n + 2;
    t[3] = n; t[4] = n + 2; t[5] = n + 3;
    w.rampIndexCount += 6;
}

void build_feature_column(PhysicsWorld& w, double x, double y, int H, int K)
{
    GeomLists& gl = w.geoms;
    if (is_conveyor(K)) {
        add_slab_column(w, gl.conveyor[K + 5], ROLE_CONVEYOR, K + 5, x, y, H);
    } else if (K == KIND_SAND) {
        add_slab_column(w, gl.sandSlabs, ROLE_SAND, 0, x, y, H);
    } else if (is_warp_entry_code(K)) {
        if (H > 0) add_slab_column(w, gl.warpPads, ROLE_WARP_PAD, 0, x, y, H);
        else add_box(w, gl.warpPads, ROLE_WARP_PAD, 0, 64, 64, 1, x + 32, y + 32, 0);
    } else if (K == KIND_WATER) {
        add_box(w, gl.waterBoxes, ROLE_WATER, 0, 64, 64, 32, x + 32, y + 32, 32.0 * H - 16);
        if (H > 1) add_plain_column(w, x, y, H - 1);
    } else if (K == KIND_BUMPER) {
        for (int k = 0; k < 4; ++k)
            add_box(w, gl.bumperCaps, ROLE_BUMPER_CAP, 0, 36, 18, 2, x + 32, y + 32, 32.0 * H + 21, AXIS_Z, k * PI / 4);
        dGeomID post = dCreateCapsule(nullptr, 6, 14);
        dGeomSetPosition(post, x + 32, y + 32, 32.0 * H + 10);
        add_to_hole_space(w, post, ROLE_BUMPER_POST, 0);
        gl.bumperPosts.push_back(post);
        add_plain_column(w, x, y, H);
    } else {
        add_plain_column(w, x, y, H);
    }
}

void build_ramp_rail(PhysicsWorld& w, double x, double y, int H, int K, bool higher)
{
    // Drawn 10 thick across the slope; like the flat railings, the box reaches RAIL_REACH
    // further up, its lower face where it was: a fast ball catching its top edge along the
    // ramp was thrown over it.
    const double t = 10 + RAIL_REACH;
    const double z = 32.0 * (H - 1) + 16 + RAMP_RAIL_RISE + RAIL_REACH / 2 * RAMP_COS;
    const double lift = RAIL_REACH / 2 * RAMP_SIN;   // the thicker box's centre, moved along the normal
    auto& rails = w.geoms.rails;
    switch (K) {
    case 0:
        add_box(w, rails, ROLE_RAIL, 0, 10, RAMP_LENGTH, t, x + (higher ? 59 : 5), y + 32 - RAMP_RAIL_SHIFT - lift, z, AXIS_X, RAMP_ANGLE);
        break;
    case 1:
        add_box(w, rails, ROLE_RAIL, 0, RAMP_LENGTH, 10, t, x + 32 + RAMP_RAIL_SHIFT + lift, y + (higher ? 59 : 5), z, AXIS_Y, RAMP_ANGLE);
        break;
    case 2:
        add_box(w, rails, ROLE_RAIL, 0, 10, RAMP_LENGTH, t, x + (higher ? 59 : 5), y + 32 + RAMP_RAIL_SHIFT + lift, z, AXIS_X, -RAMP_ANGLE);
        break;
    default:
        add_box(w, rails, ROLE_RAIL, 0, RAMP_LENGTH, 10, t, x + 32 - RAMP_RAIL_SHIFT - lift, y + (higher ? 59 : 5), z, AXIS_Y, -RAMP_ANGLE);
        break;
    }
    // The slanted rail's upper end leans back over the level above: a ball rolling into it
    // from there met a face tilted upward and, bouncing fully, was thrown high over the
    // railings. An upright post at that end, as high as a railing's box, meets it first.
    const double h = 10 + RAIL_REACH, pz = 32.0 * H + h / 2, side = higher ? 59 : 5;
    switch (K) {
    case 0: add_box(w, rails, ROLE_RAIL, 0, 10, 10, h, x + side, y + 59, pz); break;
    case 1: add_box(w, rails, ROLE_RAIL, 0, 10, 10, h, x + 5, y + side, pz); break;
    case 2: add_box(w, rails, ROLE_RAIL, 0, 10, 10, h, x + side, y + 5, pz); break;
    default: add_box(w, rails, ROLE_RAIL, 0, 10, 10, h, x + 59, y + side, pz); break;
    }
}

// The cup: a column of level t with an octagonal hole 28 wide, one level deep, closed by
// a plate the ball is holed on.
void build_cup(PhysicsWorld& w, double x, double y, int t)
{
    auto& walls = w.geoms.cupWalls;
    double z = 32.0 * t - 16;
    add_box(w, walls, ROLE_CUP_WALL, 0, CUP_CORNER, CUP_CORNER, 32, x + 46, y + 46, z, AXIS_Z, PI / 4);
    add_box(w, walls, ROLE_CUP_WALL, 0, CUP_CORNER, CUP_CORNER, 32, x + 18, y + 46, z, AXIS_Z, -PI / 4);
    add_box(w, walls, ROLE_CUP_WALL, 0, CUP_CORNER, CUP_CORNER, 32, x + 18, y + 18, z, AXIS_Z, PI / 4);
    add_box(w, walls, ROLE_CUP_WALL, 0, CUP_CORNER, CUP_CORNER, 32, x + 46, y + 18, z, AXIS_Z, -PI / 4);
    // On a tile of height 0 the side columns would have no height at all; the floor is
    // the ground there.
    if (t > 0) {
        double h = 64.0 * t;
        add_box(w, walls, ROLE_CUP_WALL, 0, 64, 18, h, x + 32, y + 9, 0);
        add_box(w, walls, ROLE_CUP_WALL, 0, 18, 28, h, x + 55, y + 32, 0);
        add_box(w, walls, ROLE_CUP_WALL, 0, 64, 18, h, x + 32, y + 55, 0);
        add_box(w, walls, ROLE_CUP_WALL, 0, 18, 28, h, x + 9, y + 32, 0);
    }
    add_box(w, w.geoms.cupBottoms, ROLE_CUP_BOTTOM, 0, 28, 28, 10, x + 32, y + 32, 32.0 * t - 27);
}

// How many levels the ground beside a tile, along one of its railings, stands above the tile:
// the neighbours before and after it along the rail (0 when none is higher).
int rail_rise(const HoleGrid& grid, int i, int j, int di, int dj, int H)
{
    int rise = 0;
    for (int side : {-1, 1}) {
        const int a = i + side * di, b = j + side * dj;
        if (a < 0 || a >= GRID_SIZE || b < 0 || b >= GRID_SIZE) continue;
        rise = std::max(rise, clamp_level(grid.height_at(a, b)) - H);
    }
    return rise;
}

// Whether the tile beyond a railing stands no higher than the railing's own tile (or lies
// off the grid): a ball there can never roll against the railing's top.
bool open_beyond(const HoleGrid& grid, int a, int b, int H)
{
    if (a < 0 || a >= GRID_SIZE || b < 0 || b >= GRID_SIZE) return true;
    return clamp_level(grid.height_at(a, b)) <= H;
}

void build_edges(PhysicsWorld& w, const HoleGrid& grid, int i, int j, double x, double y, int H, int K, int E)
{
    if (E < 0) {
        if (!is_ramp(K)) return;
        if (E == EDGE_RAMP_RAIL_LOW || E == EDGE_RAMP_RAIL_BOTH) build_ramp_rail(w, x, y, H, K, false);
        if (E == EDGE_RAMP_RAIL_HIGH || E == EDGE_RAMP_RAIL_BOTH) build_ramp_rail(w, x, y, H, K, true);
        return;
    }
    auto& rails = w.geoms.rails;
    // A railing is drawn 10 high, but a resting ball's centre is 9 up: a fast ball hopping
    // into one met its top edge and, bouncing fully off that slanted normal, was thrown over.
    // Its box reaches RAIL_REACH higher, still under the next level.
    // A railing beside higher ground along its line (a lane stepping down) also reaches as far
    // above that ground: a ball coming off the step flies over this tile at the upper level,
    // and a railing only as high as this tile's own would let it sail out of the course.
    // A railing with nothing higher beyond it (the void, or lower ground) reaches
    // OPEN_RAIL_REACH higher still: nothing on the course passes over it, and a ball that hops
    // off the cup's rim at full speed clears more than a level.
    const double h = 10 + RAIL_REACH;
    const double hx = h + 32.0 * rail_rise(grid, i, j, 1, 0, H);   // railings along x
    const double hy = h + 32.0 * rail_rise(grid, i, j, 0, 1, H);   // railings along y
    auto reach = [&](double base, int di, int dj) { return base + (open_beyond(grid, i + di, j + dj, H) ? OPEN_RAIL_REACH : 0); };
    const double z = 32.0 * H;
    if (E & EDGE_RAIL_YMAX) {
        const double t = reach(hx, 0, 1);
        add_box(w, rails, ROLE_RAIL, 0, 64, 10, t, x + 32, y + 59, z + t / 2);
    }
    if (E & EDGE_RAIL_XMAX) {
        const double t = reach(hy, 1, 0);
        add_box(w, rails, ROLE_RAIL, 0, 10, 64, t, x + 59, y + 32, z + t / 2);
    }
    if (E & EDGE_RAIL_YMIN) {
        const double t = reach(hx, 0, -1);
        add_box(w, rails, ROLE_RAIL, 0, 64, 10, t, x + 32, y + 5, z + t / 2);
    }
    if (E & EDGE_RAIL_XMIN) {
        const double t = reach(hy, -1, 0);
        add_box(w, rails, ROLE_RAIL, 0, 10, 64, t, x + 5, y + 32, z + t / 2);
    }
    if (E & EDGE_RAIL_DIAG_MAIN) add_box(w, rails, ROLE_RAIL, 0, 10, DIAGONAL_RAIL, h, x + 32, y + 32, z + h / 2, AXIS_Z, -PI / 4);
    if (E & EDGE_RAIL_DIAG_ANTI) add_box(w, rails, ROLE_RAIL, 0, 10, DIAGONAL_RAIL, h, x + 32, y + 32, z + h / 2, AXIS_Z, PI / 4);
    if (E & EDGE_CUP) build_cup(w, x, y, H);
}

void build_tile(PhysicsWorld& w, const HoleGrid& grid, int i, int j)
{
    int H = clamp_level(grid.height_at(i, j));
    int K = grid.kind_at(i, j);
    int E = grid.edges_at(i, j);
    double x = tile_corner(i);
    double y = tile_corner(j);

    // Every tile but a cup gets its ground: whatever other bits its edges carry, the tile
    // is drawn as a column, so it must hold the ball like one.
    bool cup = E > 0 && (E & EDGE_CUP);
    bool ground = !cup && (H != 0 || is_warp_entry_code(K) || K == KIND_BUMPER);
    if (ground) {
        if (is_ramp(K)) build_ramp(w, x, y, H, K);
        else build_feature_column(w, x, y, H, K);
    }
    if (E != 0) build_edges(w, grid, i, j, x, y, H, K, E);
    if (K == KIND_OSCILLATING_BLOCK) {
        double top = std::trunc(moving_block_top(w.oscillationFrame, H));
        add_box(w, w.geoms.movingBlocks, ROLE_MOVING_BLOCK, 0, 64, 64, 64, x + 32, y + 32, top - 32);
        w.geoms.blockTiles.push_back(i * GRID_SIZE + j);
    }
}

void destroy_list(std::vector<dGeomID>& list)
{
    for (dGeomID g : list) dGeomDestroy(g);
    list.clear();
}

}  // namespace

void clear_hole_geometry(PhysicsWorld& w)
{
    GeomLists& gl = w.geoms;
    destroy_list(gl.groundBoxes);
    for (auto& belt : gl.conveyor) destroy_list(belt);
    destroy_list(gl.movingBlocks);
    destroy_list(gl.warpPads);
    destroy_list(gl.waterBoxes);
    destroy_list(gl.sandSlabs);
    destroy_list(gl.bumperCaps);
    destroy_list(gl.bumperPosts);
    destroy_list(gl.rails);
    destroy_list(gl.cupWalls);
    destroy_list(gl.cupBottoms);
    gl.movingBlockCursor = 0;
    gl.blockTiles.clear();
}

void rebuild_ramp_surface(PhysicsWorld& pw)
{
    if (!pw.rampSurface) return;
    dGeomTriMeshDataBuildSingle(pw.rampData, pw.rampVertices, 3 * sizeof(float), pw.rampVertexCount,
                                pw.rampIndices, pw.rampIndexCount, 3 * sizeof(int));
    dGeomTriMeshSetData(pw.rampSurface, pw.rampData);
    // The mesh's bounds are cached; moving it (to where it is) recomputes them.
    dGeomSetPosition(pw.rampSurface, 0, 0, 0);
}

void build_hole_geometry(PhysicsWorld& w)
{
    if (!physics_ready(w)) return;
    const HoleGrid& grid = w.grid;
    static const float placeholder[12] = {0, 0, 0, 10, 10, 0, 0, 10, 0, 10, 0, 0};
    static const int placeholderIndices[6] = {0, 1, 2, 0, 3, 1};
    for (int k = 0; k < 12; ++k) w.rampVertices[k] = placeholder[k];
    for (int k = 0; k < 6; ++k) w.rampIndices[k] = placeholderIndices[k];
    w.rampVertexCount = 4;
    w.rampIndexCount = 6;

    clear_hole_geometry(w);
    for (int i = 0; i < GRID_SIZE; ++i)
        for (int j = 0; j < GRID_SIZE; ++j) build_tile(w, grid, i, j);
    dSpaceClean(w.holeSpace);
    rebuild_ramp_surface(w);
}

void remove_last_moving_block(PhysicsWorld& w)
{
    auto& blocks = w.geoms.movingBlocks;
    if (blocks.empty()) return;
    dGeomDestroy(blocks.back());
    blocks.pop_back();
    if (!w.geoms.blockTiles.empty()) w.geoms.blockTiles.pop_back();
    if (w.geoms.movingBlockCursor >= blocks.size()) w.geoms.movingBlockCursor = 0;
}

void update_moving_block(PhysicsWorld& w, float x, float y, float top)
{
    auto& blocks = w.geoms.movingBlocks;
    if (blocks.empty()) return;
    size_t& cursor = w.geoms.movingBlockCursor;
    if (cursor >= blocks.size()) cursor = 0;
    dGeomSetPosition(blocks[cursor], x + 32.0, y + 32.0, top - 32.0);
    ++cursor;
    if (cursor >= blocks.size()) cursor = 0;
}

size_t hole_geom_count(const PhysicsWorld& w)
{
    const GeomLists& gl = w.geoms;
    size_t n = gl.groundBoxes.size() + gl.movingBlocks.size() + gl.warpPads.size() + gl.waterBoxes.size() +
               gl.sandSlabs.size() + gl.bumperCaps.size() + gl.bumperPosts.size() + gl.rails.size() +
               gl.cupWalls.size() + gl.cupBottoms.size();
    for (const auto& belt : gl.conveyor) n += belt.size();
    return n;
}
