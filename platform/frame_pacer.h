// The frame clock: holds the game to a fixed frame rate without keeping a processor busy.
// It sleeps until shortly before each deadline and waits the last moment out, so frames
// stay evenly spaced; a frame that ran late is not made up for.
#pragma once

#include <chrono>

using FrameClock = std::chrono::steady_clock;

struct FramePacer {
    FrameClock::duration period{};              // one frame, e.g. 1/60 s
    FrameClock::duration spinMargin{};          // waited out without sleeping before a deadline
    FrameClock::time_point nextDeadline{};      // when the next frame may start
    bool started = false;                       // the first deadline is set
};

// A pacer of the given rate (frames per second) that spins for the last spinMargin.
FramePacer make_frame_pacer(int framesPerSecond, FrameClock::duration spinMargin = std::chrono::microseconds(1000));

// The deadline after this one, given when the frame's work ended (finished). A frame done
// before its deadline waits for it, and the next deadline is one period later, so the rate
// is exact. A slow frame, done after its deadline, is not made up for: the count starts
// again from when it ended, and the game runs slower rather than hurrying to catch up.
FrameClock::time_point next_frame_deadline(FrameClock::time_point deadline, FrameClock::time_point finished,
                                           FrameClock::duration period);

// Until when to sleep before spinning to deadline: deadline - margin, or now when that has
// passed (no sleep).
FrameClock::time_point sleep_until_point(FrameClock::time_point deadline, FrameClock::time_point now,
                                         FrameClock::duration margin);

// Ends a frame: sleeps, waits out the deadline and sets the next one. The first call only
// starts the count.
void wait_for_frame_deadline(FramePacer& pacer);
