// Texture fonts (".txf") rendered with FreeType, for PLIB's fntTexFont.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image.h"

struct TexFont {
  std::vector<uint8_t> file;  // the .txf bytes
  Image atlas;                // the glyph texture, for the contact sheet
};

// Renders the printable ASCII characters of the TrueType font at ttfPath so that one line
// (ascent + descent) is lineHeight pixels high, and packs them into a .txf file with an
// 8-bit coverage texture atlasWidth texels wide (a power of two). Returns false (with a
// reason) when FreeType cannot load the font or the glyphs do not fit.
bool make_tex_font(const std::string& ttfPath, int lineHeight, TexFont& out, std::string* error,
                   int atlasWidth = 256);

// Draws text with the TrueType font onto img at (x, y) (baseline, pixels from the bottom),
// for labels on the contact sheet. Does nothing when the font cannot be loaded.
void draw_text(Image& img, const std::string& ttfPath, int pixelSize, int x, int y, const std::string& text, Rgb colour);
