// BMP pictures: the bounded reader and the pixel preparation behind every texture. No GL here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Largest side accepted for a picture, so that width × height × 3 never overflows and a
// hostile header cannot make us allocate gigabytes.
constexpr int BITMAP_MAX_SIDE = 8192;
// The information block (header and colour table) may not be larger than this.
constexpr int BITMAP_MAX_INFO_BYTES = 4096;
// Size of the Windows bitmap information header that we need at least.
constexpr int BITMAP_INFO_HEADER_BYTES = 40;

constexpr int BALL_STAGING_SIDE = 128;

// The fields of the information header that the texture makers use.
struct BitmapHeader {
  int32_t width = 0;          // pixels, > 0
  int32_t height = 0;         // pixels, > 0 (bottom row first)
  uint16_t bitsPerPixel = 0;  // 24 for every texture picture
  uint32_t compression = 0;   // 0 = uncompressed
  uint32_t imageSize = 0;     // pixel bytes as stored in the header (0 allowed)
};

// One picture as read: the information block (everything between the 14-byte file header and
// the pixel data) and the pixel bytes, both owned by the caller.
struct Bitmap {
  BitmapHeader header;
  std::vector<uint8_t> info;    // the raw information block
  std::vector<uint8_t> pixels;  // exactly the pixel bytes the header promises
};

// Reads the BMP file at path. Fails (nothing) when the file cannot be opened, is not "BM", is
// shorter than its headers or pixel data promise, has a width or height that is not positive
// or larger than BITMAP_MAX_SIDE, or an information block that is too small or too large.
// An image size of 0 in the header is computed as ((bits × width + 7) / 8) × height.
std::optional<Bitmap> load_bitmap(const std::string& path);

// The same from bytes already in memory (what load_bitmap uses after reading the file).
std::optional<Bitmap> parse_bitmap(const uint8_t* data, size_t size);

// True when the picture is what the texture makers need: 24 bits, uncompressed, rows of
// width × 3 bytes that are a multiple of 4 (no padding) and at least width × height × 3 bytes.
bool bitmap_is_packed_rgb(const Bitmap& bitmap);

// Ground and screen textures: checks bitmap_is_packed_rgb, then swaps blue and red of every
// pixel in place, so pixels become width × height RGB triples, bottom row first.
bool prepare_ground_pixels(Bitmap& bitmap);

// Ball textures: checks bitmap_is_packed_rgb, that the width is exactly 128 and the height at
// most 128, then writes the picture into staging (128 × 128 RGBA, 65,536 bytes) turned over,
// so the picture's top row becomes staging row 0, with alpha 255. Rows below the picture's
// height are left as they were. Nothing outside staging is written.
bool stage_ball_pixels(const Bitmap& bitmap, uint8_t* staging);

// Writes an uncompressed 24-bit BMP (rgb: width × height triples, bottom row first); used by
// tests and tools. Rows are written without padding, so width × 3 must be a multiple of 4.
std::vector<uint8_t> encode_bitmap(int width, int height, const std::vector<uint8_t>& rgb);
