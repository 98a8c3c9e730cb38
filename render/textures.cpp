// The texture table and its lookups by file stem.
#include "render/textures.h"

#include <cstring>

uint32_t texture_named(const TextureTable& table, const char* stem) {
  if (stem == nullptr) return 0;
  for (int k = 0; k < GROUND_TEXTURE_COUNT; ++k)
    if (std::strcmp(stem, GROUND_TEXTURE_STEMS[k]) == 0) return table.ground[k];
  for (int k = 0; k < BALL_TEXTURE_COUNT; ++k)
    if (std::strcmp(stem, BALL_TEXTURE_STEMS[k]) == 0) return table.ball[k + 1];
  return 0;
}

uint32_t ball_texture(const TextureTable& table, int colourIndex) {
  if (colourIndex < 1 || colourIndex > BALL_TEXTURE_COUNT) return 0;
  return table.ball[colourIndex];
}
