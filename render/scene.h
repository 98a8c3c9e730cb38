// The scene's frame: projection, clear, camera and the drawing steps of the hole.
#pragma once

// Viewport and orthographic projection for the window size (after a reshape).
void set_projection(int width, int height);
// Clears, sets the depth and culling state and pushes the model-view matrix.
void begin_scene();
// Rotates, scales and translates the world for the camera.
void apply_camera();
// The black surround and the 49 x 49 floor squares.
void draw_base_plane();
// Every tile with its railings and obstacles.
void draw_tiles();
// The tee mat, when the hole has a tee.
void draw_tee_marker();
// Pops the model-view matrix; texturing, culling and depth test off.
void end_scene();
// Loads every texture (at start-up and after a display mode change).
void load_scene_textures();
