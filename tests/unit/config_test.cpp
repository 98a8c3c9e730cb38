#include <gtest/gtest.h>

#include "app/config.h"
#include "tests/unit/test_files.h"

namespace {

WindowState defaults()
{
    WindowState state;
    state.windowWidth = 600;
    state.windowHeight = 450;
    return state;
}

}  // namespace

TEST(Config, FirstRunCreatesTheFileAndKeepsDefaults)
{
    ScratchDir dir;
    WindowState state = defaults();
    read_config_file(dir.file("Config.glf"), state);
    EXPECT_TRUE(std::filesystem::exists(dir.file("Config.glf")));
    EXPECT_EQ(state.fullScreen, 0);
    EXPECT_EQ(state.soundOn, 1);
    EXPECT_EQ(state.soundsPending, 1);
    EXPECT_EQ(state.windowWidth, 600);
    std::string error;
    ASSERT_TRUE(write_config_file(dir.file("Config.glf"), state, &error)) << error;
    EXPECT_EQ(dir.read("Config.glf"), "w*s*600*450*");
}

TEST(Config, StoredFullScreenAndSoundOffAreRead)
{
    ScratchDir dir;
    dir.write("Config.glf", "f*n*1024*768*");
    WindowState state = defaults();
    read_config_file(dir.file("Config.glf"), state);
    EXPECT_EQ(state.fullScreen, 1);
    EXPECT_EQ(state.soundOn, 0);
    EXPECT_EQ(state.soundsPending, 0);
    EXPECT_EQ(state.windowWidth, 1024);
    EXPECT_EQ(state.windowHeight, 768);
    EXPECT_EQ(format_config(state), "f*n*1024*768*");
}

TEST(Config, UnknownLettersMeanFullScreenAndSoundOff)
{
    ScratchDir dir;
    dir.write("Config.glf", "x*?*800*600*");
    WindowState state = defaults();
    read_config_file(dir.file("Config.glf"), state);
    EXPECT_EQ(state.fullScreen, 1);
    EXPECT_EQ(state.soundOn, 0);
}

TEST(Config, BrokenFilesLeaveDefaults)
{
    ScratchDir dir;
    const std::string broken[] = {"", "w*s*600*450", "w*s*", "f*n*1024", std::string(100000, 'f')};
    for (const std::string& text : broken) {
        dir.write("Config.glf", text);
        WindowState state = defaults();
        read_config_file(dir.file("Config.glf"), state);
        EXPECT_EQ(state.fullScreen, 0) << text.substr(0, 20);
        EXPECT_EQ(state.soundOn, 1) << text.substr(0, 20);
        EXPECT_EQ(state.windowWidth, 600) << text.substr(0, 20);
    }
}

TEST(Config, OverlongFieldsAreCutAndHugeSizesBounded)
{
    ScratchDir dir;
    dir.write("Config.glf", std::string(500, 'w') + "*" + std::string(500, 's') + "*" + std::string(300, '9') + "*400*");
    WindowState state = defaults();
    read_config_file(dir.file("Config.glf"), state);
    EXPECT_EQ(state.fullScreen, 0);
    EXPECT_EQ(state.soundOn, 1);
    EXPECT_EQ(state.windowWidth, MAX_WINDOW_SIDE);
    EXPECT_EQ(state.windowHeight, 400);   // clamped to 450 only when the window is reshaped
}

TEST(Config, UnwritableLocationReportsFailure)
{
    WindowState state = defaults();
    std::string error;
    EXPECT_FALSE(write_config_file("/nonexistent-dir/Config.glf", state, &error));
    EXPECT_FALSE(error.empty());
}

TEST(Config, AimGuideRoundTripsAndOlderFilesReadWithItOff)
{
    ScratchDir dir;
    WindowState state = defaults();
    state.aimGuideOn = true;
    std::string error;
    ASSERT_TRUE(write_config_file(dir.file("Config.glf"), state, &error)) << error;
    EXPECT_EQ(dir.read("Config.glf"), "w*s*600*450*g*");
    WindowState back = defaults();
    read_config_file(dir.file("Config.glf"), back);
    EXPECT_TRUE(back.aimGuideOn);
    EXPECT_FALSE(back.fullScreen);
    EXPECT_TRUE(back.soundOn);
    EXPECT_EQ(back.windowWidth, 600);
    EXPECT_EQ(back.windowHeight, 450);

    // A file of an older version has four fields: the guide is off, the rest reads as ever.
    dir.write("Config.glf", "f*n*1024*768*");
    read_config_file(dir.file("Config.glf"), back);
    EXPECT_FALSE(back.aimGuideOn);
    EXPECT_TRUE(back.fullScreen);
    EXPECT_EQ(back.windowWidth, 1024);
    // Switched off again, the file is the four fields an older version writes.
    EXPECT_EQ(format_config(back), "f*n*1024*768*");
    // A fifth field cut short or of another letter leaves the guide off.
    dir.write("Config.glf", "w*s*600*450*g");
    back.aimGuideOn = true;
    read_config_file(dir.file("Config.glf"), back);
    EXPECT_FALSE(back.aimGuideOn);
    EXPECT_EQ(back.windowWidth, 600);
    dir.write("Config.glf", "w*s*600*450*x*");
    read_config_file(dir.file("Config.glf"), back);
    EXPECT_FALSE(back.aimGuideOn);
}

TEST(Config, UiScaleIsAnOptionalFieldThatOlderFilesDoWithout)
{
    ScratchDir dir;
    // An older file, with and without the guide's field: Auto.
    for (const char* older : {"w*s*800*600*", "w*s*800*600*g*"}) {
        dir.write("Config.glf", older);
        WindowState state = defaults();
        state.uiScale = UiScale::Percent150;
        read_config_file(dir.file("Config.glf"), state);
        EXPECT_EQ(state.uiScale, UiScale::Auto) << older;
        EXPECT_EQ(state.windowWidth, 800) << older;
        EXPECT_EQ(format_config(state), older);
    }
    // Written with each setting, the file reads back to it, the guide's field first.
    for (UiScale s : {UiScale::Percent100, UiScale::Percent150, UiScale::Percent200, UiScale::Auto}) {
        for (bool guide : {false, true}) {
            WindowState state = defaults();
            state.uiScale = s;
            state.aimGuideOn = guide;
            std::string error;
            ASSERT_TRUE(write_config_file(dir.file("Config.glf"), state, &error)) << error;
            WindowState back = defaults();
            read_config_file(dir.file("Config.glf"), back);
            EXPECT_EQ(back.uiScale, s) << dir.read("Config.glf");
            EXPECT_EQ(back.aimGuideOn, guide) << dir.read("Config.glf");
        }
    }
    WindowState state = defaults();
    state.uiScale = UiScale::Percent150;
    state.aimGuideOn = true;
    EXPECT_EQ(format_config(state), "w*s*600*450*g*u150*");
    state.aimGuideOn = false;
    EXPECT_EQ(format_config(state), "w*s*600*450*u150*");
}

TEST(Config, StrangeOrOverlongOptionalFieldsAreIgnored)
{
    ScratchDir dir;
    const std::string odd[] = {"w*s*600*450*u175*", "w*s*600*450*" + std::string(5000, 'u') + "*",
                               "w*s*600*450*u200", "w*s*600*450*x*y*z*q*u200*"};
    for (const std::string& text : odd) {
        dir.write("Config.glf", text);
        WindowState state = defaults();
        read_config_file(dir.file("Config.glf"), state);
        EXPECT_EQ(state.uiScale, UiScale::Auto) << text.substr(0, 40);
        EXPECT_EQ(state.windowWidth, 600);
    }
    // An overlong field is passed over whole; the field after it still counts.
    dir.write("Config.glf", "w*s*600*450*" + std::string(5000, 'u') + "*u200*");
    WindowState after = defaults();
    read_config_file(dir.file("Config.glf"), after);
    EXPECT_EQ(after.uiScale, UiScale::Percent200);
    // A file of someone else's with the two optional fields in the other order still reads.
    dir.write("Config.glf", "w*s*600*450*u200*g*");
    WindowState state = defaults();
    read_config_file(dir.file("Config.glf"), state);
    EXPECT_EQ(state.uiScale, UiScale::Percent200);
    EXPECT_TRUE(state.aimGuideOn);
}
