#include "tools/bench/bench_window.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "game/game_state.h"
#include "physics/physics.h"
#include "render/camera.h"
#include "render/sample_holes.h"
#include "render/scene.h"
#include "render/textures.h"

namespace fs = std::filesystem;

namespace {

int benchWindow = 0;

}  // namespace

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
    init_physics();
    install_drawing_hooks();
    return true;
}

void open_bench_window(int width, int height)
{
    if (benchWindow) glutDestroyWindow(benchWindow);
    glutInitWindowSize(width, height);
    glutInitWindowPosition(0, 0);
    benchWindow = glutCreateWindow("minigolf-bench");
    glutDisplayFunc([] {});
    for (int k = 0; k < 5; ++k) glutMainLoopEvent();
    set_projection(width, height);
    load_textures();
}

bool load_bench_hole(const std::string& name)
{
    static std::unique_ptr<HoleGrid> built = std::make_unique<HoleGrid>();
    if (!make_sample_hole(*built, name)) return false;
    holeGrid = *built;
    build_hole_geometry(holeGrid);
    reset_balls();
    gameState.playerCount = 0;
    const Tee& tee = holeGrid.tee;
    if (tee.level != -1) place_ball(0, tee.level, static_cast<float>(tee.x), static_cast<float>(tee.y));
    else place_ball(0, holeGrid.height_at(24, 24), tile_corner(24), tile_corner(24));
    physicsWorld.followBall = 0;
    return true;
}

double run_bench_frame()
{
    begin_scene();
    apply_camera();
    draw_base_plane();
    draw_tiles();
    draw_tee_marker();
    const auto start = std::chrono::steady_clock::now();
    for (int step = 0; step < BALL_STEPS_PER_FRAME; ++step) step_balls(step == BALL_STEPS_PER_FRAME - 1 ? 1 : 0);
    const double steps = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    end_scene();
    advance_conveyor_offset();
    advance_oscillation_frame();
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
