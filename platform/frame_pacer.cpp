#include "platform/frame_pacer.h"

#include <thread>

FramePacer make_frame_pacer(int framesPerSecond, FrameClock::duration spinMargin)
{
    FramePacer pacer;
    pacer.period = std::chrono::duration_cast<FrameClock::duration>(std::chrono::nanoseconds(1000000000 / framesPerSecond));
    pacer.spinMargin = spinMargin;
    return pacer;
}

FrameClock::time_point next_frame_deadline(FrameClock::time_point deadline, FrameClock::time_point finished,
                                           FrameClock::duration period)
{
    return finished < deadline ? deadline + period : finished + period;
}

FrameClock::time_point sleep_until_point(FrameClock::time_point deadline, FrameClock::time_point now,
                                         FrameClock::duration margin)
{
    const FrameClock::time_point wake = deadline - margin;
    return wake > now ? wake : now;
}

void wait_for_frame_deadline(FramePacer& pacer)
{
    FrameClock::time_point now = FrameClock::now();
    if (!pacer.started) {
        pacer.started = true;
        pacer.nextDeadline = now + pacer.period;
        return;
    }
    const FrameClock::time_point deadline = pacer.nextDeadline;
    pacer.nextDeadline = next_frame_deadline(deadline, now, pacer.period);
    const FrameClock::time_point wake = sleep_until_point(deadline, now, pacer.spinMargin);
    if (wake > now) std::this_thread::sleep_until(wake);
    // A long sleep may end up to a scheduler tick late, so it stops short of the deadline; the
    // rest goes in short naps, and only the last moment is waited out by reading the clock.
    const FrameClock::duration nap = std::chrono::microseconds(100);
    for (now = FrameClock::now(); now < deadline; now = FrameClock::now()) {
        if (deadline - now > 2 * nap) std::this_thread::sleep_for(nap);
        else std::this_thread::yield();
    }
}
