// Subcommands of minigolf-bench. Each takes the arguments after its own name and returns
// the process exit status.
#pragma once

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

int bench_physics(int argc, char** argv);
// Whole frames of drawing with the ball steps (frame) and the compiled drawing compared with
// the plain one (check); both open a window on $DISPLAY.
int bench_frame(int argc, char** argv);
int bench_check(int argc, char** argv);
// The real game's processor use and frame periods while idle (runs it on $DISPLAY).
int bench_idle(int argc, char** argv);
// The computer players: thinking cost per decision and scores per hole and level.
int bench_players(int argc, char** argv);
// The aim guide: CPU time per recompute of its path.
int bench_guide(int argc, char** argv);
// Network play over the loopback address: course transfer and putt latency.
int bench_net(int argc, char** argv);
// A seated machine that never reads floods the host with false rests for 15 s: the host's
// ticks, memory and log meanwhile.
int bench_net_flood(int argc, char** argv);

namespace bench {

// Milliseconds taken by one call of work.
template <typename Work>
double time_ms(Work&& work)
{
    auto start = std::chrono::steady_clock::now();
    work();
    auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(end - start).count();
}

// CPU milliseconds this thread spent in one call of work (unaffected by other processes
// sharing the machine).
template <typename Work>
double cpu_ms(Work&& work)
{
    timespec a{}, b{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &a);
    work();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &b);
    return (b.tv_sec - a.tv_sec) * 1e3 + (b.tv_nsec - a.tv_nsec) / 1e6;
}

inline double median(std::vector<double> samples)
{
    if (samples.empty()) return 0.0;
    std::sort(samples.begin(), samples.end());
    size_t n = samples.size();
    return n % 2 ? samples[n / 2] : 0.5 * (samples[n / 2 - 1] + samples[n / 2]);
}

}  // namespace bench
