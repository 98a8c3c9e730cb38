// Ball pictures, laid out for the sphere: column x is the longitude 2πx/128, the top row the
// top pole. Patterns are made from directions on the sphere, so circles stay round on the ball.
#include <array>
#include <cmath>

#include "pictures.h"

namespace {

constexpr int SIDE = 128;

struct Vec3 {
  float x, y, z;
};
float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 normalise(Vec3 a) {
  const float n = std::sqrt(dot(a, a));
  return {a.x / n, a.y / n, a.z / n};
}
Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

// The point of the sphere that pixel (x, y) shows; y = 0 is the bottom row, the −z pole.
Vec3 direction_at(int x, int y) {
  const float theta = 2 * PI_F * (x + 0.5f) / SIDE;
  const float phi = PI_F * (1 - (y + 0.5f) / SIDE);
  return {std::sin(phi) * std::cos(theta), std::sin(phi) * std::sin(theta), std::cos(phi)};
}

std::vector<Vec3> fibonacci_points(int n) {
  std::vector<Vec3> pts;
  const float golden = PI_F * (3 - std::sqrt(5.0f));
  for (int i = 0; i < n; ++i) {
    const float z = 1 - 2 * (i + 0.5f) / n, r = std::sqrt(1 - z * z);
    pts.push_back({r * std::cos(golden * i), r * std::sin(golden * i), z});
  }
  return pts;
}

// Dimples: small shallow dents, a little darker, all over the ball.
void add_dimples(Image& img, float depth) {
  static const std::vector<Vec3> dimples = fibonacci_points(110);
  for (int y = 0; y < SIDE; ++y)
    for (int x = 0; x < SIDE; ++x) {
      const Vec3 d = direction_at(x, y);
      float best = -1;
      for (const Vec3& p : dimples) best = std::fmax(best, dot(d, p));
      const float angle = std::acos(std::fmin(1.0f, best));
      if (angle < 0.13f) img.at(x, y) = scale(img.at(x, y), 1 - depth * smoothstep(0.13f, 0.06f, angle));
    }
}

// A small printed mark on the equator, so the player can watch the ball roll.
void add_mark(Image& img, Vec3 centre, Rgb ink) {
  for (int y = 0; y < SIDE; ++y)
    for (int x = 0; x < SIDE; ++x) {
      const float angle = std::acos(std::fmin(1.0f, dot(direction_at(x, y), centre)));
      if (angle < 0.2f) img.at(x, y) = mix(img.at(x, y), ink, smoothstep(0.2f, 0.14f, angle));
    }
}

Image plain_ball(Rgb colour, Rgb markInk) {
  Image img(SIDE, SIDE, colour);
  add_dimples(img, 0.12f);
  add_mark(img, {1, 0, 0}, markInk);
  add_mark(img, {-1, 0, 0}, markInk);
  return img;
}

// Two red suns with rays on a cream ball, facing away from each other across the equator.
Image red_sun_ball() {
  Image img(SIDE, SIDE, rgb8(252, 238, 196));
  const std::array<Vec3, 2> suns = {Vec3{1, 0, 0}, Vec3{-1, 0, 0}};
  for (int y = 0; y < SIDE; ++y)
    for (int x = 0; x < SIDE; ++x) {
      const Vec3 d = direction_at(x, y);
      for (const Vec3& c : suns) {
        const float angle = std::acos(std::fmax(-1.0f, std::fmin(1.0f, dot(d, c))));
        const Vec3 u = normalise(cross(c, {0, 0, 1})), v = cross(c, u);
        const float around = std::atan2(dot(d, v), dot(d, u));
        // Twelve rays, each narrowing away from the disc.
        const float sector = std::fmod(around / (2 * PI_F) * 12 + 12.5f, 1.0f) - 0.5f;
        const float halfWidth = 0.32f * (1 - (angle - 0.5f) / 0.45f);
        if (angle < 0.5f) {
          img.at(x, y) = mix(rgb8(236, 32, 24), rgb8(255, 96, 40), smoothstep(0.45f, 0.0f, angle) * 0.6f);
        } else if (angle < 0.95f && std::fabs(sector) < halfWidth) {
          img.at(x, y) = rgb8(226, 44, 30);
        }
      }
    }
  add_dimples(img, 0.08f);
  return img;
}

// A turtle's shell: plates round a few centres, dark seams, growth rings inside each plate.
Image turtle_ball() {
  Image img(SIDE, SIDE);
  const std::vector<Vec3> plates = fibonacci_points(14);
  for (int y = 0; y < SIDE; ++y)
    for (int x = 0; x < SIDE; ++x) {
      const Vec3 d = direction_at(x, y);
      int first = 0;
      float best = -2, second = -2;
      for (int k = 0; k < static_cast<int>(plates.size()); ++k) {
        const float s = dot(d, plates[k]);
        if (s > best) {
          second = best;
          best = s;
          first = k;
        } else if (s > second) {
          second = s;
        }
      }
      const float toCentre = std::acos(std::fmin(1.0f, best));
      const float seam = std::acos(std::fmin(1.0f, second)) - toCentre;  // 0 on the seam
      const float tone = (first * 37 % 10) / 10.0f;
      Rgb c = mix(rgb8(150, 130, 50), rgb8(112, 120, 40), tone);
      c = mix(c, rgb8(196, 170, 80), smoothstep(0.45f, 0.0f, toCentre) * 0.7f);  // pale centre
      const float rings = 0.5f + 0.5f * std::cos(seam * 40);
      c = scale(c, 0.88f + 0.12f * rings);
      c = mix(c, rgb8(48, 36, 18), smoothstep(0.09f, 0.03f, seam));
      img.at(x, y) = c;
    }
  return img;
}

// A white ball with a broad purple band round its equator, and purple caps on the poles.
Image purple_stripe_ball() {
  Image img(SIDE, SIDE, rgb8(248, 248, 244));
  for (int y = 0; y < SIDE; ++y)
    for (int x = 0; x < SIDE; ++x) {
      const float z = direction_at(x, y).z;
      if (std::fabs(z) < 0.38f) img.at(x, y) = rgb8(128, 40, 176);
      else if (std::fabs(z) > 0.96f) img.at(x, y) = rgb8(128, 40, 176);
    }
  add_dimples(img, 0.1f);
  return img;
}

}  // namespace

std::vector<Picture> make_ball_pictures() {
  std::vector<Picture> out;
  const Rgb grey = rgb8(110, 110, 120);
  out.push_back({"white_ball", plain_ball(rgb8(246, 246, 240), rgb8(70, 90, 200))});
  out.push_back({"red_ball", plain_ball(rgb8(220, 30, 30), rgb8(255, 220, 200))});
  out.push_back({"orange_ball", plain_ball(rgb8(250, 140, 20), grey)});
  out.push_back({"yellow_ball", plain_ball(rgb8(250, 226, 40), grey)});
  out.push_back({"green_ball", plain_ball(rgb8(40, 176, 60), rgb8(220, 255, 220))});
  out.push_back({"blue_ball", plain_ball(rgb8(36, 76, 220), rgb8(220, 230, 255))});
  out.push_back({"purple_ball", plain_ball(rgb8(130, 48, 180), rgb8(240, 220, 255))});
  out.push_back({"red_sun_ball", red_sun_ball()});
  out.push_back({"turtle_ball", turtle_ball()});
  out.push_back({"purple_stripe_ball", purple_stripe_ball()});
  out.push_back({"sky_blue_ball", plain_ball(rgb8(120, 200, 246), rgb8(40, 90, 160))});
  return out;
}
