// The balls as textured spheres that turn with their bodies, the putter drawn over the
// scene, and the power meter beside the ball being aimed, off the line of the putt.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "render/drawing_gl.h"
#include "render/power_meter.h"
#include "render/scene.h"
#include "render/textures.h"

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr float PUTTER_SIZE[3] = {8, 32, 8};

void sphere_point(double theta, double phi, const double centre[3], double radius)
{
    const double sp = std::sin(phi), cp = std::cos(phi), st = std::sin(theta), ct = std::cos(theta);
    glTexCoord2d(theta / (2 * PI), phi / PI);
    if (phi == 0.0) {
        glNormal3d(0, 0, 1);
    } else if (phi == PI) {
        glNormal3d(0, 0, -1);
    } else {
        // (dP/dphi) x (dP/dtheta) points outward.
        const double a[3] = {radius * cp * ct, radius * cp * st, -radius * sp};
        const double b[3] = {-radius * sp * st, radius * sp * ct, 0};
        double n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (length > 0) for (double& v : n) v /= length;
        glNormal3d(n[0], n[1], n[2]);
    }
    glVertex3d(centre[0] + radius * sp * ct, centre[1] + radius * sp * st, centre[2] + radius * cp);
}

int window_width() { GLint v[4]; glGetIntegerv(GL_VIEWPORT, v); return v[2]; }
int window_height() { GLint v[4]; glGetIntegerv(GL_VIEWPORT, v); return v[3]; }

void scene_matrices(GLdouble model[16], GLdouble projection[16], GLint viewport[4])
{
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
}

void window_quad(double x0, double y0, double x1, double y1, double z)
{
    glVertex3d(x0, y0, z);
    glVertex3d(x1, y0, z);
    glVertex3d(x1, y1, z);
    glVertex3d(x0, y1, z);
}

}  // namespace

void begin_overlay()
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, window_width(), 0, window_height());
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
}

void end_overlay()
{
    glPopAttrib();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void draw_sphere(int slices, int stacks, const double centre[3], double radius)
{
    glColor3f(1, 1, 1);
    glBegin(GL_TRIANGLE_STRIP);
    const double band = PI / (stacks - 1), step = 2 * PI / (slices - 1);
    for (int b = 0; b < stacks - 1; ++b) {
        const double upper = b * band;
        const double lower = b + 1 == stacks - 1 ? PI : (b + 1) * band;
        for (int t = 0; t < slices; ++t) {
            sphere_point(t * step, upper, centre, radius);
            sphere_point(t * step, lower, centre, radius);
        }
    }
    glEnd();
}

int ball_colour_of(const GameState& round, int slot)
{
    if (round.playerCount == 0) return slot == 0 ? 1 : 0;
    return slot >= 0 && slot < MAX_PLAYERS ? round.players[slot].ballColour : 0;
}

void draw_ball(const Renderer& r, int colour, const double pos[3], const double rot[12], double radius)
{
    // An unknown colour keeps whatever picture is bound.
    if (colour >= 1 && colour <= BALL_TEXTURE_COUNT) glBindTexture(GL_TEXTURE_2D, ball_texture(r.textures, colour));
    apply_body_transform(pos, rot);
    const double centre[3] = {0, 0, 0};
    draw_sphere(20, 20, centre, radius);
    glPopMatrix();
}

void draw_power_meter(float meter, const double ballPos[3], float aimAngle, float viewAngle, bool flipped)
{
    GLdouble model[16], projection[16];
    GLint viewport[4];
    scene_matrices(model, projection, viewport);
    GLdouble sx = 0, sy = 0, sz = 0;
    gluProject(ballPos[0], ballPos[1], ballPos[2], model, projection, viewport, &sx, &sy, &sz);
    double aim[2];
    aim_on_screen(aimAngle, viewAngle, aim);
    const MeterBox box = place_power_meter(sx, sy, aim[0], aim[1], viewport[2], viewport[3], flipped);
    glShadeModel(GL_FLAT);
    begin_overlay();
    const double x = box.x0, y = box.y0;
    glBegin(GL_QUADS);
    glColor3ub(255, 255, 255);
    window_quad(x, y, box.x1, box.y1, sz);
    glColor3ub(0, 0, 0);
    window_quad(x + 1, y + 1, box.x1 - 1, box.y1 - 1, sz);
    // One-pixel bars with one-pixel gaps, yellow at the left turning red.
    const int bars = static_cast<int>(meter);
    for (int i = 0; i < bars; ++i) {
        glColor3ub(255, static_cast<GLubyte>((54 - i) * 255 / 54), 0);
        window_quad(x + 3 + 2 * i, y + 3, x + 4 + 2 * i, y + 19, sz);
    }
    glEnd();
    end_overlay();
    glEnable(GL_TEXTURE_2D);
}

void draw_putter(const double pos[3], const double rot[12])
{
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);
    apply_body_transform(pos, rot);
    GLdouble model[16], projection[16];
    GLint viewport[4];
    scene_matrices(model, projection, viewport);
    // corner[sx][sy][sz], 0 for the minus side, 1 for the plus side
    GLdouble corner[2][2][2][3];
    for (int a = 0; a < 2; ++a)
        for (int b = 0; b < 2; ++b)
            for (int c = 0; c < 2; ++c) {
                const double px = (a ? 0.5 : -0.5) * PUTTER_SIZE[0], py = (b ? 0.5 : -0.5) * PUTTER_SIZE[1];
                const double pz = (c ? 0.5 : -0.5) * PUTTER_SIZE[2];
                GLdouble* w = corner[a][b][c];
                gluProject(px, py, pz, model, projection, viewport, &w[0], &w[1], &w[2]);
            }
    glPopMatrix();
    begin_overlay();
    auto put = [&](int a, int b, int c) { glVertex3dv(corner[a][b][c]); };
    glBegin(GL_TRIANGLE_STRIP);
    glColor3ub(0, 0, 255);
    put(0, 0, 0); put(0, 0, 1); put(0, 1, 0); put(0, 1, 1);
    glColor3ub(0, 0, 63);
    put(1, 1, 0); put(1, 1, 1);
    glColor3ub(0, 0, 255);
    put(1, 0, 0); put(1, 0, 1);
    glColor3ub(0, 0, 63);
    put(0, 0, 0); put(0, 0, 1);
    glEnd();
    glColor3ub(0, 0, 127);
    glBegin(GL_TRIANGLE_FAN);
    put(0, 0, 1); put(1, 0, 1); put(1, 1, 1); put(0, 1, 1);
    glEnd();
    glBegin(GL_TRIANGLE_FAN);
    put(0, 0, 0); put(0, 1, 0); put(1, 1, 0); put(1, 0, 0);
    glEnd();
    end_overlay();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
}
