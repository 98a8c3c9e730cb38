// Pictures in memory: noise, drawing and the PNG writer for the contact sheet.
#include "image.h"

#include <zlib.h>

#include <cstdio>

std::vector<uint8_t> Image::to_rgb8() const {
  std::vector<uint8_t> out;
  out.reserve(pixels.size() * 3);
  for (const Rgb& p : pixels) {
    out.push_back(static_cast<uint8_t>(std::lround(clamp01(p.r) * 255)));
    out.push_back(static_cast<uint8_t>(std::lround(clamp01(p.g) * 255)));
    out.push_back(static_cast<uint8_t>(std::lround(clamp01(p.b) * 255)));
  }
  return out;
}

float lattice_hash(int x, int y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFFFF) / 16777216.0f;
}

float periodic_noise(float x, float y, int px, int py, uint32_t seed) {
  const int x0 = static_cast<int>(std::floor(x));
  const int y0 = static_cast<int>(std::floor(y));
  const float fx = x - x0, fy = y - y0;
  const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  auto cell = [&](int cx, int cy) {
    cx %= px;
    cy %= py;
    if (cx < 0) cx += px;
    if (cy < 0) cy += py;
    return lattice_hash(cx, cy, seed);
  };
  const float a = cell(x0, y0), b = cell(x0 + 1, y0), c = cell(x0, y0 + 1), d = cell(x0 + 1, y0 + 1);
  return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

float tiled_fractal(int x, int y, int w, int h, int baseCells, int octaves, uint32_t seed, float persistence) {
  float sum = 0, amp = 1, norm = 0;
  int cells = baseCells;
  for (int o = 0; o < octaves; ++o) {
    const float u = (x + 0.5f) * cells / static_cast<float>(w);
    const float v = (y + 0.5f) * cells / static_cast<float>(h);
    sum += amp * periodic_noise(u, v, cells, cells, seed + 101u * o);
    norm += amp;
    amp *= persistence;
    cells *= 2;
  }
  return sum / norm;
}

void fill_disc(Image& img, float cx, float cy, float radius, Rgb c, float alpha, bool wrap) {
  const int x0 = static_cast<int>(std::floor(cx - radius - 1)), x1 = static_cast<int>(std::ceil(cx + radius + 1));
  const int y0 = static_cast<int>(std::floor(cy - radius - 1)), y1 = static_cast<int>(std::ceil(cy + radius + 1));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
      const float a = clamp01(radius - d + 0.5f) * alpha;
      if (a <= 0) continue;
      if (wrap)
        img.blend_wrap(x, y, c, a);
      else
        img.blend(x, y, c, a);
    }
}

void draw_line(Image& img, float x0, float y0, float x1, float y1, float width, Rgb c, float alpha) {
  const float minx = std::fmin(x0, x1) - width, maxx = std::fmax(x0, x1) + width;
  const float miny = std::fmin(y0, y1) - width, maxy = std::fmax(y0, y1) + width;
  const float dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
  for (int y = static_cast<int>(miny); y <= static_cast<int>(maxy); ++y)
    for (int x = static_cast<int>(minx); x <= static_cast<int>(maxx); ++x) {
      const float px = x + 0.5f - x0, py = y + 0.5f - y0;
      float t = len2 > 0 ? (px * dx + py * dy) / len2 : 0;
      t = clamp01(t);
      const float d = std::hypot(px - t * dx, py - t * dy);
      img.blend(x, y, c, clamp01(width / 2 - d + 0.5f) * alpha);
    }
}

void fill_rect(Image& img, int x0, int y0, int x1, int y1, Rgb c, float alpha) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) img.blend(x, y, c, alpha);
}

namespace {
void put_be32(std::vector<uint8_t>& out, uint32_t v) {
  for (int k = 3; k >= 0; --k) out.push_back(static_cast<uint8_t>(v >> (8 * k)));
}
void put_chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  put_be32(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  put_be32(out, static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}
}  // namespace

bool write_png(const std::string& path, const Image& img) {
  const std::vector<uint8_t> rgb = img.to_rgb8();
  std::vector<uint8_t> raw;
  raw.reserve((img.width * 3 + 1) * img.height);
  for (int y = img.height - 1; y >= 0; --y) {
    raw.push_back(0);
    const uint8_t* row = rgb.data() + static_cast<size_t>(y) * img.width * 3;
    raw.insert(raw.end(), row, row + img.width * 3);
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) return false;
  packed.resize(packedSize);

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr;
  put_be32(ihdr, static_cast<uint32_t>(img.width));
  put_be32(ihdr, static_cast<uint32_t>(img.height));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
  put_chunk(out, "IHDR", ihdr);
  put_chunk(out, "IDAT", packed);
  put_chunk(out, "IEND", {});
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  return std::fclose(f) == 0 && ok;
}
