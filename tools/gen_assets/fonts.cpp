// Texture fonts: FreeType renders each glyph; the glyphs are packed into one texture and
// written in the ".txf" layout: magic, byte-order word, format, texture size, ascent,
// descent, glyph count, 12-byte glyph records, then the texture rows bottom first.
#include "fonts.h"

#include "bytes.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace {

constexpr int FIRST_CHAR = 32, LAST_CHAR = 126;
constexpr int GAP = 2;  // texels kept clear round each glyph, so mip-maps do not bleed

struct Glyph {
  int code, width, height, left, bottom, advance, x, y;
  std::vector<uint8_t> coverage;  // rows top first, as FreeType gives them
};


struct FreeTypeFace {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~FreeTypeFace() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
  }
  bool open(const std::string& path, std::string* error) {
    if (FT_Init_FreeType(&library) != 0) {
      if (error) *error = "FreeType did not start";
      return false;
    }
    if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
      if (error) *error = "cannot load font " + path;
      return false;
    }
    return true;
  }
};

}  // namespace

bool make_tex_font(const std::string& ttfPath, int lineHeight, TexFont& out, std::string* error, int atlasWidth) {
  FreeTypeFace ft;
  if (!ft.open(ttfPath, error)) return false;
  FT_Face face = ft.face;
  // Choose the pixel size whose ascent + descent comes closest to lineHeight from below.
  int size = lineHeight;
  for (; size > 4; --size) {
    FT_Set_Pixel_Sizes(face, 0, size);
    const int line = static_cast<int>((face->size->metrics.ascender - face->size->metrics.descender) >> 6);
    if (line <= lineHeight) break;
  }
  FT_Set_Pixel_Sizes(face, 0, size);
  const int ascent = static_cast<int>(face->size->metrics.ascender >> 6);
  const int descent = static_cast<int>(-(face->size->metrics.descender >> 6));

  std::vector<Glyph> glyphs;
  int penX = GAP, penY = GAP, rowHeight = 0;
  for (int code = FIRST_CHAR; code <= LAST_CHAR; ++code) {
    if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) continue;
    const FT_GlyphSlot slot = face->glyph;
    Glyph g;
    g.code = code;
    g.width = static_cast<int>(slot->bitmap.width);
    g.height = static_cast<int>(slot->bitmap.rows);
    g.left = slot->bitmap_left;
    g.bottom = slot->bitmap_top - g.height;
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    for (int r = 0; r < g.height; ++r)
      for (int c = 0; c < g.width; ++c)
        g.coverage.push_back(slot->bitmap.buffer[r * slot->bitmap.pitch + c]);
    if (penX + g.width + GAP > atlasWidth) {
      penX = GAP;
      penY += rowHeight + GAP;
      rowHeight = 0;
    }
    g.x = penX;
    g.y = penY;
    penX += g.width + GAP;
    rowHeight = std::max(rowHeight, g.height);
    glyphs.push_back(std::move(g));
  }
  if (penY + rowHeight + GAP > atlasWidth) {
    if (error) *error = "glyphs do not fit the texture";
    return false;
  }

  // The texture is as tall as the glyphs need, rounded up to a power of two.
  int atlasHeight = 16;
  while (atlasHeight < penY + rowHeight + GAP) atlasHeight *= 2;
  // Texture rows go bottom first; a glyph's bottom row sits at texture row y.
  std::vector<uint8_t> texture(static_cast<size_t>(atlasWidth) * atlasHeight, 0);
  for (const Glyph& g : glyphs)
    for (int r = 0; r < g.height; ++r)
      for (int c = 0; c < g.width; ++c)
        texture[(g.y + g.height - 1 - r) * atlasWidth + g.x + c] = g.coverage[r * g.width + c];

  std::vector<uint8_t>& f = out.file;
  f.clear();
  put_bytes(f, "\xFFtxf");
  put_u32(f, 0x12345678u);  // byte-order word, little-endian
  put_u32(f, 0);            // format: one coverage byte per texel
  put_u32(f, atlasWidth);
  put_u32(f, static_cast<uint32_t>(atlasHeight));
  // PLIB scales a font so that its ascent is the point size. Stating the nominal line height
  // here makes the legend (15) and label (13) sizes draw texel for pixel, sharp and unscaled.
  put_u32(f, static_cast<uint32_t>(std::max(ascent, lineHeight)));
  put_u32(f, static_cast<uint32_t>(descent));
  put_u32(f, static_cast<uint32_t>(glyphs.size()));
  for (const Glyph& g : glyphs) {
    put_u16(f, static_cast<uint16_t>(g.code));
    f.push_back(static_cast<uint8_t>(g.width));
    f.push_back(static_cast<uint8_t>(g.height));
    f.push_back(static_cast<uint8_t>(static_cast<int8_t>(g.left)));
    f.push_back(static_cast<uint8_t>(static_cast<int8_t>(g.bottom)));
    // The renderer adds a gap of a tenth of the point size after every character; the stored
    // advance leaves that out so that words keep the face's own spacing.
    f.push_back(static_cast<uint8_t>(static_cast<int8_t>(std::max(1, g.advance - (lineHeight + 5) / 10))));
    f.push_back(0);
    put_u16(f, static_cast<uint16_t>(g.x));
    put_u16(f, static_cast<uint16_t>(g.y));
  }
  f.insert(f.end(), texture.begin(), texture.end());

  out.atlas = Image(atlasWidth, atlasHeight);
  for (int y = 0; y < atlasHeight; ++y)
    for (int x = 0; x < atlasWidth; ++x) {
      const float v = texture[y * atlasWidth + x] / 255.0f;
      out.atlas.at(x, y) = mix(rgb8(30, 30, 60), rgb8(255, 255, 255), v);
    }
  return true;
}

void draw_text(Image& img, const std::string& ttfPath, int pixelSize, int x, int y, const std::string& text, Rgb colour) {
  FreeTypeFace ft;
  if (!ft.open(ttfPath, nullptr)) return;
  FT_Set_Pixel_Sizes(ft.face, 0, pixelSize);
  int pen = x;
  for (unsigned char ch : text) {
    if (FT_Load_Char(ft.face, ch, FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot slot = ft.face->glyph;
    for (int r = 0; r < static_cast<int>(slot->bitmap.rows); ++r)
      for (int c = 0; c < static_cast<int>(slot->bitmap.width); ++c)
        img.blend(pen + slot->bitmap_left + c, y + slot->bitmap_top - 1 - r, colour,
                  slot->bitmap.buffer[r * slot->bitmap.pitch + c] / 255.0f);
    pen += static_cast<int>(slot->advance.x >> 6);
  }
}
