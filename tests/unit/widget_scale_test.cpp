#include <gtest/gtest.h>

#include "platform/step_choice.h"
#include "platform/widget_scale.h"

TEST(WidgetScale, AutoKeepsTheTextsShareOfTheWindowAndNeverShrinks)
{
    EXPECT_DOUBLE_EQ(ui_scale_factor(600, 450, UiScale::Auto), 1.0);
    // 1920 x 1080: the height limits, so the text is as tall against the window as at 450.
    EXPECT_DOUBLE_EQ(ui_scale_factor(1920, 1080, UiScale::Auto), 2.4);
    EXPECT_DOUBLE_EQ(ui_scale_factor(1200, 900, UiScale::Auto), 2.0);
    // A tall narrow window is limited by its width.
    EXPECT_DOUBLE_EQ(ui_scale_factor(900, 1600, UiScale::Auto), 1.5);
    // Smaller than the design size, or nonsense sizes: the design size's own factor.
    EXPECT_DOUBLE_EQ(ui_scale_factor(400, 300, UiScale::Auto), 1.0);
    EXPECT_DOUBLE_EQ(ui_scale_factor(0, 0, UiScale::Auto), 1.0);
    EXPECT_DOUBLE_EQ(ui_scale_factor(-5, 1080, UiScale::Percent200), 1.0);
}

TEST(WidgetScale, FixedSettingsAskForTheirFactorButTheLayoutAlwaysFits)
{
    EXPECT_DOUBLE_EQ(ui_scale_factor(1920, 1080, UiScale::Percent100), 1.0);
    EXPECT_DOUBLE_EQ(ui_scale_factor(1920, 1080, UiScale::Percent150), 1.5);
    EXPECT_DOUBLE_EQ(ui_scale_factor(1920, 1080, UiScale::Percent200), 2.0);
    // 200 % in a 1024 x 768 window would push the 600 x 450 layout past its edges.
    const double f = ui_scale_factor(1024, 768, UiScale::Percent200);
    EXPECT_LT(f, 2.0);
    const UiSize units = ui_size(1024, 768, f);
    EXPECT_GE(units.width, UI_DESIGN_WIDTH);
    EXPECT_GE(units.height, UI_DESIGN_HEIGHT);
    // Every setting at every size leaves at least the design size in widget units.
    for (UiScale s : {UiScale::Auto, UiScale::Percent100, UiScale::Percent150, UiScale::Percent200})
        for (int w : {600, 640, 800, 1023, 1280, 1366, 1920, 2560, 3840})
            for (int h : {450, 480, 600, 767, 1024, 1080, 1440, 2160}) {
                const UiSize u = ui_size(w, h, ui_scale_factor(w, h, s));
                EXPECT_GE(u.width, UI_DESIGN_WIDTH) << w << "x" << h;
                EXPECT_GE(u.height, UI_DESIGN_HEIGHT) << w << "x" << h;
            }
}

TEST(WidgetScale, PixelsAndUnitsMapBothWaysAndRectanglesLandInsideTheWindow)
{
    const double f = 2.4;
    EXPECT_EQ(ui_size(1920, 1080, f).width, 800);
    EXPECT_EQ(ui_size(1920, 1080, f).height, 450);
    EXPECT_EQ(pixels_to_ui(0, f), 0);
    EXPECT_EQ(pixels_to_ui(1919, f), 799);
    EXPECT_EQ(ui_to_pixels(400, f), 960);
    // A pixel inside a widget's scaled rectangle maps back inside the widget.
    const UiRect putt = {700, 400, 90, 40};
    const UiRect onScreen = ui_rect_to_pixels(putt, f);
    EXPECT_EQ(onScreen.x, 1680);
    EXPECT_EQ(onScreen.width, 216);
    EXPECT_LE(onScreen.x + onScreen.width, 1920);
    for (int px = onScreen.x; px < onScreen.x + onScreen.width; ++px) {
        const int u = pixels_to_ui(px, f);
        EXPECT_TRUE(u >= putt.x && u <= putt.x + putt.width) << px;
    }
    // No factor below 1 ever shrinks the widgets.
    EXPECT_EQ(pixels_to_ui(300, 0.5), 300);
    EXPECT_EQ(ui_to_pixels(300, 0.0), 300);
}

TEST(WidgetScale, TheMenuCyclesThroughEverySettingAndEachHasItsOwnField)
{
    UiScale s = UiScale::Auto;
    const char* labels[4] = {};
    for (int k = 0; k < 4; ++k) {
        labels[k] = ui_scale_label(s);
        UiScale back = UiScale::Percent150;
        ASSERT_TRUE(parse_ui_scale_field(ui_scale_field(s), back));
        EXPECT_EQ(back, s);
        s = next_ui_scale(s);
    }
    EXPECT_EQ(s, UiScale::Auto);
    EXPECT_STREQ(labels[0], "UI Scale: Auto");
    EXPECT_STREQ(labels[1], "UI Scale: 100 %");
    EXPECT_STREQ(labels[2], "UI Scale: 150 %");
    EXPECT_STREQ(labels[3], "UI Scale: 200 %");
    for (const char* bad : {"", "u", "u99", "u1000", "U150", "u150x", "g"}) {
        UiScale left = UiScale::Percent200;
        EXPECT_FALSE(parse_ui_scale_field(bad, left)) << bad;
        EXPECT_EQ(left, UiScale::Percent200);
    }
}

TEST(StepChoice, ArrowsStepThroughEveryEntryAndStopAtTheEnds)
{
    // Eleven ball colours: from the first, ten presses of "next" reach each once.
    int item = 0;
    for (int k = 1; k <= 10; ++k) {
        item = stepped_choice(item, 11, +1);
        EXPECT_EQ(item, k);
    }
    EXPECT_EQ(stepped_choice(10, 11, +1), 10) << "the last entry stays";
    EXPECT_EQ(stepped_choice(0, 11, -1), 0) << "the first entry stays";
    EXPECT_EQ(stepped_choice(3, 11, -1), 2);
    // A single entry, an empty list, and a current entry from elsewhere.
    EXPECT_EQ(stepped_choice(0, 1, +1), 0);
    EXPECT_EQ(stepped_choice(0, 0, +1), -1);
    EXPECT_EQ(stepped_choice(-1, 5, +1), 1);
    EXPECT_EQ(stepped_choice(99, 5, -1), 3);
    EXPECT_EQ(stepped_choice(2147483647, 5, +1), 4);
}
