// The texture pictures the generator makes, by file stem.
#pragma once

#include <string>
#include <vector>

#include "image.h"

struct Picture {
  std::string stem;  // file is textures/<stem>.bmp
  Image image;
};

// The fourteen ground and screen pictures, in the game's load order.
std::vector<Picture> make_ground_pictures();
// The eleven ball pictures (128 × 128, top row = top pole), in colour index order.
std::vector<Picture> make_ball_pictures();
