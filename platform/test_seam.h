// The switches only the tests use. They are read from the environment here and nowhere
// else, and only by a build made with the tests (MG_TEST_SEAM): an installed game has none.
#pragma once

#include <string>

struct TestSeam {
    std::string frameHeartbeat;   // MG_FRAME_HEARTBEAT=FILE: pictures and ticks so far, once a second
    std::string saveLoop;         // MG_SAVE_LOOP=DIR: save files in a loop instead of starting
    int computerAimTicks = 0;     // MG_COMPUTER_AIM_FRAMES=N (1..6000): the computer's aiming move lasts N ticks
    bool netNudgeBall = false;    // MG_NET_NUDGE_BALL=1: this machine pushes its ball once (the resync test)
    int drawDelayMs = 0;          // MG_DRAW_DELAY_MS=N (1..1000): every picture takes N ms longer
    std::string tickLog;          // MG_TICK_LOG=FILE: a line per stroke struck, rested and hole over
};

// The switches of this run (all off in a build without the tests).
const TestSeam& test_seam();
// Reads them from these values, as test_seam does from the environment (null = unset).
TestSeam read_test_seam(const char* (*lookup)(const char* name));
