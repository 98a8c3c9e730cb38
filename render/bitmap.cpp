// BMP pictures: the bounded reader and the pixel preparation behind every texture.
#include "render/bitmap.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int FILE_HEADER_BYTES = 14;
constexpr uint16_t BMP_TYPE = 0x4D42;  // "BM"
// A texture picture is at most 8192 × 8192 × 4 bytes; a file beyond this is not one of ours.
constexpr long BITMAP_MAX_FILE_BYTES = 14L + BITMAP_MAX_INFO_BYTES + 4L * BITMAP_MAX_SIDE * BITMAP_MAX_SIDE;

uint16_t read_u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t read_u32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
void put_u16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void put_u32(std::vector<uint8_t>& out, uint32_t v) {
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(v >> (8 * k)));
}

}  // namespace

std::optional<Bitmap> parse_bitmap(const uint8_t* data, size_t size) {
  if (data == nullptr || size < FILE_HEADER_BYTES) return std::nullopt;
  if (read_u16(data) != BMP_TYPE) return std::nullopt;
  const uint32_t pixelOffset = read_u32(data + 10);
  if (pixelOffset < FILE_HEADER_BYTES + BITMAP_INFO_HEADER_BYTES ||
      pixelOffset > FILE_HEADER_BYTES + BITMAP_MAX_INFO_BYTES || pixelOffset > size)
    return std::nullopt;

  Bitmap bitmap;
  bitmap.info.assign(data + FILE_HEADER_BYTES, data + pixelOffset);
  const uint8_t* info = bitmap.info.data();
  BitmapHeader& header = bitmap.header;
  header.width = static_cast<int32_t>(read_u32(info + 4));
  header.height = static_cast<int32_t>(read_u32(info + 8));
  header.bitsPerPixel = read_u16(info + 14);
  header.compression = read_u32(info + 16);
  header.imageSize = read_u32(info + 20);
  // Top-down pictures (negative height) and empty ones are not texture pictures.
  if (header.width <= 0 || header.height <= 0 || header.width > BITMAP_MAX_SIDE ||
      header.height > BITMAP_MAX_SIDE || header.bitsPerPixel == 0 || header.bitsPerPixel > 32)
    return std::nullopt;

  // Both sides are at most 8192 and bits at most 32, so this fits easily in 64 bits.
  uint64_t imageSize = header.imageSize;
  if (imageSize == 0)
    imageSize = ((static_cast<uint64_t>(header.bitsPerPixel) * header.width + 7) / 8) * header.height;
  if (imageSize > size - pixelOffset) return std::nullopt;
  bitmap.pixels.assign(data + pixelOffset, data + pixelOffset + imageSize);
  return bitmap;
}

std::optional<Bitmap> load_bitmap(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return std::nullopt;
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    if (static_cast<long>(bytes.size() + got) > BITMAP_MAX_FILE_BYTES) {
      std::fclose(file);
      return std::nullopt;
    }
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  std::fclose(file);
  return parse_bitmap(bytes.data(), bytes.size());
}

bool bitmap_is_packed_rgb(const Bitmap& bitmap) {
  const BitmapHeader& header = bitmap.header;
  if (header.bitsPerPixel != 24 || header.compression != 0) return false;
  if (header.width <= 0 || header.height <= 0 || header.width > BITMAP_MAX_SIDE ||
      header.height > BITMAP_MAX_SIDE)
    return false;
  // OpenGL reads rows on 4-byte boundaries by default; padded rows would also shear the picture.
  if ((header.width * 3) % 4 != 0) return false;
  const size_t needed = static_cast<size_t>(header.width) * header.height * 3;
  return bitmap.pixels.size() >= needed;
}

bool prepare_ground_pixels(Bitmap& bitmap) {
  if (!bitmap_is_packed_rgb(bitmap)) return false;
  const size_t count = static_cast<size_t>(bitmap.header.width) * bitmap.header.height;
  uint8_t* p = bitmap.pixels.data();
  for (size_t i = 0; i < count; ++i, p += 3) std::swap(p[0], p[2]);
  return true;
}

bool stage_ball_pixels(const Bitmap& bitmap, uint8_t* staging) {
  if (staging == nullptr || !bitmap_is_packed_rgb(bitmap)) return false;
  const int width = bitmap.header.width;
  const int height = bitmap.header.height;
  if (width != BALL_STAGING_SIDE || height > BALL_STAGING_SIDE) return false;
  for (int r = 0; r < height; ++r) {
    const uint8_t* src = bitmap.pixels.data() + static_cast<size_t>(r) * width * 3;
    uint8_t* dst = staging + static_cast<size_t>(height - 1 - r) * BALL_STAGING_SIDE * 4;
    for (int c = 0; c < width; ++c, src += 3, dst += 4) {
      dst[0] = src[2];  // the file holds blue, green, red
      dst[1] = src[1];
      dst[2] = src[0];
      dst[3] = 255;
    }
  }
  return true;
}

std::vector<uint8_t> encode_bitmap(int width, int height, const std::vector<uint8_t>& rgb) {
  const uint32_t imageSize = static_cast<uint32_t>(width) * height * 3;
  std::vector<uint8_t> out;
  out.reserve(54 + imageSize);
  put_u16(out, BMP_TYPE);
  put_u32(out, 54 + imageSize);
  put_u32(out, 0);
  put_u32(out, 54);
  put_u32(out, 40);
  put_u32(out, static_cast<uint32_t>(width));
  put_u32(out, static_cast<uint32_t>(height));
  put_u16(out, 1);
  put_u16(out, 24);
  put_u32(out, 0);
  put_u32(out, imageSize);
  put_u32(out, 2835);  // 72 dots per inch
  put_u32(out, 2835);
  put_u32(out, 0);
  put_u32(out, 0);
  for (size_t i = 0; i + 2 < rgb.size() && i < imageSize; i += 3) {
    out.push_back(rgb[i + 2]);
    out.push_back(rgb[i + 1]);
    out.push_back(rgb[i]);
  }
  out.resize(54 + imageSize, 0);
  return out;
}
