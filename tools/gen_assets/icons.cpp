#include "icons.h"

#include <algorithm>
#include <cmath>

namespace {

// Coverage of a pixel by a shape whose signed distance (negative inside) is d, in pixels.
float coverage(float d) { return clamp01(0.5f - d); }

float box_distance(float x, float y, float x0, float y0, float x1, float y1)
{
    const float dx = std::max(x0 - x, x - x1), dy = std::max(y0 - y, y - y1);
    return std::max(dx, dy);
}

}  // namespace

Image make_icon(int size)
{
    const float s = static_cast<float>(size);
    Image img(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float u = (x + 0.5f) / s, v = (y + 0.5f) / s;
            // The green lit from the upper left, mown in bands.
            const float band = (static_cast<int>((u + v) * 6) % 2) ? 0.94f : 1.0f;
            Rgb grass = mix(rgb8(40, 120, 45), rgb8(110, 190, 80), clamp01(0.3f + 0.7f * v - 0.3f * u));
            img.at(x, y) = scale(grass, band);
            // A darker rim so the icon holds its shape on light panels.
            const float rim = std::min(std::min(u, 1 - u), std::min(v, 1 - v)) * s;
            img.blend(x, y, rgb8(25, 70, 30), coverage(rim - std::max(1.0f, s / 40)));
        }
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            // The cup, seen from above at a tilt: a dark ellipse with a lip.
            const float cx = 0.62f * s, cy = 0.34f * s, rx = 0.17f * s, ry = 0.08f * s;
            const float e = std::sqrt(((px - cx) / rx) * ((px - cx) / rx) + ((py - cy) / ry) * ((py - cy) / ry));
            img.blend(x, y, rgb8(230, 230, 225), coverage((e - 1.12f) * ry));
            img.blend(x, y, rgb8(15, 25, 15), coverage((e - 1.0f) * ry));
            // The flag pole rising from the cup, and the flag (row 0 is the bottom).
            img.blend(x, y, rgb8(240, 240, 235), coverage(box_distance(px, py, cx - s * 0.012f, cy, cx + s * 0.012f, 0.9f * s)));
            const float fy0 = 0.66f * s, fy1 = 0.9f * s, fx0 = cx + s * 0.012f;
            const float tip = fx0 + 0.26f * s * (1 - std::fabs(py - 0.5f * (fy0 + fy1)) / (0.5f * (fy1 - fy0)));
            if (py > fy0 && py < fy1) img.blend(x, y, rgb8(220, 40, 35), coverage(px - tip) * coverage(fx0 - px));
            // The ball, shaded, with its shadow.
            const float bx = 0.32f * s, by = 0.36f * s, r = 0.17f * s;
            const float shadow = std::hypot(px - bx - 0.05f * s, (py - by + 0.05f * s) * 1.6f) - r;
            img.blend(x, y, rgb8(20, 60, 20), 0.45f * coverage(shadow));
            const float d = std::hypot(px - bx, py - by);
            if (d < r + 1) {
                const float nx = (px - bx) / r, ny = (py - by) / r, nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
                const float light = 0.55f + 0.45f * std::max(0.0f, -0.45f * nx + 0.55f * ny + 0.7f * nz);
                // Dimples: a faint lattice that follows the sphere.
                const float dimple = 0.96f + 0.04f * std::cos(nx * 28) * std::cos(ny * 28);
                img.blend(x, y, scale(rgb8(250, 250, 245), light * dimple), coverage(d - r));
            }
        }
    return img;
}
