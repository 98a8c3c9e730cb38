// The computer players' hands: each level is a model of how far a person's putt strays from
// the putt intended. Every computer putt is a pointer offset from the ball, turned into
// direction and power by the same aim functions as the mouse, so the computer only ever
// plays a putt a person could make.
#pragma once

#include "game/computer/computer_dice.h"
#include "hole/round_state.h"

// A level's execution noise and how much thinking it gets.
struct SkillLevel {
    double judgementDegrees = 0;   // sigma of the judged direction
    double powerSpread = 0;        // sigma of the power, a fraction of the power
    double pointerPixels = 0;      // sigma of the pointer's placement, pixels
    int budget = 0;                // simulated putts per decision, at most
    int finalists = 0;             // putts checked under noise
    int samples = 0;               // noisy draws per finalist
};

// The level of a computer seat (Person gives Expert's hand, for tools that ask).
const SkillLevel& skill_of(Seat seat);

// The view the computer aims in (the camera's default); the reachable putts only turn with it.
constexpr float COMPUTER_VIEW_ANGLE = 45.0f;
// Meter steps: step k reads 0.8 k (at least 1); step 68 and above read MAX_POWER.
constexpr int POWER_STEP_MAX = 68;

// A putt as a person makes it: the pointer (u, v) whole pixels from the ball on screen
// (u to the right, v downward), and the direction and meter power the aim functions read.
struct PointerPutt {
    int u = 0, v = 0;
    double angle = 0;    // degrees, -180..180
    float power = 1;     // meter power 1..54
};

// What the aim functions make of a pointer offset.
PointerPutt putt_from_pointer(int u, int v, float viewAngle = COMPUTER_VIEW_ANGLE);
// The meter step nearest a power (1..POWER_STEP_MAX).
int power_step_for(double power);
// The meter power of a step.
float power_of_step(int step);
// The reachable putt at the meter step nearest power whose direction is nearest angle.
PointerPutt pointer_putt_for(double angle, double power, float viewAngle = COMPUTER_VIEW_ANGLE);
// The reachable putt at the same power whose direction is the next one along (turns > 0
// counterclockwise, < 0 clockwise).
PointerPutt turn_putt(const PointerPutt& putt, int turns, float viewAngle = COMPUTER_VIEW_ANGLE);

// Distance of the pointer from the ball at a power, pixels (about 2.1 x power).
double pointer_radius(double power);
// Mean spacing of the reachable directions at a power, degrees.
double angle_gap(double power);
// The model's direction error at a power, degrees:
// sqrt(judgement^2 + (pointer / radius)^2 + gap^2 / 12).
double angle_sigma(Seat seat, double power);

// The putt a level's hand makes of intended, for two standard normal draws: the power
// spread by powerZ (an intended full power stays full), the direction by angleZ, then the
// pointer put on the nearest reachable offset.
PointerPutt noisy_putt(const PointerPutt& intended, Seat seat, double powerZ, double angleZ,
                       float viewAngle = COMPUTER_VIEW_ANGLE);
// The same with its draws taken from dice.
PointerPutt noisy_putt(const PointerPutt& intended, Seat seat, Dice& dice, float viewAngle = COMPUTER_VIEW_ANGLE);
