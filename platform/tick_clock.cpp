#include "platform/tick_clock.h"

#include <thread>

TickClock make_tick_clock(int ticksPerSecond, GameClock::duration spinMargin)
{
    TickClock clock;
    clock.period = std::chrono::duration_cast<GameClock::duration>(std::chrono::nanoseconds(1000000000 / ticksPerSecond));
    clock.spinMargin = spinMargin;
    return clock;
}

int take_due_ticks(TickClock& clock, GameClock::time_point now, int maxTicks)
{
    if (maxTicks < 1) return 0;
    if (!clock.started) {
        clock.started = true;
        clock.nextTick = now + clock.period;
        clock.ticks += 1;
        return 1;
    }
    if (now < clock.nextTick) return 0;
    const long due = (now - clock.nextTick) / clock.period + 1;
    if (due > maxTicks) {
        clock.droppedTicks += due - maxTicks;
        clock.drops[2] = clock.drops[1];
        clock.drops[1] = clock.drops[0];
        clock.drops[0] = now;
        clock.nextTick = now + clock.period;
        clock.ticks += maxTicks;
        return maxTicks;
    }
    clock.nextTick += due * clock.period;
    clock.ticks += due;
    return static_cast<int>(due);
}

bool fell_behind_lately(const TickClock& clock, GameClock::time_point now, GameClock::duration within)
{
    const GameClock::time_point oldest = clock.drops[2];
    return oldest != GameClock::time_point{} && now - oldest < within;
}

void sleep_until_next_tick(const TickClock& clock)
{
    const GameClock::time_point due = clock.nextTick;
    GameClock::time_point now = GameClock::now();
    if (due - now > clock.spinMargin) std::this_thread::sleep_until(due - clock.spinMargin);
    // A long sleep may end up to a scheduler tick late, so it stops short of the tick; the
    // rest goes in short naps, and only the last moment is waited out by reading the clock.
    const GameClock::duration nap = std::chrono::microseconds(100);
    for (now = GameClock::now(); now < due; now = GameClock::now()) {
        if (due - now > 2 * nap) std::this_thread::sleep_for(nap);
        else std::this_thread::yield();
    }
}
