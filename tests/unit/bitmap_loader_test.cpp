// The BMP reader and the texture pixel preparation: good pictures, and every kind of bad one
// yields nothing without reading or writing outside the pixel data and the ball staging image.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "render/bitmap.h"

namespace {

struct BmpFields {
  int32_t width = 4;
  int32_t height = 2;
  uint16_t bits = 24;
  uint32_t compression = 0;
  int64_t imageSize = -1;  // -1: width × height × 3
  uint32_t pixelOffset = 54;
  uint16_t type = 0x4D42;
};

void put16(std::vector<uint8_t>& v, size_t at, uint16_t x) {
  v[at] = x & 0xFF;
  v[at + 1] = x >> 8;
}
void put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int k = 0; k < 4; ++k) v[at + k] = static_cast<uint8_t>(x >> (8 * k));
}

// A BMP with the given header fields and `pixelBytes` bytes of pixels counting 0, 1, 2, ...
std::vector<uint8_t> make_bmp(const BmpFields& f, size_t pixelBytes) {
  std::vector<uint8_t> v(f.pixelOffset > 54 ? f.pixelOffset : 54, 0);
  put16(v, 0, f.type);
  put32(v, 2, static_cast<uint32_t>(v.size() + pixelBytes));
  put32(v, 10, f.pixelOffset);
  put32(v, 14, 40);
  put32(v, 18, static_cast<uint32_t>(f.width));
  put32(v, 22, static_cast<uint32_t>(f.height));
  put16(v, 26, 1);
  put16(v, 28, f.bits);
  put32(v, 30, f.compression);
  put32(v, 34, f.imageSize < 0 ? static_cast<uint32_t>(f.width * f.height * 3) : static_cast<uint32_t>(f.imageSize));
  for (size_t i = 0; i < pixelBytes; ++i) v.push_back(static_cast<uint8_t>(i));
  return v;
}

std::optional<Bitmap> parse(const std::vector<uint8_t>& v) { return parse_bitmap(v.data(), v.size()); }

std::string write_temp(const std::string& name, const std::vector<uint8_t>& bytes) {
  const std::string path = (std::filesystem::temp_directory_path() / ("mg_bitmap_" + name)).string();
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  return path;
}

}  // namespace

TEST(BitmapLoader, ReadsA24BitPictureFromAFileWithItsInfoBlock) {
  const std::string path = write_temp("good.bmp", make_bmp({}, 24));
  std::optional<Bitmap> bmp = load_bitmap(path);
  ASSERT_TRUE(bmp);
  EXPECT_EQ(bmp->header.width, 4);
  EXPECT_EQ(bmp->header.height, 2);
  EXPECT_EQ(bmp->header.bitsPerPixel, 24);
  EXPECT_EQ(bmp->info.size(), 40u);
  ASSERT_EQ(bmp->pixels.size(), 24u);
  EXPECT_EQ(bmp->pixels[23], 23);
  std::remove(path.c_str());
}

TEST(BitmapLoader, ComputesTheImageSizeWhenTheHeaderGivesZero) {
  BmpFields f;
  f.imageSize = 0;
  std::optional<Bitmap> bmp = parse(make_bmp(f, 24));
  ASSERT_TRUE(bmp);
  EXPECT_EQ(bmp->pixels.size(), 24u);  // ((24 × 4 + 7) / 8) × 2
  EXPECT_TRUE(bitmap_is_packed_rgb(*bmp));
}

TEST(BitmapLoader, KeepsAnInformationBlockWithAColourTable) {
  BmpFields f;
  f.pixelOffset = 54 + 64;
  std::optional<Bitmap> bmp = parse(make_bmp(f, 24));
  ASSERT_TRUE(bmp);
  EXPECT_EQ(bmp->info.size(), 104u);
  EXPECT_EQ(bmp->pixels[0], 0);
}

TEST(BitmapLoader, RefusesMissingNonBmpAndTruncatedFiles) {
  EXPECT_FALSE(load_bitmap("/nonexistent/dir/none.bmp"));
  BmpFields notBm;
  notBm.type = 0x4D43;
  EXPECT_FALSE(parse(make_bmp(notBm, 24)));

  const std::vector<uint8_t> good = make_bmp({}, 24);
  for (size_t cut : {size_t{0}, size_t{1}, size_t{10}, size_t{13}, size_t{14}, size_t{30}, size_t{53}, size_t{54},
                     good.size() - 1}) {
    std::vector<uint8_t> shortFile(good.begin(), good.begin() + cut);
    EXPECT_FALSE(parse(shortFile)) << "cut at " << cut;
    const std::string path = write_temp("short.bmp", shortFile);
    EXPECT_FALSE(load_bitmap(path)) << "file cut at " << cut;
    std::remove(path.c_str());
  }
}

TEST(BitmapLoader, RefusesZeroNegativeAndOversizedDimensions) {
  for (auto [w, h] : {std::pair{0, 2}, {4, 0}, {-4, 2}, {4, -2}, {BITMAP_MAX_SIDE + 4, 2}, {4, BITMAP_MAX_SIDE + 1}}) {
    BmpFields f;
    f.width = w;
    f.height = h;
    f.imageSize = 24;
    EXPECT_FALSE(parse(make_bmp(f, 24))) << w << " x " << h;
  }
  // A size whose pixel count overflows 32 bits (65536 × 65536 × 3), with the size left to
  // be computed: refused before anything is allocated or read.
  BmpFields huge;
  huge.width = 65536;
  huge.height = 65536;
  huge.imageSize = 0;
  EXPECT_FALSE(parse(make_bmp(huge, 24)));
  huge.width = huge.height = 0x7FFFFFFF;
  EXPECT_FALSE(parse(make_bmp(huge, 24)));
}

TEST(BitmapLoader, RefusesPixelDataOutsideTheFile) {
  BmpFields lying;
  lying.imageSize = 0xFFFFFFF0u;  // promises far more than the file holds
  EXPECT_FALSE(parse(make_bmp(lying, 24)));
  std::vector<uint8_t> v = make_bmp({}, 24);
  put32(v, 10, 20);  // would put the pixels inside the headers
  EXPECT_FALSE(parse(v));
  put32(v, 10, static_cast<uint32_t>(v.size() + 1));  // beyond the end
  EXPECT_FALSE(parse(v));
  put32(v, 10, 14 + BITMAP_MAX_INFO_BYTES + 1);
  EXPECT_FALSE(parse(v));
}

TEST(GroundPixels, SwapsBlueAndRedKeepingTheBottomRowFirst) {
  std::optional<Bitmap> bmp = parse(make_bmp({}, 24));
  ASSERT_TRUE(bmp);
  ASSERT_TRUE(prepare_ground_pixels(*bmp));
  // The first file pixel (bottom-left) was B=0, G=1, R=2.
  EXPECT_EQ(bmp->pixels[0], 2);
  EXPECT_EQ(bmp->pixels[1], 1);
  EXPECT_EQ(bmp->pixels[2], 0);
  EXPECT_EQ(bmp->pixels[21], 23);
  EXPECT_EQ(bmp->pixels[23], 21);
}

TEST(GroundPixels, RefusesPicturesTheTextureMakersCannotUse) {
  BmpFields eight;
  eight.bits = 8;
  eight.imageSize = 8;
  std::optional<Bitmap> bmp = parse(make_bmp(eight, 8));
  ASSERT_TRUE(bmp);  // a valid picture, just not one for a texture
  EXPECT_FALSE(prepare_ground_pixels(*bmp));

  BmpFields rle;
  rle.compression = 1;
  bmp = parse(make_bmp(rle, 24));
  ASSERT_TRUE(bmp);
  EXPECT_FALSE(prepare_ground_pixels(*bmp));

  BmpFields padded;  // rows of 5 × 3 = 15 bytes are not a multiple of 4
  padded.width = 5;
  bmp = parse(make_bmp(padded, 30));
  ASSERT_TRUE(bmp);
  EXPECT_FALSE(prepare_ground_pixels(*bmp));

  BmpFields shortPixels;  // header size smaller than width × height × 3
  shortPixels.imageSize = 12;
  bmp = parse(make_bmp(shortPixels, 24));
  ASSERT_TRUE(bmp);
  EXPECT_EQ(bmp->pixels.size(), 12u);
  EXPECT_FALSE(prepare_ground_pixels(*bmp));
}

namespace {
constexpr size_t STAGING_BYTES = BALL_STAGING_SIDE * BALL_STAGING_SIDE * 4;
// The staging image with a guard band after it, to catch writes beyond its end.
struct GuardedStaging {
  std::vector<uint8_t> bytes = std::vector<uint8_t>(STAGING_BYTES + 256, 0xAB);
  uint8_t* data() { return bytes.data(); }
  bool guard_intact() const {
    for (size_t i = STAGING_BYTES; i < bytes.size(); ++i)
      if (bytes[i] != 0xAB) return false;
    return true;
  }
};
}  // namespace

TEST(BallPixels, StagesTheTopRowFirstWithFullAlpha) {
  BmpFields f;
  f.width = 128;
  f.height = 128;
  std::optional<Bitmap> bmp = parse(make_bmp(f, 128 * 128 * 3));
  ASSERT_TRUE(bmp);
  bmp->pixels[0] = 10, bmp->pixels[1] = 20, bmp->pixels[2] = 30;  // bottom-left pixel, BGR
  const size_t topLeft = 127u * 128 * 3;
  bmp->pixels[topLeft] = 1, bmp->pixels[topLeft + 1] = 2, bmp->pixels[topLeft + 2] = 3;
  GuardedStaging staging;
  ASSERT_TRUE(stage_ball_pixels(*bmp, staging.data()));
  const uint8_t* s = staging.data();
  EXPECT_EQ(s[0], 3);  // the picture's top row is staging row 0, as RGBA
  EXPECT_EQ(s[1], 2);
  EXPECT_EQ(s[2], 1);
  EXPECT_EQ(s[3], 255);
  const size_t lastRow = 127u * 128 * 4;
  EXPECT_EQ(s[lastRow], 30);
  EXPECT_EQ(s[lastRow + 2], 10);
  EXPECT_EQ(s[lastRow + 3], 255);
  EXPECT_TRUE(staging.guard_intact());
}

TEST(BallPixels, AShortPictureFillsOnlyItsRows) {
  BmpFields f;
  f.width = 128;
  f.height = 64;
  std::optional<Bitmap> bmp = parse(make_bmp(f, 128 * 64 * 3));
  ASSERT_TRUE(bmp);
  GuardedStaging staging;
  ASSERT_TRUE(stage_ball_pixels(*bmp, staging.data()));
  EXPECT_EQ(staging.bytes[63u * 128 * 4 + 3], 255);
  EXPECT_EQ(staging.bytes[64u * 128 * 4], 0xAB);  // row 64 and below untouched
  EXPECT_TRUE(staging.guard_intact());
}

TEST(BallPixels, RefusesPicturesThatDoNotFitTheStagingImage) {
  for (auto [w, h] : {std::pair{64, 64}, {256, 128}, {128, 256}, {132, 128}}) {
    BmpFields f;
    f.width = w;
    f.height = h;
    std::optional<Bitmap> bmp = parse(make_bmp(f, static_cast<size_t>(w) * h * 3));
    ASSERT_TRUE(bmp) << w << " x " << h;
    GuardedStaging staging;
    EXPECT_FALSE(stage_ball_pixels(*bmp, staging.data())) << w << " x " << h;
    EXPECT_EQ(staging.bytes[0], 0xAB);
    EXPECT_TRUE(staging.guard_intact());
  }
  BmpFields thirtyTwo;
  thirtyTwo.width = 128;
  thirtyTwo.height = 128;
  thirtyTwo.bits = 32;
  thirtyTwo.imageSize = 128 * 128 * 4;
  std::optional<Bitmap> bmp = parse(make_bmp(thirtyTwo, 128 * 128 * 4));
  ASSERT_TRUE(bmp);
  GuardedStaging staging;
  EXPECT_FALSE(stage_ball_pixels(*bmp, staging.data()));
}

TEST(BitmapWriter, WhatItWritesReadsBackUnchanged) {
  std::vector<uint8_t> rgb(4 * 2 * 3);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 7);
  std::optional<Bitmap> bmp = parse(encode_bitmap(4, 2, rgb));
  ASSERT_TRUE(bmp);
  ASSERT_TRUE(prepare_ground_pixels(*bmp));
  EXPECT_EQ(bmp->pixels, rgb);
}
