#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "physics_test_util.h"

using namespace physics_test;

namespace {

struct GeomRecord {
    int role;
    int index;
    int geomClass;
    std::array<double, 3> position;
    std::array<double, 3> lengths;
    bool operator==(const GeomRecord&) const = default;
};

std::vector<GeomRecord> snapshot(const PhysicsTest& t)
{
    std::vector<GeomRecord> out;
    auto add = [&](const std::vector<dGeomID>& list) {
        for (dGeomID g : list) {
            GeomRecord r{geom_role(g), geom_role_index(g), dGeomGetClass(g), {}, {}};
            const dReal* p = dGeomGetPosition(g);
            r.position = {p[0], p[1], p[2]};
            if (r.geomClass == dBoxClass) {
                dVector3 l;
                dGeomBoxGetLengths(g, l);
                r.lengths = {l[0], l[1], l[2]};
            }
            out.push_back(r);
        }
    };
    const GeomLists& gl = t.geomLists;
    add(gl.groundBoxes);
    for (const auto& belt : gl.conveyor) add(belt);
    add(gl.movingBlocks);
    add(gl.warpPads);
    add(gl.waterBoxes);
    add(gl.sandSlabs);
    add(gl.bumperCaps);
    add(gl.bumperPosts);
    add(gl.rails);
    add(gl.cupWalls);
    add(gl.cupBottoms);
    return out;
}

void expect_box(dGeomID g, double lx, double ly, double lz, double px, double py, double pz)
{
    ASSERT_EQ(dGeomGetClass(g), dBoxClass);
    dVector3 l;
    dGeomBoxGetLengths(g, l);
    EXPECT_NEAR(l[0], lx, 1e-6);
    EXPECT_NEAR(l[1], ly, 1e-6);
    EXPECT_NEAR(l[2], lz, 1e-6);
    const dReal* p = dGeomGetPosition(g);
    EXPECT_NEAR(p[0], px, 1e-6);
    EXPECT_NEAR(p[1], py, 1e-6);
    EXPECT_NEAR(p[2], pz, 1e-6);
}

// A hole holding one of every kind of tile, rail and the cup.
void every_kind_hole(PhysicsTest& t)
{
    t.set_tile(5, 5, 3);
    t.set_tile(6, 5, 2, 0, EDGE_RAMP_RAIL_BOTH);
    t.set_tile(7, 5, 2, 1, EDGE_RAMP_RAIL_LOW);
    t.set_tile(8, 5, 1, 2, EDGE_RAMP_RAIL_HIGH);
    t.set_tile(9, 5, 1, 3);
    t.set_tile(10, 5, 2, 5);
    for (int d = 0; d < 4; ++d) t.set_tile(11 + d, 5, 1, KIND_CONVEYOR_FIRST + d);
    t.set_tile(15, 5, 1, KIND_OSCILLATING_BLOCK);
    t.set_tile(16, 5, 3, KIND_WATER);
    t.set_tile(17, 5, 1, KIND_WATER);
    t.set_tile(18, 5, 1, KIND_SAND);
    t.set_tile(19, 5, 0, KIND_BUMPER);
    t.set_tile(20, 5, 2, KIND_BUMPER);
    t.set_tile(21, 5, 0, KIND_WARP_ENTRY);
    t.set_tile(22, 5, 2, KIND_WARP_EXIT);
    t.set_tile(23, 5, 2, KIND_WARP_ENTRY - 1);
    t.set_tile(24, 5, 0, KIND_WARP_EXIT - 1);
    t.set_tile(25, 5, 1, KIND_PLAIN, 0x3F);
    t.set_tile(26, 5, 2, KIND_PLAIN, EDGE_CUP | EDGE_RAIL_YMAX);
    rebuild_warp_table(t.holeGrid);
}

}  // namespace

TEST_F(PhysicsTest, EmptyGridBuildsNothingButThePlaceholderRamp)
{
    build_hole_geometry();
    EXPECT_EQ(hole_geom_count(), 0u);
    EXPECT_EQ(physicsWorld.rampVertexCount, 4);
    EXPECT_EQ(physicsWorld.rampIndexCount, 6);
}

TEST_F(PhysicsTest, PlainColumnWaterAndWarpTilesBuildTheirBoxes)
{
    set_tile(3, 4, 3);
    build_hole_geometry();
    ASSERT_EQ(geomLists.groundBoxes.size(), 1u);
    expect_box(geomLists.groundBoxes[0], 64, 64, 192, tile_centre(3), tile_centre(4), 0);

    clear_hole(holeGrid);
    set_tile(1, 1, 1, KIND_WATER);
    set_tile(2, 1, 3, KIND_WATER);
    set_tile(3, 1, 0, KIND_WARP_EXIT);
    set_tile(4, 1, 0, KIND_WARP_ENTRY);
    build_hole_geometry();
    ASSERT_EQ(geomLists.waterBoxes.size(), 2u);
    expect_box(geomLists.waterBoxes[0], 64, 64, 32, tile_centre(1), tile_centre(1), 16);
    expect_box(geomLists.waterBoxes[1], 64, 64, 32, tile_centre(2), tile_centre(1), 80);
    ASSERT_EQ(geomLists.groundBoxes.size(), 1u);   // the level-2 column under the deep water
    expect_box(geomLists.groundBoxes[0], 64, 64, 128, tile_centre(2), tile_centre(1), 0);
    ASSERT_EQ(geomLists.warpPads.size(), 1u);   // an exit at height 0 builds nothing
    expect_box(geomLists.warpPads[0], 64, 64, 1, tile_centre(4), tile_centre(1), 0);
}

TEST_F(PhysicsTest, RampOfHeightOneHasSlabFillerAndTopTriangles)
{
    set_tile(10, 10, 1, 0);
    set_tile(10, 12, 2, 0);
    build_hole_geometry();
    // height 1: slab and filler; height 2: column of level 1, slab, filler
    ASSERT_EQ(geomLists.groundBoxes.size(), 5u);
    double x = tile_corner(10), y = tile_corner(10);
    dGeomID slab = geomLists.groundBoxes[0];
    // The slab's top plane passes through the tile centre at height 16 with slope 0.5.
    const dReal* R = dGeomGetRotation(slab);
    const dReal* p = dGeomGetPosition(slab);
    double up[3] = {R[2], R[6], R[10]};   // the slab's local z axis in world coordinates
    double half = 14.31083506 / 2;
    double top[3] = {p[0] + up[0] * half, p[1] + up[1] * half, p[2] + up[2] * half};
    double heightAtCentre = top[2] + (up[1] / up[2]) * ((top[1]) - (y + 32));
    EXPECT_NEAR(heightAtCentre, 16.0, 1e-3);
    EXPECT_NEAR(-up[1] / up[2], 0.5, 1e-6);
    expect_box(geomLists.groundBoxes[1], 64, 12.8, 25.6, x + 32, y + 57.6, 12.8);
    ASSERT_EQ(physicsWorld.rampVertexCount, 12);
    ASSERT_EQ(physicsWorld.rampIndexCount, 18);
    const float expected[12] = {float(x), float(y + 51.2), 25.6f, float(x + 64), float(y + 51.2), 25.6f,
                                float(x + 64), float(y + 64), 32.0f, float(x), float(y + 64), 32.0f};
    for (int k = 0; k < 12; ++k) EXPECT_FLOAT_EQ(physicsWorld.rampVertices[12 + k], expected[k]) << k;
    EXPECT_EQ(physicsWorld.rampIndices[6], 4);
    EXPECT_EQ(physicsWorld.rampIndices[7], 5);
    EXPECT_EQ(physicsWorld.rampIndices[8], 6);
    expect_box(geomLists.groundBoxes[2], 64, 64, 64, x + 32, tile_centre(12), 0);
    EXPECT_FLOAT_EQ(physicsWorld.rampVertices[24 + 8], 64.0f);   // the height-2 ramp tops out at 64
}

TEST_F(PhysicsTest, BumperAtHeightZeroAndTwo)
{
    set_tile(4, 4, 0, KIND_BUMPER);
    set_tile(6, 4, 2, KIND_BUMPER);
    build_hole_geometry();
    EXPECT_EQ(geomLists.bumperPosts.size(), 2u);
    EXPECT_EQ(geomLists.bumperCaps.size(), 8u);
    ASSERT_EQ(geomLists.groundBoxes.size(), 1u);
    expect_box(geomLists.groundBoxes[0], 64, 64, 128, tile_centre(6), tile_centre(4), 0);
    dGeomID post = geomLists.bumperPosts[1];
    EXPECT_EQ(dGeomGetClass(post), dCapsuleClass);
    EXPECT_NEAR(dGeomGetPosition(post)[2], 74.0, 1e-9);
    expect_box(geomLists.bumperCaps[0], 36, 18, 2, tile_centre(4), tile_centre(4), 21);
}

TEST_F(PhysicsTest, CupBuildsOctagonalHoleAndNoZeroSizedBoxesAtHeightZero)
{
    set_tile(8, 8, 2, KIND_PLAIN, EDGE_CUP);
    build_hole_geometry();
    EXPECT_TRUE(geomLists.groundBoxes.empty());
    ASSERT_EQ(geomLists.cupWalls.size(), 8u);
    ASSERT_EQ(geomLists.cupBottoms.size(), 1u);
    double x = tile_corner(8), y = tile_corner(8);
    expect_box(geomLists.cupWalls[0], 11.59797974, 11.59797974, 32, x + 46, y + 46, 48);
    expect_box(geomLists.cupWalls[4], 64, 18, 128, x + 32, y + 9, 0);
    expect_box(geomLists.cupBottoms[0], 28, 28, 10, x + 32, y + 32, 37);

    clear_hole(holeGrid);
    set_tile(8, 8, 0, KIND_PLAIN, EDGE_CUP);
    build_hole_geometry();
    EXPECT_EQ(geomLists.cupWalls.size(), 4u);
    for (const GeomRecord& r : snapshot(*this)) {
        if (r.geomClass != dBoxClass) continue;
        for (double side : r.lengths) EXPECT_GT(side, 0.0);
    }
}

TEST_F(PhysicsTest, TileWithUnknownEdgeBitsStillHoldsTheBall)
{
    set_tile(10, 10, 3, KIND_PLAIN, 0x80);
    build_hole_geometry();
    ASSERT_EQ(geomLists.groundBoxes.size(), 1u);
    place_ball(0, 3, tile_corner(10), tile_corner(10));
    frames(30);
    EXPECT_NEAR(ball_at(0).z, 96 + 9, 0.5);
}

TEST_F(PhysicsTest, RailsSitOnTheTileTop)
{
    set_tile(2, 2, 1, KIND_PLAIN, 0x3F);
    build_hole_geometry();
    ASSERT_EQ(geomLists.rails.size(), 6u);
    double x = tile_corner(2), y = tile_corner(2);
    // Drawn 10 high, a railing's box reaches 18 higher (to 60), still under the next level;
    // with only the void beyond, 64 more (to 124). A diagonal railing has the tile beyond it.
    expect_box(geomLists.rails[0], 64, 10, 92, x + 32, y + 59, 78);
    expect_box(geomLists.rails[3], 10, 64, 92, x + 5, y + 32, 78);
    expect_box(geomLists.rails[4], 10, 80.50966799, 28, x + 32, y + 32, 46);
}

TEST_F(PhysicsTest, RailsFacingHigherGroundStayUnderItsLevel)
{
    // A ball rolling along the top of the level beyond must not meet an unseen railing top.
    set_tile(2, 2, 1, KIND_PLAIN, EDGE_RAIL_XMAX | EDGE_RAIL_XMIN);
    set_tile(3, 2, 2, KIND_PLAIN, 0);
    set_tile(1, 2, 1, KIND_PLAIN, 0);
    build_hole_geometry();
    ASSERT_EQ(geomLists.rails.size(), 2u);
    double x = tile_corner(2), y = tile_corner(2);
    expect_box(geomLists.rails[0], 10, 64, 28, x + 59, y + 32, 46);   // level 2 beyond
    expect_box(geomLists.rails[1], 10, 64, 92, x + 5, y + 32, 78);    // level ground beyond
}

TEST_F(PhysicsTest, RebuildingTwiceGivesTheSameGeoms)
{
    every_kind_hole(*this);
    build_hole_geometry();
    std::vector<GeomRecord> first = snapshot(*this);
    int vertices = physicsWorld.rampVertexCount;
    build_hole_geometry();
    EXPECT_EQ(snapshot(*this), first);
    EXPECT_EQ(physicsWorld.rampVertexCount, vertices);
    EXPECT_GT(first.size(), 40u);
    EXPECT_EQ(geomLists.conveyor[0].size(), 1u);
    EXPECT_EQ(geomLists.conveyor[3].size(), 1u);
    EXPECT_EQ(geomLists.warpPads.size(), 2u);
    EXPECT_EQ(geomLists.sandSlabs.size(), 1u);
    EXPECT_EQ(geomLists.movingBlocks.size(), 1u);
}

TEST_F(PhysicsTest, OscillatingBlocksRiseAndFallOverTheCycle)
{
    const int frameAt[] = {30, 100, 270, 400};
    const float topAt[] = {48, 64, 48, 32};
    for (int k = 0; k < 4; ++k) {
        oscillationFrame = frameAt[k];
        EXPECT_FLOAT_EQ(moving_block_top(1), topAt[k]) << "frame " << frameAt[k];
    }
    oscillationFrame = 1;
    set_tile(3, 3, 1, KIND_OSCILLATING_BLOCK);
    set_tile(5, 3, 2, KIND_OSCILLATING_BLOCK);
    set_tile(7, 3, 1, KIND_OSCILLATING_BLOCK);
    build_hole_geometry();
    ASSERT_EQ(geomLists.movingBlocks.size(), 3u);
    // The editor takes the last block away; the others still follow their own tiles.
    set_tile(7, 3, 1);
    remove_last_moving_block(physicsWorld);
    for (int f = 1; f < 100; ++f) {
        step_moving_blocks(physicsWorld);
        advance_oscillation_frame(physicsWorld);
    }
    oscillationFrame = 99;
    step_moving_blocks(physicsWorld);
    EXPECT_NEAR(dGeomGetPosition(geomLists.movingBlocks[0])[2], 64 - 32, 1e-9);
    EXPECT_NEAR(dGeomGetPosition(geomLists.movingBlocks[1])[2], 96 - 32, 1e-9);
    EXPECT_NEAR(dGeomGetPosition(geomLists.movingBlocks[1])[0], tile_centre(5), 1e-9);
    oscillationFrame = 480;
    advance_oscillation_frame(physicsWorld);
    EXPECT_EQ(oscillationFrame, 1);
}
