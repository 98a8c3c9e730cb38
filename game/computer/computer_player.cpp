#include "game/computer/computer_player.h"

#include <cmath>
#include <cstdlib>

#include "game/rules/aim.h"

namespace {

constexpr double DEGREES_PER_RADIAN = 57.29577951308232;

const SkillLevel EXPERT{0.75, 0.04, 0.5, 300, 3, 24};
const SkillLevel CLUB{1.5, 0.08, 1.0, 180, 2, 25};
const SkillLevel NOVICE{3.0, 0.15, 2.0, 100, 2, 12};

double wrap_degrees(double a)
{
    a = std::remainder(a, 360.0);
    return a <= -180.0 ? a + 360.0 : a;
}

double angle_between(double a, double b) { return std::fabs(wrap_degrees(a - b)); }

// Calls visit(u, v) for every pointer offset that reads meter step k, in a fixed order.
template <class Visit>
void for_each_offset(int k, Visit visit)
{
    for (int sum = 2 * k; sum <= 2 * k + 1; ++sum) {
        for (int u = -sum; u <= sum; ++u) {
            const int rest = sum - std::abs(u);
            visit(u, rest);
            if (rest != 0) visit(u, -rest);
        }
    }
}

}  // namespace

const SkillLevel& skill_of(Seat seat)
{
    switch (seat) {
    case Seat::Novice: return NOVICE;
    case Seat::Club: return CLUB;
    default: return EXPERT;
    }
}

PointerPutt putt_from_pointer(int u, int v, float viewAngle)
{
    const AimResult aim = compute_aim_angle(0.0f, 0.0f, static_cast<float>(u), static_cast<float>(v), viewAngle);
    PointerPutt putt;
    putt.u = u;
    putt.v = v;
    putt.angle = wrap_degrees(aim.aimAngle);
    putt.power = meter_power(aim.offsetU, aim.offsetV);
    return putt;
}

int power_step_for(double power)
{
    if (power >= MAX_POWER) return POWER_STEP_MAX;
    long k = std::lround(power / 0.8);
    if (k < 1) k = 1;
    if (k > POWER_STEP_MAX) k = POWER_STEP_MAX;
    return static_cast<int>(k);
}

float power_of_step(int step)
{
    const float p = static_cast<float>((step < 1 ? 1 : step) * 0.8);
    return p < 1.0f ? 1.0f : (p > MAX_POWER ? static_cast<float>(MAX_POWER) : p);
}

PointerPutt pointer_putt_for(double angle, double power, float viewAngle)
{
    const int k = power_step_for(power);
    PointerPutt best;
    double bestError = 1e9;
    for_each_offset(k, [&](int u, int v) {
        const PointerPutt p = putt_from_pointer(u, v, viewAngle);
        const double error = angle_between(p.angle, angle);
        if (error < bestError) {
            bestError = error;
            best = p;
        }
    });
    return best;
}

PointerPutt turn_putt(const PointerPutt& putt, int turns, float viewAngle)
{
    if (turns == 0) return putt;
    const int k = power_step_for(putt.power);
    // The reachable direction |turns| places along from putt's direction.
    PointerPutt best = putt;
    double bestTurn = 1e9;
    const double gap = angle_gap(putt.power);
    const double wanted = turns * gap;
    for_each_offset(k, [&](int u, int v) {
        const PointerPutt p = putt_from_pointer(u, v, viewAngle);
        const double turn = wrap_degrees(p.angle - putt.angle);
        if ((turns > 0 && turn <= 1e-9) || (turns < 0 && turn >= -1e-9)) return;
        const double miss = std::fabs(turn - wanted);
        if (miss < bestTurn) {
            bestTurn = miss;
            best = p;
        }
    });
    return best;
}

double pointer_radius(double power) { return 2.1 * power; }

double angle_gap(double power)
{
    // Step k has 16 k + 4 offsets (|u| + |v| = 2k or 2k + 1).
    const int k = power_step_for(power);
    return 360.0 / (16.0 * k + 4.0);
}

double angle_sigma(Seat seat, double power)
{
    const SkillLevel& level = skill_of(seat);
    const double pointer = level.pointerPixels / pointer_radius(power < 1.0 ? 1.0 : power) * DEGREES_PER_RADIAN;
    const double gap = angle_gap(power);
    return std::sqrt(level.judgementDegrees * level.judgementDegrees + pointer * pointer + gap * gap / 12.0);
}

PointerPutt noisy_putt(const PointerPutt& intended, Seat seat, double powerZ, double angleZ, float viewAngle)
{
    const SkillLevel& level = skill_of(seat);
    double power = intended.power;
    if (intended.power < MAX_POWER) {
        power *= 1.0 + level.powerSpread * powerZ;
        const int k = power_step_for(power);
        power = power_of_step(k < POWER_STEP_MAX ? k : POWER_STEP_MAX - 1);
    }
    // The gap term comes from putting the pointer on a whole pixel afterwards.
    const double pointer = level.pointerPixels / pointer_radius(intended.power) * DEGREES_PER_RADIAN;
    const double spread = std::sqrt(level.judgementDegrees * level.judgementDegrees + pointer * pointer);
    return pointer_putt_for(intended.angle + spread * angleZ, power, viewAngle);
}

PointerPutt noisy_putt(const PointerPutt& intended, Seat seat, Dice& dice, float viewAngle)
{
    const double powerZ = next_gaussian(dice);
    const double angleZ = next_gaussian(dice);
    return noisy_putt(intended, seat, powerZ, angleZ, viewAngle);
}
