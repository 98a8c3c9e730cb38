// A GLUT window with the game's textures and physics, for the drawing benchmarks and checks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "physics/putt_play.h"
#include "render/camera.h"
#include "render/renderer.h"

// What the drawing benchmarks draw: a hole in a world of its own, the drawing state and the
// camera.
struct BenchScene {
    PuttTable table;
    Renderer renderer;
    CameraState camera;
    int window = 0;
};

// The benchmark's one scene (made by start_bench_gl).
BenchScene& bench_scene();

// Goes to the folder holding textures/ (the program's own folder unless dataDir is given)
// and starts GLUT. False when neither works.
bool start_bench_gl(const std::string& dataDir);
// Opens a window of the given size (closing the previous one), sets the projection and loads
// the textures into its context.
void open_bench_window(int width, int height);
// Loads a sample hole into the grid, builds its geometry and puts ball 0 on its tee (or on
// the centre tile).
bool load_bench_hole(const std::string& name);
// One whole frame as the game draws it: the scene, three ball steps (balls drawn in the
// last), the animation counters, the swap and a finish.
// Returns the milliseconds spent in the three ball steps.
double run_bench_frame();
// The back buffer as rows of RGB bytes, top row first.
std::vector<uint8_t> read_back_buffer(int width, int height);
// Writes RGB rows (top first) as a binary PPM picture.
bool write_ppm(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height);
