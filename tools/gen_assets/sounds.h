// Sound effects and music made by the generator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int EFFECT_RATE = 22050;  // samples per second, mono, 16-bit

struct Effect {
  std::string stem;             // file is sounds/<stem>.wav
  std::vector<int16_t> samples;
};

// The eleven effects, in the game's sound id order.
std::vector<Effect> make_effects();
// A RIFF WAVE file: PCM, 1 channel, EFFECT_RATE, 16 bits.
std::vector<uint8_t> encode_wave(const std::vector<int16_t>& samples);

struct Tune {
  std::string fileName;  // in sounds/
  std::vector<uint8_t> midi;
  double seconds;        // length of one pass of the loop
};

// Background.mid first, then the extra tunes for course holes.
std::vector<Tune> make_tunes();
