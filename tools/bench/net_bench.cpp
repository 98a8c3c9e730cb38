// minigolf-bench net: two machines of a network game in one process, talking over the
// loopback address and each stepping 60 frames a second as the game does: the time the
// 18-hole bundled course takes to reach a joiner (sent, checked and unpacked), and the time
// from a putt's strike on one machine to the ball moving on the other.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "game/round/round_tick.h"
#include "game/net/net_round.h"
#include "game/round/round_events.h"
#include "game/round/round_flow.h"
#include "game/round/round_log.h"
#include "game/round/session.h"
#include "hole/course_archive.h"
#include "physics/physics.h"
#include "platform/unpack_dir.h"
#include "tools/bench/bench_commands.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string program_dir()
{
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return ".";
    buffer[n] = '\0';
    const std::string path = buffer;
    return path.substr(0, path.rfind('/'));
}

struct Machine {
    std::unique_ptr<GameSession> session = std::make_unique<GameSession>();
    GameSession& s = *session;
    explicit Machine(const std::string& dir)
    {
        s.paths.portable = false;
        s.paths.userDataDir = dir;
        s.paths.configDir = dir;
        std::filesystem::create_directories(dir);
        init_physics(s.physics);
    }
    ~Machine()
    {
        leave_net_game(s, "the bench is over");
        remove_course_files(s.course, true);
        remove_run_unpack_dir(s.unpackDir);
        shutdown_physics(s.physics);
    }
    void frame()
    {
        step_net_play(s);
        round_frame_begins(s);
        replay_tick(s);
        round_frame_ends(s);
        advance_hole(s);
    }
    bool resting() const
    {
        return !s.physics.stroke.strokeInFlight && !s.physics.stroke.swingActive && s.aim.aimState != AimPhase::Struck &&
               s.roundLog.recording && s.round.holeAdvanceCountdown == 0;
    }
    void strike(float angle, float power)
    {
        submit(s, aim_event(1), EventSource::Person);
        frame();
        s.aim.aimAngle = angle;
        s.aim.aimOffset[0] = offset_for_power(power);
        s.aim.puttPower = power;
        submit(s, strike_now(), EventSource::Person);
    }
};

// Frames of both machines at 60 a second until done (false after limit frames).
template <typename Done>
bool paced(Machine& a, Machine& b, Done done, int limit)
{
    const auto period = std::chrono::microseconds(16667);
    auto next = Clock::now();
    for (int k = 0; k < limit; ++k) {
        if (done()) return true;
        a.frame();
        if (done()) return true;
        b.frame();
        next += period;
        std::this_thread::sleep_until(next);
    }
    return done();
}

double ms_since(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

}  // namespace

int bench_net(int argc, char** argv)
{
    std::string course = program_dir() + "/courses/championship.cor";
    if (argc > 0) course = argv[0];
    char pattern[] = "/tmp/minigolf-bench-net-XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    const std::string dir = pattern;
    int status = 0;
    {
        Machine host(dir + "/host"), joiner(dir + "/joiner");
        const CourseLoadResult loaded = load_course(host.s.course, course, run_unpack_dir(host.s.unpackDir));
        std::string error;
        if (!loaded.ok || !host_net_game(host.s, 0, course, {"Ann"}, 0, &error)) {
            std::fprintf(stderr, "minigolf-bench net: cannot host %s: %s%s\n", course.c_str(), loaded.message.c_str(),
                         error.c_str());
            return 1;
        }
        host.s.currentFileName = course;
        const auto joined = Clock::now();
        if (!join_net_game(joiner.s, "127.0.0.1", host.s.net.port, {"Bob"}, &error)) {
            std::fprintf(stderr, "minigolf-bench net: cannot join: %s\n", error.c_str());
            return 1;
        }
        if (!paced(host, joiner, [&] { return joiner.s.net.courseLoaded; }, 6000)) {
            std::fprintf(stderr, "minigolf-bench net: the course did not arrive\n");
            return 1;
        }
        const double transferMs = ms_since(joined);
        std::printf("course transfer: %s, %zu bytes, %d holes: %.1f ms from join to unpacked (60 frames/s)\n",
                    std::filesystem::path(course).filename().c_str(), host.s.net.courseBytes.size(),
                    joiner.s.course.holeCount, transferMs);

        paced(host, joiner, [&] { return net_can_start(host.s); }, 600);
        if (!start_net_round(host.s, &error)) {
            std::fprintf(stderr, "minigolf-bench net: the round cannot start: %s\n", error.c_str());
            return 1;
        }
        paced(host, joiner, [&] { return host.resting() && joiner.resting() && joiner.s.roundLog.recording; }, 600);
        // Short putts in turn, each timed from the strike on its machine to the ball moving on
        // the other.
        std::vector<double> latencies;
        const float angles[] = {80.0f, 100.0f, 60.0f, 120.0f, 90.0f, 70.0f, 110.0f, 95.0f};
        for (float angle : angles) {
            if (!paced(host, joiner, [&] { return host.resting() && joiner.resting(); }, 3000)) break;
            if (host.s.round.currentHole != 1) break;
            Machine& mover = net_remote_on_turn(host.s) ? joiner : host;
            Machine& watcher = &mover == &host ? joiner : host;
            const int before = mover.s.physics.stroke.strikeCount;
            const int seen = watcher.s.physics.stroke.strikeCount;
            mover.strike(angle, 4.0f);
            // The strike: the swing ends and the putter meets the ball in the mover's frames.
            while (mover.s.physics.stroke.strikeCount == before) mover.frame();
            const auto struck = Clock::now();
            if (!paced(watcher, mover, [&] { return watcher.s.physics.stroke.strikeCount > seen; }, 600)) break;
            latencies.push_back(ms_since(struck));
        }
        if (latencies.empty()) {
            std::fprintf(stderr, "minigolf-bench net: no putt was timed\n");
            status = 1;
        } else {
            double worst = 0;
            for (double ms : latencies) worst = std::max(worst, ms);
            std::printf("strike to ball moving on the other machine: median %.1f ms, worst %.1f ms over %zu putts "
                        "(goal: 50 ms)\n",
                        bench::median(latencies), worst, latencies.size());
        }
    }
    std::filesystem::remove_all(dir);
    return status;
}
