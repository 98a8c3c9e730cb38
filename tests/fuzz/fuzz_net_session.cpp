// A hosted network game against one to three peers saying whatever the input says: framed
// messages of every kind and raw bytes, from peers that read or never read, between runs of
// the host's ticks, its Start and its own putts. The peers talk over connected socket pairs
// in this process. Checked: nothing the host keeps grows without bound, and once the peers
// are gone the host's round is not frozen: its own player gets the turn.
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "game/net/net_message.h"
#include "game/net/net_round.h"
#include "game/round/round_flow.h"
#include "game/round/round_log.h"
#include "game/round/round_tick.h"
#include "game/round/session.h"
#include "hole/course_archive.h"
#include "hole/hole_file.h"
#include "physics/physics.h"
#include "physics/putt_play.h"
#include "platform/unpack_dir.h"
#include "tests/fuzz/fuzz_util.h"

namespace {

// A railed fairway with its tee and cup: a hole every machine can play.
std::string make_course()
{
    auto grid = std::make_unique<HoleGrid>();
    clear_hole(*grid);
    for (int i = 22; i <= 26; ++i)
        for (int j = 8; j <= 24; ++j) {
            int edges = 0;
            if (i == 22) edges |= EDGE_RAIL_XMIN;
            if (i == 26) edges |= EDGE_RAIL_XMAX;
            if (j == 8) edges |= EDGE_RAIL_YMIN;
            if (j == 24) edges |= EDGE_RAIL_YMAX;
            grid->height_at(i, j) = 1;
            grid->edges_at(i, j) = edges;
        }
    grid->edges_at(24, 20) = EDGE_CUP;
    grid->tee = {1, static_cast<int>(tile_corner(24)), static_cast<int>(tile_corner(12))};
    const std::string hole = fuzz_scratch_dir() + "/fairway.top";
    const std::string course = fuzz_scratch_dir() + "/fairway.cor";
    std::string error;
    if (!write_hole_file(*grid, hole, &error) || !pack_course(course, {{hole, 2, ""}, {hole, 2, ""}}, &error)) std::abort();
    return course;
}

struct Host {
    std::unique_ptr<GameSession> session = std::make_unique<GameSession>();
    GameSession& s = *session;
    std::string course;
    Host()
    {
        s.paths.portable = false;
        s.paths.userDataDir = fuzz_scratch_dir();
        s.paths.configDir = fuzz_scratch_dir();
        init_physics(s.physics);
        course = make_course();
        if (!load_course(s.course, course, run_unpack_dir(s.unpackDir)).ok) std::abort();
        s.currentFileName = course;
    }
};

Host& host()
{
    static Host* h = [] {
        Host* made = new Host();
        std::atexit([] {
            leave_net_game(host().s, "the run is over");
            remove_course_files(host().s.course, true);
            remove_run_unpack_dir(host().s.unpackDir);
        });
        return made;
    }();
    return *h;
}

void tick(GameSession& s)
{
    step_net_play(s);
    round_frame_begins(s);
    replay_tick(s);
    round_frame_ends(s);
    advance_hole(s);
}

void check_bounds(const GameSession& s)
{
    const NetPlay& net = s.net;
    FUZZ_CHECK(net.pending.size() <= NET_PENDING_MAX);
    FUZZ_CHECK(net.history.size() <= NET_HISTORY_FRAMES);
    FUZZ_CHECK(net.log.size() <= 64);
    FUZZ_CHECK(net.seats.size() <= static_cast<size_t>(MAX_PLAYERS));
    FUZZ_CHECK(net.ownRests.size() <= 64);
    for (const auto& peer : net.peers) {
        FUZZ_CHECK(peer->socket.outgoing.size() <= peer->outgoingMax);
        FUZZ_CHECK(peer->reader.buffer.size() - peer->reader.start <= 2 * NET_RECEIVE_PER_FRAME + ROUND_FILE_MAX_BYTES);
        FUZZ_CHECK(peer->restHashes.size() <= 65);
        FUZZ_CHECK(peer->answered.size() <= 64);
    }
}

// The input, read a byte at a time (zeros once it is used up).
struct Input {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    bool more() const { return at < size; }
    unsigned byte() { return at < size ? data[at++] : 0; }
    std::string bytes(size_t n)
    {
        n = std::min(n, size - at);
        std::string out(reinterpret_cast<const char*>(data + at), n);
        at += n;
        return out;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Host& h = host();
    GameSession& s = h.s;
    std::string error;
    if (!host_net_game(s, 0, h.course, {"Ann"}, 0, &error)) std::abort();
    Input in{data, size};
    // The peers: the host's end joins as a connection, the test keeps the other.
    const int peers = 1 + static_cast<int>(in.byte() % 3);
    const unsigned readers = in.byte();
    std::vector<int> ends;
    for (int k = 0; k < peers; ++k) {
        int pair[2];
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, pair) != 0) std::abort();
        auto peer = std::make_unique<NetPeer>();
        peer->socket.fd = pair[0];
        peer->outgoingMax = NET_OUTGOING_MAX + s.net.courseBytes.size();
        s.net.peers.push_back(std::move(peer));
        ends.push_back(pair[1]);
    }
    auto drain = [&] {
        char buffer[65536];
        for (int k = 0; k < peers; ++k)
            if (ends[k] >= 0 && (readers >> k & 1))
                while (recv(ends[k], buffer, sizeof buffer, MSG_DONTWAIT) > 0) {
                }
    };
    int ticks = 0;
    while (in.more() && ticks < 3000) {
        const unsigned op = in.byte();
        const int k = static_cast<int>((op >> 3) % static_cast<unsigned>(peers));
        switch (op & 7) {
        case 0:
        case 1: {   // a framed message of any kind, with any payload
            const uint8_t type = static_cast<uint8_t>(in.byte() % 15);
            const std::string payload = in.bytes(in.byte());
            if (ends[k] >= 0 && payload.size() <= net_payload_bound(type) && type > 0) {
                const std::string frame = net_frame_bytes(static_cast<NetType>(type), payload);
                (void)!send(ends[k], frame.data(), frame.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
            }
            break;
        }
        case 2: {   // a hello, a putt or a rest that reads well
            std::string frame;
            const unsigned what = in.byte();
            if (what % 3 == 0) {
                NetHello hello;
                hello.names = {std::string(1, static_cast<char>('B' + k)) + "ob"};
                frame = net_frame_bytes(NetType::Hello, encode_hello(hello)) + net_frame_bytes(NetType::CourseReady, {});
            } else if (what % 3 == 1) {
                NetPutt putt;
                putt.hole = 1 + static_cast<int>(in.byte() % 3);
                putt.kind = static_cast<RoundEventKind>(in.byte() % 5);
                putt.player = 1 + static_cast<int>(in.byte() % 4);
                putt.clicks = putt.kind == RoundEventKind::Aim ? static_cast<int>(in.byte() & 1) : 0;
                putt.step = static_cast<long>(in.byte()) * static_cast<long>(in.byte() + 1);
                putt.angle = static_cast<double>(in.byte()) - 128.0;
                putt.power = 1.0 + in.byte() % 50;
                frame = net_frame_bytes(NetType::Putt, encode_putt(putt));
            } else {
                NetRest rest;
                rest.hole = 1 + static_cast<int>(in.byte() % 3);
                rest.strike = static_cast<int>(in.byte() % 6);
                rest.hash = in.byte();
                frame = net_frame_bytes(NetType::Rest, encode_rest(rest));
            }
            if (ends[k] >= 0) (void)!send(ends[k], frame.data(), frame.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
            break;
        }
        case 3: {   // raw bytes
            const std::string raw = in.bytes(in.byte() % 64);
            if (ends[k] >= 0) (void)!send(ends[k], raw.data(), raw.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
            break;
        }
        case 4:
        case 5: {   // the host's ticks
            const int n = 1 + static_cast<int>(in.byte() % 64);
            for (int t = 0; t < n; ++t, ++ticks) {
                tick(s);
                drain();
                check_bounds(s);
            }
            break;
        }
        case 6:   // the host starts, or its player putts when on turn
            if (s.net.phase == NetPhase::Lobby) {
                start_net_round(s, nullptr);
            } else if (s.net.phase == NetPhase::Playing && !net_remote_on_turn(s) && s.round.ballReady &&
                       !s.physics.stroke.strokeInFlight && s.aim.aimClicks == 0) {
                build_hole_geometry(s.physics);
                s.aim.aimMode = AimMode::Aiming;
                s.aim.aimState = AimPhase::Began;
                s.aim.aimClicks = 1;
                tick(s);
                s.aim.aimAngle = static_cast<float>(in.byte() % 360);
                s.aim.aimOffset[0] = offset_for_power(1 + in.byte() % 30);
                s.aim.aimOffset[1] = 0;
                tick(s);
                s.aim.struckPower = s.aim.puttPower;
                s.aim.aimState = AimPhase::Struck;
            }
            break;
        case 7:   // the peer goes
            if (ends[k] >= 0) {
                close(ends[k]);
                ends[k] = -1;
            }
            break;
        }
    }
    // Every peer gone: a round under way goes on with the host's own player.
    for (int& end : ends)
        if (end >= 0) close(end);
    if (s.net.phase == NetPhase::Playing) {
        bool hostsTurn = false;
        for (int t = 0; t < 1800 && !hostsTurn; ++t) {
            tick(s);
            check_bounds(s);
            const bool over = s.round.currentHole > s.course.holeCount;
            hostsTurn = over || s.net.phase != NetPhase::Playing ||
                        (!net_remote_on_turn(s) && s.round.ballReady && !s.physics.stroke.strokeInFlight &&
                         s.round.holeAdvanceCountdown == 0);
        }
        FUZZ_CHECK(hostsTurn);
    }
    leave_net_game(s, "the input is over");
    return 0;
}
