// minigolf-bench check: draws the showcase hole (every kind of tile and edge code, a ball, the
// putter and the power meter) at the four view angles and the zoom limits, once plainly
// (every face, every frame) and once from the compiled hole, and counts the pixels that
// differ. A pixel may differ only where a face the compiled drawing leaves out (one that a
// neighbour hides) reaches the front at exactly equal depth along a shared edge, where the
// plain drawing shows a speck of that face; any other difference is "unexplained". Then
// it hits a bumper with a ball and follows the colour of its cap. Lines:
//   compare angle=A zoom=Z differing=N unexplained=U
//   flash before=R,G,B first=R,G,B white_frames=N after=R,G,B other=R,G,B
// Exit status 0 when no difference is unexplained and the bumper was hit. --out DIR keeps the pictures (PPM).
#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <ode/ode.h>

#include "hole/round_state.h"
#include "physics/physics.h"
#include "render/camera.h"
#include "render/sample_holes.h"
#include "render/scene.h"
#include "tools/bench/bench_commands.h"
#include "tools/bench/bench_window.h"

namespace {

constexpr int WIDTH = 600, HEIGHT = 450;

struct Colour {
    int r, g, b;
};

// The same still moment every time: blocks half risen, belts part way, one bumper flashing.
void freeze_animation()
{
    BenchScene& scene = bench_scene();
    scene.table.world.oscillationFrame = 30;
    scene.renderer.conveyorOffset = 0.3f;
    int i = 0, j = 0;
    find_tile(scene.table.grid, KIND_BUMPER, i, j);
    scene.table.world.bumperFlash = {tile_corner(i), tile_corner(j), 7};
    scene.table.aim.meterFlipped = false;
}

const unsigned char MARKER[3] = {1, 254, 3};

// plain: every face every frame; marked: plain, then the faces the compiled drawing leaves
// out in the marker colour, showing where such a face reaches the front at equal depth.
std::vector<uint8_t> draw_still(bool plain, bool marked = false)
{
    freeze_animation();
    BenchScene& scene = bench_scene();
    Renderer& r = scene.renderer;
    set_plain_drawing(r, plain);
    begin_scene();
    follow_world(scene.camera, scene.table.world);
    apply_camera(r, scene.camera);
    draw_base_plane(r, scene.table.grid);
    draw_tiles(r, scene.table.world);
    draw_tee_marker(r, scene.table.grid);
    if (marked) draw_hidden_faces(r, scene.table.grid, MARKER);
    const double ball[3] = {tile_corner(23) + 32.0, tile_corner(23) + 32.0, 32.0 + 9};
    dMatrix3 turned;
    dRFromAxisAndAngle(turned, 1, 1, 0, 0.7);
    draw_ball(r, ball_colour_of(scene.table.round, 0), ball, turned, 9.0);
    draw_power_meter(30, ball, 0.0f, scene.camera.viewAngle, false);
    dMatrix3 aim;
    dRFromAxisAndAngle(aim, 0, 0, 1, 0.5);
    const double putter[3] = {ball[0] - 40, ball[1] - 20, ball[2] + 0.05};
    draw_putter(putter, aim);
    end_scene();
    std::vector<uint8_t> pixels = read_back_buffer(WIDTH, HEIGHT);
    glutSwapBuffers();
    glutMainLoopEvent();
    return pixels;
}

int compare_views(const std::string& outDir)
{
    int total = 0;
    const float angles[4] = {45, 135, 225, 315};
    const int zooms[3] = {-3, 0, 3};
    for (float angle : angles) {
        for (int zoom : zooms) {
            CameraState& camera = bench_scene().camera;
            camera = CameraState();
            camera.viewAngle = angle;
            for (int k = 0; k < zoom; ++k) zoom_in(camera);
            for (int k = 0; k > zoom; --k) zoom_out(camera);
            const std::vector<uint8_t> plain = draw_still(true);
            const std::vector<uint8_t> compiled = draw_still(false);
            const std::vector<uint8_t> marked = draw_still(true, true);
            std::vector<uint8_t> difference(plain.size(), 0);
            int differing = 0, unexplained = 0;
            for (size_t p = 0; p < plain.size(); p += 3) {
                if (std::memcmp(&plain[p], &compiled[p], 3) != 0) {
                    ++differing;
                    difference[p] = 255;
                    if (std::memcmp(&marked[p], MARKER, 3) != 0) {
                        ++unexplained;
                        difference[p + 1] = 255;
                    }
                }
            }
            std::printf("compare angle=%d zoom=%d differing=%d unexplained=%d\n", static_cast<int>(angle), zoom,
                        differing, unexplained);
            std::fflush(stdout);
            total += unexplained;
            if (!outDir.empty()) {
                const std::string stem = outDir + "/showcase_" + std::to_string(static_cast<int>(angle)) + "_" + std::to_string(zoom);
                write_ppm(stem + ".ppm", compiled, WIDTH, HEIGHT);
                if (differing) {
                    write_ppm(stem + "_plain.ppm", plain, WIDTH, HEIGHT);
                    write_ppm(stem + "_diff.ppm", difference, WIDTH, HEIGHT);
                }
            }
        }
    }
    return total;
}

Colour pixel_at(const std::vector<uint8_t>& rows, int x, int y)
{
    if (x < 0 || y < 0 || x >= WIDTH || y >= HEIGHT) return {-1, -1, -1};
    const size_t p = (static_cast<size_t>(y) * WIDTH + x) * 3;
    return {rows[p], rows[p + 1], rows[p + 2]};
}

// One tick of the game and its picture; returns the colours at the tops of the two bumpers'
// caps.
void play_frame(const double capA[3], const double capB[3], Colour& a, Colour& b)
{
    BenchScene& scene = bench_scene();
    Renderer& r = scene.renderer;
    PhysicsWorld& world = scene.table.world;
    tick_world(world);
    advance_conveyor_offset(r.conveyorOffset);
    begin_scene();
    follow_world(scene.camera, world);
    apply_camera(r, scene.camera);
    draw_base_plane(r, scene.table.grid);
    draw_tiles(r, world);
    draw_tee_marker(r, scene.table.grid);
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    draw_world_balls(world);
    end_scene();
    const std::vector<uint8_t> rows = read_back_buffer(WIDTH, HEIGHT);
    glutSwapBuffers();
    glutMainLoopEvent();
    GLdouble wx, wy, wz;
    gluProject(capA[0], capA[1], capA[2], model, projection, viewport, &wx, &wy, &wz);
    a = pixel_at(rows, static_cast<int>(wx), HEIGHT - 1 - static_cast<int>(wy));
    gluProject(capB[0], capB[1], capB[2], model, projection, viewport, &wx, &wy, &wz);
    b = pixel_at(rows, static_cast<int>(wx), HEIGHT - 1 - static_cast<int>(wy));
}

bool follow_bumper_flash()
{
    BenchScene& scene = bench_scene();
    PhysicsWorld& world = scene.table.world;
    const HoleGrid& holeGrid = scene.table.grid;
    set_plain_drawing(scene.renderer, false);
    scene.camera = CameraState();
    world.bumperFlash = {};
    int i = 0, j = 0;
    find_tile(holeGrid, KIND_BUMPER, i, j);
    const int h = holeGrid.height_at(i, j);
    const double capA[3] = {tile_corner(i) + 32.0, tile_corner(j) + 32.0, 32.0 * h + 22};
    int oi = 0;
    for (oi = i + 1; oi < GRID_SIZE; ++oi) if (holeGrid.kind_at(oi, j) == KIND_BUMPER) break;
    const double capB[3] = {tile_corner(oi) + 32.0, tile_corner(j) + 32.0, 32.0 * holeGrid.height_at(oi, j) + 22};
    // A ball two tiles beyond the bumper (away from the viewer) rolling straight at its post.
    reset_balls(world);
    place_ball(world, 0, holeGrid.height_at(i, j + 2), tile_corner(i), tile_corner(j + 2));
    Colour before{}, first{}, after{}, other{};
    for (int k = 0; k < 20; ++k) play_frame(capA, capB, before, other);
    dBodySetLinearVel(world.balls[0].body, 0, -600, 0);
    bool hit = false;
    Colour atHit{}, unused{};
    for (int k = 0; k < 200 && !hit; ++k) {
        play_frame(capA, capB, atHit, unused);
        hit = world.bumperFlash.framesLeft > 0;
    }
    // The picture of the tick that hit the bumper shows the flash already.
    int whiteFrames = 0;
    if (hit) {
        if (atHit.g == 255) ++whiteFrames;
        play_frame(capA, capB, first, other);
        if (first.g == 255) ++whiteFrames;
        for (int k = 0; k < 30; ++k) {
            play_frame(capA, capB, after, other);
            if (after.g == 255 && after.r == 255 && after.b == 255) ++whiteFrames;
        }
    }
    std::printf("flash hit=%d before=%d,%d,%d first=%d,%d,%d white_frames=%d after=%d,%d,%d other=%d,%d,%d\n", hit ? 1 : 0,
                before.r, before.g, before.b, first.r, first.g, first.b, whiteFrames, after.r, after.g, after.b,
                other.r, other.g, other.b);
    return hit;
}

}  // namespace

int bench_check(int argc, char** argv)
{
    std::string outDir, dataDir;
    for (int k = 0; k < argc; ++k) {
        if (!std::strcmp(argv[k], "--out") && k + 1 < argc) outDir = argv[++k];
        else if (!std::strcmp(argv[k], "--data") && k + 1 < argc) dataDir = argv[++k];
        else {
            std::fprintf(stderr, "check: unknown option %s\n", argv[k]);
            return 2;
        }
    }
    if (!start_bench_gl(dataDir)) return 1;
    open_bench_window(WIDTH, HEIGHT);
    if (!load_bench_hole("showcase")) return 1;
    draw_still(true);   // the first frame clears the depth buffer to 1, where nothing passes
    const int differing = compare_views(outDir);
    const bool hit = follow_bumper_flash();
    return differing == 0 && hit ? 0 : 1;
}
