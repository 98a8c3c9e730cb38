// The scene's frame: projection, clear, camera and the drawing steps of the hole.
#pragma once

#include "hole/hole_grid.h"
#include "hole/round_state.h"
#include "render/camera.h"
#include "render/renderer.h"
#include "render/tile_rules.h"

class PhysicsWorld;

// Viewport and orthographic projection for the window size (after a reshape).
void set_projection(int width, int height);
// Clears, sets the depth and culling state and pushes the model-view matrix.
void begin_scene();
// One tick of the camera: centres on the world's followed ball when its putting or turn state
// asks for it (the flags the camera consumes are cleared) and keeps the translation to draw.
void follow_world(CameraState& camera, PhysicsWorld& w);
// Rotates, scales and translates the world as the camera stands; reads the camera only.
void apply_camera(Renderer& r, const CameraState& camera);
// The black surround and the 49 x 49 floor squares.
void draw_base_plane(Renderer& r, const HoleGrid& grid);
// Every tile of the world's hole with its railings and obstacles, the oscillating blocks
// where the world's phase has them and a bumper's flash. Reads the world only.
void draw_tiles(Renderer& r, const PhysicsWorld& w);
// The tee mat, when the hole has a tee.
void draw_tee_marker(Renderer& r, const HoleGrid& grid);
// Pops the model-view matrix; texturing, culling and depth test off.
void end_scene();
// Loads every texture (at start-up and after a display mode change).
void load_scene_textures(Renderer& r, const std::string& dataDir);
// Forgets what was compiled for the hole, so the next frame compiles it again. A new GL
// context or changed texture names are noticed without it.
void drop_compiled_scene(Renderer& r);

// What stays the same between frames (floor, columns, rails, warp tops, bumper posts) is
// compiled once per hole, view angle and context, leaving out faces that neighbours hide;
// plain drawing sends everything face by face every frame instead (the picture is the same).
void set_plain_drawing(Renderer& r, bool plain);
// For checks: the faces the compiled drawing leaves out, untextured in one colour.
void draw_hidden_faces(Renderer& r, const HoleGrid& grid, const unsigned char colour[3]);

// The ball of colour index 1..11 (another keeps whatever picture is bound), turned by rot.
void draw_ball(const Renderer& r, int colour, const double pos[3], const double rot[12], double radius);
// The colour a ball slot is drawn in: the player's colour; with no players, white for slot 0.
int ball_colour_of(const GameState& round, int slot);
void draw_putter(const double pos[3], const double rot[12]);
// The power meter beside the ball being aimed along aimAngle (degrees, world frame) with the
// world turned by viewAngle, placed by place_power_meter; flipped takes the other side.
void draw_power_meter(float meter, const double ballPos[3], float aimAngle, float viewAngle, bool flipped);
