// The ground of a hole: the base plane, ground columns with their tops, ramps, conveyor,
// warp and tee tops, and the stroke-font labels of the warp numbers.
#include <GL/freeglut.h>

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "render/camera.h"
#include "render/drawing_gl.h"
#include "render/textures.h"

namespace {

struct QuadVertex {
    bool textured;
    float s, t, x, y, z;
};

struct QuadCollector {
    bool open = false;
    int count = 0;
    QuadVertex corners[4];
};

QuadCollector quads;

// While recording, textured triangles are filed by texture instead of being sent, so a
// compiled hole binds each texture once.
struct RecordedVertex {
    float colour[3];
    float s, t, x, y, z;
};

struct Recorder {
    bool on = false;
    uint32_t texture = 0;
    float colour[3] = {1, 1, 1};
    std::vector<uint32_t> textures;                    // in order of first use
    std::vector<std::vector<RecordedVertex>> vertices; // by position in textures
    size_t current = 0;
};

Recorder recorder;

void send(const QuadVertex& v)
{
    if (recorder.on) {
        const Recorder& r = recorder;
        recorder.vertices[r.current].push_back({{r.colour[0], r.colour[1], r.colour[2]}, v.s, v.t, v.x, v.y, v.z});
        return;
    }
    if (v.textured) glTexCoord2f(v.s, v.t);
    glVertex3f(v.x, v.y, v.z);
}

void collect(const QuadVertex& v)
{
    if (!quads.open) {
        send(v);
        return;
    }
    quads.corners[quads.count++] = v;
    if (quads.count < 4) return;
    const QuadVertex* c = quads.corners;
    send(c[0]); send(c[1]); send(c[2]);
    send(c[0]); send(c[2]); send(c[3]);
    quads.count = 0;
}

}  // namespace

void begin_quads()
{
    if (!recorder.on) glBegin(GL_TRIANGLES);
    quads.open = true;
    quads.count = 0;
}

void end_quads()
{
    quads.open = false;
    if (!recorder.on) glEnd();
}

void begin_triangles()
{
    if (!recorder.on) glBegin(GL_TRIANGLES);
}

void end_triangles()
{
    if (!recorder.on) glEnd();
}

void tint(float t)
{
    if (recorder.on) recorder.colour[0] = recorder.colour[1] = recorder.colour[2] = t;
    else glColor3f(t, t, t);
}

void bind(GroundTexture texture)
{
    const uint32_t name = textureTable.ground[texture];
    if (!recorder.on) {
        glBindTexture(GL_TEXTURE_2D, name);
        return;
    }
    Recorder& r = recorder;
    r.texture = name;
    for (r.current = 0; r.current < r.textures.size(); ++r.current)
        if (r.textures[r.current] == name) return;
    r.textures.push_back(name);
    r.vertices.emplace_back();
}

void start_recording()
{
    Recorder& r = recorder;
    r.on = true;
    r.textures.clear();
    r.vertices.clear();
    r.texture = 0;
    r.current = 0;
    // whatever comes before the first bind draws with the texture bound now
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    r.textures.push_back(static_cast<uint32_t>(bound));
    r.vertices.emplace_back();
}

void send_recording()
{
    Recorder& r = recorder;
    r.on = false;
    glEnable(GL_TEXTURE_2D);
    for (size_t k = 0; k < r.textures.size(); ++k) {
        if (r.vertices[k].empty()) continue;
        glBindTexture(GL_TEXTURE_2D, r.textures[k]);
        glBegin(GL_TRIANGLES);
        for (const RecordedVertex& v : r.vertices[k]) {
            glColor3fv(v.colour);
            glTexCoord2f(v.s, v.t);
            glVertex3f(v.x, v.y, v.z);
        }
        glEnd();
    }
    r.textures.clear();
    r.vertices.clear();
}

void vertex(float s, float t, float x, float y, float z) { collect({true, s, t, x, y, z}); }

void vertex(float x, float y, float z) { collect({false, 0, 0, x, y, z}); }

namespace {

// A flat quad at height z over the tile with the usual corner coordinates.
void flat_top(float x, float y, float z)
{
    begin_quads();
    vertex(0, 0, x, y, z);
    vertex(1, 0, x + TILE_SIZE, y, z);
    vertex(1, 1, x + TILE_SIZE, y + TILE_SIZE, z);
    vertex(0, 1, x, y + TILE_SIZE, z);
    end_quads();
}

void half_grass_top(float x, float y, float z, int kind)
{
    // Each corner kind turns the picture by a quarter more.
    static const float coords[4][4][2] = {
        {{0, 0}, {1, 0}, {1, 1}, {0, 1}},
        {{0, 1}, {0, 0}, {1, 0}, {1, 1}},
        {{1, 1}, {0, 1}, {0, 0}, {1, 0}},
        {{1, 0}, {1, 1}, {0, 1}, {0, 0}},
    };
    const float (*c)[2] = coords[kind - KIND_HALF_GRASS_FIRST];
    begin_quads();
    vertex(c[0][0], c[0][1], x, y, z);
    vertex(c[1][0], c[1][1], x + TILE_SIZE, y, z);
    vertex(c[2][0], c[2][1], x + TILE_SIZE, y + TILE_SIZE, z);
    vertex(c[3][0], c[3][1], x, y + TILE_SIZE, z);
    end_quads();
}

void column_top(float x, float y, float z, int kind)
{
    if (kind == KIND_PLAIN || kind == KIND_BUMPER) {
        bind(TEXTURE_GRASS);
        tint(0.75f);
    } else if (kind == KIND_OSCILLATING_BLOCK) {
        bind(TEXTURE_BLOCK_MOVING);
        tint(0.75f);
    } else if (kind == KIND_WATER) {
        bind(TEXTURE_WATER);
        tint(1.0f);
    } else if (kind == KIND_SAND) {
        bind(TEXTURE_SAND);
        tint(1.0f);
    } else if (is_conveyor(kind)) {
        draw_conveyor_top(x, y, z, kind + 5);
        return;
    } else if (is_half_grass(kind)) {
        bind(TEXTURE_HALF_GRASS);
        tint(0.75f);
        half_grass_top(x, y, z, kind);
        return;
    } else {
        return;   // warp tops come with their numbers; other kinds have none
    }
    flat_top(x, y, z);
}

}  // namespace

void draw_floor_square(int i, int j)
{
    const float x0 = tile_corner(i), y0 = tile_corner(j);
    const bool centre = x0 >= -1024 && x0 <= 1024 && y0 >= -1024 && y0 <= 1024;
    bind(centre ? TEXTURE_BOTTOM_GRASS : TEXTURE_EDGE);
    tint(1.0f);
    flat_top(x0, y0, 0);
}

void draw_base_plane_squares(const bool* skip)
{
    glColor3f(0, 0, 0);
    begin_quads();
    vertex(-2500, -2500, 0); vertex(2500, -2500, 0); vertex(1600, -1536, 0); vertex(-1536, -1536, 0);
    vertex(2500, -2500, 0); vertex(2500, 2500, 0); vertex(1600, 1600, 0); vertex(1600, -1536, 0);
    vertex(2500, 2500, 0); vertex(-2500, 2500, 0); vertex(-1536, 1600, 0); vertex(1600, 1600, 0);
    vertex(-2500, 2500, 0); vertex(-2500, -2500, 0); vertex(-1536, -1536, 0); vertex(-1536, 1600, 0);
    end_quads();
    glEnable(GL_TEXTURE_2D);
    // Floor squares never overlap, so the compiled floor may batch them by texture.
    if (skip) start_recording();
    for (int j = 0; j < GRID_SIZE; ++j) {
        for (int i = 0; i < GRID_SIZE; ++i) {
            if (skip && skip[i * GRID_SIZE + j]) continue;
            draw_floor_square(i, j);
        }
    }
    if (skip) send_recording();
}

void draw_column(float x, float y, int steps, bool withTop, int kind, const HiddenSteps* hidden)
{
    const float view = cameraState.viewAngle;
    const float ty = tint_y(view), tx = tint_x(view);
    const int n = drawn_steps(steps);
    const float x1 = x + TILE_SIZE, y1 = y + TILE_SIZE;
    for (int s = 1; s <= n; ++s) {
        const float z1 = s * LEVEL_HEIGHT, z0 = z1 - LEVEL_HEIGHT;
        const bool marking = hidden && hidden->onlyHidden;
        if (!marking) bind(kind == KIND_WATER && s == n ? TEXTURE_WATER : TEXTURE_MUD);
        begin_quads();
        if (face_drawn(hidden, FACE_MINUS_Y, s)) {
            if (!marking) tint(ty);
            vertex(0, 0, x, y, z0); vertex(1, 0, x1, y, z0); vertex(1, 1, x1, y, z1); vertex(0, 1, x, y, z1);
        }
        if (face_drawn(hidden, FACE_PLUS_X, s)) {
            if (!marking) tint(tx);
            vertex(0, 0, x1, y, z0); vertex(1, 0, x1, y1, z0); vertex(1, 1, x1, y1, z1); vertex(0, 1, x1, y, z1);
        }
        if (face_drawn(hidden, FACE_PLUS_Y, s)) {
            if (!marking) tint(ty);
            vertex(0, 0, x1, y1, z0); vertex(1, 0, x, y1, z0); vertex(1, 1, x, y1, z1); vertex(0, 1, x1, y1, z1);
        }
        if (face_drawn(hidden, FACE_MINUS_X, s)) {
            if (!marking) tint(tx);
            vertex(0, 0, x, y1, z0); vertex(1, 0, x, y, z0); vertex(1, 1, x, y, z1); vertex(0, 1, x, y1, z1);
        }
        end_quads();
        if (s == n && withTop && !marking) column_top(x, y, z1, kind);
    }
}

void draw_ramp_column(float x, float y, int height, int direction, const HiddenSteps* hidden)
{
    const int h = drawn_steps(height);
    if (h > 1) draw_column(x, y, h - 1, false, KIND_PLAIN, hidden);
    draw_ramp_wedge(x, y, h - 1, direction);
}

void draw_ramp_wedge(float x, float y, int steps, int direction)
{
    const float view = cameraState.viewAngle;
    const float ty = tint_y(view), tx = tint_x(view);
    const float z0 = steps * LEVEL_HEIGHT, z1 = z0 + LEVEL_HEIGHT;
    const float x1 = x + TILE_SIZE, y1 = y + TILE_SIZE;
    bind(TEXTURE_MUD);
    switch (direction) {
    case 0:   // rises toward +y
        tint(tx);
        begin_triangles();
        vertex(0, 0, x1, y, z0); vertex(1, 0, x1, y1, z0); vertex(1, 1, x1, y1, z1);
        end_triangles();
        tint(ty);
        begin_quads();
        vertex(0, 0, x1, y1, z0); vertex(1, 0, x, y1, z0); vertex(1, 1, x, y1, z1); vertex(0, 1, x1, y1, z1);
        end_quads();
        tint(tx);
        begin_triangles();
        vertex(0, 0, x, y1, z0); vertex(1, 0, x, y, z0); vertex(0, 1, x, y1, z1);
        end_triangles();
        bind(TEXTURE_GRASS);
        tint(ramp_top_tint(0, view));
        begin_quads();
        vertex(0, 0, x, y, z0); vertex(1, 0, x1, y, z0); vertex(1, 1, x1, y1, z1); vertex(0, 1, x, y1, z1);
        end_quads();
        break;
    case 1:   // rises toward -x
        tint(ty);
        begin_triangles();
        vertex(0, 0, x, y, z0); vertex(1, 0, x1, y, z0); vertex(0, 1, x, y, z1);
        vertex(0, 0, x1, y1, z0); vertex(1, 0, x, y1, z0); vertex(1, 1, x, y1, z1);
        end_triangles();
        tint(tx);
        begin_quads();
        vertex(0, 0, x, y1, z0); vertex(1, 0, x, y, z0); vertex(1, 1, x, y, z1); vertex(0, 1, x, y1, z1);
        end_quads();
        bind(TEXTURE_GRASS);
        tint(ramp_top_tint(1, view));
        begin_quads();
        vertex(0, 0, x, y, z1); vertex(1, 0, x1, y, z0); vertex(1, 1, x1, y1, z0); vertex(0, 1, x, y1, z1);
        end_quads();
        break;
    case 2:   // rises toward -y
        tint(ty);
        begin_quads();
        vertex(0, 0, x, y, z0); vertex(1, 0, x1, y, z0); vertex(1, 1, x1, y, z1); vertex(0, 1, x, y, z1);
        end_quads();
        tint(tx);
        begin_triangles();
        vertex(0, 0, x1, y, z0); vertex(1, 0, x1, y1, z0); vertex(0, 1, x1, y, z1);
        vertex(0, 0, x, y1, z0); vertex(1, 0, x, y, z0); vertex(1, 1, x, y, z1);
        end_triangles();
        bind(TEXTURE_GRASS);
        tint(ramp_top_tint(2, view));
        begin_quads();
        vertex(0, 0, x, y, z1); vertex(1, 0, x1, y, z1); vertex(1, 1, x1, y1, z0); vertex(0, 1, x, y1, z0);
        end_quads();
        break;
    default:  // rises toward +x
        tint(ty);
        begin_triangles();
        vertex(0, 0, x, y, z0); vertex(1, 0, x1, y, z0); vertex(1, 1, x1, y, z1);
        end_triangles();
        tint(tx);
        begin_quads();
        vertex(0, 0, x1, y, z0); vertex(1, 0, x1, y1, z0); vertex(1, 1, x1, y1, z1); vertex(0, 1, x1, y, z1);
        end_quads();
        tint(ty);
        begin_triangles();
        vertex(0, 0, x1, y1, z0); vertex(1, 0, x, y1, z0); vertex(0, 1, x1, y1, z1);
        end_triangles();
        bind(TEXTURE_GRASS);
        tint(ramp_top_tint(3, view));
        begin_quads();
        vertex(0, 0, x1, y, z1); vertex(1, 0, x1, y1, z1); vertex(1, 1, x, y1, z0); vertex(0, 1, x, y, z0);
        end_quads();
        break;
    }
}

void draw_conveyor_top(float x, float y, float z, int direction)
{
    const float o = conveyorOffset;
    bind(TEXTURE_CONVEYOR);
    tint(1.0f);
    const float x1 = x + TILE_SIZE, y1 = y + TILE_SIZE;
    begin_quads();
    switch (direction) {
    case 0:
        vertex(1 - o, 0, x, y, z); vertex(1 - o, 1, x1, y, z); vertex(-o, 1, x1, y1, z); vertex(-o, 0, x, y1, z);
        break;
    case 1:
        vertex(-o, 0, x, y, z); vertex(1 - o, 0, x1, y, z); vertex(1 - o, 1, x1, y1, z); vertex(-o, 1, x, y1, z);
        break;
    case 2:
        vertex(1 + o, 0, x, y, z); vertex(1 + o, 1, x1, y, z); vertex(o, 1, x1, y1, z); vertex(o, 0, x, y1, z);
        break;
    default:
        vertex(o, 0, x, y, z); vertex(1 + o, 0, x1, y, z); vertex(1 + o, 1, x1, y1, z); vertex(o, 1, x, y1, z);
        break;
    }
    end_quads();
}

void draw_warp_top(float x, float y, int height, int kind)
{
    const int h = height > MAX_DRAWN_STEPS ? MAX_DRAWN_STEPS : height;
    const float z = h * LEVEL_HEIGHT;
    int number = 0;
    if (is_warp_entry_code(kind)) {
        bind(TEXTURE_WARP);
        number = warp_entry_number(kind);
    } else {
        bind(TEXTURE_ZONE);
        number = warp_exit_number(kind);
    }
    tint(0.75f);
    flat_top(x, y, z);
    glDisable(GL_TEXTURE_2D);
    draw_label_3d(static_cast<int>(x) + 3, static_cast<int>(y) + 3, static_cast<int>(z) + 1, 255, 255, 255, "%d", number);
    glEnable(GL_TEXTURE_2D);
}

void draw_tee(float x, float y, int level)
{
    const int l = level > MAX_DRAWN_STEPS ? MAX_DRAWN_STEPS : level;
    bind(TEXTURE_TEE);
    tint(0.75f);
    flat_top(x, y, l * LEVEL_HEIGHT);
}

void draw_label_3d(int x, int y, int z, int red, int green, int blue, const char* format, ...)
{
    char text[260];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    glPushMatrix();
    glColor3ub(static_cast<GLubyte>(red), static_cast<GLubyte>(green), static_cast<GLubyte>(blue));
    glLineWidth(1);
    glTranslatef(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
    const float scale = 20.0f / 152.38f;
    glScalef(scale, scale, scale);
    for (const char* c = text; *c; ++c) glutStrokeCharacter(GLUT_STROKE_ROMAN, static_cast<unsigned char>(*c));
    glPopMatrix();
}
