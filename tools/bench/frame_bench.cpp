// minigolf-bench frame: how long one whole frame of the game's scene takes: the scene with
// its three ball steps, through to a finished frame, for an empty hole, a busy playing hole
// and the densest hole, at 600 x 450 and 1024 x 768. One line per case:
//   frame HOLE WIDTHxHEIGHT median_ms=M p95_ms=P
// It opens a window on $DISPLAY; without a screen run it under Xvfb, e.g.
//   Xvfb :57 -screen 0 1280x1024x24 & DISPLAY=:57 build/run/minigolf-bench frame
// --plain times the plain drawing (every face sent every frame) for comparison.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "render/camera.h"
#include "render/scene.h"
#include "tools/bench/bench_commands.h"
#include "tools/bench/bench_window.h"

namespace {

struct Size {
    int width, height;
};

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    size_t index = static_cast<size_t>(fraction * (values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

}  // namespace

int bench_frame(int argc, char** argv)
{
    int frames = 120;
    bool plain = false;
    std::string dataDir;
    std::vector<std::string> holes = {"empty", "busy", "densest"};
    std::vector<Size> sizes = {{600, 450}, {1024, 768}};
    for (int k = 0; k < argc; ++k) {
        if (!std::strcmp(argv[k], "--frames") && k + 1 < argc) frames = std::max(1, std::atoi(argv[++k]));
        else if (!std::strcmp(argv[k], "--plain")) plain = true;
        else if (!std::strcmp(argv[k], "--data") && k + 1 < argc) dataDir = argv[++k];
        else if (!std::strcmp(argv[k], "--hole") && k + 1 < argc) holes = {argv[++k]};
        else if (!std::strcmp(argv[k], "--size") && k + 1 < argc) {
            Size size{};
            if (std::sscanf(argv[++k], "%dx%d", &size.width, &size.height) != 2 || size.width < 64 || size.height < 64) {
                std::fprintf(stderr, "frame: bad size %s\n", argv[k]);
                return 2;
            }
            sizes = {size};
        } else {
            std::fprintf(stderr, "frame: unknown option %s\n", argv[k]);
            return 2;
        }
    }
    if (!start_bench_gl(dataDir)) return 1;
    set_plain_drawing(bench_scene().renderer, plain);
    for (const Size& size : sizes) {
        open_bench_window(size.width, size.height);
        for (const std::string& hole : holes) {
            if (!load_bench_hole(hole)) {
                std::fprintf(stderr, "frame: unknown hole %s\n", hole.c_str());
                return 2;
            }
            bench_scene().camera = CameraState();
            for (int k = 0; k < 10; ++k) run_bench_frame();   // compiles the hole, settles the ball
            std::vector<double> times, steps;
            for (int k = 0; k < frames; ++k) {
                const auto start = std::chrono::steady_clock::now();
                steps.push_back(run_bench_frame());
                times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            }
            // ball_steps_ms: the part of the frame spent in the three ball steps
            std::printf("frame %s %dx%d median_ms=%.2f p95_ms=%.2f ball_steps_ms=%.2f%s\n", hole.c_str(), size.width,
                        size.height, percentile(times, 0.5), percentile(times, 0.95), percentile(steps, 0.5),
                        plain ? " drawing=plain" : "");
            std::fflush(stdout);
        }
    }
    return 0;
}
