// Rounds that last: two players putt on hole 2, the game is killed outright, and "Resume
// Round" brings the balls back where they were with the same player on turn; the course is
// finished and the leader board counts the strokes from before the kill. Replay Last Putt
// shows the last putt moving and puts the ball back, the score untouched; shown again after a
// restart with every picture held back 40 ms, it rests after the same ticks as the replay did
// at full speed, in about the same time.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"
#include "tests/e2e/test_courses.h"

namespace {

constexpr int W = 600, H = 450;

// The window's pixels in a rectangle (y from the top), row by row.
std::vector<Rgb> grab(GameSession& game, const VirtualDisplay& display, int x, int y, int w, int h)
{
    return window_pixels(display.name(), std::strtoul(game.window_id().c_str(), nullptr, 10), x, y, w, h);
}

// The window without its outermost pixels: it sits a pixel off the screen's corner, and X
// reads only what lies on the screen.
std::vector<Rgb> whole_window(GameSession& game, const VirtualDisplay& display)
{
    return grab(game, display, 1, 1, W - 2, H - 2);
}
// The status line ("Alice ... Hole 2 ... Strokes"): whose turn it is and their strokes.
std::vector<Rgb> status_line(GameSession& game, const VirtualDisplay& display)
{
    return grab(game, display, W / 2 - 123, H - 40, 246, 30);
}

// The ticks and milliseconds from the strike to the rest of each stroke in a tick log (its
// "struck TICK MS ..." and "rested TICK MS" lines).
struct StrokeSpan {
    long ticks = 0, ms = 0;
};
std::vector<StrokeSpan> stroke_spans(const std::string& log)
{
    std::vector<StrokeSpan> spans;
    long struckTick = -1, struckMs = 0, tick = 0, at = 0;
    char word[16] = {};
    for (size_t start = 0, end = 0; start < log.size(); start = end + 1) {
        end = log.find('\n', start);
        if (end == std::string::npos) end = log.size();
        if (std::sscanf(log.substr(start, end - start).c_str(), "%15s %ld %ld", word, &tick, &at) != 3) continue;
        if (std::string(word) == "struck") {
            struckTick = tick;
            struckMs = at;
        } else if (std::string(word) == "rested" && struckTick >= 0) {
            spans.push_back({tick - struckTick, at - struckMs});
            struckTick = -1;
        }
    }
    return spans;
}

int differing(const std::vector<Rgb>& a, const std::vector<Rgb>& b)
{
    if (a.size() != b.size() || a.empty()) {
        ADD_FAILURE() << "the window could not be read: " << a.size() << " against " << b.size() << " pixels";
        return 1 << 30;
    }
    int n = 0;
    for (size_t k = 0; k < a.size(); ++k) n += a[k].r != b[k].r || a[k].g != b[k].g || a[k].b != b[k].b;
    return n;
}

// Pixels of a that match nothing within a pixel of their place in b (and the other way
// round): a camera a hair's breadth off moves texels by less than a pixel, a ball that is
// somewhere else leaves a patch of them. Both are whole-window reads.
int misplaced(const std::vector<Rgb>& a, const std::vector<Rgb>& b)
{
    const int w = W - 2, h = H - 2;
    if (a.size() != b.size() || a.size() != static_cast<size_t>(w * h)) {
        ADD_FAILURE() << "the window could not be read: " << a.size() << " against " << b.size() << " pixels";
        return 1 << 30;
    }
    auto close = [](const Rgb& p, const Rgb& q) {
        return std::abs(p.r - q.r) <= 12 && std::abs(p.g - q.g) <= 12 && std::abs(p.b - q.b) <= 12;
    };
    int n = 0;
    for (const auto& [from, to] : {std::pair{&a, &b}, std::pair{&b, &a}}) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                bool found = false;
                for (int dy = -1; dy <= 1 && !found; ++dy)
                    for (int dx = -1; dx <= 1 && !found; ++dx) {
                        const int u = x + dx, v = y + dy;
                        found = u >= 0 && v >= 0 && u < w && v < h && close((*from)[y * w + x], (*to)[v * w + u]);
                    }
                n += !found;
            }
    }
    return n;
}

// Menu titles along the play bar and their entries, 26 pixels apart from the top.
void choose(GameSession& game, int titleX, int entry)
{
    game.click(titleX, 10);
    game.settle(0.3);
    game.click(titleX + 10, 37 + 26 * entry);
    game.settle(0.3);
}
constexpr int STATS = 55, SPECIAL = 105;
enum { STATS_SCORE_CARD = 0, STATS_REPLAY_LAST_PUTT = 2 };
enum { SPECIAL_PICK_UP = 0 };

Point resume_button() { return resume_round_button(W, H); }
// "OK"/"Yes" of a small dialog, and the score card's OK.
Point ok_small() { return {W / 2 - 250 + 190, H - (H / 2 - 75 + 20)}; }
Point ok_large() { return {W / 2, H - (H / 2 - 175 + 20)}; }

class RoundFileTest : public DisplayTest {
protected:
    // The Putt button's face (grey) shows while the ball on turn may be putted.
    bool putt_shown(GameSession& game) { return is_grey_widget(game.pixel(515, 18)); }
    bool wait_for_putt(GameSession& game)
    {
        for (int tries = 0; tries < 60; ++tries) {
            if (putt_shown(game)) return true;
            game.settle(0.25);
        }
        return false;
    }
    // The whole window once two reads a second apart agree: the camera glides to its place,
    // and a ball that counts as at rest may still creep for a while.
    std::vector<Rgb> still_window(GameSession& game)
    {
        std::vector<Rgb> last = whole_window(game, *display);
        for (int tries = 0; tries < 30; ++tries) {
            game.settle(1.0);
            std::vector<Rgb> now = whole_window(game, *display);
            const int changed = differing(now, last);
            if (changed == 0) return now;
            last = now;
        }
        return last;
    }
    // One putt by the player on turn straight up the fairway: the pointer (d, d) from the
    // ball, which the camera centres while aiming; d = 10 is well short of the cup.
    void putt(GameSession& game, int d, const std::string& shot, bool endsHole = false)
    {
        ASSERT_TRUE(wait_for_putt(game)) << "no Putt button before " << shot;
        game.click(545, 30);   // "Putt"
        game.move(W / 2 + d, H / 2 + d);
        game.settle(0.4);
        game.click(W / 2 + d, H / 2 + d);
        game.settle(1.0);
        ASSERT_FALSE(putt_shown(game)) << "the putt of " << shot << " was not struck";
        if (endsHole) {
            game.settle(4.0);
            return;
        }
        ASSERT_TRUE(wait_for_putt(game)) << "the balls did not come to rest after " << shot;
        game.screenshot(shot);
    }
    // The score card's paper shows in the middle of the window.
    bool score_card_shown(GameSession& game)
    {
        const Rgb paper = game.pixel(W / 2 - 10, H / 2 - 25);
        return paper.r > 220 && paper.g > 220 && paper.b > 170;
    }
    // The start question is up (its frame shows grey left of its text and buttons).
    bool question_shown(GameSession& game)
    {
        return soon(game, [&] { return is_grey_widget(game.pixel(W / 2 - 170, H / 2 - 65)); });
    }
    void pick_up(GameSession& game)
    {
        ASSERT_TRUE(wait_for_putt(game));
        choose(game, SPECIAL, SPECIAL_PICK_UP);
        game.screenshot("resume_pick_up_question");
        Point yes = ok_small();
        game.click(yes.x, yes.y);
        game.settle(1.0);
    }
};

}  // namespace

TEST_F(RoundFileTest, AKilledRoundResumesWithTheBallsWhereTheyWereAndFinishesWithAllItsStrokes)
{
    GameSession game(*display);
    make_straight_course(game, "twoholes", 2);
    ASSERT_TRUE(game.start()) << game.read_file("game.log");
    ASSERT_TRUE(question_shown(game));
    sit_down(game, {"Alice", "Bob"}, "twoholes");
    ASSERT_TRUE(game.wait_title("twoholes.cor")) << game.title();
    EXPECT_TRUE(std::filesystem::exists(game.file("round_in_play.rnd")));

    // Hole 1: both hole out in one; hole 2: a putt each, short of the cup.
    putt(game, 25, "resume_hole1_alice");
    putt(game, 25, "resume_hole1_bob", true);
    ASSERT_TRUE(soon(game, [&] { return score_card_shown(game); })) << "no score card after hole 1";
    game.click(ok_large().x, ok_large().y);   // the score card between the holes
    ASSERT_TRUE(soon(game, [&] { return !score_card_shown(game); }));
    putt(game, 10, "resume_hole2_alice");
    putt(game, 13, "resume_hole2_bob");
    const std::vector<Rgb> beforeKill = still_window(game);
    game.screenshot("resume_before_kill");
    const std::vector<Rgb> statusBeforeKill = status_line(game, *display);
    const std::string saved = game.read_file("round_in_play.rnd");
    EXPECT_NE(saved.find("hole 2\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("putt "), std::string::npos) << saved;

    game.kill_now();
    ASSERT_FALSE(game.running());

    ASSERT_TRUE(game.start()) << game.read_file("game.log");
    ASSERT_TRUE(question_shown(game));
    game.screenshot("resume_question");
    const Point resume = resume_button();
    game.click(resume.x, resume.y);
    ASSERT_TRUE(game.wait_title("twoholes.cor")) << game.title() << "\n" << game.read_file("game.log");
    // The same view: every ball where it was, Alice on turn with her stroke on the status line
    // (once a busy machine has caught up with the ticks the loading took).
    EXPECT_TRUE(soon(game, [&] { return differing(statusBeforeKill, status_line(game, *display)) == 0; }));
    EXPECT_LT(misplaced(beforeKill, still_window(game)), 40);
    game.screenshot("resume_after_restart");

    // Play goes on: Alice putts again (from where her ball lies she may hole out), then
    // whoever is still playing picks up and the course is finished.
    putt(game, 10, "resume_hole2_alice_again");
    for (int k = 0; k < 2; ++k) {
        if (!soon(game, [&] { return putt_shown(game) || score_card_shown(game); }) || score_card_shown(game)) break;
        pick_up(game);
    }
    ASSERT_TRUE(soon(game, [&] { return score_card_shown(game); })) << "the course did not finish";
    game.screenshot("resume_finished");
    // Hole 1 in one stroke each before the kill; hole 2: Alice's stroke before the kill and
    // her stroke after it, or 12 for a pick-up; Bob picked up for 12.
    const std::string board = game.read_file("leader_board2.lbh");
    EXPECT_TRUE(board == "Alice*3*Avery K.*8*Blake M.*10*Casey N.*12*Bob*13*" ||
                board == "Avery K.*8*Blake M.*10*Casey N.*12*Alice*13*Bob*13*")
        << board;
    EXPECT_FALSE(std::filesystem::exists(game.file("round_in_play.rnd")));
}

TEST_F(RoundFileTest, ReplayLastPuttShowsTheBallMovingAndPutsItBack)
{
    GameSession game(*display);
    game.extraEnvironment = {"MG_TICK_LOG=" + game.file("ticks.log")};
    make_straight_course(game, "onehole", 1);
    ASSERT_TRUE(game.start()) << game.read_file("game.log");
    ASSERT_TRUE(question_shown(game));
    sit_down(game, {"Solo"}, "onehole");
    const bool started = game.wait_title("onehole.cor");
    game.screenshot("replay_round_started");
    ASSERT_TRUE(started) << game.title();
    putt(game, 12, "replay_putt_rested");
    const std::vector<Rgb> rested = still_window(game);
    game.screenshot("replay_before");
    const std::vector<Rgb> statusBefore = status_line(game, *display);
    choose(game, STATS, STATS_SCORE_CARD);
    ASSERT_TRUE(soon(game, [&] { return score_card_shown(game); }));
    game.settle(0.3);
    const std::vector<Rgb> cardBefore = grab(game, *display, W / 2 - 240, H / 2 - 165, 480, 305);
    game.click(ok_large().x, ok_large().y);
    ASSERT_TRUE(soon(game, [&] { return !score_card_shown(game); }));

    choose(game, STATS, STATS_REPLAY_LAST_PUTT);
    // Frames while it runs; a click on the Putt button's place and one in the scene strike nothing.
    std::vector<std::vector<Rgb>> frames;
    for (int k = 0; k < 8; ++k) {
        frames.push_back(whole_window(game, *display));
        if (k == 2) game.screenshot("replay_running");
        if (k == 3) game.click(545, 30);
        if (k == 4) game.click(W / 2 + 20, H / 2 + 20);
        game.settle(0.15);
    }
    int changes = 0;
    for (size_t k = 1; k < frames.size(); ++k) changes += differing(frames[k - 1], frames[k]) > 0;
    EXPECT_GE(changes, 3) << "the ball is not seen moving";
    EXPECT_GT(differing(frames[1], rested), 0);

    ASSERT_TRUE(wait_for_putt(game)) << "the replay did not end";
    EXPECT_LT(misplaced(rested, still_window(game)), 40);
    game.screenshot("replay_done");
    EXPECT_EQ(differing(statusBefore, status_line(game, *display)), 0);
    choose(game, STATS, STATS_SCORE_CARD);
    ASSERT_TRUE(soon(game, [&] { return score_card_shown(game); }));
    game.settle(0.3);
    EXPECT_EQ(differing(cardBefore, grab(game, *display, W / 2 - 240, H / 2 - 165, 480, 305)), 0);
    game.click(ok_large().x, ok_large().y);
    // The putt and its replay at full speed.
    const std::vector<StrokeSpan> fullSpeed = stroke_spans(game.read_file("ticks.log"));
    ASSERT_EQ(fullSpeed.size(), 2u) << game.read_file("ticks.log");

    // Again after a restart, with every picture 40 ms late: the round resumed, the putt
    // replayed where it was struck.
    game.kill_now();
    game.extraEnvironment.push_back("MG_DRAW_DELAY_MS=40");
    game.extraEnvironment.push_back("MG_FRAME_HEARTBEAT=" + game.file("beat"));
    ASSERT_TRUE(game.start()) << game.read_file("game.log");
    ASSERT_TRUE(question_shown(game));
    game.click(resume_button().x, resume_button().y);
    ASSERT_TRUE(game.wait_title("onehole.cor")) << game.title();
    ASSERT_TRUE(wait_for_putt(game));
    choose(game, STATS, STATS_REPLAY_LAST_PUTT);
    game.settle(1.0);
    game.screenshot("replay_slow_pictures_running");
    ASSERT_TRUE(wait_for_putt(game)) << "the slowed replay did not end";
    const std::vector<StrokeSpan> slowed = stroke_spans(game.read_file("ticks.log"));
    ASSERT_EQ(slowed.size(), 3u) << game.read_file("ticks.log");
    // The same replay, from the same balls: the same ticks to the rest, and about the same time.
    EXPECT_EQ(slowed[2].ticks, fullSpeed[1].ticks) << game.read_file("ticks.log");
    EXPECT_LT(std::labs(slowed[2].ms - fullSpeed[1].ms), fullSpeed[1].ms * 3 / 10)
        << fullSpeed[1].ms << " ms at full speed, " << slowed[2].ms << " ms with slow pictures";
    // Far fewer pictures than ticks: the delay was in force.
    game.settle(1.2);
    long pictures = 0, ticks = 0;
    const std::string beat = game.read_file("beat");
    ASSERT_EQ(std::sscanf(beat.c_str(), "%ld %ld", &pictures, &ticks), 2) << beat;
    EXPECT_LT(pictures * 10, ticks * 6) << beat;
}
