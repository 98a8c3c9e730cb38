#include "app/frame_heartbeat.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

void note_frame_heartbeat()
{
    static const char* path = std::getenv("MG_FRAME_HEARTBEAT");
    if (!path || !*path) return;
    static unsigned long frames = 0;
    static auto last = std::chrono::steady_clock::time_point{};
    ++frames;
    const auto now = std::chrono::steady_clock::now();
    if (now - last < std::chrono::seconds(1)) return;
    last = now;
    if (std::FILE* file = std::fopen(path, "w")) {
        std::fprintf(file, "%lu\n", frames);
        std::fclose(file);
    }
}
