// minigolf-bench net: two machines of a network game in one process, talking over the
// loopback address and each stepping 60 frames a second as the game does: the time the
// 18-hole bundled course takes to reach a joiner (sent, checked and unpacked), and the time
// from a putt's strike on one machine to the ball moving on the other.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "game/round/round_tick.h"
#include "game/net/net_message.h"
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

// This process's resident memory now and at its peak, in MB.
void memory_mb(double& now, double& peak)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    now = peak = 0;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) now = std::atof(line.c_str() + 6) / 1024.0;
        if (line.rfind("VmHWM:", 0) == 0) peak = std::atof(line.c_str() + 6) / 1024.0;
    }
}

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

int bench_net_flood(int argc, char** argv)
{
    std::string course = program_dir() + "/courses/championship.cor";
    if (argc > 0) course = argv[0];
    char pattern[] = "/tmp/minigolf-bench-flood-XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    const std::string dir = pattern;
    {
        Machine host(dir + "/host"), joiner(dir + "/joiner");
        const CourseLoadResult loaded = load_course(host.s.course, course, run_unpack_dir(host.s.unpackDir));
        std::string error;
        if (!loaded.ok || !host_net_game(host.s, 0, course, {"Ann"}, 0, &error)) {
            std::fprintf(stderr, "minigolf-bench net-flood: cannot host %s: %s%s\n", course.c_str(),
                         loaded.message.c_str(), error.c_str());
            return 1;
        }
        host.s.currentFileName = course;
        // Cid's machine: a whole hello, "the course is read", then it never reads again.
        const int cid = socket(AF_INET, SOCK_STREAM, 0);
        const int tiny = 1;
        setsockopt(cid, SOL_SOCKET, SO_RCVBUF, &tiny, sizeof tiny);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(host.s.net.port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (connect(cid, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return 1;
        NetHello hello;
        hello.names = {"Cid"};
        const std::string greeting =
            net_frame_bytes(NetType::Hello, encode_hello(hello)) + net_frame_bytes(NetType::CourseReady, {});
        if (send(cid, greeting.data(), greeting.size(), 0) != static_cast<ssize_t>(greeting.size())) return 1;
        paced(host, joiner, [&] { return host.s.net.seats.size() == 2; }, 600);
        if (!join_net_game(joiner.s, "127.0.0.1", host.s.net.port, {"Bob"}, &error)) return 1;
        paced(host, joiner, [&] { return net_can_start(host.s) && host.s.net.seats.size() == 3; }, 6000);
        if (!start_net_round(host.s, &error)) {
            std::fprintf(stderr, "minigolf-bench net-flood: the round cannot start: %s\n", error.c_str());
            return 1;
        }
        paced(host, joiner, [&] { return host.resting() && joiner.resting(); }, 600);
        // Ann putts, so that a rest of the hole exists to be falsely reported.
        host.strike(80.0f, 4.0f);
        paced(host, joiner, [&] { return host.s.net.rests == 1 && host.resting(); }, 3000);

        NetRest rest;
        rest.hole = 1;
        rest.strike = 1;
        rest.hash = 42;
        std::string flood;
        for (int k = 0; k < 1000; ++k) flood += net_frame_bytes(NetType::Rest, encode_rest(rest));
        // The host's log goes to a file for the flood, to be measured.
        const std::string logPath = dir + "/stderr.log";
        std::fflush(stderr);
        const int savedStderr = dup(2);
        const int logFd = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(logFd, 2);
        double rssBefore = 0, peakBefore = 0;
        memory_mb(rssBefore, peakBefore);
        const auto period = std::chrono::microseconds(16667);
        const auto start = Clock::now();
        auto next = start;
        long frames = 0;
        size_t flooded = 0, floodAt = 0;
        double worstMs = 0;
        while (Clock::now() - start < std::chrono::seconds(15)) {
            // Whole frames only: what the socket did not take is sent first next time.
            for (int k = 0; k < 16; ++k) {
                const ssize_t n = send(cid, flood.data() + floodAt, flood.size() - floodAt, MSG_DONTWAIT | MSG_NOSIGNAL);
                if (n <= 0) break;
                flooded += static_cast<size_t>(n);
                floodAt = (floodAt + static_cast<size_t>(n)) % flood.size();
            }
            const auto t = Clock::now();
            host.frame();
            worstMs = std::max(worstMs, ms_since(t));
            joiner.frame();
            ++frames;
            next += period;
            std::this_thread::sleep_until(next);
            if (Clock::now() > next + period) next = Clock::now();   // late: no catching up
        }
        const double seconds = ms_since(start) / 1000.0;
        double rssAfter = 0, peakAfter = 0;
        memory_mb(rssAfter, peakAfter);
        std::fflush(stderr);
        dup2(savedStderr, 2);
        close(savedStderr);
        close(logFd);
        const auto logBytes = std::filesystem::file_size(logPath);
        std::printf("flood of false rests for %.1f s: %.1f MB sent by a peer that never reads\n", seconds,
                    flooded / 1e6);
        std::printf("host ticks: %.1f a second (goal 60), slowest host tick %.1f ms\n", frames / seconds, worstMs);
        std::printf("memory: %.1f MB before, %.1f MB after (peak %.1f MB)\n", rssBefore, rssAfter, peakAfter);
        std::printf("log written meanwhile: %ju bytes; host still hosting %zu joiner connection(s)\n",
                    static_cast<uintmax_t>(logBytes), host.s.net.peers.size());
        if (logBytes < 4096) {
            std::ifstream log(logPath);
            std::string line;
            while (std::getline(log, line)) std::printf("  log: %s\n", line.c_str());
        }
        close(cid);
    }
    std::filesystem::remove_all(dir);
    return 0;
}
