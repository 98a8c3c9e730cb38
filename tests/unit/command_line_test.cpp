// The game's command line and the frame clock's arithmetic.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "platform/tick_clock.h"
#include "platform/quiet_frames.h"

namespace {

CommandLine parse(std::vector<const char*> words)
{
    words.insert(words.begin(), "minigolf");
    return parse_command_line(static_cast<int>(words.size()), words.data());
}

}  // namespace

TEST(CommandLine, HelpAndVersionAnswerWithoutStarting)
{
    EXPECT_EQ(parse({"--help"}).action, CommandAction::Help);
    EXPECT_EQ(parse({"--fullscreen", "--version"}).action, CommandAction::Version);
    EXPECT_NE(usage_text("minigolf").find("--data-dir DIR"), std::string::npos);
    EXPECT_EQ(version_text().rfind("minigolf ", 0), 0u);
}

TEST(CommandLine, UnknownOptionsAndMissingValuesAreRefused)
{
    const CommandLine unknown = parse({"--frobnicate"});
    EXPECT_EQ(unknown.action, CommandAction::Refused);
    EXPECT_NE(unknown.message.find("--frobnicate"), std::string::npos);
    EXPECT_EQ(parse({"--data-dir"}).action, CommandAction::Refused);
    EXPECT_EQ(parse({"--data-dir="}).action, CommandAction::Refused);
    EXPECT_EQ(parse({"-geometry"}).action, CommandAction::Refused);
}

TEST(CommandLine, GameOptionsFilesAndGlutOptionsAreSorted)
{
    const CommandLine line =
        parse({"-geometry", "640x480+0+0", "--data-dir", "/opt/golf", "--windowed", "-sync", "hole.top", "--", "-odd.cor"});
    EXPECT_EQ(line.action, CommandAction::Run);
    EXPECT_EQ(line.dataDir, "/opt/golf");
    EXPECT_EQ(line.display, DisplayChoice::Windowed);
    EXPECT_EQ(line.files, (std::vector<std::string>{"hole.top", "-odd.cor"}));
    EXPECT_EQ(line.glutArguments, (std::vector<std::string>{"minigolf", "-geometry", "640x480+0+0", "-sync"}));
    EXPECT_EQ(parse({"--data-dir=/d", "--fullscreen"}).dataDir, "/d");
    EXPECT_EQ(parse({"--fullscreen"}).display, DisplayChoice::FullScreen);

    EXPECT_EQ(file_kind("a/Hole1.TOP"), FileKind::Hole);
    EXPECT_EQ(file_kind("easy.cor"), FileKind::Course);
    EXPECT_EQ(file_kind("notes.txt"), FileKind::Unknown);
    EXPECT_EQ(file_kind("top"), FileKind::Unknown);
}

TEST(CommandLine, NetworkGamesNeedTheirPartnersAndRefuseWhatCannotBe)
{
    const CommandLine host =
        parse({"--host", "5120", "--course", "two.cor", "--players", "Ann,Bea", "--start-when", "3", "--turn-limit=45"});
    ASSERT_EQ(host.action, CommandAction::Run) << host.message;
    EXPECT_EQ(host.net.mode, NetMode::Host);
    EXPECT_EQ(host.net.port, 5120);
    EXPECT_EQ(host.net.course, "two.cor");
    EXPECT_EQ(host.net.players, (std::vector<std::string>{"Ann", "Bea"}));
    EXPECT_EQ(host.net.startWhen, 3);
    EXPECT_EQ(host.net.turnLimit, 45);
    EXPECT_TRUE(host.files.empty());
    const CommandLine join = parse({"--join=192.168.1.20:5120", "--players=Bob"});
    ASSERT_EQ(join.action, CommandAction::Run) << join.message;
    EXPECT_EQ(join.net.mode, NetMode::Join);
    EXPECT_EQ(join.net.host, "192.168.1.20");
    EXPECT_EQ(join.net.port, 5120);
    EXPECT_EQ(parse({"--windowed"}).net.mode, NetMode::None);

    const std::vector<std::vector<const char*>> refused = {
        {"--host", "5120", "--players", "Ann"},                                   // no course
        {"--host", "5120", "--course", "c.cor"},                                  // no players
        {"--host", "0", "--course", "c.cor", "--players", "Ann"},                 // no such port
        {"--host", "99999", "--course", "c.cor", "--players", "Ann"},
        {"--join", "localhost", "--players", "Ann"},                              // no port
        {"--join", "h:70000", "--players", "Ann"},
        {"--join", "h:1", "--players", "Ann", "--course", "c.cor"},               // the host's course
        {"--join", "h:1", "--host", "2", "--players", "Ann"},                     // both
        {"--join", "h:1", "--players", "A,B,C,D,E"},                              // five
        {"--join", "h:1", "--players", "Ann,"},                                   // an empty name
        {"--join", "h:1", "--players", "Fourteen_chars"},                         // too long
        {"--join", "h:1", "--players", "Ann", "hole.top"},                        // another file
        {"--host", "1", "--course", "c.cor", "--players", "Ann", "--start-when", "5"},
        {"--host", "1", "--course", "c.cor", "--players", "Ann", "--turn-limit", "2"},      // no time to aim
        {"--host", "1", "--course", "c.cor", "--players", "Ann", "--turn-limit", "1h"},
        {"--join", "h:1", "--players", "Ann", "--turn-limit", "30"},              // the host's limit
        {"--players", "Ann"},                                                     // no game
    };
    for (const auto& words : refused) {
        std::string line;
        for (const char* word : words) line += std::string(word) + " ";
        EXPECT_EQ(parse(words).action, CommandAction::Refused) << line;
    }
    EXPECT_NE(usage_text("minigolf").find("--join HOST:PORT"), std::string::npos);
}

TEST(CommandLine, DisplayChoiceHoldsForThisRunOnly)
{
    WindowState window;
    window.fullScreen = 1;
    window.windowWidth = 1024;
    window.windowHeight = 768;
    DisplayOverride chosen;
    apply_display_choice(DisplayChoice::Windowed, window, chosen);
    EXPECT_EQ(window.fullScreen, 0);
    window.windowWidth = 700;   // the window as the run left it
    WindowState stored = settings_to_store(window, chosen);
    EXPECT_EQ(stored.fullScreen, 1);
    EXPECT_EQ(stored.windowWidth, 1024);
    EXPECT_EQ(stored.windowHeight, 768);
    // A switch the player made during the run is kept.
    window.fullScreen = 1;
    EXPECT_EQ(settings_to_store(window, chosen).windowWidth, 700);
    // No choice on the command line: stored as it is.
    DisplayOverride none;
    WindowState plain;
    apply_display_choice(DisplayChoice::Stored, plain, none);
    EXPECT_FALSE(none.active);
    EXPECT_EQ(settings_to_store(window, none).windowWidth, 700);
}

TEST(TickClock, LateTicksAreMadeUpUpToTheBoundAndTheRestIsGivenUpAndCounted)
{
    using namespace std::chrono;
    TickClock clock = make_tick_clock(60);
    EXPECT_EQ(duration_cast<nanoseconds>(clock.period).count(), 16666666);
    const GameClock::time_point t0{};
    const GameClock::duration p = clock.period;
    // The first call starts the count with one tick; none more is due before a period.
    EXPECT_EQ(take_due_ticks(clock, t0, 10), 1);
    EXPECT_EQ(take_due_ticks(clock, t0 + p / 2, 10), 0);
    // A picture that took 40 ms: the ticks it held up all run now, and the rate stays exact.
    EXPECT_EQ(take_due_ticks(clock, t0 + p + milliseconds(40), 10), 3);
    EXPECT_EQ(clock.nextTick, t0 + 4 * p);
    EXPECT_EQ(take_due_ticks(clock, t0 + 4 * p, 10), 1);
    EXPECT_EQ(clock.ticks, 5);
    EXPECT_FALSE(fell_behind_lately(clock, t0 + 4 * p, seconds(2)));
    // A machine stalled for a second runs ten ticks and gives the other fifty up, then counts
    // from where it is instead of hurrying. One stall is not a slow machine.
    GameClock::time_point stalled = t0 + 5 * p + seconds(1);
    EXPECT_EQ(take_due_ticks(clock, stalled, 10), 10);
    EXPECT_EQ(clock.droppedTicks, 51);
    EXPECT_EQ(clock.nextTick, stalled + p);
    EXPECT_FALSE(fell_behind_lately(clock, stalled, seconds(2)));
    // Pictures that each take a quarter of a second, again and again: it keeps falling behind.
    for (int k = 0; k < 2; ++k) {
        stalled += milliseconds(250);
        EXPECT_EQ(take_due_ticks(clock, stalled, 10), 10);
    }
    EXPECT_TRUE(fell_behind_lately(clock, stalled + seconds(1), seconds(2)));
    EXPECT_FALSE(fell_behind_lately(clock, stalled + seconds(3), seconds(2)));
    EXPECT_EQ(take_due_ticks(clock, stalled + p, 0), 0);
}

TEST(FrameClock, OnlyAPictureHeldStillWithoutInputGoesQuietAndItIsRepaintedNowAndThen)
{
    QuietFrames q;
    // A picture that changes every frame is painted every frame.
    for (std::uint64_t look = 1; look < 100; ++look) EXPECT_FALSE(frame_is_quiet(q, look));
    // Held still: painted in full QUIET_AFTER_FRAMES times (the change included), then quiet,
    // with a full paint every REPAINT_EVERY_FRAMES frames.
    std::vector<bool> painted;
    for (int frame = 0; frame < 100; ++frame) painted.push_back(!frame_is_quiet(q, 7));
    for (int frame = 0; frame < QUIET_AFTER_FRAMES; ++frame) EXPECT_TRUE(painted[frame]) << frame;
    EXPECT_FALSE(painted[QUIET_AFTER_FRAMES]);
    int gap = 0, longest = 0, paints = 0;
    for (size_t frame = QUIET_AFTER_FRAMES; frame < painted.size(); ++frame) {
        gap = painted[frame] ? 0 : gap + 1;
        paints += painted[frame];
        longest = std::max(longest, gap);
    }
    EXPECT_EQ(longest, REPAINT_EVERY_FRAMES - 1);
    EXPECT_GE(paints, 2);
    // Input paints the following frames in full again, even with the same fingerprint.
    note_input(q);
    for (int frame = 0; frame < QUIET_AFTER_FRAMES; ++frame) EXPECT_FALSE(frame_is_quiet(q, 7)) << frame;
    EXPECT_TRUE(frame_is_quiet(q, 7));
    // Fingerprints tell values apart and fold bytes in order.
    EXPECT_NE(fold_value(LOOK_START, 1.0f), fold_value(LOOK_START, 1.0001f));
    EXPECT_NE(fold_value(fold_value(LOOK_START, 1), 2), fold_value(fold_value(LOOK_START, 2), 1));
}
