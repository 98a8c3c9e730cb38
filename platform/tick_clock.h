// The game's clock: says when ticks are due, 60 a second of wall time, and sleeps between
// them without keeping a processor busy. It sleeps until shortly before a tick and waits the
// last moment out, so ticks stay evenly spaced.
#pragma once

#include <chrono>

using GameClock = std::chrono::steady_clock;

struct TickClock {
    GameClock::duration period{};         // one tick, e.g. 1/60 s
    GameClock::duration spinMargin{};     // waited out without sleeping before a tick
    GameClock::time_point nextTick{};     // when the next tick is due
    bool started = false;                 // the first tick was given
    long ticks = 0;                       // ticks given so far
    long droppedTicks = 0;                // ticks given up: the game was too far behind
    GameClock::time_point drops[3]{};     // the last three times ticks were given up, newest first
};

// A clock of the given rate (ticks per second) that spins for the last spinMargin.
TickClock make_tick_clock(int ticksPerSecond, GameClock::duration spinMargin = std::chrono::microseconds(1000));

// How many ticks are due at now, at most maxTicks; they count as given. The first call starts
// the clock with one. Ticks run late catch up: three ticks are due after three periods. When
// more than maxTicks are due, the rest are given up and counted, and the count starts again
// from now: a machine that cannot keep up plays on a little late rather than spiralling into
// ever longer catch-ups.
int take_due_ticks(TickClock& clock, GameClock::time_point now, int maxTicks);

// True when ticks were given up three times within the last `within`: the machine keeps
// falling behind. One long stall (a course being loaded) is not that.
bool fell_behind_lately(const TickClock& clock, GameClock::time_point now, GameClock::duration within);

// Sleeps until the next tick is due (returns at once when it is).
void sleep_until_next_tick(const TickClock& clock);
