// The aim guide: round white dots with a dark rim along the ball's path, at the ball's
// centre height so the ground does not hide them.
#include "render/aim_guide_gl.h"

#include <GL/gl.h>

#include <cmath>
#include <vector>

namespace {

constexpr double DOT_SPACING = 14.0;   // world units between dots

}  // namespace

void draw_aim_guide(const double* xyz, std::size_t count)
{
    if (!xyz || count < 2) return;
    std::vector<double> dots;
    double carried = DOT_SPACING;   // the first dot one spacing from the ball
    for (std::size_t k = 1; k < count; ++k) {
        const double* a = xyz + 3 * (k - 1);
        const double* b = xyz + 3 * k;
        const double length = std::sqrt((b[0] - a[0]) * (b[0] - a[0]) + (b[1] - a[1]) * (b[1] - a[1]) +
                                         (b[2] - a[2]) * (b[2] - a[2]));
        double at = carried;
        while (at <= length) {
            const double t = at / length;
            for (int c = 0; c < 3; ++c) dots.push_back(a[c] + (b[c] - a[c]) * t);
            at += DOT_SPACING;
        }
        carried = at - length;
    }
    if (dots.empty()) return;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_POINT_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    for (int pass = 0; pass < 2; ++pass) {
        glPointSize(pass == 0 ? 7.0f : 4.0f);
        if (pass == 0) glColor3ub(30, 30, 30);
        else glColor3ub(255, 255, 255);
        glBegin(GL_POINTS);
        for (std::size_t k = 0; k + 2 < dots.size(); k += 3) glVertex3d(dots[k], dots[k + 1], dots[k + 2]);
        glEnd();
    }
    glPopAttrib();
}
