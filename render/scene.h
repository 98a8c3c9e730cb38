// The scene's frame: projection, clear, camera and the drawing steps of the hole.
#pragma once

#include "render/tile_rules.h"

// Viewport and orthographic projection for the window size (after a reshape).
void set_projection(int width, int height);
// Clears, sets the depth and culling state and pushes the model-view matrix.
void begin_scene();
// Centres on the followed ball when the putting or turn state asks for it, then rotates,
// scales and translates the world for the camera.
void apply_camera();
// The black surround and the 49 x 49 floor squares.
void draw_base_plane();
// Every tile with its railings and obstacles; moves the oscillating blocks' physics boxes.
void draw_tiles();
// The tee mat, when the hole has a tee.
void draw_tee_marker();
// Pops the model-view matrix; texturing, culling and depth test off.
void end_scene();
// Loads every texture (at start-up and after a display mode change).
void load_scene_textures();
// Forgets what was compiled for the hole, so the next frame compiles it again. A new GL
// context or changed texture names are noticed without it.
void drop_compiled_scene();
// Points the ball step's drawing hooks at the ball, putter and power meter drawing. Call
// once at start-up.
void install_drawing_hooks();

// What stays the same between frames (floor, columns, rails, warp tops, bumper posts) is
// compiled once per hole, view angle and context, leaving out faces that neighbours hide;
// plain drawing sends everything face by face every frame instead (the picture is the same).
void set_plain_drawing(bool plain);
// For checks: the faces the compiled drawing leaves out, untextured in one colour.
void draw_hidden_faces(const unsigned char colour[3]);

// The drawing hooks, also usable directly.
void draw_ball(int slot, const double pos[3], const double rot[12], double radius);
void draw_putter(const double pos[3], const double rot[12]);
void draw_power_meter(float meter, const double ballPos[3]);
