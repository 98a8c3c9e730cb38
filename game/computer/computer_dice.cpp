#include "game/computer/computer_dice.h"

#include <cmath>
#include <initializer_list>

namespace {

std::uint64_t mix(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

}  // namespace

std::uint64_t dice_seed(std::uint64_t roundSeed, int hole, int player, int stroke, DicePurpose purpose)
{
    std::uint64_t h = mix(roundSeed + 0x9e3779b97f4a7c15ULL);
    for (std::uint64_t part : {static_cast<std::uint64_t>(hole), static_cast<std::uint64_t>(player),
                               static_cast<std::uint64_t>(stroke), static_cast<std::uint64_t>(purpose)})
        h = mix(h ^ (part + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2)));
    return h;
}

std::uint64_t next_bits(Dice& dice)
{
    dice.state += 0x9e3779b97f4a7c15ULL;
    return mix(dice.state);
}

double next_uniform(Dice& dice)
{
    // 53 bits, shifted half a step so neither 0 nor 1 comes out.
    return (static_cast<double>(next_bits(dice) >> 11) + 0.5) * (1.0 / 9007199254740992.0);
}

double next_gaussian(Dice& dice)
{
    const double u1 = next_uniform(dice), u2 = next_uniform(dice);
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
}
