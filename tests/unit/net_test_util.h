// Machines of a network game in one process, each with its own session, talking over the
// loopback address: a host of a two-hole course with Ann, and joiners made as a test needs.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "game/net/net_message.h"
#include "game/net/net_round.h"
#include "game/round/round_events.h"
#include "game/round/round_flow.h"
#include "game/round/round_log.h"
#include "game/play/game_tick.h"
#include "game/round/round_tick.h"
#include "game/round/session.h"
#include "hole/course_archive.h"
#include "hole/hole_file.h"
#include "physics/physics.h"
#include "platform/unpack_dir.h"
#include "tests/unit/bundled_holes.h"
#include "tests/unit/physics_test_util.h"
#include "tests/unit/test_files.h"

namespace {

// The straight railed lane of the physics tests, written as a hole file: a putt straight up
// it at power 20 drops.
void write_straight_hole(const std::string& path)
{
    auto grid = std::make_unique<HoleGrid>();
    make_straight_hole(*grid);
    std::string error;
    ASSERT_TRUE(write_hole_file(*grid, path, &error)) << error;
}

// A machine of the network game: its own session and physics world, its own folders.
struct Machine {
    std::unique_ptr<GameSession> session = std::make_unique<GameSession>();
    GameSession& s = *session;
    explicit Machine(const std::string& dataDir)
    {
        s.paths.portable = false;
        s.paths.userDataDir = dataDir;
        s.paths.configDir = dataDir;
        std::filesystem::create_directories(dataDir);
        init_physics(s.physics);
    }
    ~Machine()
    {
        leave_net_game(s, "the test is over");
        remove_course_files(s.course, true);
        remove_run_unpack_dir(s.unpackDir);
        shutdown_physics(s.physics);
    }
    // One frame as the frame driver plays it.
    void frame()
    {
        step_net_play(s);
        round_frame_begins(s);
        replay_tick(s);
        round_frame_ends(s);
        advance_hole(s);
    }
    long hole_step() const { return s.physics.ballSteps - s.roundLog.holeStartStep; }
    bool in_hole() const { return s.roundLog.recording && s.round.holeAdvanceCountdown == 0; }
    bool resting() const
    {
        return !s.physics.stroke.strokeInFlight && !s.physics.stroke.swingActive && s.aim.aimState != AimPhase::Struck;
    }
    // The player on turn aims along angle with power and strikes, as the mouse does.
    void putt(float angle, float power)
    {
        ASSERT_TRUE(submit(s, aim_event(1), EventSource::Person));
        frame();
        s.aim.aimAngle = angle;
        s.aim.aimOffset[0] = offset_for_power(power);
        s.aim.aimOffset[1] = 0;
        s.aim.puttPower = power;
        frame();
        ASSERT_TRUE(submit(s, strike_now(), EventSource::Person));
    }
};

// The hash of both machines' balls at the same ball step of the hole (a resting ball may
// still creep): the one behind plays on until it is there.
void expect_same_balls(Machine& a, Machine& b, const char* where)
{
    for (int k = 0; k < 1000 && a.hole_step() != b.hole_step(); ++k) (a.hole_step() < b.hole_step() ? a : b).frame();
    ASSERT_EQ(a.hole_step(), b.hole_step()) << where;
    EXPECT_EQ(net_ball_hash(a.s), net_ball_hash(b.s)) << where;
}

class NetLoopbackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The first two holes of the Beginners.
        pack_bundled_course(dir.file("two.cor"), dir.path().string(),
                            [](const BundledHole& hole, size_t picked) { return hole.course == "beginners" && picked < 2; });
        if (HasFatalFailure()) return;
        std::string error;
        host = std::make_unique<Machine>(dir.file("host"));
        const CourseLoadResult loaded = load_course(host->s.course, dir.file("two.cor"), run_unpack_dir(host->s.unpackDir));
        ASSERT_TRUE(loaded.ok) << loaded.message;
        host->s.currentFileName = dir.file("two.cor");
        ASSERT_TRUE(host_net_game(host->s, 0, dir.file("two.cor"), {"Ann"}, 0, &error)) << error;
        port = host->s.net.port;
        ASSERT_GT(port, 0);
    }

    // Frames of every machine until done says so (false after limit frames).
    template <typename Done>
    bool run_until(std::vector<Machine*> machines, Done done, int limit = 3000)
    {
        for (int k = 0; k < limit; ++k) {
            if (done()) return true;
            for (Machine* m : machines) m->frame();
        }
        return done();
    }

    // The host, Ann, of a straight two-hole course instead of the bundled holes.
    void host_straight_course()
    {
        write_straight_hole(dir.file("s.top"));
        std::string error;
        ASSERT_TRUE(pack_course(dir.file("s.cor"), {{dir.file("s.top"), 2, ""}, {dir.file("s.top"), 2, ""}}, &error));
        host.reset();
        host = std::make_unique<Machine>(dir.file("straight"));
        ASSERT_TRUE(load_course(host->s.course, dir.file("s.cor"), run_unpack_dir(host->s.unpackDir)).ok);
        host->s.currentFileName = dir.file("s.cor");
        ASSERT_TRUE(host_net_game(host->s, 0, dir.file("s.cor"), {"Ann"}, 0, &error)) << error;
        port = host->s.net.port;
    }

    // A machine joined as Bob, with the course, and the round started on both; inLobby runs
    // with Bob seated, just before the start.
    std::unique_ptr<Machine> join_and_start(const std::function<void(Machine& joiner)>& inLobby = {})
    {
        auto joiner = std::make_unique<Machine>(dir.file("joiner"));
        std::string error;
        EXPECT_TRUE(join_net_game(joiner->s, "127.0.0.1", port, {"Bob"}, &error)) << error;
        EXPECT_TRUE(run_until({host.get(), joiner.get()}, [&] { return net_can_start(host->s) && host->s.net.seats.size() == 2; }));
        EXPECT_TRUE(joiner->s.net.courseLoaded);
        if (inLobby) inLobby(*joiner);
        EXPECT_TRUE(start_net_round(host->s, &error)) << error;
        EXPECT_TRUE(run_until({host.get(), joiner.get()}, [&] { return host->in_hole() && joiner->in_hole(); }));
        return joiner;
    }

    int raw_connect()
    {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        return fd;
    }

    // True once the host has closed the raw connection (after its farewell).
    static bool closed_by_peer(int fd)
    {
        char buffer[4096];
        for (;;) {
            const ssize_t n = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n == 0) return true;
            if (n < 0) return false;
        }
    }

    // Sends what the socket takes now (a test must never block on a host that runs in it).
    static size_t raw_send(int fd, const std::string& bytes)
    {
        const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
        return n > 0 ? static_cast<size_t>(n) : 0;
    }
    static std::string hello_frame(const std::vector<std::string>& names, const std::string& token = {})
    {
        NetHello hello;
        hello.names = names;
        hello.token = token;
        return net_frame_bytes(NetType::Hello, encode_hello(hello));
    }
    // The frames that have arrived on a raw socket so far; closed says when the host closed it.
    static std::vector<NetFrame> raw_frames(int fd, NetFrameReader& reader, bool* closed = nullptr)
    {
        char buffer[65536];
        for (;;) {
            const ssize_t n = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n == 0 && closed) *closed = true;
            if (n <= 0) break;
            net_feed(reader, buffer, static_cast<size_t>(n));
        }
        std::vector<NetFrame> frames;
        NetFrame frame;
        while (net_next_frame(reader, frame, nullptr) == NetRead::Frame) frames.push_back(frame);
        return frames;
    }

    ScratchDir dir;
    std::unique_ptr<Machine> host;
    int port = 0;
};

}  // namespace
