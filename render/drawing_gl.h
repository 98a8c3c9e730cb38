// The drawing operations of the hole shared by the _gl files of render/: ground columns,
// ramps, tops, obstacles, balls and labels. Everything is drawn in the current model-view
// matrix, without lighting; each face's tint modulates its texture.
#pragma once

#include <cstdint>
#include <vector>

#include "render/renderer.h"
#include "render/textures.h"
#include "render/tile_rules.h"

struct QuadVertex {
    bool textured;
    float s, t, x, y, z;
};

// While recording, textured triangles are filed by texture instead of being sent, so a
// compiled hole binds each texture once.
struct RecordedVertex {
    float colour[3];
    float s, t, x, y, z;
};

struct DrawBuffers {
    // quads being collected into triangles
    bool quadsOpen = false;
    int quadCount = 0;
    QuadVertex corners[4];
    // the recording
    bool recording = false;
    uint32_t texture = 0;
    float colour[3] = {1, 1, 1};
    std::vector<uint32_t> textures;                    // in order of first use
    std::vector<std::vector<RecordedVertex>> vertices; // by position in textures
    size_t current = 0;
};

// Quads go to GL as two triangles each (v0 v1 v2, then v0 v2 v3), and every vertex through
// vertex(): so a surface is the very same set of triangles whether it is drawn directly or
// compiled into a list, and both give the same pixels.
void begin_quads(Renderer& r);
void end_quads(Renderer& r);
void vertex(Renderer& r, float s, float t, float x, float y, float z);   // textured
void vertex(Renderer& r, float x, float y, float z);                     // untextured
void begin_triangles(Renderer& r);
void end_triangles(Renderer& r);
// The tint of what follows (glColor3f(t, t, t)) and the texture it is drawn with.
void tint(Renderer& r, float t);
void bind(Renderer& r, GroundTexture texture);

// Between these, textured surfaces are collected by texture instead of drawn (anything else
// goes to GL as usual); send_recording then draws them, one batch per texture, in the order
// each texture was first used. Only for surfaces that never overlap at equal depth.
void start_recording(Renderer& r);
void send_recording(Renderer& r);

// The black surround and the floor squares at z = 0; skip, when given, marks (by i * 49 + j)
// the squares a column hides, and the squares are then batched by texture (for compiling).
void draw_base_plane_squares(Renderer& r, const bool* skip = nullptr);
void draw_floor_square(Renderer& r, int i, int j);

// Ground columns and tops. hidden, when given, names the lowest steps of each side face that
// a neighbour hides; those faces are left out (the plain drawing passes none).
void draw_column(Renderer& r, float x, float y, int steps, bool withTop, int kind, const HiddenSteps* hidden = nullptr);
void draw_ramp_column(Renderer& r, float x, float y, int height, int direction, const HiddenSteps* hidden = nullptr);
void draw_ramp_wedge(Renderer& r, float x, float y, int steps, int direction);
void draw_conveyor_top(Renderer& r, float x, float y, float z, int direction);
void draw_warp_top(Renderer& r, float x, float y, int height, int kind);
void draw_tee(Renderer& r, float x, float y, int level);

// The cup's octagonal opening: a square from 18 to 46 across the tile with its corners cut,
// the corners at these distances from the tile's edges.
constexpr float CUP_NEAR = 26.20101013f;
constexpr float CUP_FAR = 37.79898987f;

// Obstacles standing on a tile with corner (x, y), height H, kind K and edges E.
void draw_rails_and_cup(Renderer& r, float x, float y, int H, int K, int E, const HiddenSteps* hidden = nullptr);
// The post (static) and the cap (which flashes white for a few frames after a hit).
void draw_bumper_post(float x, float y, int H);
void draw_bumper_cap(Renderer& r, float x, float y, int H);
void draw_bumper(Renderer& r, float x, float y, int H);
// The block of an oscillating-block tile, at the height the world's phase gives it.
void draw_moving_block(Renderer& r, float x, float y, int H);

// Boxes centred at the origin of the current matrix, sizes in world units, colour as bytes.
void draw_box_x(const float size[3], const unsigned char colour[3]);
void draw_box_y(const float size[3], const unsigned char colour[3]);
void draw_cylinder(float length, float radius, float zOffset, const unsigned char colour[3]);

// Pushes the model-view matrix and multiplies it by a body's pose (ODE 3 x 4 rotation, row by
// row, and position). The caller pops.
void apply_body_transform(const double pos[3], const double rot[12]);
void draw_sphere(int slices, int stacks, const double centre[3], double radius);

// Switches to window pixels over the whole viewport (rows from the bottom), with lighting,
// texturing and the depth test off and the enable bits saved; end_overlay puts it all back.
void begin_overlay();
void end_overlay();

// A stroke-font label lying in the ground plane at (x, y, z), about 20 units high.
void draw_label_3d(int x, int y, int z, int red, int green, int blue, const char* format, ...)
    __attribute__((format(printf, 7, 8)));
