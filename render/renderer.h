// The drawing's own state for one window: the textures of its GL context, the conveyor scroll,
// the hole compiled for the context and the buffers that batch what is drawn. The session owns
// it; what a frame shows (the grid, the camera, the world) is handed to each drawing call.
#pragma once

#include <memory>

#include "render/textures.h"

class PhysicsWorld;
struct DrawBuffers;   // the batching of quads and textured surfaces (drawing_gl.h)
struct SceneCache;    // what was compiled, for which hole and context (scene_gl.cpp)

struct Renderer {
    Renderer();
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    TextureTable textures = {};          // GL names of the pictures; 0 = not loaded
    float conveyorOffset = 0.0f;         // shared scroll of every conveyor top, 0..1
    float viewAngle = 45.0f;             // the camera's turn while a hole is drawn (side tints)
    const PhysicsWorld* physics = nullptr;   // while the tiles are drawn: the world whose
                                             //   blocks and bumper flash they show
    std::unique_ptr<DrawBuffers> buffers;
    std::unique_ptr<SceneCache> cache;
};
