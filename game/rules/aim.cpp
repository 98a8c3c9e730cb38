#include "game/rules/aim.h"

#include <cmath>
#include <cstdlib>

#include "hole/round_state.h"

namespace {

constexpr double DEGREES_PER_RADIAN = 57.29577951308232;
constexpr float TINY = 1e-7f;

}  // namespace

AimResult compute_aim_angle(float bx, float by, float px, float py, float viewAngle)
{
    AimResult result{0.0f, 0.0f, 0.0f};
    const bool flip = viewAngle == 135.0f || viewAngle == 315.0f;
    // The cases are taken in order; a later one that also applies overrides.
    if (px >= bx && py <= by) {
        float u = px - bx, v = by - py;
        if (u == 0.0f) u = TINY;
        result = {static_cast<float>(std::atan(v / u) * DEGREES_PER_RADIAN + 180.0 - viewAngle), u, v};
    }
    if (px <= bx && py >= by) {
        float u = bx - px, v = py - by;
        if (u == 0.0f) u = TINY;
        result = {static_cast<float>(std::atan(v / u) * DEGREES_PER_RADIAN - viewAngle), u, v};
    }
    if (px < bx && py < by) {
        float u = bx - px, v = by - py;
        if (v == 0.0f) v = TINY;
        double angle = std::atan(u / v) * DEGREES_PER_RADIAN - 180.0 + viewAngle;
        if (flip) angle -= 180.0;
        result = {static_cast<float>(angle), u, v};
    }
    if (px > bx && py > by) {
        float u = px - bx, v = py - by;
        if (v == 0.0f) v = TINY;
        double angle = std::atan(u / v) * DEGREES_PER_RADIAN + viewAngle;
        if (flip) angle -= 180.0;
        result = {static_cast<float>(angle), u, v};
    }
    return result;
}

float meter_power(float offsetU, float offsetV)
{
    const int u = std::abs(static_cast<int>(offsetU));
    const int v = std::abs(static_cast<int>(offsetV));
    float power = static_cast<float>((u + v) / 2) * 0.8f;
    if (power < 1.0f) power = 1.0f;
    if (power > MAX_POWER) power = MAX_POWER;
    return power;
}
