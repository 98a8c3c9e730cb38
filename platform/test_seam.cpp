#include "platform/test_seam.h"

#include <cstdlib>

TestSeam read_test_seam(const char* (*lookup)(const char* name))
{
    TestSeam seam;
    auto text = [lookup](const char* name) {
        const char* value = lookup(name);
        return std::string(value ? value : "");
    };
    auto number = [&text](const char* name, int low, int high) {
        const int n = std::atoi(text(name).c_str());
        return n >= low && n <= high ? n : 0;
    };
    seam.frameHeartbeat = text("MG_FRAME_HEARTBEAT");
    seam.saveLoop = text("MG_SAVE_LOOP");
    seam.computerAimTicks = number("MG_COMPUTER_AIM_FRAMES", 1, 6000);
    seam.netNudgeBall = text("MG_NET_NUDGE_BALL") == "1";
    seam.drawDelayMs = number("MG_DRAW_DELAY_MS", 1, 1000);
    seam.tickLog = text("MG_TICK_LOG");
    return seam;
}

const TestSeam& test_seam()
{
#ifdef MG_TEST_SEAM
    static const TestSeam seam = read_test_seam([](const char* name) -> const char* { return std::getenv(name); });
#else
    static const TestSeam seam;
#endif
    return seam;
}
