// The aim guide: the path the ball would take for the aim and power being set, up to its
// first contact with anything but the ground. It is played in a world of its own from a
// snapshot of the turn, so the live world, the round and the sound are never touched, and it
// is played again only when the aim, the power, the ball or the hole changed.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "physics/putt_play.h"

// Ball steps a guide's putt may run at most (about five seconds of play).
constexpr long AIM_GUIDE_MAX_STEPS = 900;

struct AimGuidePath {
    std::vector<std::array<double, 3>> points;   // the ball's centre: the start, then every frame
    bool touched = false;        // it ended at a contact (else the ball rested, dropped or ran out of steps)
    int touchedRole = 0;         // the GeomRole it touched
    long steps = 0;              // ball steps played
};

// True for what the guide counts as ground: the floor, ramps, conveyors and sand.
bool guide_counts_as_ground(int role);

using BallPlaces = std::vector<std::array<double, 3>>;

// Plays the guide's putt in world w (started with start_hole_play) from rest with tee as the
// hole's tee: angle degrees, meter power, at most maxSteps ball steps. The other balls in
// play lie still at others (at most BALL_COUNT - 1 of them).
AimGuidePath trace_aim_guide(PhysicsWorld& w, const Tee& tee, const BallRest& rest, double angle, double power,
                             long maxSteps = AIM_GUIDE_MAX_STEPS, const BallPlaces& others = {});

class AimGuide {
public:
    AimGuide();
    ~AimGuide();
    AimGuide(const AimGuide&) = delete;
    AimGuide& operator=(const AimGuide&) = delete;

    // The path for the ball in slot of live aimed along angle with power; played again only
    // when something it depends on changed. live is only read. True when it was played again.
    bool update(const PhysicsWorld& live, int slot, double angle, double power);
    const AimGuidePath& path() const { return current; }
    long recomputes() const { return played; }
    // Forgets the path (the next update plays again).
    void clear();

private:
    bool same_hole(const HoleGrid& grid) const;

    std::unique_ptr<PuttTable> table;
    bool started = false;
    bool valid = false;
    double angle = 0, power = 0;
    BallRest rest;
    BallPlaces others;
    AimGuidePath current;
    long played = 0;
};
