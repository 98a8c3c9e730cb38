// Rules of the hole's drawing that need no OpenGL: the side tints for the view angle, the
// conveyor scroll, and which faces of a column a neighbour hides (so the cached drawing can
// leave them out without changing the picture).
#pragma once

#include <cstdint>

#include "hole/hole_grid.h"
#include "render/textures.h"

// A tint t is glColor3f(t, t, t). Faces toward -y or +y get tint Y, faces toward -x or +x
// tint X; they swap when the view turns by 90 degrees.
float tint_y(float viewAngle);
float tint_x(float viewAngle);
// The sloping top of a ramp rising in direction 0..3 is lit when the viewer looks up it.
float ramp_top_tint(int direction, float viewAngle);

// The shared scroll of every conveyor top, 0..1, grows 0.0247 per frame.
constexpr float CONVEYOR_STEP = 0.0247f;
void advance_conveyor_offset(float& offset);

// A column is never drawn taller than this many steps, whatever a hole file says: taller
// columns lie outside the depth range of the view anyway.
constexpr int MAX_DRAWN_STEPS = 100;
int drawn_steps(int height);

// The four side faces of a column step, in drawing order.
enum ColumnFace { FACE_MINUS_Y, FACE_PLUS_X, FACE_PLUS_Y, FACE_MINUS_X, COLUMN_FACE_COUNT };

// Height, in steps from the floor, up to which tile (i, j) is a solid 64 x 64 column that
// hides whatever lies against its sides: the plain ground column, the column under a ramp
// wedge (height - 1); 0 for a cup tile (one may see into the hole) and off the grid.
int solid_steps(const HoleGrid& grid, int i, int j);

// For each face of tile (i, j)'s column, the number of its lowest steps that the neighbour
// on that side hides completely (0 when none is).
struct HiddenSteps {
    int face[COLUMN_FACE_COUNT] = {0, 0, 0, 0};
    bool onlyHidden = false;   // the other way round: just the hidden faces (for checks)
};
// True when step s (1-based) of face f is drawn under hidden (everything without it).
inline bool face_drawn(const HiddenSteps* hidden, int face, int s)
{
    return !hidden || ((s > hidden->face[face]) != hidden->onlyHidden);
}
HiddenSteps hidden_steps(const HoleGrid& grid, int i, int j);

// True when the floor square under tile (i, j) can never be seen: a solid column stands on it.
bool floor_hidden(const HoleGrid& grid, int i, int j);

// What the compiled hole drawing was made from; a change of any of it means a rebuild.
struct SceneKey {
    int32_t height[GRID_SIZE * GRID_SIZE];
    int32_t kind[GRID_SIZE * GRID_SIZE];
    int32_t edges[GRID_SIZE * GRID_SIZE];
    float viewAngle;
    uint32_t textures[GROUND_TEXTURE_COUNT];   // the texture names the drawing binds
};
void make_scene_key(SceneKey& key, const HoleGrid& grid, float viewAngle, const TextureTable& textures);
bool same_scene_key(const SceneKey& a, const SceneKey& b);
