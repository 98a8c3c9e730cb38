// What stands on the tiles: railings, the cup with its octagonal hole, bumpers and the
// oscillating blocks, each where its physics geometry is.
#include <GL/gl.h>

#include <cmath>

#include "physics/physics.h"
#include "render/camera.h"
#include "render/drawing_gl.h"
#include "render/textures.h"

namespace {

constexpr double RAMP_ANGLE = 0.4636476;          // a rise of 32 over 64
constexpr float RAMP_RAIL_LENGTH = 71.55417528f;
constexpr double RAMP_RAIL_RISE = 4.472135955;    // 5 along the slope's normal
constexpr double RAMP_RAIL_SHIFT = 2.236067977;
constexpr float DIAGONAL_RAIL_LENGTH = 80.50966799f;
constexpr double QUARTER_PI = 0.78539816339744830962;

const unsigned char RAIL_COLOUR[3] = {255, 255, 255};
const unsigned char POST_COLOUR[3] = {255, 255, 0};

// Pose with a turn of angle (radians) about one axis (0 x, 1 y, 2 z), or none. The turn is
// made from its quaternion, row-major with a fourth unused column as the bodies' rotations are.
void push_pose(double px, double py, double pz, int axis = -1, double angle = 0.0)
{
    double q[4] = {1.0, 0.0, 0.0, 0.0};
    if (axis >= 0 && axis <= 2) {
        q[0] = std::cos(angle * 0.5);
        q[1 + axis] = std::sin(angle * 0.5);
    }
    const double qq1 = 2 * q[1] * q[1], qq2 = 2 * q[2] * q[2], qq3 = 2 * q[3] * q[3];
    const double r[12] = {
        1 - qq2 - qq3, 2 * (q[1] * q[2] - q[0] * q[3]), 2 * (q[1] * q[3] + q[0] * q[2]), 0,
        2 * (q[1] * q[2] + q[0] * q[3]), 1 - qq1 - qq3, 2 * (q[2] * q[3] - q[0] * q[1]), 0,
        2 * (q[1] * q[3] - q[0] * q[2]), 2 * (q[2] * q[3] + q[0] * q[1]), 1 - qq1 - qq2, 0,
    };
    const double pos[3] = {px, py, pz};
    apply_body_transform(pos, r);
}

void draw_box(const float size[3], const unsigned char xColour[3], const unsigned char yColour[3],
              const unsigned char capColour[3])
{
    const float a = size[0] / 2, b = size[1] / 2, c = size[2] / 2;
    glBegin(GL_TRIANGLE_STRIP);
    glColor3ubv(xColour);
    glVertex3f(-a, -b, -c); glVertex3f(-a, -b, c);
    glVertex3f(-a, b, -c); glVertex3f(-a, b, c);
    glColor3ubv(yColour);
    glVertex3f(a, b, -c); glVertex3f(a, b, c);
    glColor3ubv(xColour);
    glVertex3f(a, -b, -c); glVertex3f(a, -b, c);
    glColor3ubv(yColour);
    glVertex3f(-a, -b, -c); glVertex3f(-a, -b, c);
    glEnd();
    glColor3ubv(capColour);
    glBegin(GL_TRIANGLE_FAN);
    glNormal3f(0, 0, 1);
    glVertex3f(-a, -b, c); glVertex3f(a, -b, c); glVertex3f(a, b, c); glVertex3f(-a, b, c);
    glEnd();
    glBegin(GL_TRIANGLE_FAN);
    glNormal3f(0, 0, -1);
    glVertex3f(-a, -b, -c); glVertex3f(-a, b, -c); glVertex3f(a, b, -c); glVertex3f(a, -b, -c);
    glEnd();
}

void scaled(const unsigned char colour[3], int divisor, unsigned char out[3])
{
    for (int k = 0; k < 3; ++k) out[k] = static_cast<unsigned char>(colour[k] / divisor);
}

void ramp_rail(float x, float y, int H, int K, bool higher)
{
    const double z = 32.0 * (H - 1) + 16 + RAMP_RAIL_RISE;
    const float along_y[3] = {10, RAMP_RAIL_LENGTH, 10};
    const float along_x[3] = {RAMP_RAIL_LENGTH, 10, 10};
    switch (K) {
    case 0:
        push_pose(x + (higher ? 59 : 5), y + 32 - RAMP_RAIL_SHIFT, z, 0, RAMP_ANGLE);
        draw_box_x(along_y, RAIL_COLOUR);
        break;
    case 1:
        push_pose(x + 32 + RAMP_RAIL_SHIFT, y + (higher ? 59 : 5), z, 1, RAMP_ANGLE);
        draw_box_y(along_x, RAIL_COLOUR);
        break;
    case 2:
        push_pose(x + (higher ? 59 : 5), y + 32 + RAMP_RAIL_SHIFT, z, 0, -RAMP_ANGLE);
        draw_box_x(along_y, RAIL_COLOUR);
        break;
    default:
        push_pose(x + 32 - RAMP_RAIL_SHIFT, y + (higher ? 59 : 5), z, 1, -RAMP_ANGLE);
        draw_box_y(along_x, RAIL_COLOUR);
        break;
    }
    glPopMatrix();
}

void tile_rails(float x, float y, int H, int E)
{
    const double z = 32.0 * H + 5;
    const float along_x[3] = {64, 10, 10};
    const float along_y[3] = {10, 64, 10};
    const float diagonal[3] = {10, DIAGONAL_RAIL_LENGTH, 10};
    if (E & EDGE_RAIL_YMAX) { push_pose(x + 32, y + 59, z); draw_box_y(along_x, RAIL_COLOUR); glPopMatrix(); }
    if (E & EDGE_RAIL_XMAX) { push_pose(x + 59, y + 32, z); draw_box_x(along_y, RAIL_COLOUR); glPopMatrix(); }
    if (E & EDGE_RAIL_YMIN) { push_pose(x + 32, y + 5, z); draw_box_y(along_x, RAIL_COLOUR); glPopMatrix(); }
    if (E & EDGE_RAIL_XMIN) { push_pose(x + 5, y + 32, z); draw_box_x(along_y, RAIL_COLOUR); glPopMatrix(); }
    if (E & EDGE_RAIL_DIAG_MAIN) {
        push_pose(x + 32, y + 32, z, 2, -QUARTER_PI);
        draw_box_x(diagonal, RAIL_COLOUR);
        glPopMatrix();
    }
    if (E & EDGE_RAIL_DIAG_ANTI) {
        push_pose(x + 32, y + 32, z, 2, QUARTER_PI);
        draw_box_x(diagonal, RAIL_COLOUR);
        glPopMatrix();
    }
}

void cup(Renderer& r, float x, float y, int H, const HiddenSteps* hidden)
{
    glEnable(GL_TEXTURE_2D);
    const float z1 = 32.0f * H, z0 = z1 - 32.0f;
    bind(r, TEXTURE_GRASS);
    tint(r, 0.75f);
    begin_quads(r);
    vertex(r, 0, 0, x, y, z1); vertex(r, 1, 0, x + 64, y, z1); vertex(r, 1, 1, x + 64, y + 18, z1); vertex(r, 0, 1, x, y + 18, z1);
    vertex(r, 0, 0, x + 46, y + 18, z1); vertex(r, 1, 0, x + 64, y + 18, z1); vertex(r, 1, 1, x + 64, y + 64, z1); vertex(r, 0, 1, x + 46, y + 64, z1);
    vertex(r, 0, 0, x + 46, y + 46, z1); vertex(r, 1, 0, x + 46, y + 64, z1); vertex(r, 1, 1, x, y + 64, z1); vertex(r, 0, 1, x, y + 46, z1);
    vertex(r, 0, 0, x + 18, y + 18, z1); vertex(r, 1, 0, x + 18, y + 46, z1); vertex(r, 1, 1, x, y + 46, z1); vertex(r, 0, 1, x, y + 18, z1);
    end_quads(r);
    begin_triangles(r);
    vertex(r, 0, 0, x + CUP_FAR, y + 18, z1); vertex(r, 1, 0, x + 46, y + 18, z1); vertex(r, 1, 1, x + 46, y + CUP_NEAR, z1);
    vertex(r, 1, 0, x + 46, y + CUP_FAR, z1); vertex(r, 1, 1, x + 46, y + 46, z1); vertex(r, 0, 1, x + CUP_FAR, y + 46, z1);
    vertex(r, 1, 1, x + CUP_NEAR, y + 46, z1); vertex(r, 0, 1, x + 18, y + 46, z1); vertex(r, 0, 0, x + 18, y + CUP_FAR, z1);
    vertex(r, 1, 0, x + CUP_NEAR, y + 18, z1); vertex(r, 0, 1, x + 18, y + CUP_NEAR, z1); vertex(r, 0, 0, x + 18, y + 18, z1);
    end_triangles(r);

    // The wall of the hole, one quad per edge of the octagon, seen from inside.
    static const float outline[9][2] = {
        {46, CUP_FAR}, {CUP_FAR, 46}, {CUP_NEAR, 46}, {18, CUP_FAR}, {18, CUP_NEAR},
        {CUP_NEAR, 18}, {CUP_FAR, 18}, {46, CUP_NEAR}, {46, CUP_FAR},
    };
    bind(r, TEXTURE_MUD);
    tint(r, 0.5f);
    begin_quads(r);
    for (int k = 0; k < 8; ++k) {
        const float px = x + outline[k][0], py = y + outline[k][1];
        const float qx = x + outline[k + 1][0], qy = y + outline[k + 1][1];
        vertex(r, 1, 1, px, py, z1); vertex(r, 0, 1, qx, qy, z1); vertex(r, 0, 0, qx, qy, z0); vertex(r, 1, 0, px, py, z0);
    }
    end_quads(r);
    draw_column(r, x, y, H, false, KIND_PLAIN, hidden);
}

}  // namespace

void apply_body_transform(const double pos[3], const double rot[12])
{
    const double m[16] = {
        rot[0], rot[4], rot[8], 0,
        rot[1], rot[5], rot[9], 0,
        rot[2], rot[6], rot[10], 0,
        pos[0], pos[1], pos[2], 1,
    };
    glPushMatrix();
    glMultMatrixd(m);
}

void draw_box_x(const float size[3], const unsigned char colour[3])
{
    unsigned char quarter[3], half[3];
    scaled(colour, 4, quarter);
    scaled(colour, 2, half);
    draw_box(size, colour, quarter, half);
}

void draw_box_y(const float size[3], const unsigned char colour[3])
{
    unsigned char quarter[3], half[3];
    scaled(colour, 4, quarter);
    scaled(colour, 2, half);
    draw_box(size, quarter, colour, half);
}

void draw_cylinder(float length, float radius, float zOffset, const unsigned char colour[3])
{
    constexpr int SEGMENTS = 24;
    constexpr double SEGMENT_ANGLE = 0.2617993950843811;
    const float top = zOffset + length / 2, bottom = zOffset - length / 2;
    glColor3ubv(colour);
    // Top before bottom at each angle, so the side faces outward.
    glBegin(GL_TRIANGLE_STRIP);
    for (int k = 0; k <= SEGMENTS; ++k) {
        const float c = static_cast<float>(std::cos(k * SEGMENT_ANGLE)), s = static_cast<float>(std::sin(k * SEGMENT_ANGLE));
        glNormal3f(c, s, 0);
        glVertex3f(radius * c, radius * s, top);
        glVertex3f(radius * c, radius * s, bottom);
    }
    glEnd();
    glBegin(GL_TRIANGLE_FAN);
    glNormal3f(0, 0, 1);
    glVertex3f(0, 0, top);
    for (int k = 0; k <= SEGMENTS; ++k) {
        const float c = static_cast<float>(std::cos(k * SEGMENT_ANGLE)), s = static_cast<float>(std::sin(k * SEGMENT_ANGLE));
        glVertex3f(radius * c, radius * s, top);
    }
    glEnd();
    glBegin(GL_TRIANGLE_FAN);
    glNormal3f(0, 0, -1);
    glVertex3f(0, 0, bottom);
    for (int k = SEGMENTS; k >= 0; --k) {
        const float c = static_cast<float>(std::cos(k * SEGMENT_ANGLE)), s = static_cast<float>(std::sin(k * SEGMENT_ANGLE));
        glVertex3f(radius * c, radius * s, bottom);
    }
    glEnd();
}

void draw_rails_and_cup(Renderer& r, float x, float y, int H, int K, int E, const HiddenSteps* hidden)
{
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);
    if (is_ramp(K)) {
        if (E == EDGE_RAMP_RAIL_LOW || E == EDGE_RAMP_RAIL_BOTH) ramp_rail(x, y, H, K, false);
        if (E == EDGE_RAMP_RAIL_HIGH || E == EDGE_RAMP_RAIL_BOTH) ramp_rail(x, y, H, K, true);
    }
    if (E > 0) {
        tile_rails(x, y, H, E);
        if (E & EDGE_CUP) cup(r, x, y, H > MAX_DRAWN_STEPS ? MAX_DRAWN_STEPS : H, hidden);
    }
    glEnable(GL_TEXTURE_2D);
}

void draw_bumper_post(float x, float y, int H)
{
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);
    push_pose(x + 32, y + 32, 32.0 * H + 10);
    draw_cylinder(20, 6, 0, POST_COLOUR);
    glPopMatrix();
    glEnable(GL_TEXTURE_2D);
}

void draw_bumper_cap(Renderer& r, float x, float y, int H)
{
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);
    // A bumper just hit shows a white cap while its flash lasts (the tick counts it down).
    const BumperFlash& flash = r.physics->bumperFlash;
    const unsigned char green = flash.framesLeft > 0 && flash.x == x && flash.y == y ? 255 : 0;
    const unsigned char capColour[3] = {255, green, 255};
    push_pose(x + 32, y + 32, 32.0 * H + 21);
    draw_cylinder(2, 18, 0, capColour);
    glPopMatrix();
    glEnable(GL_TEXTURE_2D);
}

void draw_bumper(Renderer& r, float x, float y, int H)
{
    draw_bumper_post(x, y, H);
    draw_bumper_cap(r, x, y, H);
}

void draw_moving_block(Renderer& r, float x, float y, int H)
{
    const PhysicsWorld& world = *r.physics;
    const float view = r.viewAngle;
    const float ty = tint_y(view), tx = tint_x(view);
    const float top = moving_block_top(world.oscillationFrame, H), z0 = top - 32.0f;
    const float x1 = x + TILE_SIZE, y1 = y + TILE_SIZE;
    bind(r, TEXTURE_MUD);
    begin_quads(r);
    tint(r, ty);
    vertex(r, 0, 0, x, y, z0); vertex(r, 1, 0, x1, y, z0); vertex(r, 1, 1, x1, y, top); vertex(r, 0, 1, x, y, top);
    tint(r, tx);
    vertex(r, 0, 0, x1, y, z0); vertex(r, 1, 0, x1, y1, z0); vertex(r, 1, 1, x1, y1, top); vertex(r, 0, 1, x1, y, top);
    tint(r, ty);
    vertex(r, 0, 0, x1, y1, z0); vertex(r, 1, 0, x, y1, z0); vertex(r, 1, 1, x, y1, top); vertex(r, 0, 1, x1, y1, top);
    tint(r, tx);
    vertex(r, 0, 0, x, y1, z0); vertex(r, 1, 0, x, y, z0); vertex(r, 1, 1, x, y, top); vertex(r, 0, 1, x, y1, top);
    end_quads(r);
    bind(r, TEXTURE_BLOCK_MOVING);
    tint(r, 0.75f);
    begin_quads(r);
    vertex(r, 0, 0, x, y, top); vertex(r, 1, 0, x1, y, top); vertex(r, 1, 1, x1, y1, top); vertex(r, 0, 1, x, y1, top);
    end_quads(r);
}
