// Pictures in memory for the asset generator: float RGB, periodic noise, simple drawing.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
  float r = 0, g = 0, b = 0;
};

inline Rgb rgb8(int r, int g, int b) { return {r / 255.0f, g / 255.0f, b / 255.0f}; }
inline Rgb mix(Rgb a, Rgb b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline Rgb scale(Rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }
inline float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline float smoothstep(float a, float b, float x) {
  const float t = clamp01((x - a) / (b - a));
  return t * t * (3 - 2 * t);
}

constexpr float PI_F = 3.14159265358979f;

// Row 0 is the bottom row, as in a BMP file and an OpenGL texture.
struct Image {
  int width = 0, height = 0;
  std::vector<Rgb> pixels;

  Image() = default;
  Image(int w, int h, Rgb fill = {}) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
  Rgb& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  const Rgb& at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  // Wraps around both ways, for tiling pictures.
  Rgb& wrap(int x, int y) {
    x %= width;
    y %= height;
    if (x < 0) x += width;
    if (y < 0) y += height;
    return at(x, y);
  }
  // Blends colour c over the pixel with coverage a.
  void blend(int x, int y, Rgb c, float a) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    Rgb& p = at(x, y);
    p = mix(p, c, clamp01(a));
  }
  void blend_wrap(int x, int y, Rgb c, float a) {
    Rgb& p = wrap(x, y);
    p = mix(p, c, clamp01(a));
  }
  // Bytes R, G, B per pixel, bottom row first.
  std::vector<uint8_t> to_rgb8() const;
};

// A small deterministic random source, so every build makes the same files.
struct Random {
  uint64_t state;
  explicit Random(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
  uint32_t next() {
    state ^= state >> 12;
    state ^= state << 25;
    state ^= state >> 27;
    return static_cast<uint32_t>((state * 0x2545F4914F6CDD1Dull) >> 32);
  }
  float uniform() { return (next() >> 8) / 16777216.0f; }  // [0, 1)
  float range(float a, float b) { return a + (b - a) * uniform(); }
};

// Hash of a lattice point to [0, 1).
float lattice_hash(int x, int y, uint32_t seed);

// Value noise with period (px, py) lattice cells; x, y in cell units. Smooth and seamless.
float periodic_noise(float x, float y, int px, int py, uint32_t seed);

// Fractal sum of periodic noise over a picture of side lengths w × h, tiling exactly:
// base cells across the picture, octaves doubling each time. Result roughly in [0, 1].
float tiled_fractal(int x, int y, int w, int h, int baseCells, int octaves, uint32_t seed,
                    float persistence = 0.5f);

// Filled disc with soft edge (anti-aliased), optional wrap.
void fill_disc(Image& img, float cx, float cy, float radius, Rgb c, float alpha = 1, bool wrap = false);
// Anti-aliased line of a given width.
void draw_line(Image& img, float x0, float y0, float x1, float y1, float width, Rgb c, float alpha = 1);
// Axis-aligned filled rectangle [x0, x1) × [y0, y1) in pixels.
void fill_rect(Image& img, int x0, int y0, int x1, int y1, Rgb c, float alpha = 1);

// Writes an 8-bit RGB PNG (top row first on disk, as PNG wants) from an Image.
bool write_png(const std::string& path, const Image& img);
