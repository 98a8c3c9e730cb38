#include "render/tile_rules.h"

#include <cstring>


float tint_y(float viewAngle)
{
    return (viewAngle == 45.0f || viewAngle == 225.0f) ? 0.5f : 1.0f;
}

float tint_x(float viewAngle)
{
    return (viewAngle == 45.0f || viewAngle == 225.0f) ? 1.0f : 0.5f;
}

float ramp_top_tint(int direction, float viewAngle)
{
    const int angle = static_cast<int>(viewAngle);
    switch (direction) {
    case 0: return (angle == 225 || angle == 315) ? 1.0f : 0.5f;
    case 1: return (angle == 135 || angle == 225) ? 1.0f : 0.5f;
    case 2: return (angle == 45 || angle == 135) ? 1.0f : 0.5f;
    default: return (angle == 45 || angle == 315) ? 1.0f : 0.5f;
    }
}

void advance_conveyor_offset(float& offset)
{
    offset += CONVEYOR_STEP;
    if (offset > 1.0f) offset -= 1.0f;
}

int drawn_steps(int height)
{
    if (height <= 0) return 0;
    return height > MAX_DRAWN_STEPS ? MAX_DRAWN_STEPS : height;
}

int solid_steps(const HoleGrid& grid, int i, int j)
{
    if (!tile_in_grid(i, j)) return 0;
    const int h = grid.height_at(i, j), e = grid.edges_at(i, j);
    if (!has_ground_column(h, e)) return 0;
    const int steps = drawn_steps(h);
    return is_ramp(grid.kind_at(i, j)) ? steps - 1 : steps;
}

HiddenSteps hidden_steps(const HoleGrid& grid, int i, int j)
{
    HiddenSteps hidden;
    hidden.face[FACE_MINUS_Y] = solid_steps(grid, i, j - 1);
    hidden.face[FACE_PLUS_X] = solid_steps(grid, i + 1, j);
    hidden.face[FACE_PLUS_Y] = solid_steps(grid, i, j + 1);
    hidden.face[FACE_MINUS_X] = solid_steps(grid, i - 1, j);
    return hidden;
}

bool floor_hidden(const HoleGrid& grid, int i, int j)
{
    return solid_steps(grid, i, j) > 0;
}

void make_scene_key(SceneKey& key, const HoleGrid& grid, float viewAngle, const TextureTable& textures)
{
    std::memcpy(key.height, grid.height, sizeof key.height);
    std::memcpy(key.kind, grid.kind, sizeof key.kind);
    std::memcpy(key.edges, grid.edges, sizeof key.edges);
    key.viewAngle = viewAngle;
    std::memcpy(key.textures, textures.ground, sizeof key.textures);
}

bool same_scene_key(const SceneKey& a, const SceneKey& b)
{
    return a.viewAngle == b.viewAngle && std::memcmp(a.textures, b.textures, sizeof a.textures) == 0 &&
           std::memcmp(a.height, b.height, sizeof a.height) == 0 &&
           std::memcmp(a.kind, b.kind, sizeof a.kind) == 0 &&
           std::memcmp(a.edges, b.edges, sizeof a.edges) == 0;
}
