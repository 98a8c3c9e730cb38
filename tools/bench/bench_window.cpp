#include "tools/bench/bench_window.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "hole/round_state.h"
#include "physics/physics.h"
#include "render/camera.h"
#include "render/sample_holes.h"
#include "render/scene.h"
#include "render/textures.h"

namespace fs = std::filesystem;

BenchScene& bench_scene()
{
    // The benchmark tool draws one scene at a time; it lives until the tool ends.
    static const std::unique_ptr<BenchScene> scene = std::make_unique<BenchScene>();
    return *scene;
}

bool start_bench_gl(const std::string& dataDir)
{
    std::error_code error;
    fs::path dir = dataDir.empty() ? fs::canonical("/proc/self/exe", error).parent_path() : fs::path(dataDir);
    if (error || !fs::exists(dir / "textures")) {
        std::fprintf(stderr, "minigolf-bench: no textures/ in %s (give --data DIR)\n", dir.string().c_str());
        return false;
    }
    fs::current_path(dir, error);
    if (error) return false;
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "minigolf-bench: no DISPLAY (run it under Xvfb)\n");
        return false;
    }
    int argc = 1;
    char name[] = "minigolf-bench";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
    BenchScene& scene = bench_scene();
    PhysicsWorld& world = scene.table.world;
    init_physics(world);
    world.hooks.user = &scene;
    world.hooks.draw_ball = [](void* user, int slot, const double pos[3], const double rot[12], double radius) {
        BenchScene& s = *static_cast<BenchScene*>(user);
        draw_ball(s.renderer, ball_colour_of(s.table.round, slot), pos, rot, radius);
    };
    world.hooks.draw_putter = [](void*, const double pos[3], const double rot[12]) { draw_putter(pos, rot); };
    world.hooks.draw_power_meter = [](void* user, float meter, const double ballPos[3]) {
        const BenchScene& scene = *static_cast<BenchScene*>(user);
        draw_power_meter(meter, ballPos, scene.table.aim.aimAngle, scene.camera.viewAngle, scene.table.aim.meterFlipped);
    };
    return true;
}

void open_bench_window(int width, int height)
{
    BenchScene& scene = bench_scene();
    if (scene.window) glutDestroyWindow(scene.window);
    glutInitWindowSize(width, height);
    glutInitWindowPosition(0, 0);
    scene.window = glutCreateWindow("minigolf-bench");
    glutDisplayFunc([] {});
    for (int k = 0; k < 5; ++k) glutMainLoopEvent();
    set_projection(width, height);
    load_scene_textures(scene.renderer, "");
}

bool load_bench_hole(const std::string& name)
{
    static std::unique_ptr<HoleGrid> built = std::make_unique<HoleGrid>();
    if (!make_sample_hole(*built, name)) return false;
    BenchScene& scene = bench_scene();
    PhysicsWorld& world = scene.table.world;
    HoleGrid& grid = scene.table.grid;
    grid = *built;
    build_hole_geometry(world);
    reset_balls(world);
    scene.table.round.playerCount = 0;
    const Tee& tee = grid.tee;
    if (tee.level != -1) place_ball(world, 0, tee.level, static_cast<float>(tee.x), static_cast<float>(tee.y));
    else place_ball(world, 0, grid.height_at(24, 24), tile_corner(24), tile_corner(24));
    world.followBall = 0;
    return true;
}

double run_bench_frame()
{
    BenchScene& scene = bench_scene();
    PhysicsWorld& world = scene.table.world;
    // The tick, then the picture of what it left, as the game loop does.
    const auto start = std::chrono::steady_clock::now();
    tick_world(world);
    const double steps = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    advance_conveyor_offset(scene.renderer.conveyorOffset);
    begin_scene();
    follow_world(scene.camera, world);
    apply_camera(scene.renderer, scene.camera);
    draw_base_plane(scene.renderer, scene.table.grid);
    draw_tiles(scene.renderer, world);
    draw_tee_marker(scene.renderer, scene.table.grid);
    draw_world_balls(world);
    end_scene();
    glutSwapBuffers();
    glFinish();
    glutMainLoopEvent();
    return steps;
}

std::vector<uint8_t> read_back_buffer(int width, int height)
{
    std::vector<uint8_t> rows(static_cast<size_t>(width) * height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
    // GL gives the bottom row first.
    std::vector<uint8_t> top(rows.size());
    const size_t stride = static_cast<size_t>(width) * 3;
    for (int y = 0; y < height; ++y)
        std::copy_n(rows.data() + (height - 1 - y) * stride, stride, top.data() + y * stride);
    return top;
}

bool write_ppm(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    const bool ok = std::fwrite(rgb.data(), 1, rgb.size(), file) == rgb.size();
    return std::fclose(file) == 0 && ok;
}
