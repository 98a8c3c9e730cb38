// Network play end to end: two copies of the game on one display, one hosting and one
// joining over the loopback address from the command line; each player putts with the mouse
// in their own window while the other window shows the ball roll, both holes of a two-hole
// course are played and both machines write the same leader board. The host's window is off
// the screen while the friend joins, and the joiner draws only some 20 pictures a second:
// neither holds the round up. The host gives each turn 30 seconds in the lobby, and its own
// player lets the first run out.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "game/net/net_message.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"
#include "tests/e2e/test_courses.h"

namespace {

constexpr int W = 600, H = 450;

// A port nobody listens on now.
int free_port()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(fd);
        return 0;
    }
    close(fd);
    return ntohs(address.sin_port);
}

class NetworkGameTest : public DisplayTest {
protected:
    // The Putt button's face (grey) shows while this machine's player may putt.
    static bool putt_shown(GameSession& game) { return is_grey_widget(game.pixel(515, 18)); }
    static bool wait_for(GameSession& game, bool (*shown)(GameSession&), double seconds = 20.0)
    {
        for (int tries = 0; tries < seconds * 4; ++tries) {
            if (shown(game)) return true;
            game.settle(0.25);
        }
        return false;
    }
    static bool score_card_shown(GameSession& game)
    {
        const Rgb paper = game.pixel(W / 2 - 10, H / 2 - 25);
        return paper.r > 220 && paper.g > 220 && paper.b > 170;
    }
    // The two score cards agree pixel for pixel (the hole behind them differs with each camera).
    bool same_score_cards(GameSession& a, GameSession& b)
    {
        auto card = [&](GameSession& game) {
            return window_pixels(display->name(), std::strtoul(game.window_id().c_str(), nullptr, 10), 65, 62, 470, 290);
        };
        const std::vector<Rgb> first = card(a), second = card(b);
        if (first.size() != 470u * 290u || second.size() != first.size()) return false;
        int differing = 0;
        for (size_t k = 0; k < first.size(); ++k)
            differing += first[k].r != second[k].r || first[k].g != second[k].g || first[k].b != second[k].b;
        return differing == 0;
    }
    // The player of mover putts straight up the fairway (the pointer (d, d) from the ball,
    // which the camera centres while aiming); the other window is caught while it rolls.
    void putt(GameSession& mover, GameSession& watcher, int d, const std::string& shot)
    {
        ASSERT_TRUE(wait_for(mover, putt_shown)) << "no Putt button before " << shot;
        EXPECT_FALSE(putt_shown(watcher)) << "the other machine may putt too before " << shot;
        mover.click(545, 30);   // "Putt"
        mover.move(W / 2 + d, H / 2 + d);
        mover.settle(0.4);
        mover.click(W / 2 + d, H / 2 + d);
        watcher.screenshot(shot);
        ASSERT_FALSE(putt_shown(mover)) << "the putt of " << shot << " was not struck";
    }
};

}  // namespace

TEST_F(NetworkGameTest, TwoMachinesPlayATwoHoleCourseEachPlayerAtTheirOwnMouse)
{
    const int port = free_port();
    ASSERT_GT(port, 0);
    GameSession host(*display);
    make_straight_course(host, "two", 2);
    host.set_arguments({"-geometry", "600x450+0+0", "--host", std::to_string(port), "--course", "courses/two.cor",
                        "--players", "Ann", "--start-when", "2"});
    host.extraEnvironment = {"MG_TICK_LOG=" + host.file("ticks.log")};
    ASSERT_TRUE(host.start("two.cor"));
    host.settle(0.5);
    host.click(W / 2, 305);   // "Turn Limit: Off" steps to 30 s
    host.settle(0.5);
    host.screenshot("network_lobby_host");
    // The lobby's grey box stands where the start question would; no round yet.
    EXPECT_TRUE(is_grey_widget(host.pixel(W / 2, H / 2)));
    EXPECT_FALSE(putt_shown(host));

    // The host's window goes off the screen, as a minimised one does, while Bob joins.
    host.unmap();
    GameSession joiner(*display);
    joiner.extraEnvironment = {"MG_DRAW_DELAY_MS=45", "MG_FRAME_HEARTBEAT=" + joiner.file("beat"),
                               "MG_TICK_LOG=" + joiner.file("ticks.log")};
    joiner.set_arguments({"-geometry", "600x450+650+0", "--join", "127.0.0.1:" + std::to_string(port), "--players", "Bob"});
    // The title changes once the course has come: the host's own name for it.
    ASSERT_TRUE(joiner.start("(No File Loaded\\.|two\\.cor)"));
    ASSERT_TRUE(joiner.wait_title("two.cor", 20.0)) << joiner.title();
    // The hidden host began the round: hole 1 has begun on both machines.
    auto began = [](GameSession& game) { return game.read_file("ticks.log").find("began ") != std::string::npos; };
    for (int tries = 0; tries < 40 && !(began(host) && began(joiner)); ++tries) host.settle(0.25);
    EXPECT_TRUE(began(host)) << "the hidden host did not begin the round";
    EXPECT_TRUE(began(joiner)) << "the joiner did not begin the round";
    host.map();

    // Ann does not putt: her 30 seconds are counted down on both machines, then the turn
    // passes to Bob with a stroke for her, and both say so.
    joiner.settle(22.0);
    joiner.screenshot("network_turn_countdown_joiner");
    ASSERT_TRUE(wait_for(joiner, putt_shown, 30.0)) << "Ann's turn did not pass";
    host.screenshot("network_turn_ran_out_host");
    for (GameSession* game : {&host, &joiner}) {
        const std::string log = game->read_file("game.log");
        EXPECT_NE(log.find("each turn has 30 seconds"), std::string::npos) << "the lobby's limit did not travel";
        EXPECT_NE(log.find("Ann ran out of time; the turn passes."), std::string::npos);
    }

    // Hole 1: Bob, then Ann from the tee again, each holing out up the straight fairway;
    // hole 2: Ann, then Bob.
    putt(joiner, host, 25, "network_host_sees_bob_roll");
    putt(host, joiner, 25, "network_joiner_sees_ann_roll");
    // Between the holes each machine shows the score card until its player closes it.
    ASSERT_TRUE(wait_for(host, score_card_shown, 15.0));
    ASSERT_TRUE(wait_for(joiner, score_card_shown, 15.0));
    host.screenshot("network_hole1_card_host");
    joiner.screenshot("network_hole1_card_joiner");
    host.click(W / 2, 380);   // the card's OK
    joiner.click(W / 2, 380);
    putt(host, joiner, 25, "network_hole2_joiner_sees_ann");
    putt(joiner, host, 25, "network_hole2_host_sees_bob");

    // The course ends on both: the score card shows and each wrote its leader board.
    EXPECT_TRUE(wait_for(host, score_card_shown, 15.0));
    EXPECT_TRUE(wait_for(joiner, score_card_shown, 15.0));
    host.screenshot("network_end_host");
    joiner.screenshot("network_end_joiner");
    EXPECT_TRUE(same_score_cards(host, joiner));
    const std::string hostBoard = host.read_file("leader_board2.lbh");
    const std::string joinerBoard = joiner.read_file("leader_board2.lbh");
    EXPECT_NE(hostBoard.find("Ann"), std::string::npos) << hostBoard;
    EXPECT_NE(hostBoard.find("Bob"), std::string::npos) << hostBoard;
    EXPECT_EQ(hostBoard, joinerBoard);
    // Both machines went back a few frames for some putts and still rested the same.
    EXPECT_EQ(host.read_file("game.log").find("differ"), std::string::npos) << "a repair was needed";
    // The joiner drew far fewer pictures than it ran ticks: it played at 60 ticks a second
    // all the same.
    long pictures = 0, ticks = 0;
    const std::string beat = joiner.read_file("beat");
    ASSERT_EQ(std::sscanf(beat.c_str(), "%ld %ld", &pictures, &ticks), 2) << beat;
    EXPECT_LT(pictures * 2, ticks) << beat;
}

TEST_F(NetworkGameTest, AJoinerKilledMidHoleIsSkippedThenGetsItsSeatBackWhenStartedAgain)
{
    const int port = free_port();
    ASSERT_GT(port, 0);
    GameSession host(*display);
    make_straight_course(host, "three", 3);
    host.set_arguments({"-geometry", "600x450+0+0", "--host", std::to_string(port), "--course", "courses/three.cor",
                        "--players", "Ann", "--start-when", "2"});
    ASSERT_TRUE(host.start("three.cor"));
    const std::vector<std::string> joinArguments = {"-geometry", "600x450+650+0", "--join",
                                                    "127.0.0.1:" + std::to_string(port), "--players", "Bob"};
    // Bob's machine keeps its received course in a private unpack folder under its runtime
    // folder, as an installed game does.
    const std::string runtime = host.file("bob-runtime");
    std::filesystem::create_directory(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all, std::filesystem::perm_options::replace);
    auto unpack_folders = [&] {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(runtime)) names.push_back(entry.path().string());
        return names;
    };
    auto joiner = std::make_unique<GameSession>(*display);
    joiner->set_arguments(joinArguments);
    joiner->extraEnvironment = {"XDG_RUNTIME_DIR=" + runtime};
    ASSERT_TRUE(joiner->start("(No File Loaded\\.|three\\.cor)"));
    ASSERT_TRUE(joiner->wait_title("three.cor", 20.0)) << joiner->title();
    const std::vector<std::string> firstFolders = unpack_folders();
    ASSERT_EQ(firstFolders.size(), 1u);

    // Hole 1: Ann holes out; on Bob's turn his machine is killed outright.
    putt(host, *joiner, 25, "network_kill_joiner_sees_ann");
    ASSERT_TRUE(wait_for(*joiner, putt_shown)) << "Bob's turn never came";
    joiner->kill_now();
    EXPECT_EQ(unpack_folders(), firstFolders) << "the killed game's folder stays until a later start";
    // The host plays on without him: his hole is picked up and the hole ends.
    ASSERT_TRUE(wait_for(host, score_card_shown, 20.0)) << "the host waited for the killed machine";
    host.screenshot("network_kill_host_card_1");
    host.click(W / 2, 380);
    // Hole 2: Ann alone (Bob's turn is skipped while he is away).
    ASSERT_TRUE(wait_for(host, putt_shown)) << "no turn for Ann on hole 2";
    host.click(545, 30);
    host.move(W / 2 + 25, H / 2 + 25);
    host.settle(0.4);
    host.click(W / 2 + 25, H / 2 + 25);
    ASSERT_TRUE(wait_for(host, score_card_shown, 20.0)) << "hole 2 did not end without Bob";
    host.screenshot("network_kill_host_card_2");
    host.click(W / 2, 380);

    // Bob starts his game again on the same computer (its round file, which keeps his seat's
    // secret, comes along): he gets his seat back for hole 3, the round so far played again
    // from the putts.
    const std::string kept = joiner->read_file("round_in_play.rnd");
    EXPECT_NE(kept.find("\nseat "), std::string::npos) << kept;
    joiner = std::make_unique<GameSession>(*display);
    joiner->write_file("round_in_play.rnd", kept);
    joiner->set_arguments(joinArguments);
    joiner->extraEnvironment = {"XDG_RUNTIME_DIR=" + runtime};
    ASSERT_TRUE(joiner->start("(No File Loaded\\.|three\\.cor)"));
    ASSERT_TRUE(joiner->wait_title("three.cor", 20.0)) << joiner->title();
    // The new start removed the killed game's folder and keeps its own.
    const std::vector<std::string> secondFolders = unpack_folders();
    ASSERT_EQ(secondFolders.size(), 1u);
    EXPECT_NE(secondFolders, firstFolders);
    putt(host, *joiner, 25, "network_rejoined_sees_ann");
    putt(*joiner, host, 25, "network_host_sees_rejoined_bob");

    EXPECT_TRUE(wait_for(host, score_card_shown, 15.0));
    EXPECT_TRUE(wait_for(*joiner, score_card_shown, 15.0));
    host.screenshot("network_rejoin_end_host");
    joiner->screenshot("network_rejoin_end_joiner");
    // Both cards: Ann 1 1 1; Bob's first two holes picked up while he was away, then 1.
    EXPECT_TRUE(same_score_cards(host, *joiner));
    const std::string hostBoard = host.read_file("leader_board3.lbh");
    EXPECT_NE(hostBoard.find("Ann*3*"), std::string::npos) << hostBoard;
    EXPECT_EQ(hostBoard, joiner->read_file("leader_board3.lbh"));
}

// A joiner whose host says nothing for 15 s says so and offers Leave; when the host then turns
// it away, the start question comes back with the reason over it. The host is a socket of the
// test's own.
TEST_F(NetworkGameTest, AJoinerToldNothingSaysSoAndARefusalShowsOverTheStartQuestion)
{
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 4), 0);
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const int port = ntohs(address.sin_port);

    GameSession joiner(*display);
    joiner.set_arguments({"-geometry", "600x450+0+0", "--join", "127.0.0.1:" + std::to_string(port), "--players", "Bob"});
    ASSERT_TRUE(joiner.start());
    const int host = accept(listener, nullptr, nullptr);
    ASSERT_GE(host, 0);
    // The host reads the hello and says nothing.
    auto silence_said = [&] {
        return joiner.read_file("game.log").find("Nothing has been heard from the host for 15 seconds.") !=
               std::string::npos;
    };
    for (int tries = 0; tries < 100 && !silence_said(); ++tries) joiner.settle(0.25);
    ASSERT_TRUE(silence_said()) << joiner.read_file("game.log");
    joiner.settle(0.3);
    joiner.screenshot("network_host_silent");
    // The silence window, with Leave and Wait, stands in the middle.
    EXPECT_TRUE(is_grey_widget(joiner.pixel(W / 2 - 200, H / 2)));
    EXPECT_TRUE(is_grey_widget(joiner.pixel(W / 2 - 80, H / 2 + 25))) << "no Leave button";

    // Now the host turns it away: the game is full.
    const std::string bye = net_frame_bytes(NetType::Bye, encode_bye("the game is full", true));
    ASSERT_EQ(send(host, bye.data(), bye.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bye.size()));
    close(host);
    close(listener);
    auto refusal_said = [&] {
        return joiner.read_file("game.log").find("The host could not seat this computer: the game is full.") !=
               std::string::npos;
    };
    for (int tries = 0; tries < 20 && !refusal_said(); ++tries) joiner.settle(0.25);
    ASSERT_TRUE(refusal_said()) << joiner.read_file("game.log");
    joiner.settle(0.5);
    joiner.screenshot("network_refused_over_start_question");
    EXPECT_EQ(joiner.read_file("game.log").find("The host has left"), std::string::npos);
    // The message box (500 wide) over the start question (350 wide): its frame shows left of
    // the question's.
    EXPECT_TRUE(is_grey_widget(joiner.pixel(W / 2 - 240, H / 2)));
    joiner.click(W / 2, H - (H / 2 - 75 + 20));   // the message's OK
    joiner.settle(0.5);
    joiner.screenshot("network_refused_start_question");
    EXPECT_TRUE(is_grey_widget(joiner.pixel(W / 2 - 170, H / 2 - 65))) << "no start question";
    EXPECT_FALSE(is_grey_widget(joiner.pixel(W / 2 - 240, H / 2))) << "the message stays";
}
