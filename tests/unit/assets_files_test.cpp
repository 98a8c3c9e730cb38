// The generated data files: every picture, font, effect and tune the game reads is in the
// runnable folder, in the format the game's readers need, and the generator remakes them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "audio/wave_reader.h"
#include "render/bitmap.h"
#include "render/textures.h"

namespace {

const std::string RUN = MG_RUN_DIR;

std::vector<uint8_t> read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}
uint32_t u32(const std::vector<uint8_t>& v, size_t at) {
  return v[at] | (v[at + 1] << 8) | (v[at + 2] << 16) | (static_cast<uint32_t>(v[at + 3]) << 24);
}
uint16_t u16(const std::vector<uint8_t>& v, size_t at) { return static_cast<uint16_t>(v[at] | (v[at + 1] << 8)); }
bool is_power_of_two(int v) { return v > 0 && (v & (v - 1)) == 0; }

Bitmap load_picture(const std::string& stem) {
  std::optional<Bitmap> bmp = load_bitmap(RUN + "/textures/" + stem + ".bmp");
  EXPECT_TRUE(bmp) << stem;
  return bmp ? *bmp : Bitmap{};
}

// RGB after the swap, bottom row first.
struct Rgb8 {
  int r, g, b;
};
Rgb8 pixel(const Bitmap& bmp, int x, int y) {
  const uint8_t* p = bmp.pixels.data() + (static_cast<size_t>(y) * bmp.header.width + x) * 3;
  return {p[0], p[1], p[2]};
}
int diff(Rgb8 a, Rgb8 b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); }

// Mean difference across the seam between the last and first column (or row), against the
// mean difference between neighbouring columns (rows) inside the picture.
double seam_ratio(const Bitmap& bmp, bool acrossColumns) {
  const int w = bmp.header.width, h = bmp.header.height;
  double seam = 0, inside = 0;
  int n = 0;
  const int len = acrossColumns ? h : w, span = acrossColumns ? w : h;
  for (int k = 0; k < len; ++k) {
    auto at = [&](int i) { return acrossColumns ? pixel(bmp, i, k) : pixel(bmp, k, i); };
    seam += diff(at(span - 1), at(0));
    for (int i = 0; i + 1 < span; ++i, ++n) inside += diff(at(i), at(i + 1));
  }
  return (seam / len) / std::max(1.0, inside / n);
}

}  // namespace

TEST(AssetPictures, EveryGroundPictureIsAPowerOfTwo24BitBmpWithoutPadding) {
  for (const char* stem : GROUND_TEXTURE_STEMS) {
    Bitmap bmp = load_picture(stem);
    EXPECT_EQ(bmp.header.bitsPerPixel, 24) << stem;
    EXPECT_TRUE(is_power_of_two(bmp.header.width) && is_power_of_two(bmp.header.height)) << stem;
    EXPECT_TRUE(prepare_ground_pixels(bmp)) << stem;
  }
}

TEST(AssetPictures, EveryBallPictureIs128WideAndStages) {
  std::vector<uint8_t> staging(BALL_STAGING_SIDE * BALL_STAGING_SIDE * 4);
  for (const char* stem : BALL_TEXTURE_STEMS) {
    Bitmap bmp = load_picture(stem);
    EXPECT_EQ(bmp.header.width, 128) << stem;
    EXPECT_LE(bmp.header.height, 128) << stem;
    EXPECT_TRUE(is_power_of_two(bmp.header.height)) << stem;
    EXPECT_TRUE(stage_ball_pixels(bmp, staging.data())) << stem;
  }
}

TEST(AssetPictures, GroundPicturesTileWithoutSeams) {
  // The score card is one picture and half grass turns with its corner: neither repeats.
  for (const char* stem : GROUND_TEXTURE_STEMS) {
    const std::string s = stem;
    if (s == "score_card" || s == "half_grass") continue;
    Bitmap bmp = load_picture(stem);
    ASSERT_TRUE(prepare_ground_pixels(bmp)) << stem;
    EXPECT_LT(seam_ratio(bmp, true), 2.5) << stem << " has a seam between its right and left edges";
    EXPECT_LT(seam_ratio(bmp, false), 2.5) << stem << " has a seam between its top and bottom edges";
  }
}

TEST(AssetPictures, ConveyorBeltReadsTheSameMirrored) {
  // Two belt directions show the picture mirrored along its running axis: the mirror image must
  // match the picture shifted along the belt, as symmetric ribs do and arrows would not.
  Bitmap bmp = load_picture("conveyor");
  ASSERT_TRUE(prepare_ground_pixels(bmp));
  const int w = bmp.header.width, h = bmp.header.height;
  double best = 1e9;
  for (int shift = 0; shift < w; ++shift) {
    double sum = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) sum += diff(pixel(bmp, x, y), pixel(bmp, ((shift - x) % w + w) % w, y));
    best = std::min(best, sum / (w * h));
  }
  EXPECT_LT(best, 20.0);
  // And it has ribs: brightness along the belt varies far more than across it.
  double alongVar = 0;
  for (int x = 0; x + 1 < w; ++x) alongVar += diff(pixel(bmp, x, h / 2), pixel(bmp, x + 1, h / 2));
  EXPECT_GT(alongVar / (w - 1), 15.0);
}

TEST(AssetPictures, WarpEntryAndExitAreToldApart) {
  auto mean = [](const std::string& stem) {
    Bitmap bmp = load_picture(stem);
    EXPECT_TRUE(prepare_ground_pixels(bmp));
    double r = 0, g = 0, b = 0;
    const size_t n = bmp.pixels.size() / 3;
    for (size_t i = 0; i < n; ++i) r += bmp.pixels[3 * i], g += bmp.pixels[3 * i + 1], b += bmp.pixels[3 * i + 2];
    return std::vector<double>{r / n, g / n, b / n};
  };
  const std::vector<double> warp = mean("warp"), zone = mean("zone");
  EXPECT_GT(std::fabs(warp[0] - zone[0]) + std::fabs(warp[1] - zone[1]) + std::fabs(warp[2] - zone[2]), 90.0);
  EXPECT_GT(warp[0], warp[1]);  // the entry is purple: more red than green
  EXPECT_GT(zone[1], zone[0]);  // the exit is teal: more green than red
}

TEST(AssetFonts, EveryTextureFontHoldsEveryPrintableCharacterInsideItsTexture) {
  for (auto [name, lineHeight] : {std::pair{"helvetica_bold.txf", 15}, {"default.txf", 13},
                                  {"helvetica_bold_large.txf", 45}, {"default_large.txf", 39}}) {
    const std::vector<uint8_t> f = read_file(RUN + "/fonts/" + name);
    ASSERT_GE(f.size(), 32u) << name;
    EXPECT_EQ(f[0], 0xFF);
    EXPECT_EQ(std::string(f.begin() + 1, f.begin() + 4), "txf");
    EXPECT_EQ(u32(f, 4), 0x12345678u);
    EXPECT_EQ(u32(f, 8), 0u) << "one coverage byte per texel";
    const uint32_t w = u32(f, 12), h = u32(f, 16), ascent = u32(f, 20), descent = u32(f, 24), count = u32(f, 28);
    EXPECT_TRUE(is_power_of_two(static_cast<int>(w)) && is_power_of_two(static_cast<int>(h)));
    // Drawn at the size it was made for the font maps one texel to one pixel (the large ones
    // are made three times the widgets' sizes, for widgets drawn larger).
    EXPECT_EQ(ascent, static_cast<uint32_t>(lineHeight)) << name;
    EXPECT_LE(descent, ascent / 3) << name;
    ASSERT_EQ(f.size(), 32u + count * 12u + w * h) << name;
    std::set<int> codes;
    for (uint32_t k = 0; k < count; ++k) {
      const size_t at = 32 + k * 12;
      const int code = u16(f, at), gw = f[at + 2], gh = f[at + 3], x = u16(f, at + 8), y = u16(f, at + 10);
      codes.insert(code);
      EXPECT_LE(static_cast<uint32_t>(x + gw), w) << name << " glyph " << code;
      EXPECT_LE(static_cast<uint32_t>(y + gh), h) << name << " glyph " << code;
      if (code != ' ') {
        EXPECT_GT(gw * gh, 0) << name << " glyph " << code;
      }
      EXPECT_GT(static_cast<int8_t>(f[at + 6]), 0) << name << " advance of " << code;
      const int bottom = static_cast<int8_t>(f[at + 5]);
      EXPECT_LE(bottom + gh, static_cast<int>(ascent)) << name << " glyph " << code << " rises above the ascent";
      EXPECT_GE(bottom, -static_cast<int>(descent) - 1) << name << " glyph " << code << " sinks below the descent";
    }
    for (int c = 32; c <= 126; ++c) EXPECT_TRUE(codes.count(c)) << name << " lacks " << static_cast<char>(c);
  }
}

namespace {

struct Wave {
  int channels = 0, rate = 0, bits = 0;
  std::vector<int16_t> samples;
};

// Through the game's own WAV reader, as the sound effects are loaded.
bool read_wave(const std::string& path, Wave& out) {
  WaveReader reader;
  if (!reader.open(path)) {
    ADD_FAILURE() << path << ": " << reader.error();
    return false;
  }
  const WaveFormat& format = reader.format();
  if (format.formatTag != WAVE_FORMAT_PCM) return false;
  out.channels = format.channels;
  out.rate = static_cast<int>(format.samplesPerSec);
  out.bits = format.bitsPerSample;
  std::vector<uint8_t> bytes(reader.data_size());
  size_t got = 0;
  if (!reader.read(bytes.size(), bytes.data(), &got) || got != bytes.size()) return false;
  for (size_t k = 0; k + 1 < got; k += 2) out.samples.push_back(static_cast<int16_t>(bytes[k] | (bytes[k + 1] << 8)));
  return true;
}

}  // namespace

TEST(AssetSounds, TheElevenEffectsArePcm16WavesOfFittingLength) {
  const std::map<std::string, std::pair<double, double>> lengths = {
      {"ball_hit_wood", {0.05, 0.5}}, {"putter_hit_ball", {0.05, 0.4}}, {"ball_in_cup", {0.3, 1.2}},
      {"ball_in_water", {0.3, 1.5}},  {"warp", {0.4, 1.5}},              {"sand", {0.2, 1.0}},
      {"block_moving", {0.8, 1.3}},   {"bumper", {0.2, 0.8}},            {"conveyor", {0.2, 1.0}},
      {"ball_hit_ball", {0.03, 0.3}}, {"ball_hit_edge", {0.1, 0.6}}};
  for (const auto& [stem, range] : lengths) {
    Wave wave;
    ASSERT_TRUE(read_wave(RUN + "/sounds/" + stem + ".wav", wave)) << stem;
    EXPECT_EQ(wave.bits, 16) << stem;
    EXPECT_EQ(wave.channels, 1) << stem;
    EXPECT_EQ(wave.rate, 22050) << stem;
    const double seconds = static_cast<double>(wave.samples.size()) / wave.rate;
    EXPECT_GE(seconds, range.first) << stem;
    EXPECT_LE(seconds, range.second) << stem;
    int peak = 0;
    for (int16_t v : wave.samples) peak = std::max(peak, std::abs(static_cast<int>(v)));
    EXPECT_GT(peak, 32767 / 4) << stem << " is too quiet";
    EXPECT_LT(peak, 32767) << stem << " clips";
    EXPECT_LT(std::abs(wave.samples.back()), 200) << stem << " ends with a click";
  }
}

TEST(AssetSounds, TheConveyorHumSurvivesBeingRestartedEveryStep) {
  // Restarted 180 times a second, only its first 1/180 s is ever heard: that part must already
  // be the full hum (no fade-in) and must start and end at the same place of its wave.
  Wave wave;
  ASSERT_TRUE(read_wave(RUN + "/sounds/conveyor.wav", wave));
  const int step = 22050 / 180;  // 122.5 samples
  int peak = 0, early = 0;
  for (int16_t v : wave.samples) peak = std::max(peak, std::abs(static_cast<int>(v)));
  for (int i = 0; i < step; ++i) early = std::max(early, std::abs(static_cast<int>(wave.samples[i])));
  EXPECT_GT(early, peak * 9 / 10);
  EXPECT_LT(std::abs(wave.samples[0]), 300);
  EXPECT_LT(std::abs(wave.samples[0] - wave.samples[2 * 22050 / 180]), 600);
}

namespace {

struct MidiInfo {
  double seconds = 0;
  std::set<int> channelsWithNotes;
  int programChanges = 0;
};

uint32_t be32(const std::vector<uint8_t>& v, size_t at) {
  return (static_cast<uint32_t>(v[at]) << 24) | (v[at + 1] << 16) | (v[at + 2] << 8) | v[at + 3];
}

// Walks a standard MIDI file; the length comes from the last event's tick and the tempo map
// (one tempo for all our tunes).
bool read_midi(const std::string& path, MidiInfo& info) {
  const std::vector<uint8_t> f = read_file(path);
  if (f.size() < 14 || std::string(f.begin(), f.begin() + 4) != "MThd" || be32(f, 4) != 6) return false;
  const int tracks = (f[10] << 8) | f[11], division = (f[12] << 8) | f[13];
  if (tracks < 1 || division <= 0 || division >= 0x8000) return false;
  double usPerQuarter = 500000;
  long lastTick = 0;
  size_t at = 14;
  for (int t = 0; t < tracks; ++t) {
    if (at + 8 > f.size() || std::string(f.begin() + at, f.begin() + at + 4) != "MTrk") return false;
    const size_t end = at + 8 + be32(f, at + 4);
    if (end > f.size()) return false;
    at += 8;
    long tick = 0;
    int status = 0;
    bool ended = false;
    while (at < end && !ended) {
      uint32_t delta = 0;
      do delta = (delta << 7) | (f[at] & 0x7F);
      while (f[at++] & 0x80 && at < end);
      tick += delta;
      if (f[at] & 0x80) status = f[at++];
      if (status == 0xFF) {
        const int type = f[at], len = f[at + 1];
        if (type == 0x51) usPerQuarter = (f[at + 2] << 16) | (f[at + 3] << 8) | f[at + 4];
        if (type == 0x2F) ended = true;
        at += 2 + len;
      } else if ((status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0) {
        if ((status & 0xF0) == 0xC0) ++info.programChanges;
        at += 1;
      } else {
        if ((status & 0xF0) == 0x90 && f[at + 1] > 0) info.channelsWithNotes.insert(status & 0x0F);
        at += 2;
      }
    }
    if (!ended) return false;
    lastTick = std::max(lastTick, tick);
    at = end;
  }
  info.seconds = lastTick / static_cast<double>(division) * usPerQuarter / 1e6;
  return true;
}

}  // namespace

TEST(AssetMusic, BackgroundAndCourseTunesArePleasantlyLongGeneralMidiLoops) {
  std::vector<std::string> tunes = {"Background.mid"};
  for (const auto& entry : std::filesystem::directory_iterator(RUN + "/sounds")) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("tune_", 0) == 0 && entry.path().extension() == ".mid") tunes.push_back(name);
  }
  EXPECT_GE(tunes.size(), 3u) << "Background.mid and at least two tunes for course holes";
  for (const std::string& name : tunes) {
    MidiInfo info;
    ASSERT_TRUE(read_midi(RUN + "/sounds/" + name, info)) << name;
    EXPECT_GE(info.seconds, 30.0) << name;
    EXPECT_LE(info.seconds, 90.0) << name;
    EXPECT_GE(info.channelsWithNotes.size(), 3u) << name << " needs melody, accompaniment and bass";
    EXPECT_TRUE(info.channelsWithNotes.count(9)) << name << " has no drums";
    EXPECT_GE(info.programChanges, 3) << name;
  }
}

TEST(AssetGenerator, RemakesEveryFileFromScratchIdentically) {
  const std::filesystem::path fresh = std::filesystem::temp_directory_path() / "mg_assets_fresh";
  std::filesystem::remove_all(fresh);
  const std::string command = std::string("\"") + MG_GEN_ASSETS + "\" \"" + (fresh / "run").string() + "\" \"" +
                              (fresh / "artifacts").string() + "\" \"" + MG_FONT_BOLD + "\" \"" + MG_FONT_REGULAR +
                              "\" > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::vector<std::string> files = {"fonts/helvetica_bold.txf", "fonts/default.txf", "sounds/Background.mid"};
  for (const char* stem : GROUND_TEXTURE_STEMS) files.push_back(std::string("textures/") + stem + ".bmp");
  for (const char* stem : BALL_TEXTURE_STEMS) files.push_back(std::string("textures/") + stem + ".bmp");
  for (const char* stem : {"ball_hit_wood", "putter_hit_ball", "ball_in_cup", "ball_in_water", "warp", "sand",
                           "block_moving", "bumper", "conveyor", "ball_hit_ball", "ball_hit_edge"})
    files.push_back(std::string("sounds/") + stem + ".wav");
  for (const std::string& name : files) {
    const std::vector<uint8_t> made = read_file((fresh / "run" / name).string());
    EXPECT_FALSE(made.empty()) << name << " was not made";
    EXPECT_EQ(made, read_file(RUN + "/" + name)) << name << " differs from the build's copy";
  }
  EXPECT_TRUE(std::filesystem::exists(fresh / "artifacts" / "contact_sheet.png"));
  EXPECT_TRUE(std::filesystem::exists(fresh / "artifacts" / "sound_list.txt"));
  std::filesystem::remove_all(fresh);
}
