// The ground of a hole: the base plane, ground columns with their tops, ramps, conveyor,
// warp and tee tops, and the stroke-font labels of the warp numbers.
#include <GL/freeglut.h>

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "render/drawing_gl.h"
#include "render/textures.h"

namespace {

void send(Renderer& r, const QuadVertex& v)
{
    DrawBuffers& b = *r.buffers;
    if (b.recording) {
        b.vertices[b.current].push_back({{b.colour[0], b.colour[1], b.colour[2]}, v.s, v.t, v.x, v.y, v.z});
        return;
    }
    if (v.textured) glTexCoord2f(v.s, v.t);
    glVertex3f(v.x, v.y, v.z);
}

void collect(Renderer& r, const QuadVertex& v)
{
    DrawBuffers& b = *r.buffers;
    if (!b.quadsOpen) {
        send(r, v);
        return;
    }
    b.corners[b.quadCount++] = v;
    if (b.quadCount < 4) return;
    const QuadVertex* c = b.corners;
    send(r, c[0]); send(r, c[1]); send(r, c[2]);
    send(r, c[0]); send(r, c[2]); send(r, c[3]);
    b.quadCount = 0;
}

}  // namespace

void begin_quads(Renderer& r)
{
    DrawBuffers& b = *r.buffers;
    if (!b.recording) glBegin(GL_TRIANGLES);
    b.quadsOpen = true;
    b.quadCount = 0;
}

void end_quads(Renderer& r)
{
    DrawBuffers& b = *r.buffers;
    b.quadsOpen = false;
    if (!b.recording) glEnd();
}

void begin_triangles(Renderer& r)
{
    if (!r.buffers->recording) glBegin(GL_TRIANGLES);
}

void end_triangles(Renderer& r)
{
    if (!r.buffers->recording) glEnd();
}

void tint(Renderer& r, float t)
{
    DrawBuffers& b = *r.buffers;
    if (b.recording) b.colour[0] = b.colour[1] = b.colour[2] = t;
    else glColor3f(t, t, t);
}

void bind(Renderer& r, GroundTexture texture)
{
    const uint32_t name = r.textures.ground[texture];
    DrawBuffers& b = *r.buffers;
    if (!b.recording) {
        glBindTexture(GL_TEXTURE_2D, name);
        return;
    }
    b.texture = name;
    for (b.current = 0; b.current < b.textures.size(); ++b.current)
        if (b.textures[b.current] == name) return;
    b.textures.push_back(name);
    b.vertices.emplace_back();
}

void start_recording(Renderer& r)
{
    DrawBuffers& b = *r.buffers;
    b.recording = true;
    b.textures.clear();
    b.vertices.clear();
    b.texture = 0;
    b.current = 0;
    // whatever comes before the first bind draws with the texture bound now
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    b.textures.push_back(static_cast<uint32_t>(bound));
    b.vertices.emplace_back();
}

void send_recording(Renderer& r)
{
    DrawBuffers& b = *r.buffers;
    b.recording = false;
    glEnable(GL_TEXTURE_2D);
    for (size_t k = 0; k < b.textures.size(); ++k) {
        if (b.vertices[k].empty()) continue;
        glBindTexture(GL_TEXTURE_2D, b.textures[k]);
        glBegin(GL_TRIANGLES);
        for (const RecordedVertex& v : b.vertices[k]) {
            glColor3fv(v.colour);
            glTexCoord2f(v.s, v.t);
            glVertex3f(v.x, v.y, v.z);
        }
        glEnd();
    }
    b.textures.clear();
    b.vertices.clear();
}

void vertex(Renderer& r, float s, float t, float x, float y, float z) { collect(r, {true, s, t, x, y, z}); }

void vertex(Renderer& r, float x, float y, float z) { collect(r, {false, 0, 0, x, y, z}); }

namespace {

// A flat quad at height z over the tile with the usual corner coordinates.
void flat_top(Renderer& r, float x, float y, float z)
{
    begin_quads(r);
    vertex(r, 0, 0, x, y, z);
    vertex(r, 1, 0, x + TILE_SIZE, y, z);
    vertex(r, 1, 1, x + TILE_SIZE, y + TILE_SIZE, z);
    vertex(r, 0, 1, x, y + TILE_SIZE, z);
    end_quads(r);
}

void half_grass_top(Renderer& r, float x, float y, float z, int kind)
{
    // Each corner kind turns the picture by a quarter more.
    static const float coords[4][4][2] = {
        {{0, 0}, {1, 0}, {1, 1}, {0, 1}},
        {{0, 1}, {0, 0}, {1, 0}, {1, 1}},
        {{1, 1}, {0, 1}, {0, 0}, {1, 0}},
        {{1, 0}, {1, 1}, {0, 1}, {0, 0}},
    };
    const float (*c)[2] = coords[kind - KIND_HALF_GRASS_FIRST];
    begin_quads(r);
    vertex(r, c[0][0], c[0][1], x, y, z);
    vertex(r, c[1][0], c[1][1], x + TILE_SIZE, y, z);
    vertex(r, c[2][0], c[2][1], x + TILE_SIZE, y + TILE_SIZE, z);
    vertex(r, c[3][0], c[3][1], x, y + TILE_SIZE, z);
    end_quads(r);
}

void column_top(Renderer& r, float x, float y, float z, int kind)
{
    if (kind == KIND_PLAIN || kind == KIND_BUMPER) {
        bind(r, TEXTURE_GRASS);
        tint(r, 0.75f);
    } else if (kind == KIND_OSCILLATING_BLOCK) {
        bind(r, TEXTURE_BLOCK_MOVING);
        tint(r, 0.75f);
    } else if (kind == KIND_WATER) {
        bind(r, TEXTURE_WATER);
        tint(r, 1.0f);
    } else if (kind == KIND_SAND) {
        bind(r, TEXTURE_SAND);
        tint(r, 1.0f);
    } else if (is_conveyor(kind)) {
        draw_conveyor_top(r, x, y, z, kind + 5);
        return;
    } else if (is_half_grass(kind)) {
        bind(r, TEXTURE_HALF_GRASS);
        tint(r, 0.75f);
        half_grass_top(r, x, y, z, kind);
        return;
    } else {
        return;   // warp tops come with their numbers; other kinds have none
    }
    flat_top(r, x, y, z);
}

}  // namespace

void draw_floor_square(Renderer& r, int i, int j)
{
    const float x0 = tile_corner(i), y0 = tile_corner(j);
    const bool centre = x0 >= -1024 && x0 <= 1024 && y0 >= -1024 && y0 <= 1024;
    bind(r, centre ? TEXTURE_BOTTOM_GRASS : TEXTURE_EDGE);
    tint(r, 1.0f);
    flat_top(r, x0, y0, 0);
}

void draw_base_plane_squares(Renderer& r, const bool* skip)
{
    glColor3f(0, 0, 0);
    begin_quads(r);
    vertex(r, -2500, -2500, 0); vertex(r, 2500, -2500, 0); vertex(r, 1600, -1536, 0); vertex(r, -1536, -1536, 0);
    vertex(r, 2500, -2500, 0); vertex(r, 2500, 2500, 0); vertex(r, 1600, 1600, 0); vertex(r, 1600, -1536, 0);
    vertex(r, 2500, 2500, 0); vertex(r, -2500, 2500, 0); vertex(r, -1536, 1600, 0); vertex(r, 1600, 1600, 0);
    vertex(r, -2500, 2500, 0); vertex(r, -2500, -2500, 0); vertex(r, -1536, -1536, 0); vertex(r, -1536, 1600, 0);
    end_quads(r);
    glEnable(GL_TEXTURE_2D);
    // Floor squares never overlap, so the compiled floor may batch them by texture.
    if (skip) start_recording(r);
    for (int j = 0; j < GRID_SIZE; ++j) {
        for (int i = 0; i < GRID_SIZE; ++i) {
            if (skip && skip[i * GRID_SIZE + j]) continue;
            draw_floor_square(r, i, j);
        }
    }
    if (skip) send_recording(r);
}

void draw_column(Renderer& r, float x, float y, int steps, bool withTop, int kind, const HiddenSteps* hidden)
{
    const float view = r.viewAngle;
    const float ty = tint_y(view), tx = tint_x(view);
    const int n = drawn_steps(steps);
    const float x1 = x + TILE_SIZE, y1 = y + TILE_SIZE;
    for (int s = 1; s <= n; ++s) {
        const float z1 = s * LEVEL_HEIGHT, z0 = z1 - LEVEL_HEIGHT;
        const bool marking = hidden && hidden->onlyHidden;
        if (!marking) bind(r, kind == KIND_WATER && s == n ? TEXTURE_WATER : TEXTURE_MUD);
        begin_quads(r);
        if (face_drawn(hidden, FACE_MINUS_Y, s)) {
            if (!marking) tint(r, ty);
            vertex(r, 0, 0, x, y, z0); vertex(r, 1, 0, x1, y, z0); vertex(r, 1, 1, x1, y, z1); vertex(r, 0, 1, x, y, z1);
        }
        if (face_drawn(hidden, FACE_PLUS_X, s)) {
            if (!marking) tint(r, tx);
            vertex(r, 0, 0, x1, y, z0); vertex(r, 1, 0, x1, y1, z0); vertex(r, 1, 1, x1, y1, z1); vertex(r, 0, 1, x1, y, z1);
        }
        if (face_drawn(hidden, FACE_PLUS_Y, s)) {
            if (!marking) tint(r, ty);
            vertex(r, 0, 0, x1, y1, z0); vertex(r, 1, 0, x, y1, z0); vertex(r, 1, 1, x, y1, z1); vertex(r, 0, 1, x1, y1, z1);
        }
        if (face_drawn(hidden, FACE_MINUS_X, s)) {
            if (!marking) tint(r, tx);
            vertex(r, 0, 0, x, y1, z0); vertex(r, 1, 0, x, y, z0); vertex(r, 1, 1, x, y, z1); vertex(r, 0, 1, x, y1, z1);
        }
        end_quads(r);
        if (s == n && withTop && !marking) column_top(r, x, y, z1, kind);
    }
}

void draw_ramp_column(Renderer& r, float x, float y, int height, int direction, const HiddenSteps* hidden)
{
    const int h = drawn_steps(height);
    if (h > 1) draw_column(r, x, y, h - 1, false, KIND_PLAIN, hidden);
    draw_ramp_wedge(r, x, y, h - 1, direction);
}

void draw_ramp_wedge(Renderer& r, float x, float y, int steps, int direction)
{
    const float view = r.viewAngle;
    const float ty = tint_y(view), tx = tint_x(view);
    const float z0 = steps * LEVEL_HEIGHT, z1 = z0 + LEVEL_HEIGHT;
    const float x1 = x + TILE_SIZE, y1 = y + TILE_SIZE;
    bind(r, TEXTURE_MUD);
    switch (direction) {
    case 0:   // rises toward +y
        tint(r, tx);
        begin_triangles(r);
        vertex(r, 0, 0, x1, y, z0); vertex(r, 1, 0, x1, y1, z0); vertex(r, 1, 1, x1, y1, z1);
        end_triangles(r);
        tint(r, ty);
        begin_quads(r);
        vertex(r, 0, 0, x1, y1, z0); vertex(r, 1, 0, x, y1, z0); vertex(r, 1, 1, x, y1, z1); vertex(r, 0, 1, x1, y1, z1);
        end_quads(r);
        tint(r, tx);
        begin_triangles(r);
        vertex(r, 0, 0, x, y1, z0); vertex(r, 1, 0, x, y, z0); vertex(r, 0, 1, x, y1, z1);
        end_triangles(r);
        bind(r, TEXTURE_GRASS);
        tint(r, ramp_top_tint(0, view));
        begin_quads(r);
        vertex(r, 0, 0, x, y, z0); vertex(r, 1, 0, x1, y, z0); vertex(r, 1, 1, x1, y1, z1); vertex(r, 0, 1, x, y1, z1);
        end_quads(r);
        break;
    case 1:   // rises toward -x
        tint(r, ty);
        begin_triangles(r);
        vertex(r, 0, 0, x, y, z0); vertex(r, 1, 0, x1, y, z0); vertex(r, 0, 1, x, y, z1);
        vertex(r, 0, 0, x1, y1, z0); vertex(r, 1, 0, x, y1, z0); vertex(r, 1, 1, x, y1, z1);
        end_triangles(r);
        tint(r, tx);
        begin_quads(r);
        vertex(r, 0, 0, x, y1, z0); vertex(r, 1, 0, x, y, z0); vertex(r, 1, 1, x, y, z1); vertex(r, 0, 1, x, y1, z1);
        end_quads(r);
        bind(r, TEXTURE_GRASS);
        tint(r, ramp_top_tint(1, view));
        begin_quads(r);
        vertex(r, 0, 0, x, y, z1); vertex(r, 1, 0, x1, y, z0); vertex(r, 1, 1, x1, y1, z0); vertex(r, 0, 1, x, y1, z1);
        end_quads(r);
        break;
    case 2:   // rises toward -y
        tint(r, ty);
        begin_quads(r);
        vertex(r, 0, 0, x, y, z0); vertex(r, 1, 0, x1, y, z0); vertex(r, 1, 1, x1, y, z1); vertex(r, 0, 1, x, y, z1);
        end_quads(r);
        tint(r, tx);
        begin_triangles(r);
        vertex(r, 0, 0, x1, y, z0); vertex(r, 1, 0, x1, y1, z0); vertex(r, 0, 1, x1, y, z1);
        vertex(r, 0, 0, x, y1, z0); vertex(r, 1, 0, x, y, z0); vertex(r, 1, 1, x, y, z1);
        end_triangles(r);
        bind(r, TEXTURE_GRASS);
        tint(r, ramp_top_tint(2, view));
        begin_quads(r);
        vertex(r, 0, 0, x, y, z1); vertex(r, 1, 0, x1, y, z1); vertex(r, 1, 1, x1, y1, z0); vertex(r, 0, 1, x, y1, z0);
        end_quads(r);
        break;
    default:  // rises toward +x
        tint(r, ty);
        begin_triangles(r);
        vertex(r, 0, 0, x, y, z0); vertex(r, 1, 0, x1, y, z0); vertex(r, 1, 1, x1, y, z1);
        end_triangles(r);
        tint(r, tx);
        begin_quads(r);
        vertex(r, 0, 0, x1, y, z0); vertex(r, 1, 0, x1, y1, z0); vertex(r, 1, 1, x1, y1, z1); vertex(r, 0, 1, x1, y, z1);
        end_quads(r);
        tint(r, ty);
        begin_triangles(r);
        vertex(r, 0, 0, x1, y1, z0); vertex(r, 1, 0, x, y1, z0); vertex(r, 0, 1, x1, y1, z1);
        end_triangles(r);
        bind(r, TEXTURE_GRASS);
        tint(r, ramp_top_tint(3, view));
        begin_quads(r);
        vertex(r, 0, 0, x1, y, z1); vertex(r, 1, 0, x1, y1, z1); vertex(r, 1, 1, x, y1, z0); vertex(r, 0, 1, x, y, z0);
        end_quads(r);
        break;
    }
}

void draw_conveyor_top(Renderer& r, float x, float y, float z, int direction)
{
    const float o = r.conveyorOffset;
    bind(r, TEXTURE_CONVEYOR);
    tint(r, 1.0f);
    const float x1 = x + TILE_SIZE, y1 = y + TILE_SIZE;
    begin_quads(r);
    switch (direction) {
    case 0:
        vertex(r, 1 - o, 0, x, y, z); vertex(r, 1 - o, 1, x1, y, z); vertex(r, -o, 1, x1, y1, z); vertex(r, -o, 0, x, y1, z);
        break;
    case 1:
        vertex(r, -o, 0, x, y, z); vertex(r, 1 - o, 0, x1, y, z); vertex(r, 1 - o, 1, x1, y1, z); vertex(r, -o, 1, x, y1, z);
        break;
    case 2:
        vertex(r, 1 + o, 0, x, y, z); vertex(r, 1 + o, 1, x1, y, z); vertex(r, o, 1, x1, y1, z); vertex(r, o, 0, x, y1, z);
        break;
    default:
        vertex(r, o, 0, x, y, z); vertex(r, 1 + o, 0, x1, y, z); vertex(r, 1 + o, 1, x1, y1, z); vertex(r, o, 1, x, y1, z);
        break;
    }
    end_quads(r);
}

void draw_warp_top(Renderer& r, float x, float y, int height, int kind)
{
    const int h = height > MAX_DRAWN_STEPS ? MAX_DRAWN_STEPS : height;
    const float z = h * LEVEL_HEIGHT;
    int number = 0;
    if (is_warp_entry_code(kind)) {
        bind(r, TEXTURE_WARP);
        number = warp_entry_number(kind);
    } else {
        bind(r, TEXTURE_ZONE);
        number = warp_exit_number(kind);
    }
    tint(r, 0.75f);
    flat_top(r, x, y, z);
    glDisable(GL_TEXTURE_2D);
    draw_label_3d(static_cast<int>(x) + 3, static_cast<int>(y) + 3, static_cast<int>(z) + 1, 255, 255, 255, "%d", number);
    glEnable(GL_TEXTURE_2D);
}

void draw_tee(Renderer& r, float x, float y, int level)
{
    const int l = level > MAX_DRAWN_STEPS ? MAX_DRAWN_STEPS : level;
    bind(r, TEXTURE_TEE);
    tint(r, 0.75f);
    flat_top(r, x, y, l * LEVEL_HEIGHT);
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
