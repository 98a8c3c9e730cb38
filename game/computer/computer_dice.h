// The computer players' dice: a generator and a Gaussian of our own, so a seed gives the same
// draws on every machine and with every standard library.
#pragma once

#include <cstdint>

// Why a draw is made; part of the seed, so the search and the hand never share draws.
enum class DicePurpose {
    Search = 1,      // the noise the search tries its finalists under
    Execution = 2,   // the noise of the putt the computer really plays
};

// SplitMix64: small, fast and the same everywhere.
struct Dice {
    std::uint64_t state = 0;
};

// The seed of one draw sequence: a hash of the round's seed, the hole (1-based), the player
// (1-based), the stroke (1-based) and the purpose.
std::uint64_t dice_seed(std::uint64_t roundSeed, int hole, int player, int stroke, DicePurpose purpose);

// The next 64 random bits.
std::uint64_t next_bits(Dice& dice);
// Uniform in the open interval (0, 1).
double next_uniform(Dice& dice);
// Standard normal (mean 0, deviation 1), by the Box-Muller transform of two uniforms.
double next_gaussian(Dice& dice);
