// The texture table: one GL texture name per picture in "textures/", looked up by file stem.
#pragma once

#include <cstdint>
#include <string>

// Ground and screen textures, in load order.
enum GroundTexture {
  TEXTURE_BOTTOM_GRASS,
  TEXTURE_EDGE,
  TEXTURE_HALF_GRASS,
  TEXTURE_GRASS,
  TEXTURE_WARP,
  TEXTURE_ZONE,
  TEXTURE_WATER,
  TEXTURE_SAND,
  TEXTURE_BLOCK_MOVING,
  TEXTURE_LINE,
  TEXTURE_MUD,
  TEXTURE_CONVEYOR,
  TEXTURE_SCORE_CARD,
  TEXTURE_TEE,
  GROUND_TEXTURE_COUNT
};

constexpr int BALL_TEXTURE_COUNT = 11;  // ball colour indices 1..11

// File stems, in load order; the files are "textures/<stem>.bmp".
inline constexpr const char* GROUND_TEXTURE_STEMS[GROUND_TEXTURE_COUNT] = {
    "bottom_grass", "edge", "half_grass", "grass", "warp", "zone", "water",
    "sand", "block_moving", "line_texture", "mud", "conveyor", "score_card", "tee"};
// Index k holds the picture of ball colour index k + 1.
inline constexpr const char* BALL_TEXTURE_STEMS[BALL_TEXTURE_COUNT] = {
    "white_ball", "red_ball", "orange_ball", "yellow_ball", "green_ball", "blue_ball",
    "purple_ball", "red_sun_ball", "turtle_ball", "purple_stripe_ball", "sky_blue_ball"};

// GL texture names; 0 = not loaded (the surface is drawn in its tint only).
struct TextureTable {
  uint32_t ground[GROUND_TEXTURE_COUNT];  // by GroundTexture
  uint32_t ball[BALL_TEXTURE_COUNT + 1];  // by ball colour index 1..11; [0] unused
};


// The texture name of a ground or screen picture by file stem ("grass", "line_texture") or of
// a ball picture ("red_sun_ball"); 0 for an unknown stem or a picture that did not load.
uint32_t texture_named(const TextureTable& table, const char* stem);

// The ball texture of colour index 1..11; 0 outside that range.
uint32_t ball_texture(const TextureTable& table, int colourIndex);

// The GL side (textures_gl.cpp). Paths are relative to the current directory.

// Reads a 24-bit BMP and makes a ground or screen texture with the given filters and wrap mode
// (GL enum values); returns its name, or 0 when the picture cannot be used.
uint32_t load_texture(const char* path, int minFilter, int magFilter, int wrapMode);

// Reads a 24-bit BMP exactly 128 pixels wide and at most 128 high and makes a ball texture
// (nearest filtering, repeat), top row at t = 0; returns its name or 0.
uint32_t load_ball_texture(const char* path);

// Fills table from "textures/" of the data folder dataDir ("" for the working directory):
// ground and screen textures first, then the balls. Needs a current GL context; call again
// after the context is replaced.
void load_textures(TextureTable& table, const std::string& dataDir);
