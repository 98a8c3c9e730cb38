// The see-through marks: a hidden ball drawn again over what hides it, and the outline of a
// hidden cup's opening, both in the aim guide's white with a dark rim.
#include "render/see_through_gl.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "render/drawing_gl.h"
#include "render/scene.h"

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr int RING_POINTS = 32;
constexpr int CUP_CORNERS = 8;

struct ScreenPoint {
    double x, y;
};

bool project(const double p[3], ScreenPoint& out)
{
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLdouble z = 0;
    return gluProject(p[0], p[1], p[2], model, projection, viewport, &out.x, &out.y, &z) == GL_TRUE;
}

// A band round the closed outline of n points about centre c, from `from` to `to` pixels
// outside it.
void outline_band(const ScreenPoint* points, int n, ScreenPoint c, double from, double to)
{
    glBegin(GL_TRIANGLE_STRIP);
    for (int k = 0; k <= n; ++k) {
        const ScreenPoint& p = points[k % n];
        const double dx = p.x - c.x, dy = p.y - c.y;
        const double length = std::hypot(dx, dy);
        const double ux = length > 0 ? dx / length : 0, uy = length > 0 ? dy / length : 0;
        glVertex2d(p.x + from * ux, p.y + from * uy);
        glVertex2d(p.x + to * ux, p.y + to * uy);
    }
    glEnd();
}

// White with a dark rim, just outside the outline, in window pixels.
void draw_mark(const ScreenPoint* points, int n, ScreenPoint c)
{
    begin_overlay();
    glDisable(GL_CULL_FACE);
    glColor3ub(30, 30, 30);
    outline_band(points, n, c, 0.0, 5.0);
    glColor3ub(255, 255, 255);
    outline_band(points, n, c, 1.5, 3.5);
    end_overlay();
}

}  // namespace

void draw_ball_seen_through(const Renderer& r, int colour, const double pos[3], const double rot[12], double radius)
{
    // The back of the sphere is culled, so without the depth test its front shows whole.
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_DEPTH_TEST);
    draw_ball(r, colour, pos, rot, radius);
    glPopAttrib();

    ScreenPoint centre, edge;
    double right[3], up[3], toward[3];
    camera_axes(r.viewAngle, right, up, toward);
    const double rim[3] = {pos[0] + radius * right[0], pos[1] + radius * right[1], pos[2] + radius * right[2]};
    if (!project(pos, centre) || !project(rim, edge)) return;
    const double onScreen = std::hypot(edge.x - centre.x, edge.y - centre.y);
    ScreenPoint ring[RING_POINTS];
    for (int k = 0; k < RING_POINTS; ++k) {
        const double a = 2 * PI * k / RING_POINTS;
        ring[k] = {centre.x + onScreen * std::cos(a), centre.y + onScreen * std::sin(a)};
    }
    draw_mark(ring, RING_POINTS, centre);
    glEnable(GL_TEXTURE_2D);
}

void draw_cup_seen_through(double x, double y, double z)
{
    const double corners[CUP_CORNERS][2] = {{CUP_NEAR, 18}, {CUP_FAR, 18}, {46, CUP_NEAR}, {46, CUP_FAR},
                                            {CUP_FAR, 46},  {CUP_NEAR, 46}, {18, CUP_FAR}, {18, CUP_NEAR}};
    ScreenPoint outline[CUP_CORNERS], centre;
    for (int k = 0; k < CUP_CORNERS; ++k) {
        const double p[3] = {x + corners[k][0], y + corners[k][1], z};
        if (!project(p, outline[k])) return;
    }
    const double middle[3] = {x + 32, y + 32, z};
    if (!project(middle, centre)) return;
    draw_mark(outline, CUP_CORNERS, centre);
    glEnable(GL_TEXTURE_2D);
}
