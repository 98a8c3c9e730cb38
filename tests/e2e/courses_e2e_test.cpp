// The bundled courses as a player meets them: each loaded through the player dialog and the
// "Load Course File" chooser, showing its first hole.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"

namespace {

class CoursesTest : public DisplayTest {};

}  // namespace

TEST_F(CoursesTest, EachBundledCourseLoadsAndShowsItsFirstHole)
{
    for (const std::string course : {"beginners", "championship"}) {
        SCOPED_TRACE(course);
        GameSession game(*display);
        const std::string bundled = std::string(MG_RUN_DIR) + "/courses/" + course + ".cor";
        ASSERT_TRUE(std::filesystem::exists(bundled));
        std::filesystem::create_directories(game.dir() / "courses");
        std::filesystem::copy_file(bundled, game.dir() / "courses" / (course + ".cor"),
                                   std::filesystem::copy_options::overwrite_existing);
        ASSERT_TRUE(game.start()) << game.read_file("game.log");
        Point play = play_course_button(600, 450);
        game.click(play.x, play.y);
        game.click(150, 85);
        game.type("Tester");
        game.click(215, 355);   // "Ready To Play"
        game.type(course);
        Point confirm = chooser_confirm(600, 450);
        game.click(confirm.x, confirm.y);
        ASSERT_TRUE(game.wait_title(course + ".cor")) << game.title();
        game.settle(2.0);
        game.screenshot("courses_" + course + "_hole1");
        // The course is unpacked beside the copy, its first hole among the files.
        const std::string first = course == "beginners" ? "01_first_putt.top" : "01_opening_drive.top";
        EXPECT_TRUE(std::filesystem::exists(game.dir() / "courses" / "temp" / "course_description_file.cdf"));
        EXPECT_TRUE(std::filesystem::exists(game.dir() / "courses" / "temp" / first));
    }
}
