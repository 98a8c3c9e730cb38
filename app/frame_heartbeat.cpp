#include "app/frame_heartbeat.h"

#include <chrono>
#include <cstdio>
#include <string>

#include "game/round/round_tick.h"
#include "platform/test_seam.h"

void note_heartbeat(long pictures, long ticks)
{
    const std::string& path = test_seam().frameHeartbeat;
    if (path.empty()) return;
    static auto last = std::chrono::steady_clock::time_point{};
    const auto now = std::chrono::steady_clock::now();
    if (now - last < std::chrono::seconds(1)) return;
    last = now;
    // Written aside and renamed, so that a reader never finds the file empty.
    const std::string aside = path + ".new";
    if (std::FILE* file = std::fopen(aside.c_str(), "w")) {
        std::fprintf(file, "%ld %ld\n", pictures, ticks);
        if (std::fclose(file) == 0) std::rename(aside.c_str(), path.c_str());
    }
}

void note_tick_report(const TickReport& report, long tick)
{
    const std::string& path = test_seam().tickLog;
    if (path.empty() || !(report.struck || report.rested || report.holeOver || report.holeBegan)) return;
    const long ms = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
    if (std::FILE* file = std::fopen(path.c_str(), "a")) {
        if (report.struck) std::fprintf(file, "struck %ld %ld %.9g %.9g\n", tick, ms, report.angle, report.power);
        if (report.rested) std::fprintf(file, "rested %ld %ld\n", tick, ms);
        if (report.holeOver) std::fprintf(file, "hole %ld %ld\n", tick, ms);
        if (report.holeBegan) std::fprintf(file, "began %ld %ld\n", tick, ms);
        std::fclose(file);
    }
}
