// gen-assets: makes every picture, font, sound effect and tune the game reads, and a contact
// sheet with a sound listing to review them.
//   gen-assets <run folder> <artifact folder> <bold .ttf> <regular .ttf>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fonts.h"
#include "icons.h"
#include "pictures.h"
#include "platform/fs.h"
#include "render/bitmap.h"
#include "sounds.h"

namespace {

bool write_bytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::string error;
  if (!write_file_atomic(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), &error)) {
    std::fprintf(stderr, "gen-assets: cannot write %s: %s\n", path.c_str(), error.c_str());
    return false;
  }
  return true;
}

void blit(Image& sheet, const Image& img, int x0, int y0, int tilesX = 1, int tilesY = 1) {
  for (int y = 0; y < img.height * tilesY; ++y)
    for (int x = 0; x < img.width * tilesX; ++x) {
      const int sx = x0 + x, sy = y0 + y;
      if (sx >= 0 && sy >= 0 && sx < sheet.width && sy < sheet.height)
        sheet.at(sx, sy) = img.at(x % img.width, y % img.height);
    }
}

void blit_scaled(Image& sheet, const Image& img, int x0, int y0, int w, int h) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) sheet.blend(x0 + x, y0 + y, img.at(x * img.width / w, y * img.height / h), 1);
}

// The ball as the game wraps its picture round a sphere, seen a little from above, shaded.
void draw_ball(Image& sheet, const Image& pic, int cx, int cy, int radius, float spin) {
  const float tilt = 0.9f;
  for (int y = -radius; y <= radius; ++y)
    for (int x = -radius; x <= radius; ++x) {
      const float px = (x + 0.5f) / radius, py = (y + 0.5f) / radius, q = 1 - px * px - py * py;
      if (q <= 0) continue;
      const float pz = std::sqrt(q);
      // View space (x right, y up, z toward the viewer) to ball space (z = top pole).
      const float bx = px, by = -pz * std::cos(tilt) + py * std::sin(tilt), bz = pz * std::sin(tilt) + py * std::cos(tilt);
      float theta = std::atan2(by, bx) + spin;
      theta = std::fmod(theta + 4 * PI_F, 2 * PI_F);
      const float phi = std::acos(std::fmax(-1.0f, std::fmin(1.0f, bz)));
      const int s = std::min(pic.width - 1, static_cast<int>(theta / (2 * PI_F) * pic.width));
      const int t = std::min(pic.height - 1, static_cast<int>(phi / PI_F * pic.height));
      const Rgb c = pic.at(s, pic.height - 1 - t);  // the picture's top row is the top pole
      const float light = 0.45f + 0.55f * std::fmax(0.0f, 0.3f * px + 0.5f * py + 0.81f * pz);
      sheet.blend(cx + x, cy + y, scale(c, light), clamp01(std::sqrt(q) * radius));
    }
}

// Fills the drawn card with sample entries where the game writes its cells, to check that
// the ruling fits: a sans at 16 pixels stands in for the game's 18-pixel Helvetica.
void draw_score_sample(Image& sheet, const std::string& ttf, int cx, int cy) {
  auto cell = [&](int a, int b, std::string text) {
    int x = a == 1 ? -230 : 34 * a - 220;
    const int y = 103 - static_cast<int>((b - 1) * 21.3);
    const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    if (a == 11 && text == "Out") x -= 8;
    if (a == 12 && text == "Total") x -= 4;
    if (digits && a != 1 && a != 12) x -= text.size() == 2 ? 4 : (text.size() == 3 ? 8 : 0);
    if (digits && a == 12) x += text.size() == 1 ? 14 : (text.size() == 2 ? 9 : 1);
    if (a == 1 && text.size() > 4) text = text.substr(0, 4) + ".";
    draw_text(sheet, ttf, 16, cx + x + 1, cy + y - 1, text, rgb8(0, 0, 0));
  };
  draw_text(sheet, ttf, 16, cx - 118, cy + 135, "Tallowick's Miniature Golf", rgb8(67, 53, 253));
  const char* names[4] = {"Annabel", "Bo", "Chris", "Dana"};
  for (int half = 0; half < 2; ++half) {
    const int r0 = half * 6;
    cell(1, r0 + 1, "Hole");
    cell(1, r0 + 2, "Par");
    for (int k = 1; k <= 9; ++k) {
      cell(k + 1, r0 + 1, std::to_string(k + 9 * half));
      cell(k + 1, r0 + 2, std::to_string(2 + (k % 3)));
      for (int p = 1; p <= 4; ++p) cell(k + 1, r0 + 2 + p, std::to_string(k == 4 && p == 2 ? 12 : 1 + (k * p) % 5));
    }
    cell(11, r0 + 1, half == 0 ? "Out" : "In");
    cell(11, r0 + 2, "27");
    if (half == 1) {
      cell(12, 7, "Total");
      cell(12, 8, "54");
    }
    for (int p = 1; p <= 4; ++p) {
      cell(1, r0 + 2 + p, names[p - 1]);
      cell(11, r0 + 2 + p, std::to_string(20 + 3 * p));
      if (half == 1) cell(12, 8 + p, std::to_string(p == 4 ? 101 : 45 + p));
    }
  }
}

double peak_dbfs(const std::vector<int16_t>& samples) {
  int peak = 1;
  for (int16_t v : samples) peak = std::max(peak, std::abs(static_cast<int>(v)));
  return 20 * std::log10(peak / 32767.0);
}

}  // namespace

int main(int argc, char** argv) {
  // gen-assets --icons <folder>: the application icon at every installed size, as
  // <folder>/<N>x<N>/minigolf.png.
  if (argc == 3 && std::string(argv[1]) == "--icons") {
    bool ok = true;
    for (int size : {48, 64, 128, 256}) {
      const std::string dir = std::string(argv[2]) + "/" + std::to_string(size) + "x" + std::to_string(size);
      std::error_code ec;
      std::filesystem::create_directories(dir, ec);
      ok &= write_png(dir + "/minigolf.png", make_icon(size));
    }
    return ok ? 0 : 1;
  }
  if (argc != 5) {
    std::fprintf(stderr, "usage: gen-assets <run folder> <artifact folder> <bold .ttf> <regular .ttf>\n");
    return 2;
  }
  const std::string run = argv[1], artifacts = argv[2], boldTtf = argv[3], regularTtf = argv[4];
  for (const std::string& dir : {run, run + "/textures", run + "/fonts", run + "/sounds", artifacts})
    if (std::error_code ec; !std::filesystem::create_directories(dir, ec) && !directory_exists(dir)) {
      std::fprintf(stderr, "gen-assets: cannot make %s\n", dir.c_str());
      return 1;
    }
  bool ok = true;

  const std::vector<Picture> ground = make_ground_pictures();
  const std::vector<Picture> balls = make_ball_pictures();
  for (const std::vector<Picture>* list : {&ground, &balls})
    for (const Picture& p : *list)
      ok &= write_bytes(run + "/textures/" + p.stem + ".bmp",
                        encode_bitmap(p.image.width, p.image.height, p.image.to_rgb8()));

  // Each font also comes three times as large, for widgets drawn larger than their design size.
  TexFont bold, regular, boldLarge, regularLarge;
  std::string error;
  if (!make_tex_font(boldTtf, 15, bold, &error) || !make_tex_font(regularTtf, 13, regular, &error) ||
      !make_tex_font(boldTtf, 45, boldLarge, &error, 512) ||
      !make_tex_font(regularTtf, 39, regularLarge, &error, 512)) {
    std::fprintf(stderr, "gen-assets: %s\n", error.c_str());
    return 1;
  }
  ok &= write_bytes(run + "/fonts/helvetica_bold.txf", bold.file);
  ok &= write_bytes(run + "/fonts/default.txf", regular.file);
  ok &= write_bytes(run + "/fonts/helvetica_bold_large.txf", boldLarge.file);
  ok &= write_bytes(run + "/fonts/default_large.txf", regularLarge.file);

  const std::vector<Effect> effects = make_effects();
  std::string listing;
  char line[200];
  for (const Effect& e : effects) {
    ok &= write_bytes(run + "/sounds/" + e.stem + ".wav", encode_wave(e.samples));
    std::snprintf(line, sizeof line, "%-18s %6.3f s  peak %6.1f dBFS  %d Hz mono 16-bit\n", (e.stem + ".wav").c_str(),
                  static_cast<double>(e.samples.size()) / EFFECT_RATE, peak_dbfs(e.samples), EFFECT_RATE);
    listing += line;
  }
  for (const Tune& t : make_tunes()) {
    ok &= write_bytes(run + "/sounds/" + t.fileName, t.midi);
    std::snprintf(line, sizeof line, "%-18s %6.1f s  loop, %zu bytes\n", t.fileName.c_str(), t.seconds, t.midi.size());
    listing += line;
  }
  ok &= write_bytes(artifacts + "/sound_list.txt", std::vector<uint8_t>(listing.begin(), listing.end()));
  std::fputs(listing.c_str(), stdout);

  // The contact sheet: ground pictures tiled 2 × 2 (seams would show as lines through the
  // middle), the score card as large as the game shows it, the balls flat and on a sphere,
  // and the two font textures.
  const int W = 1400, H = 2120, cell = 276;
  Image sheet(W, H, rgb8(236, 236, 236));
  const Rgb labelInk = rgb8(20, 20, 20);
  int col = 0, top = H - 30;
  draw_text(sheet, boldTtf, 18, 10, top + 6, "Ground and screen textures (each tiled 2 x 2)", labelInk);
  top -= 8;
  for (const Picture& p : ground) {
    if (p.stem == "score_card") continue;
    const int x0 = 10 + col * cell, y0 = top - cell;
    blit(sheet, p.image, x0, y0 + 20, 256 / p.image.width, 256 / p.image.height);
    draw_text(sheet, regularTtf, 14, x0, y0 + 4, p.stem, labelInk);
    if (++col == 5) {
      col = 0;
      top -= cell;
    }
  }
  top -= cell + 10;
  for (const Picture& p : ground)
    if (p.stem == "score_card") {
      blit_scaled(sheet, p.image, 10, top - 305, 480, 305);
      draw_text(sheet, regularTtf, 14, 10, top - 325, "score_card (drawn 480 x 305, sample cells)", labelInk);
      draw_score_sample(sheet, regularTtf, 10 + 240, top - 305 + 140);
    }
  draw_text(sheet, boldTtf, 18, 520, top - 20, "Fonts", labelInk);
  blit(sheet, bold.atlas, 520, top - 40 - bold.atlas.height);
  blit(sheet, regular.atlas, 800, top - 40 - regular.atlas.height);
  draw_text(sheet, regularTtf, 14, 520, top - 310, "helvetica_bold.txf", labelInk);
  draw_text(sheet, regularTtf, 14, 800, top - 310, "default.txf", labelInk);
  draw_text(sheet, boldTtf, 15, 1080, top - 60, "Legend font sample", labelInk);
  draw_text(sheet, regularTtf, 13, 1080, top - 84, "Label font sample", labelInk);

  top -= 350;
  draw_text(sheet, boldTtf, 18, 10, top, "Balls (picture, then on the sphere from two sides)", labelInk);
  top -= 20;
  for (size_t k = 0; k < balls.size(); ++k) {
    const int x0 = 10 + static_cast<int>(k % 4) * 345, y0 = top - 150 - static_cast<int>(k / 4) * 175;
    blit(sheet, balls[k].image, x0, y0);
    draw_ball(sheet, balls[k].image, x0 + 185, y0 + 70, 48, 0.0f);
    draw_ball(sheet, balls[k].image, x0 + 290, y0 + 70, 48, PI_F / 2);
    draw_text(sheet, regularTtf, 14, x0, y0 - 18, balls[k].stem, labelInk);
  }
  top -= 3 * 175 + 20;
  std::string monoTtf = directory_of(regularTtf) + "/DejaVuSansMono.ttf";
  if (!file_exists(monoTtf)) monoTtf = regularTtf;
  int y = top;
  draw_text(sheet, boldTtf, 18, 10, y, "Sounds", labelInk);
  size_t start = 0;
  while (start < listing.size()) {
    const size_t end = listing.find('\n', start);
    y -= 20;
    draw_text(sheet, monoTtf, 14, 10, y,
              listing.substr(start, end - start), labelInk);
    start = end + 1;
  }
  if (!write_png(artifacts + "/contact_sheet.png", sheet)) {
    std::fprintf(stderr, "gen-assets: cannot write the contact sheet\n");
    ok = false;
  }
  return ok ? 0 : 1;
}
