// The soak: the sanitizer build of the game under Xvfb gets minutes of seeded random input
// (clicks, drags, keys, typing, menu picks, the wheel, resizes) and is started again whenever
// it leaves through its own exit. It fails on any sanitizer report, a crash or any other end
// but its own exit, a hang (no frame for 10 s) and on settings, leader boards or holes left
// malformed. MG_SOAK_SEED replays a run (the seed is printed); MG_SOAK_SECONDS sets its
// length (default 90), and CTest's time limit for it follows (tests/soak_timeout.cmake).
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "hole/hole_file.h"
#include "hole/leader_board.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

// What a report of either sanitizer starts with.
bool has_sanitizer_report(const std::string& log)
{
    return log.find("ERROR: AddressSanitizer") != std::string::npos ||
           log.find("ERROR: LeakSanitizer") != std::string::npos || log.find("runtime error:") != std::string::npos;
}

std::string tail_of(const std::string& text, size_t n) { return text.size() > n ? text.substr(text.size() - n) : text; }

// The files the game writes must still read as what it wrote.
void expect_files_well_formed(const GameSession& game, const std::string& context)
{
    const std::string config = game.read_file("Config.glf");
    if (!config.empty()) {
        int stars = 0;
        for (char c : config) stars += c == '*';
        EXPECT_TRUE(stars == 4 && config.back() == '*' && (config[0] == 'w' || config[0] == 'f')) << context << ": Config.glf \"" << config << "\"";
    }
    for (const auto& entry : fs::directory_iterator(game.dir())) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("leader_board", 0) == 0 && entry.path().extension() == ".lbh") {
            const std::string text = game.read_file(name);
            LeaderBoard board;
            if (!text.empty()) {
                EXPECT_EQ(parse_leader_board(board, text, 9), LEADER_ENTRIES) << context << ": " << name << " \"" << text << "\"";
            }
        }
        if (name.find(".tmp") != std::string::npos && entry.is_regular_file()) ADD_FAILURE() << context << ": temporary file left: " << name;
    }
    for (const auto& entry : fs::recursive_directory_iterator(game.dir() / "holes")) {
        if (entry.path().extension() != ".top") continue;
        auto grid = std::make_unique<HoleGrid>();
        std::string error;
        EXPECT_TRUE(read_hole_file(*grid, entry.path().string(), &error)) << context << ": " << error;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        EXPECT_EQ(text.str(), format_hole(*grid)) << context << ": " << entry.path() << " is not a whole hole";
    }
}

long heartbeat_frames(const GameSession& game)
{
    std::string text = game.read_file("heartbeat");
    return text.empty() ? -1 : std::atol(text.c_str());
}

}  // namespace

class Soak : public DisplayTest {};

TEST_F(Soak, SeededRandomInputForMinutes)
{
    const char* seedText = std::getenv("MG_SOAK_SEED");
    const unsigned seed = seedText ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10))
                                   : static_cast<unsigned>(Clock::now().time_since_epoch().count());
    const char* secondsText = std::getenv("MG_SOAK_SECONDS");
    const double seconds = secondsText ? std::atof(secondsText) : 90.0;
    std::printf("soak seed %u for %.0f s (MG_SOAK_SEED=%u replays it)\n", seed, seconds, seed);
    std::fflush(stdout);
    std::mt19937 random(seed);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };

    GameSession game(*display);
    // Leaks are reported for all of our code; the suppressions name third-party libraries only.
    const fs::path suppressions = game.dir() / "lsan.supp";
    std::ofstream(suppressions) << "leak:libGLX\nleak:libGL.so\nleak:libX11\nleak:libxcb\nleak:libglut\n"
                                   "leak:libdbus\nleak:libSDL2\nleak:libfontconfig\nleak:libLLVM\nleak:swrast_dri\n"
                                   "leak:libgallium\nleak:libplib\n";
    // Leaks and new/delete mismatches are checked. (Seed 1303597039 once reached PLIB's combo
    // box freeing its text with the wrong operator at action 59; the game's own step lists
    // have taken its place.)
    game.extraEnvironment = {"ASAN_OPTIONS=detect_leaks=1:alloc_dealloc_mismatch=1",
                             "LSAN_OPTIONS=suppressions=" + suppressions.string(),
                             "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1",
                             "MG_FRAME_HEARTBEAT=" + game.file("heartbeat")};
    ASSERT_TRUE(game.start()) << "seed " << seed;

    static const char* const KEYS[] = {"Escape", "Return", "Tab", "BackSpace", "Delete", "Left", "Right", "Up",
                                       "Down", "space", "Home", "End", "plus", "minus", "a", "q", "1", "F1"};
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    long lastFrames = -1;
    auto lastProgress = Clock::now();
    int actions = 0, starts = 1;
    while (Clock::now() < end && !HasFailure()) {
        const std::string context = "seed " + std::to_string(seed) + ", action " + std::to_string(actions);
        if (!game.running()) {
            // Ended: by its own exit (status 0, e.g. Quit or the close button) it starts again.
            // Any other end is a crash even when no sanitizer said a word (an abort, a kill).
            const std::string log = game.read_file("game.log");
            ASSERT_FALSE(has_sanitizer_report(log)) << context << ":\n" << tail_of(log, 6000);
            ASSERT_EQ(game.exit_status(), 0) << context << ": the game ended abnormally (status "
                                             << game.exit_status() << "); its output:\n" << tail_of(log, 6000);
            expect_files_well_formed(game, context);
            ASSERT_TRUE(game.start()) << context << ": no window after a restart";
            ++starts;
            lastFrames = -1;
            lastProgress = Clock::now();
            continue;
        }
        int w = 600, h = 450, x0 = 0, y0 = 0;
        game.geometry(x0, y0, w, h);
        const int x = pick(0, std::max(1, w - 1)), y = pick(0, std::max(1, h - 1));
        switch (pick(0, 10)) {
        case 10: {
            // Text typed into the fields: the player dialog's first name (from the start
            // question) or whatever field has the keyboard.
            const Point play = play_course_button(w, h);
            if (pick(0, 1)) game.click(play.x, play.y);
            game.click(w / 2 - 250 + 105, h - (h / 2 - 175 + 315));
            std::string text;
            for (int k = pick(1, 12); k > 0; --k) text += static_cast<char>(pick(0, 4) ? 'a' + pick(0, 25) : '0' + pick(0, 9));
            game.type(text);
            game.key(pick(0, 1) ? "BackSpace" : "Left");
            break;
        }
        case 0: case 1: game.click(x, y); break;
        case 2: game.click(pick(0, std::max(1, w - 1)), pick(0, 24)); game.click(x, pick(20, 220)); break;  // a menu pick
        case 3: game.tap(x, y); break;
        case 4: game.key(KEYS[pick(0, sizeof KEYS / sizeof KEYS[0] - 1)]); break;
        case 5: {
            std::string text;
            for (int k = pick(1, 8); k > 0; --k) text += static_cast<char>('a' + pick(0, 25));
            game.type(text);
            break;
        }
        case 6: game.click(x, y, pick(0, 1) ? 4 : 5); break;   // the wheel
        case 7: game.click(x, y, 3); break;
        case 8: if (pick(0, 3) == 0) game.resize(pick(600, 1000), pick(450, 800)); else game.move(x, y); break;
        default: {
            // A drag.
            const std::string d = "DISPLAY=" + display->name() + " xdotool ";
            run_command(d + "mousedown 1");
            game.move(pick(0, std::max(1, w - 1)), pick(0, std::max(1, h - 1)));
            run_command(d + "mouseup 1");
            break;
        }
        }
        ++actions;
        const long frames = heartbeat_frames(game);
        if (frames != lastFrames) {
            lastFrames = frames;
            lastProgress = Clock::now();
        } else if (game.running() && Clock::now() - lastProgress > std::chrono::seconds(10)) {
            game.screenshot("soak_hang");
            FAIL() << context << ": no new frame for 10 s";
        }
    }
    // End through the game's own exit, so the leak check runs.
    if (game.running()) {
        game.screenshot("soak_end");
        game.close_window();
        const int status = game.wait_exit(20);
        EXPECT_EQ(status, 0) << "seed " << seed << ": the game did not end cleanly (" << status << ")";
    } else if (!HasFailure()) {
        EXPECT_EQ(game.exit_status(), 0) << "seed " << seed << ": the game ended abnormally at the last action";
    }
    const std::string log = game.read_file("game.log");
    EXPECT_FALSE(has_sanitizer_report(log)) << "seed " << seed << ":\n" << tail_of(log, 6000);
    expect_files_well_formed(game, "seed " + std::to_string(seed) + " at the end");
    std::printf("soak: %d actions, %d starts of the game\n", actions, starts);
}
