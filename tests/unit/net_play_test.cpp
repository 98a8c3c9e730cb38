// Network play over the loopback address, headless: the message framing, two machines
// playing putts in lockstep with a forced difference repaired from the host, and peers that
// send junk, a huge length or a putt out of turn dropped while the host's round goes on.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "game/round/round_tick.h"
#include "game/net/net_message.h"
#include "game/net/net_round.h"
#include "game/round/round_events.h"
#include "game/round/round_flow.h"
#include "game/round/round_log.h"
#include "game/round/session.h"
#include "hole/course_archive.h"
#include "hole/hole_file.h"
#include "physics/physics.h"
#include "platform/unpack_dir.h"
#include "tests/unit/bundled_holes.h"
#include "tests/unit/test_files.h"
#include "tests/unit/net_test_util.h"

namespace {

TEST(NetMessages, FramesReadWhateverWayTheBytesArriveAndBadHeadersAreRefusedAtOnce)
{
    NetPutt putt;
    putt.hole = 2;
    putt.step = 123457;
    putt.player = 3;
    putt.stroke = 2;
    putt.angle = -37.123456789012345;   // not a float: every bit must travel
    putt.power = 17.6;
    NetHello hello;
    hello.names = {"Ann", "Bob"};
    const std::string bytes = net_frame_bytes(NetType::Putt, encode_putt(putt)) +
                              net_frame_bytes(NetType::Hello, encode_hello(hello));
    NetFrameReader reader;
    std::vector<NetFrame> frames;
    for (char c : bytes) {   // a byte at a time
        net_feed(reader, &c, 1);
        NetFrame frame;
        std::string why;
        const NetRead read = net_next_frame(reader, frame, &why);
        ASSERT_NE(read, NetRead::Bad) << why;
        if (read == NetRead::Frame) frames.push_back(frame);
    }
    ASSERT_EQ(frames.size(), 2u);
    NetPutt back;
    ASSERT_TRUE(decode_putt(frames[0].payload, back));
    EXPECT_EQ(std::memcmp(&back.angle, &putt.angle, sizeof back.angle), 0);
    EXPECT_EQ(std::memcmp(&back.power, &putt.power, sizeof back.power), 0);
    EXPECT_EQ(back.step, putt.step);
    EXPECT_EQ(back.player, 3);
    NetHello helloBack;
    ASSERT_TRUE(decode_hello(frames[1].payload, helloBack));
    EXPECT_EQ(helloBack.names, hello.names);

    // A huge length is refused from its header, before a byte of it is awaited.
    const struct {
        std::string bytes;
        const char* what;
    } bad[] = {{std::string("\x03\x07\xff\xff\xff\x7f", 6), "longer"},
               {std::string("\x03\x03\x05\x80\x00\x00", 6), "longer"},
               {std::string("\x01\x07\x00\x00\x00\x00", 6), "version"},
               {std::string("\x03\x63\x00\x00\x00\x00", 6), "unknown"},
               {std::string("GET / HTTP/1.0\r\n"), "version"}};
    for (const auto& b : bad) {
        NetFrameReader junk;
        net_feed(junk, b.bytes.data(), b.bytes.size());
        NetFrame frame;
        std::string why;
        EXPECT_EQ(net_next_frame(junk, frame, &why), NetRead::Bad) << b.what;
        EXPECT_NE(why.find(b.what), std::string::npos) << why;
    }
    // Payloads that frame well but say what cannot be.
    NetPutt wild = putt;
    wild.power = 0;
    EXPECT_FALSE(decode_putt(encode_putt(wild), back)) << "a putt with no power";
    wild = putt;
    wild.angle = std::nan("");
    EXPECT_FALSE(decode_putt(encode_putt(wild), back)) << "a putt along no direction";
    hello.names = {"Ann", "no/slash"};
    EXPECT_FALSE(decode_hello(encode_hello(hello), helloBack)) << "a name the player dialog refuses";
    EXPECT_FALSE(decode_putt(encode_putt(putt) + "x", back)) << "trailing bytes";
    // A skipped turn travels; settling belongs to one machine's replay and never does.
    NetPutt skip = putt;
    skip.kind = RoundEventKind::Skip;
    skip.power = 0;
    ASSERT_TRUE(decode_putt(encode_putt(skip), back));
    EXPECT_EQ(back.kind, RoundEventKind::Skip);
    skip.kind = RoundEventKind::Settle;
    EXPECT_FALSE(decode_putt(encode_putt(skip), back));
    NetStart start;
    start.roundSeed = 42;
    start.turnSeconds = 120;
    NetStart startBack;
    ASSERT_TRUE(decode_start(encode_start(start), startBack));
    EXPECT_EQ(startBack.turnSeconds, 120);
    EXPECT_EQ(startBack.roundSeed, 42u);
}

TEST_F(NetLoopbackTest, PuttsPlayInLockstepAndAJoinersNudgedBallIsPutBackWhereTheHostHasIt)
{
    std::unique_ptr<Machine> joiner = join_and_start();
    GameSession& h = host->s;
    GameSession& j = joiner->s;
    ASSERT_EQ(h.round.playerCount, 2);
    ASSERT_EQ(j.round.playerCount, 2);
    EXPECT_EQ(h.round.roundSeed, j.round.roundSeed);
    EXPECT_TRUE(net_remote_on_turn(j)) << "Ann plays on the host";
    EXPECT_FALSE(net_remote_on_turn(h));
    j.net.nudgePending = true;   // the test switch: the joiner's ball is pushed once it rests

    // The joiner runs a few frames ahead, so the putt reaches it for a moment already past.
    for (int k = 0; k < 7; ++k) joiner->frame();
    host->putt(30.0f, 14.0f);
    ASSERT_TRUE(run_until({host.get(), joiner.get()}, [&] {
        return h.physics.stroke.strikeCount > 0 && j.physics.stroke.strikeCount > 0 && host->resting() &&
               joiner->resting() && j.net.repairs == 1 && h.round.currentPlayer == 2 && j.round.currentPlayer == 2;
    })) << "repairs " << j.net.repairs << " turn " << h.round.currentPlayer << "/" << j.round.currentPlayer;
    expect_same_balls(*host, *joiner, "the joiner goes on from the host's balls");
    char status[96] = "Bob  0  Hole 1  Par 3";
    net_status_note(j, status, sizeof status);
    EXPECT_STREQ(status, "Balls differed: host's kept");

    // Bob putts on his machine; the host plays it and both agree without a repair.
    EXPECT_TRUE(net_remote_on_turn(h));
    for (int k = 0; k < 5; ++k) host->frame();   // now the host is ahead
    joiner->putt(-20.0f, 9.0f);
    ASSERT_TRUE(run_until({host.get(), joiner.get()}, [&] {
        return h.physics.stroke.strikeCount > 1 && j.physics.stroke.strikeCount > 1 && host->resting() &&
               joiner->resting() && h.round.currentPlayer == j.round.currentPlayer && h.net.rests == 2 && j.net.rests == 2;
    }));
    expect_same_balls(*host, *joiner, "after Bob's putt");
    EXPECT_EQ(j.net.repairs, 1) << "no second repair";
    EXPECT_EQ(h.round.players[0].holeStrokes, j.round.players[0].holeStrokes);
    EXPECT_EQ(h.round.players[1].holeStrokes, 1);
    EXPECT_EQ(j.round.players[1].holeStrokes, 1);
}

TEST_F(NetLoopbackTest, JunkAHugeLengthAndAPuttOutOfTurnDropOnlyTheirSenderAndTheHostPlaysOn)
{
    const int junk = raw_connect();
    const std::string http = "GET / HTTP/1.0\r\n\r\n";
    ASSERT_EQ(send(junk, http.data(), http.size(), 0), static_cast<ssize_t>(http.size()));
    const int huge = raw_connect();
    ASSERT_EQ(send(huge, "\x01\x03\xff\xff\xff\xff", 6, 0), 6);
    bool junkClosed = false, hugeClosed = false;
    ASSERT_TRUE(run_until({host.get()}, [&] {
        junkClosed = junkClosed || closed_by_peer(junk);
        hugeClosed = hugeClosed || closed_by_peer(huge);
        return junkClosed && hugeClosed;
    }, 600));
    EXPECT_TRUE(host->s.net.peers.empty());
    close(junk);
    close(huge);
    EXPECT_EQ(host->s.net.seats.size(), 1u) << "nobody was seated";

    std::unique_ptr<Machine> joiner = join_and_start();
    GameSession& h = host->s;
    // Bob's machine sends a putt while Ann is on turn.
    NetPutt putt;
    putt.hole = 1;
    putt.step = 30;
    putt.player = 2;
    putt.angle = 10;
    putt.power = 20;
    joiner->s.net.peers.front()->socket.outgoing += net_frame_bytes(NetType::Putt, encode_putt(putt));
    ASSERT_TRUE(run_until({host.get(), joiner.get()}, [&] { return h.net.peers.empty(); }, 600));
    EXPECT_NE(h.net.lastMessage.find("out of turn"), std::string::npos) << h.net.lastMessage;
    EXPECT_TRUE(h.net.seats[1].dropped);
    ASSERT_TRUE(run_until({joiner.get()}, [&] { return joiner->s.net.phase == NetPhase::Ended; }, 300));
    EXPECT_NE(joiner->s.net.lastMessage.find("out of turn"), std::string::npos) << joiner->s.net.lastMessage;
    EXPECT_EQ(joiner->s.physics.stroke.strikeCount, 0) << "the refused putt was never played";

    // The host's round goes on: Ann putts, Bob's turn is skipped and his ball picked up.
    EXPECT_EQ(h.net.phase, NetPhase::Playing);
    EXPECT_EQ(h.physics.stroke.strikeCount, 0);
    host->putt(30.0f, 12.0f);
    ASSERT_TRUE(run_until({host.get()}, [&] {
        return h.physics.stroke.strikeCount == 1 && host->resting() && h.round.players[1].holedOut &&
               h.round.currentPlayer == 1;
    })) << "turn " << h.round.currentPlayer;
    EXPECT_EQ(h.round.scoreTable[1][0], PICKUP_STROKES);
    EXPECT_FALSE(net_remote_on_turn(h));
}

TEST_F(NetLoopbackTest, BothHolesOfAStraightCoursePlayTheSameWhicheverMachineRunsAhead)
{
    // The host of a straight two-hole course instead of the bundled holes.
    host_straight_course();
    if (HasFatalFailure()) return;
    std::unique_ptr<Machine> joiner = join_and_start();
    GameSession& h = host->s;
    GameSession& j = joiner->s;

    // Hole 1: each holes out in one, each putt reaching the other machine for a moment it
    // has already passed, so both go back (and put their balls' rotations back exactly).
    for (int k = 0; k < 7; ++k) joiner->frame();
    host->putt(90.0f, 20.0f);
    ASSERT_TRUE(run_until({host.get(), joiner.get()}, [&] {
        return h.round.currentPlayer == 2 && j.round.currentPlayer == 2 && host->resting() && joiner->resting();
    }));
    for (int k = 0; k < 15; ++k) host->frame();
    joiner->putt(90.0f, 20.0f);
    ASSERT_TRUE(run_until({host.get(), joiner.get()}, [&] {
        return h.round.currentHole == 2 && j.round.currentHole == 2 && host->in_hole() && joiner->in_hole();
    }));
    EXPECT_EQ(h.round.scoreTable[0][0], 1);
    EXPECT_EQ(h.round.scoreTable[1][0], 1);
    EXPECT_EQ(std::memcmp(h.round.scoreTable, j.round.scoreTable, sizeof h.round.scoreTable), 0);
    expect_same_balls(*host, *joiner, "hole 2 begins");

    // Hole 2: the host runs ahead; the joiner catches up unseen.
    for (int k = 0; k < 30; ++k) host->frame();
    host->putt(90.0f, 12.0f);
    ASSERT_TRUE(run_until({host.get(), joiner.get()}, [&] {
        return host->resting() && joiner->resting() && h.net.rests == 1 && j.net.rests == 1;
    }));
    for (int k = 0; k < 60; ++k) {
        host->frame();
        joiner->frame();
    }
    EXPECT_EQ(j.net.repairs, 0) << h.net.lastMessage;
    EXPECT_EQ(h.net.repairs, 0);
    expect_same_balls(*host, *joiner, "hole 2 after Ann's putt");
}

TEST_F(NetLoopbackTest, AMachineKilledMidPuttGetsItsSeatBackWithTheRoundPlayedAgainFromThePutts)
{
    std::unique_ptr<Machine> joiner = join_and_start();
    GameSession& h = host->s;
    host->putt(30.0f, 14.0f);
    for (int k = 0; k < 20; ++k) {
        host->frame();
        joiner->frame();
    }
    ASSERT_TRUE(h.physics.stroke.strokeInFlight) << "Ann's ball still rolls";
    // Killed: the connection just ends, no farewell.
    net_close(joiner->s.net.peers.front()->socket);
    joiner.reset();
    ASSERT_TRUE(run_until({host.get()}, [&] { return h.net.seats[1].dropped; }, 300));

    // Started again with the same name while the ball still rolls: the seat comes back.
    // The same computer: the seat's secret is kept with its round.
    auto again = std::make_unique<Machine>(dir.file("joiner"));
    GameSession& j = again->s;
    std::string error;
    ASSERT_TRUE(join_net_game(j, "127.0.0.1", port, {"Bob"}, &error)) << error;
    ASSERT_TRUE(run_until({host.get(), again.get()}, [&] {
        return !j.net.awaitingState && j.net.phase == NetPhase::Playing && again->in_hole() && host->resting();
    })) << h.net.lastMessage << " / " << j.net.lastMessage;
    EXPECT_FALSE(h.net.seats[1].dropped);
    EXPECT_FALSE(h.round.players[1].holedOut) << "Bob's ball was not picked up";
    ASSERT_TRUE(run_until({host.get(), again.get()}, [&] {
        return h.round.currentPlayer == 2 && j.round.currentPlayer == 2 && again->resting() && host->resting();
    }));
    EXPECT_EQ(j.round.players[0].holeStrokes, 1) << "Ann's putt was played again";
    expect_same_balls(*host, *again, "the round played again from the putts");
    EXPECT_TRUE(net_remote_on_turn(h));
    EXPECT_FALSE(net_remote_on_turn(j));

    // Bob plays on from the machine that came back; both agree.
    again->putt(-20.0f, 9.0f);
    ASSERT_TRUE(run_until({host.get(), again.get()}, [&] {
        return h.physics.stroke.strikeCount >= 2 && host->resting() && again->resting() && h.net.rests == 2 &&
               j.net.rests == 2;
    }));
    expect_same_balls(*host, *again, "after Bob's putt");
    EXPECT_EQ(h.round.players[1].holeStrokes, 1);
    EXPECT_EQ(j.round.players[1].holeStrokes, 1);
    EXPECT_EQ(j.net.repairs, 0);
}

}  // namespace
