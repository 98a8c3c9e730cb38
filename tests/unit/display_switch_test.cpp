// Switching between a window and full screen, against a display that keeps track of its
// windows and can be told to refuse game modes (as Xvfb does).
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/config.h"
#include "platform/display_switch.h"
#include "tests/unit/test_files.h"

namespace {

class FakeDisplay : public DisplayBackend {
public:
    bool acceptsGameModes = true;
    bool inGameMode = false;
    std::set<int> openWindows;
    std::vector<std::string> calls;
    int nextId = 1;

    bool enter_game_mode(const char* gameMode) override
    {
        EXPECT_FALSE(inGameMode) << "entering a game mode without leaving the last one";
        calls.push_back(std::string("enter ") + (gameMode ? gameMode : "(current)"));
        inGameMode = acceptsGameModes;
        return inGameMode;
    }
    void leave_game_mode() override
    {
        EXPECT_TRUE(inGameMode) << "leaving a game mode that is not active";
        calls.push_back("leave");
        inGameMode = false;
    }
    bool game_mode_active() override { return inGameMode; }
    int open_window(int width, int height, const char* title) override
    {
        calls.push_back("open " + std::to_string(width) + "x" + std::to_string(height) + " " + title);
        openWindows.insert(nextId);
        return nextId++;
    }
    void destroy_window(int id) override
    {
        EXPECT_EQ(openWindows.count(id), 1u) << "destroying window " << id << ", which is gone";
        calls.push_back("destroy " + std::to_string(id));
        openWindows.erase(id);
    }
};

const DisplayMode& mode(const char* entry)
{
    const DisplayMode* found = display_mode_for_entry(entry);
    EXPECT_NE(found, nullptr) << entry;
    return found ? *found : DISPLAY_MODES[0];
}

struct Session {
    WindowState window;
    DisplaySwitch display;
    FakeDisplay backend;

    Session()
    {
        display.windowId = backend.open_window(window.windowWidth, window.windowHeight, "No File Loaded.");
        backend.calls.clear();
    }
};

}  // namespace

TEST(DisplaySwitch, ResolutionEntriesMatchWithoutRegardToCase)
{
    EXPECT_EQ(mode("1024 x 768").width, 1024);
    EXPECT_EQ(mode("1600 X 1200").gameMode, std::string("1600x1200:16@60"));
    EXPECT_EQ(display_mode_for_entry("1024x768"), nullptr);
    EXPECT_EQ(display_mode_for_entry(nullptr), nullptr);
    EXPECT_EQ(display_mode_for_width(800)->height, 600);
    EXPECT_EQ(display_mode_for_width(700), nullptr);
}

TEST(DisplaySwitch, FullScreenAndBackEndsInA600By450Window)
{
    Session s;
    s.window.windowWidth = 800;   // the window was resized before
    s.window.windowHeight = 700;
    switch_to_full_screen(s.window, s.display, s.backend, mode("1024 x 768"), "lake.top");
    EXPECT_EQ(s.backend.calls, (std::vector<std::string>{"destroy 1", "enter 1024x768:16@60"}));
    EXPECT_EQ(format_config(s.window), "f*s*1024*768*");
    EXPECT_TRUE(s.backend.openWindows.empty());
    // the display grants the mode but keeps its resolution: the game draws to the whole
    // screen, and the settings keep the mode the player chose
    EXPECT_FALSE(take_window_size(s.window, 1920, 1080));
    EXPECT_EQ(s.window.windowWidth, 1920);
    EXPECT_EQ(s.window.windowHeight, 1080);
    EXPECT_EQ(format_config(s.window), "f*s*1024*768*");

    s.backend.calls.clear();
    switch_to_window(s.window, s.display, s.backend, "lake.top");
    EXPECT_EQ(s.backend.calls, (std::vector<std::string>{"leave", "open 600x450 lake.top"}));
    EXPECT_EQ(format_config(s.window), "w*s*600*450*");
    EXPECT_EQ(s.display.windowId, 2);

    // and full screen again replaces the new window, not the one destroyed before
    s.backend.calls.clear();
    switch_to_full_screen(s.window, s.display, s.backend, mode("640 x 480"), "lake.top");
    EXPECT_EQ(s.backend.calls, (std::vector<std::string>{"destroy 2", "enter 640x480:16@60"}));
}

TEST(DisplaySwitch, AWindowSpringsBackTo600By450AndKeepsLargerSizes)
{
    WindowState window;
    EXPECT_TRUE(take_window_size(window, 400, 300));
    EXPECT_EQ(format_config(window), "w*s*600*450*");
    EXPECT_TRUE(take_window_size(window, 900, 200));
    EXPECT_EQ(format_config(window), "w*s*900*450*");
    EXPECT_FALSE(take_window_size(window, 800, 600));
    EXPECT_EQ(format_config(window), "w*s*800*600*");
}

TEST(DisplaySwitch, AnotherResolutionWhileFullScreenDestroysNothingThatIsGone)
{
    Session s;
    switch_to_full_screen(s.window, s.display, s.backend, mode("800 x 600"), "No File Loaded.");
    s.backend.calls.clear();
    switch_to_full_screen(s.window, s.display, s.backend, mode("1280 x 1024"), "No File Loaded.");
    EXPECT_EQ(s.backend.calls, (std::vector<std::string>{"leave", "enter 1280x1024:16@60"}));
    EXPECT_EQ(format_config(s.window), "f*s*1280*1024*");
}

TEST(DisplaySwitch, RefusedFullScreenCarriesOnInAWindowAndSaysSo)
{
    Session s;
    s.backend.acceptsGameModes = false;
    switch_to_full_screen(s.window, s.display, s.backend, mode("640 x 480"), "course.cor");
    EXPECT_EQ(s.backend.calls,
              (std::vector<std::string>{"destroy 1", "enter 640x480:16@60", "open 600x450 course.cor"}));
    EXPECT_EQ(s.window.fullScreen, 0);   // the menu offers "--------", and "Windowed" does nothing
    EXPECT_EQ(format_config(s.window), "w*s*600*450*");
    EXPECT_EQ(s.backend.openWindows, (std::set<int>{2}));

    // a second try replaces that window; exactly one window stays open
    s.backend.calls.clear();
    switch_to_full_screen(s.window, s.display, s.backend, mode("1600 x 1200"), "course.cor");
    EXPECT_EQ(s.backend.calls,
              (std::vector<std::string>{"destroy 2", "enter 1600x1200:16@60", "open 600x450 course.cor"}));
    EXPECT_EQ(s.backend.openWindows, (std::set<int>{3}));

    // "Windowed" reached anyway (it is not offered then) still leaves one window
    switch_to_window(s.window, s.display, s.backend, "course.cor");
    EXPECT_EQ(s.backend.openWindows.size(), 1u);
}

TEST(DisplaySwitch, StartUpEntersTheStoredModeOrAWindowOfTheStoredSize)
{
    struct Case {
        const char* stored;
        bool accepts;
        const char* entered;
        const char* opened;        // the fallback window, or "" when full screen was taken
        const char* savedAtExit;
    };
    const Case cases[] = {
        {"f*n*1024*768*", true, "enter 1024x768:16@60", "", "f*n*1024*768*"},
        {"f*n*1024*768*", false, "enter 1024x768:16@60", "open 1024x768 No File Loaded.", "w*n*1024*768*"},
        {"f*s*700*500*", true, "enter (current)", "", "f*s*700*500*"},
        {"f*s*700*500*", false, "enter (current)", "open 700x500 No File Loaded.", "w*s*700*500*"},
        {"f*s*300*200*", false, "enter (current)", "open 600x450 No File Loaded.", "w*s*600*450*"},
        {"f*s*800*5*", false, "enter 800x600:16@60", "open 800x600 No File Loaded.", "w*s*800*600*"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.stored) + (c.accepts ? " accepted" : " refused"));
        ScratchDir dir;
        dir.write("Config.glf", c.stored);
        WindowState window;
        read_config_file(dir.file("Config.glf"), window);
        ASSERT_EQ(window.fullScreen, 1);
        DisplaySwitch display;
        FakeDisplay backend;
        backend.acceptsGameModes = c.accepts;
        enter_stored_full_screen(window, display, backend, "No File Loaded.");
        std::vector<std::string> expected{c.entered};
        if (c.opened[0]) expected.push_back(c.opened);
        EXPECT_EQ(backend.calls, expected);
        EXPECT_EQ(display.windowId, c.accepts ? 0 : 1);
        std::string error;
        ASSERT_TRUE(write_config_file(dir.file("Config.glf"), window, &error)) << error;
        EXPECT_EQ(dir.read("Config.glf"), c.savedAtExit);
    }
}
