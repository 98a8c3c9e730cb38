// Ground and screen pictures: grass, rough, hedge ring, mud, water, sand, block, warps, tee,
// the editor line, the conveyor belt and the score card. All ground pictures tile seamlessly.
#include <cmath>

#include "pictures.h"

namespace {

constexpr int SIDE = 128;

Image make_grass(uint32_t seed) {
  Image img(SIDE, SIDE);
  Random rnd(seed);
  for (int y = 0; y < SIDE; ++y)
    for (int x = 0; x < SIDE; ++x) {
      const float broad = tiled_fractal(x, y, SIDE, SIDE, 4, 3, seed);
      const float fine = tiled_fractal(x, y, SIDE, SIDE, 32, 2, seed + 7);
      const float speck = rnd.uniform();
      Rgb c = mix(rgb8(84, 168, 60), rgb8(112, 196, 78), broad);
      c = scale(c, 0.9f + 0.16f * fine + 0.08f * (speck - 0.5f));
      img.at(x, y) = c;
    }
  // Short blades: small light and dark strokes scattered over the lawn, wrapping at the edges.
  for (int k = 0; k < 900; ++k) {
    const float x = rnd.range(0, SIDE), y = rnd.range(0, SIDE);
    const float angle = rnd.range(-0.6f, 0.6f) + PI_F / 2;
    const float len = rnd.range(1.5f, 3.5f);
    const bool light = rnd.uniform() < 0.55f;
    const Rgb c = light ? rgb8(150, 220, 110) : rgb8(50, 118, 40);
    for (float t = 0; t <= len; t += 0.5f)
      img.blend_wrap(static_cast<int>(x + std::cos(angle) * t), static_cast<int>(y + std::sin(angle) * t), c, 0.45f);
  }
  return img;
}

Image make_bottom_grass() {
  Image img(SIDE, SIDE);
  Random rnd(21);
  for (int y = 0; y < SIDE; ++y)
    for (int x = 0; x < SIDE; ++x) {
      const float clumps = tiled_fractal(x, y, SIDE, SIDE, 8, 3, 211, 0.6f);
      const float speck = rnd.uniform();
      Rgb c = mix(rgb8(38, 92, 34), rgb8(78, 136, 52), smoothstep(0.3f, 0.7f, clumps));
      img.at(x, y) = scale(c, 0.85f + 0.3f * speck);
    }
  // Clover and daisies in the rough.
  for (int k = 0; k < 40; ++k) {
    const float x = rnd.range(0, SIDE), y = rnd.range(0, SIDE);
    for (int leaf = 0; leaf < 3; ++leaf) {
      const float a = leaf * 2.094f + rnd.range(0, 0.5f);
      fill_disc(img, x + std::cos(a) * 1.6f, y + std::sin(a) * 1.6f, 1.4f, rgb8(56, 130, 46), 0.8f, true);
    }
  }
  for (int k = 0; k < 10; ++k)
    fill_disc(img, rnd.range(0, SIDE), rnd.range(0, SIDE), 1.0f, rgb8(240, 240, 220), 0.9f, true);
  return img;
}

// The ring round the playing area: a clipped hedge of overlapping leaves.
Image make_edge() {
  Image img(SIDE, SIDE);
  Random rnd(33);
  for (int y = 0; y < SIDE; ++y)
    for (int x = 0; x < SIDE; ++x)
      img.at(x, y) = scale(rgb8(22, 58, 24), 0.8f + 0.4f * tiled_fractal(x, y, SIDE, SIDE, 8, 2, 331));
  for (int k = 0; k < 1400; ++k) {
    const float cx = rnd.range(0, SIDE), cy = rnd.range(0, SIDE);
    const float a = rnd.range(0, 2 * PI_F);
    const float len = rnd.range(2.5f, 4.5f), wid = len * 0.45f;
    const float shade = rnd.range(0.55f, 1.1f);
    const Rgb c = scale(rgb8(52, 112, 42), shade);
    const float ca = std::cos(a), sa = std::sin(a);
    for (int dy = -5; dy <= 5; ++dy)
      for (int dx = -5; dx <= 5; ++dx) {
        const float u = (dx * ca + dy * sa) / len, v = (-dx * sa + dy * ca) / wid;
        const float d = u * u + v * v;
        if (d < 1) {
          Rgb leaf = scale(c, 1.0f + 0.25f * u);  // light falls on one end of each leaf
          img.blend_wrap(static_cast<int>(cx) + dx, static_cast<int>(cy) + dy, leaf, 0.9f * (1 - d * d));
        }
      }
  }
  return img;
}

// Bare packed earth, used beside the grass triangle of half-grass tiles.
Rgb earth_at(int x, int y, Random& rnd) {
  const float n = tiled_fractal(x, y, SIDE, SIDE, 8, 3, 411);
  return scale(mix(rgb8(150, 112, 70), rgb8(178, 140, 92), n), 0.9f + 0.2f * rnd.uniform());
}

Image make_half_grass(const Image& grass) {
  Image img(SIDE, SIDE);
  Random rnd(41);
  for (int y = 0; y < SIDE; ++y)
    for (int x = 0; x < SIDE; ++x) {
      // Grass covers the triangle at texture corner (0, 0): s + t < 1.
      const float d = (x + y + 1 - SIDE) / std::sqrt(2.0f);  // signed distance from the diagonal
      const Rgb soil = earth_at(x, y, rnd);
      Rgb c = mix(grass.at(x, y), soil, smoothstep(-0.8f, 0.8f, d));
      if (d > 0 && d < 3) c = scale(c, 0.7f + 0.1f * d);  // the turf's cut edge throws a shadow
      img.at(x, y) = c;
    }
  for (int k = 0; k < 30; ++k) {
    const float x = rnd.range(0, SIDE), y = rnd.range(0, SIDE);
    if (x + y > SIDE + 6) fill_disc(img, x, y, rnd.range(0.8f, 1.8f), rgb8(120, 100, 80), 0.8f);
  }
  return img;
}

// Side faces: 128 × 128 drawn on a 64 × 32 face, so shapes are drawn twice as tall as wide.
Image make_mud() {
  Image img(SIDE, SIDE);
  Random rnd(51);
  for (int y = 0; y < SIDE; ++y)
    for (int x = 0; x < SIDE; ++x) {
      const float strata = periodic_noise(x * 2.0f / SIDE, y * 8.0f / SIDE, 2, 8, 511);
      const float grain = tiled_fractal(x, y, SIDE, SIDE, 16, 2, 512);
      Rgb c = mix(rgb8(104, 70, 42), rgb8(140, 100, 62), strata);
      img.at(x, y) = scale(c, 0.85f + 0.2f * grain + 0.1f * rnd.uniform());
    }
  for (int k = 0; k < 45; ++k) {
    const float cx = rnd.range(0, SIDE), cy = rnd.range(0, SIDE);
    const float rx = rnd.range(1.5f, 3.5f), ry = rx * 2;
    const Rgb stone = scale(rgb8(150, 140, 128), rnd.range(0.7f, 1.05f));
    for (int dy = -8; dy <= 8; ++dy)
      for (int dx = -4; dx <= 4; ++dx) {
        const float d = (dx * dx) / (rx * rx) + (dy * dy) / (ry * ry);
        if (d < 1) img.blend_wrap(static_cast<int>(cx) + dx, static_cast<int>(cy) + dy,
                                  scale(stone, 1.05f - 0.25f * (dy < 0 ? d : 0)), 0.9f);
      }
  }
  return img;
}

Image make_water() {
  Image img(SIDE, SIDE);
  for (int y = 0; y < SIDE; ++y)
    for (int x = 0; x < SIDE; ++x) {
      const float depth = tiled_fractal(x, y, SIDE, SIDE, 2, 3, 611);
      // Ridged noise makes the bright net of light on a rippled surface.
      const float n1 = tiled_fractal(x, y, SIDE, SIDE, 4, 2, 612);
      const float n2 = tiled_fractal(x, y, SIDE, SIDE, 8, 2, 613);
      const float ridge = 1 - std::fabs(2 * (0.6f * n1 + 0.4f * n2) - 1);
      Rgb c = mix(rgb8(22, 70, 150), rgb8(40, 110, 190), depth);
      c = mix(c, rgb8(150, 210, 245), std::pow(ridge, 6.0f) * 0.8f);
      img.at(x, y) = c;
    }
  return img;
}

Image make_sand() {
  Image img(SIDE, SIDE);
  Random rnd(71);
  for (int y = 0; y < SIDE; ++y)
    for (int x = 0; x < SIDE; ++x) {
      const float warp = tiled_fractal(x, y, SIDE, SIDE, 4, 2, 711);
      const float ripple = 0.5f + 0.5f * std::sin(2 * PI_F * (3.0f * (x + y) / SIDE + 1.5f * warp));
      const float g = rnd.uniform();
      Rgb c = mix(rgb8(214, 186, 128), rgb8(236, 214, 160), 0.6f * ripple + 0.4f * warp);
      c = scale(c, 0.92f + 0.14f * g);
      if (g > 0.985f) c = rgb8(160, 130, 90);
      img.at(x, y) = c;
    }
  return img;
}

// A steel plate framed by yellow and black hazard stripes.
Image make_block_moving() {
  Image img(SIDE, SIDE);
  const int border = 18;
  for (int y = 0; y < SIDE; ++y)
    for (int x = 0; x < SIDE; ++x) {
      const bool frame = x < border || y < border || x >= SIDE - border || y >= SIDE - border;
      if (frame) {
        const bool yellow = ((x + y) / 16) % 2 == 0;  // 16 divides 128: stripes meet across tiles
        img.at(x, y) = yellow ? rgb8(240, 196, 30) : rgb8(34, 30, 28);
      } else {
        // Diamond tread plate.
        const float u = std::fmod(x + y + 1000.0f, 12.0f), v = std::fmod(x - y + 1000.0f, 12.0f);
        const bool bump = std::fabs(u - 6) < 1.5f && std::fabs(v - 6) < 4.0f;
        Rgb c = scale(rgb8(150, 158, 168), 0.9f + 0.15f * tiled_fractal(x, y, SIDE, SIDE, 4, 2, 811));
        if (bump) c = scale(c, 1.25f);
        img.at(x, y) = c;
      }
    }
  // Dark inner rim and rivets.
  for (int k = border; k < SIDE - border; ++k) {
    img.at(k, border) = img.at(k, SIDE - border - 1) = rgb8(70, 74, 80);
    img.at(border, k) = img.at(SIDE - border - 1, k) = rgb8(70, 74, 80);
  }
  for (float p : {26.0f, 102.0f})
    for (float q : {26.0f, 102.0f}) {
      fill_disc(img, p, q, 3.0f, rgb8(90, 94, 100));
      fill_disc(img, p - 0.7f, q + 0.7f, 1.6f, rgb8(220, 224, 230));
    }
  return img;
}

// Warp entry: a dark purple whirlpool that draws inward.
Image make_warp() {
  Image img(SIDE, SIDE);
  for (int y = 0; y < SIDE; ++y)
    for (int x = 0; x < SIDE; ++x) {
      const float dx = (x + 0.5f - SIDE / 2.0f) / (SIDE / 2.0f), dy = (y + 0.5f - SIDE / 2.0f) / (SIDE / 2.0f);
      const float r = std::hypot(dx, dy), a = std::atan2(dy, dx);
      const float arms = 0.5f + 0.5f * std::sin(4 * a + 9 * std::log(r + 0.05f));
      Rgb c = mix(rgb8(44, 10, 70), rgb8(190, 70, 230), arms * smoothstep(1.1f, 0.2f, r));
      c = mix(c, rgb8(0, 0, 0), smoothstep(0.32f, 0.0f, r));            // the hole in the middle
      c = mix(c, rgb8(255, 170, 255), 0.6f * smoothstep(0.06f, 0.0f, std::fabs(r - 0.95f)));
      img.at(x, y) = c;
    }
  return img;
}

// Warp exit: bright teal rings spreading outward from a glowing centre, with outward arrows.
Image make_zone() {
  Image img(SIDE, SIDE);
  for (int y = 0; y < SIDE; ++y)
    for (int x = 0; x < SIDE; ++x) {
      const float dx = (x + 0.5f - SIDE / 2.0f) / (SIDE / 2.0f), dy = (y + 0.5f - SIDE / 2.0f) / (SIDE / 2.0f);
      const float r = std::hypot(dx, dy);
      const float rings = 0.5f + 0.5f * std::cos(r * 7 * PI_F);
      Rgb c = mix(rgb8(14, 70, 72), rgb8(60, 220, 190), rings * smoothstep(1.05f, 0.7f, r));
      c = mix(c, rgb8(240, 255, 220), smoothstep(0.28f, 0.0f, r));  // the glowing spot
      img.at(x, y) = c;
    }
  // Four arrows pointing away from the centre.
  const float c0 = SIDE / 2.0f;
  for (int k = 0; k < 4; ++k) {
    const float ax = std::cos(k * PI_F / 2 + PI_F / 4), ay = std::sin(k * PI_F / 2 + PI_F / 4);
    const float tipx = c0 + ax * 58, tipy = c0 + ay * 58;
    const float basex = c0 + ax * 40, basey = c0 + ay * 40;
    draw_line(img, basex, basey, tipx, tipy, 3.0f, rgb8(255, 250, 170));
    draw_line(img, tipx, tipy, tipx - ax * 9 - ay * 7, tipy - ay * 9 + ax * 7, 3.0f, rgb8(255, 250, 170));
    draw_line(img, tipx, tipy, tipx - ax * 9 + ay * 7, tipy - ay * 9 - ax * 7, 3.0f, rgb8(255, 250, 170));
  }
  return img;
}

// The tee mat: woven green turf in a white frame with the rubber tee in the middle.
Image make_tee() {
  Image img(SIDE, SIDE);
  Random rnd(91);
  for (int y = 0; y < SIDE; ++y)
    for (int x = 0; x < SIDE; ++x) {
      const bool weave = ((x / 4) + (y / 4)) % 2 == 0;
      Rgb c = weave ? rgb8(40, 140, 76) : rgb8(34, 122, 66);
      if (x % 4 == 0 || y % 4 == 0) c = scale(c, 0.85f);
      img.at(x, y) = scale(c, 0.95f + 0.1f * rnd.uniform());
    }
  for (int k = 0; k < SIDE; ++k)
    for (int w = 0; w < 4; ++w) {
      img.at(k, 8 + w) = img.at(k, SIDE - 12 + w) = rgb8(240, 240, 232);
      img.at(8 + w, k) = img.at(SIDE - 12 + w, k) = rgb8(240, 240, 232);
    }
  for (int k = 0; k < SIDE; ++k)
    for (int w = 0; w < 8; ++w) {
      img.at(k, w) = img.at(k, SIDE - 1 - w) = rgb8(26, 60, 40);
      img.at(w, k) = img.at(SIDE - 1 - w, k) = rgb8(26, 60, 40);
    }
  fill_disc(img, 66, 62, 11, rgb8(20, 60, 30), 0.5f);  // shadow
  fill_disc(img, SIDE / 2.0f, SIDE / 2.0f, 10, rgb8(235, 70, 50));
  fill_disc(img, SIDE / 2.0f - 2, SIDE / 2.0f + 2, 4, rgb8(255, 150, 130));
  return img;
}

// The editor's outline: bright yellow with pale diagonal dashes, readable on grass and mud.
Image make_line_texture() {
  Image img(64, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      img.at(x, y) = ((x + y) / 8) % 2 == 0 ? rgb8(255, 230, 40) : rgb8(255, 255, 210);
  return img;
}

// The belt runs along s (the picture's x axis): ribs across it, guide rails along both edges.
// Every rib is symmetric, so the belt looks right when scrolled either way or mirrored.
Image make_conveyor() {
  Image img(SIDE, SIDE);
  Random rnd(121);
  const int rail = 12;
  for (int y = 0; y < SIDE; ++y)
    for (int x = 0; x < SIDE; ++x) {
      Rgb c;
      if (y < rail || y >= SIDE - rail) {
        const int inner = y < rail ? y : SIDE - 1 - y;
        c = scale(rgb8(170, 172, 178), 0.75f + 0.35f * std::sin(PI_F * (inner + 0.5f) / rail));
        if (x % 32 >= 14 && x % 32 < 18 && inner > 3 && inner < rail - 3) c = rgb8(80, 82, 88);  // bolts
      } else {
        const float phase = std::fmod(x + 0.5f, 32.0f);  // four ribs per belt length
        const float rib = std::fabs(phase - 16) < 5 ? std::cos((phase - 16) / 5 * PI_F / 2) : 0;
        c = scale(rgb8(56, 58, 64), 0.9f + 0.15f * rnd.uniform());
        c = mix(c, rgb8(120, 124, 132), rib);
        if (std::fabs(std::fabs(phase - 16) - 5.5f) < 0.8f) c = rgb8(26, 26, 30);  // rib edges
      }
      img.at(x, y) = c;
    }
  return img;
}

// The score card is drawn on a 480 × 305 quad; its ruling follows the text cells: columns 34
// pixels apart round the numbers, rows 21.3 pixels apart, the name column on the left and the
// wider total column on the right.
Image make_score_card() {
  const int W = 512, H = 256;
  Image img(W, H, rgb8(250, 244, 222));
  auto tx = [&](float X) { return (X + 240.0f) / 480.0f * W; };
  auto ty = [&](float Y) { return (Y + 140.0f) / 305.0f * H; };
  Random rnd(131);
  for (Rgb& p : img.pixels) p = scale(p, 0.97f + 0.04f * rnd.uniform());

  const float left = -236, right = 236, top = 119, bottom = -138;
  auto rowBottom = [](int b) { return 102.0f - std::trunc((b - 1) * 21.3f) - 6.0f; };  // below row b's text
  const float colLeft2 = -163.5f;
  auto colLine = [&](int k) { return colLeft2 + 34.0f * k; };  // k = 0: left of column 2

  const Rgb headShade = rgb8(214, 232, 206), sumShade = rgb8(236, 226, 196), ink = rgb8(40, 96, 60);
  // Hole rows (1 and 7) and the sum columns (11, 12) get a tint.
  for (int block = 0; block < 2; ++block) {
    const float yTop = block == 0 ? top : rowBottom(6), yBot = rowBottom(block * 6 + 1);
    fill_rect(img, static_cast<int>(tx(left)), static_cast<int>(ty(yBot)), static_cast<int>(tx(right)),
              static_cast<int>(ty(yTop)), headShade);
  }
  fill_rect(img, static_cast<int>(tx(colLine(9))), static_cast<int>(ty(bottom)), static_cast<int>(tx(right)),
            static_cast<int>(ty(top)), sumShade, 0.6f);

  // Title band with a ribbon.
  fill_rect(img, static_cast<int>(tx(-236)), static_cast<int>(ty(124)), static_cast<int>(tx(236)),
            static_cast<int>(ty(161)), rgb8(255, 250, 200));
  draw_line(img, tx(-236), ty(124), tx(236), ty(124), 1.5f, ink);
  draw_line(img, tx(-236), ty(161), tx(236), ty(161), 1.5f, ink);
  for (float flag : {-214.0f, 214.0f}) {  // little flags at both ends of the title
    draw_line(img, tx(flag), ty(128), tx(flag), ty(157), 1.5f, rgb8(90, 70, 40));
    for (int k = 0; k < 7; ++k)
      draw_line(img, tx(flag), ty(156 - k), tx(flag + 12 - k * 1.6f), ty(153 - k * 0.2f), 1.2f, rgb8(220, 40, 40));
  }

  // Ruling: horizontal lines under every row, a heavier one between front and back nine.
  for (int b = 0; b <= 12; ++b) {
    const float Y = b == 0 ? top : rowBottom(b);
    const bool heavy = b == 0 || b == 6 || b == 12 || b == 1 || b == 7;
    draw_line(img, tx(left), ty(Y), tx(right), ty(Y), heavy ? 2.4f : 1.4f, ink);
  }
  draw_line(img, tx(left), ty(top), tx(left), ty(bottom), 2.4f, ink);
  draw_line(img, tx(right), ty(top), tx(right), ty(bottom), 2.4f, ink);
  for (int k = 0; k <= 10; ++k) {
    const bool heavy = k == 0 || k == 9;
    draw_line(img, tx(colLine(k)), ty(top), tx(colLine(k)), ty(bottom), heavy ? 2.2f : 1.2f, ink);
  }
  // Outer border of the card.
  for (int k = 0; k < 3; ++k) {
    draw_line(img, 1.5f + k, 1.5f + k, W - 1.5f - k, 1.5f + k, 1.0f, rgb8(30, 110, 60));
    draw_line(img, 1.5f + k, H - 1.5f - k, W - 1.5f - k, H - 1.5f - k, 1.0f, rgb8(30, 110, 60));
    draw_line(img, 1.5f + k, 1.5f + k, 1.5f + k, H - 1.5f - k, 1.0f, rgb8(30, 110, 60));
    draw_line(img, W - 1.5f - k, 1.5f + k, W - 1.5f - k, H - 1.5f - k, 1.0f, rgb8(30, 110, 60));
  }
  return img;
}

}  // namespace

std::vector<Picture> make_ground_pictures() {
  const Image grass = make_grass(11);
  std::vector<Picture> out;
  out.push_back({"bottom_grass", make_bottom_grass()});
  out.push_back({"edge", make_edge()});
  out.push_back({"half_grass", make_half_grass(grass)});
  out.push_back({"grass", grass});
  out.push_back({"warp", make_warp()});
  out.push_back({"zone", make_zone()});
  out.push_back({"water", make_water()});
  out.push_back({"sand", make_sand()});
  out.push_back({"block_moving", make_block_moving()});
  out.push_back({"line_texture", make_line_texture()});
  out.push_back({"mud", make_mud()});
  out.push_back({"conveyor", make_conveyor()});
  out.push_back({"score_card", make_score_card()});
  out.push_back({"tee", make_tee()});
  return out;
}
