// The scene's frame: projection, clear and depth conventions, the camera transform, and the
// passes over the hole, plain or from what was compiled for the current hole.
#include <GL/freeglut.h>

#include <memory>
#include <vector>

#include "hole/hole_grid.h"
#include "physics/physics.h"
#include "render/camera.h"
#include "render/drawing_gl.h"
#include "render/scene.h"
#include "render/textures.h"

constexpr int TILE_COUNT = GRID_SIZE * GRID_SIZE;

// What was compiled, for which hole and context.
struct SceneCache {
    bool plainDrawing = false;
    int listWindow = 0;             // the GLUT window whose context holds the lists
    GLuint floorList = 0;
    GLuint tilesList = 0;           // railings, posts, labels: what has no texture
    GLuint surfacesList = 0;        // every textured surface, batched by texture
    bool floorValid = false;
    bool tilesValid = false;
    SceneKey floorKey;
    SceneKey tilesKey;
    SceneKey currentKey;
    bool floorCulled[TILE_COUNT] = {};
    std::vector<int> conveyorTiles;   // i * 49 + j, drawn every frame (their tops scroll)
    std::vector<int> blockTiles;      // oscillating blocks, in i-then-j order
    std::vector<int> bumperTiles;     // bumper caps (they flash)
};

Renderer::Renderer() : buffers(std::make_unique<DrawBuffers>()), cache(std::make_unique<SceneCache>()) {}

Renderer::~Renderer() = default;

namespace {

void ensure_lists(SceneCache& c)
{
    // A new context (after a display mode change) knows none of the old names; they died
    // with the old one, so there is nothing to delete.
    const int window = glutGetWindow();
    if (c.listWindow == window) return;
    c.floorList = glGenLists(1);
    c.tilesList = glGenLists(1);
    c.surfacesList = glGenLists(1);
    c.listWindow = window;
    c.floorValid = c.tilesValid = false;
}

void draw_tile_plain(Renderer& r, const HoleGrid& grid, int i, int j)
{
    const float x = tile_corner(i), y = tile_corner(j);
    const int h = grid.height_at(i, j), k = grid.kind_at(i, j), e = grid.edges_at(i, j);
    if (has_ground_column(h, e)) {
        if (is_ramp(k)) draw_ramp_column(r, x, y, h, k);
        else draw_column(r, x, y, h, true, k);
    }
    if (e != 0) draw_rails_and_cup(r, x, y, h, k, e);
    if (k == KIND_OSCILLATING_BLOCK) draw_moving_block(r, x, y, h);
    if (is_warp_entry_code(k) || is_warp_exit_code(k)) draw_warp_top(r, x, y, h, k);
    if (k == KIND_BUMPER) draw_bumper(r, x, y, h);
}

// Everything of the tile that does not move or change between frames.
void draw_tile_static(Renderer& r, const HoleGrid& grid, int i, int j)
{
    const float x = tile_corner(i), y = tile_corner(j);
    const int h = grid.height_at(i, j), k = grid.kind_at(i, j), e = grid.edges_at(i, j);
    const HiddenSteps hidden = hidden_steps(grid, i, j);
    if (has_ground_column(h, e)) {
        if (is_ramp(k)) draw_ramp_column(r, x, y, h, k, &hidden);
        else draw_column(r, x, y, h, !is_conveyor(k), k, &hidden);
    }
    if (e != 0) draw_rails_and_cup(r, x, y, h, k, e, &hidden);
    if (is_warp_entry_code(k) || is_warp_exit_code(k)) draw_warp_top(r, x, y, h, k);
    if (k == KIND_BUMPER) draw_bumper_post(x, y, h);
}

void compile_tiles(Renderer& r, SceneCache& c, const HoleGrid& grid)
{
    c.conveyorTiles.clear();
    c.blockTiles.clear();
    c.bumperTiles.clear();
    glNewList(c.tilesList, GL_COMPILE);
    start_recording(r);
    for (int i = 0; i < GRID_SIZE; ++i) {
        for (int j = 0; j < GRID_SIZE; ++j) {
            draw_tile_static(r, grid, i, j);
            const int h = grid.height_at(i, j), k = grid.kind_at(i, j), e = grid.edges_at(i, j);
            const int index = i * GRID_SIZE + j;
            if (is_conveyor(k) && has_ground_column(h, e) && drawn_steps(h) > 0) c.conveyorTiles.push_back(index);
            if (k == KIND_OSCILLATING_BLOCK) c.blockTiles.push_back(index);
            if (k == KIND_BUMPER) c.bumperTiles.push_back(index);
        }
    }
    glEndList();
    glNewList(c.surfacesList, GL_COMPILE);
    send_recording(r);
    glEndList();
    c.tilesKey = c.currentKey;
    c.tilesValid = true;
}

void compile_floor(Renderer& r, SceneCache& c, const HoleGrid& grid)
{
    for (int i = 0; i < GRID_SIZE; ++i)
        for (int j = 0; j < GRID_SIZE; ++j) c.floorCulled[i * GRID_SIZE + j] = floor_hidden(grid, i, j);
    glNewList(c.floorList, GL_COMPILE);
    draw_base_plane_squares(r, c.floorCulled);
    glEndList();
    c.floorKey = c.currentKey;
    c.floorValid = true;
}

}  // namespace

void set_plain_drawing(Renderer& r, bool plain) { r.cache->plainDrawing = plain; }

void set_projection(int width, int height)
{
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const float a = static_cast<float>(width / 2 - 1), b = static_cast<float>(height / 2 - 1);
    glOrtho(-a, a, -b, b, 2500, -2500);
    glMatrixMode(GL_MODELVIEW);
}

void begin_scene()
{
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_GEQUAL);
    glClearDepth(0.0);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glPushMatrix();
}

void follow_world(CameraState& camera, PhysicsWorld& w)
{
    double ball[3];
    const bool haveBall = physics_ready(w);
    if (haveBall) ball_position(w, w.followBall, ball);
    follow_camera(camera, w.aim.aimMode, w.aim.aimState, w.grid.teeState, haveBall ? ball : nullptr,
                  camera.translation);
}

void apply_camera(Renderer& r, const CameraState& camera)
{
    r.viewAngle = camera.viewAngle;
    glRotatef(-CAMERA_TILT, 1, 0, 0);
    glRotatef(camera.viewAngle, 0, 0, 1);
    glScalef(camera.zoomScale, camera.zoomScale, camera.zoomScale);
    glTranslatef(camera.translation[0], camera.translation[1], camera.translation[2]);
}

void draw_base_plane(Renderer& r, const HoleGrid& grid)
{
    SceneCache& c = *r.cache;
    if (c.plainDrawing) {
        draw_base_plane_squares(r);
        return;
    }
    ensure_lists(c);
    make_scene_key(c.currentKey, grid, 0.0f, r.textures);
    if (!c.floorValid || !same_scene_key(c.currentKey, c.floorKey)) compile_floor(r, c, grid);
    glCallList(c.floorList);
}

void draw_tiles(Renderer& r, const PhysicsWorld& w)
{
    SceneCache& c = *r.cache;
    const HoleGrid& grid = w.grid;
    // The blocks and the bumpers' flash are drawn as this world has them.
    r.physics = &w;
    if (c.plainDrawing) {
        for (int i = 0; i < GRID_SIZE; ++i)
            for (int j = 0; j < GRID_SIZE; ++j) draw_tile_plain(r, grid, i, j);
        r.physics = nullptr;
        return;
    }
    ensure_lists(c);
    // A column taken away since the floor was drawn (an editor click in this frame) leaves
    // its floor square to be drawn now.
    if (c.floorValid) {
        for (int i = 0; i < GRID_SIZE; ++i)
            for (int j = 0; j < GRID_SIZE; ++j)
                if (c.floorCulled[i * GRID_SIZE + j] && !floor_hidden(grid, i, j)) draw_floor_square(r, i, j);
    }
    make_scene_key(c.currentKey, grid, r.viewAngle, r.textures);
    if (!c.tilesValid || !same_scene_key(c.currentKey, c.tilesKey)) compile_tiles(r, c, grid);
    glCallList(c.surfacesList);
    glCallList(c.tilesList);
    glEnable(GL_TEXTURE_2D);
    for (int index : c.conveyorTiles) {
        const int i = index / GRID_SIZE, j = index % GRID_SIZE;
        const int h = drawn_steps(grid.height[index]);
        draw_conveyor_top(r, tile_corner(i), tile_corner(j), h * LEVEL_HEIGHT, grid.kind[index] + 5);
    }
    for (int index : c.blockTiles)
        draw_moving_block(r, tile_corner(index / GRID_SIZE), tile_corner(index % GRID_SIZE), grid.height[index]);
    for (int index : c.bumperTiles)
        draw_bumper_cap(r, tile_corner(index / GRID_SIZE), tile_corner(index % GRID_SIZE), grid.height[index]);
    r.physics = nullptr;
}

void draw_hidden_faces(Renderer& r, const HoleGrid& grid, const unsigned char colour[3])
{
    glDisable(GL_TEXTURE_2D);
    glColor3ubv(colour);
    for (int i = 0; i < GRID_SIZE; ++i) {
        for (int j = 0; j < GRID_SIZE; ++j) {
            const float x = tile_corner(i), y = tile_corner(j);
            const int h = grid.height_at(i, j), k = grid.kind_at(i, j), e = grid.edges_at(i, j);
            HiddenSteps hidden = hidden_steps(grid, i, j);
            hidden.onlyHidden = true;
            if (floor_hidden(grid, i, j)) {
                begin_quads(r);
                vertex(r, x, y, 0); vertex(r, x + TILE_SIZE, y, 0); vertex(r, x + TILE_SIZE, y + TILE_SIZE, 0); vertex(r, x, y + TILE_SIZE, 0);
                end_quads(r);
            }
            const bool cup = h != 0 && !has_ground_column(h, e);
            if (has_ground_column(h, e) || cup) {
                const int steps = is_ramp(k) && !cup ? drawn_steps(h) - 1 : drawn_steps(h);
                if (steps > 0) draw_column(r, x, y, steps, false, KIND_PLAIN, &hidden);
            }
        }
    }
    glEnable(GL_TEXTURE_2D);
}

void draw_tee_marker(Renderer& r, const HoleGrid& grid)
{
    const Tee& tee = grid.tee;
    if (tee.level != -1) draw_tee(r, static_cast<float>(tee.x), static_cast<float>(tee.y), tee.level);
}

void end_scene()
{
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
}

void drop_compiled_scene(Renderer& r)
{
    SceneCache& c = *r.cache;
    c.listWindow = 0;
    c.floorValid = c.tilesValid = false;
}

void load_scene_textures(Renderer& r, const std::string& dataDir)
{
    load_textures(r.textures, dataDir);
    drop_compiled_scene(r);   // the compiled hole refers to the old texture names
}
