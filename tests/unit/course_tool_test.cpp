// minigolf-tool course pack / course info, run as the course designer runs them.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <sys/wait.h>

#include "hole/course_archive.h"
#include "hole/hole_file.h"
#include "tests/unit/course_test_util.h"
#include "tests/unit/tool_runner.h"

using namespace course_test;

namespace {

void write_hole(const std::string& path, bool withTee)
{
    auto grid = std::make_unique<HoleGrid>();
    clear_hole(*grid);
    grid->height_at(30, 30) = 1;
    grid->edges_at(30, 30) = EDGE_CUP;
    if (withTee) grid->tee = {0, 10 * 64 - 1536, 10 * 64 - 1536};
    ASSERT_TRUE(write_hole_file(*grid, path, nullptr));
}

}  // namespace

TEST(CourseTool, PackThenInfoListsHolesParsAndMusic)
{
    ScratchDir dir;
    write_hole(dir / "a.top", true);
    write_hole(dir / "b.top", false);
    write_text(dir / "b.mid", "MThd");
    std::string cor = dir / "two.cor";
    ToolRun pack = run_tool("course pack " + cor + " " + (dir / "a.top") + " " + (dir / "b.top") +
                            " --par 2 4 --music - " + (dir / "b.mid"));
    ASSERT_EQ(pack.status, 0) << pack.output;

    Course c;
    ASSERT_TRUE(load_course(c, cor).ok);
    EXPECT_EQ(c.holeCount, 2);
    EXPECT_EQ(c.parTable[1], 4);
    remove_course_files(c, true);

    ToolRun info = run_tool("course info " + cor);
    EXPECT_EQ(info.status, 0) << info.output;
    EXPECT_NE(info.output.find("holes 2"), std::string::npos) << info.output;
    EXPECT_NE(info.output.find("hole 1 par 2 file a.top music none"), std::string::npos) << info.output;
    EXPECT_NE(info.output.find("hole 2 par 4 file b.top music b.mid"), std::string::npos) << info.output;
    EXPECT_NE(info.output.find("warning hole 2: no tee"), std::string::npos) << info.output;
    EXPECT_EQ(info.output.find("warning hole 1"), std::string::npos) << info.output;
    // info unpacks elsewhere: nothing appears beside the course.
    EXPECT_EQ(listing(dir.path), (std::vector<std::string>{"a.top", "b.mid", "b.top", "two.cor"}));
}

TEST(CourseTool, RefusesBadArgumentsAndBrokenCourses)
{
    ScratchDir dir;
    write_hole(dir / "a.top", true);
    EXPECT_EQ(run_tool("course pack " + (dir / "x.cor") + " " + (dir / "a.top") + " --par 2 3").status, 2);
    EXPECT_EQ(run_tool("course pack " + (dir / "x.cor") + " " + (dir / "a.top") + " --par three").status, 2);
    EXPECT_EQ(run_tool("course pack " + (dir / "x.cor") + " " + (dir / "missing.top") + " --par 3").status, 1);
    EXPECT_FALSE(exists(dir / "x.cor"));

    ASSERT_TRUE(write_zip(dir / "gap.cor", {{"course_description_file.cdf", "2*3*a.top*NOMIDIFILEPRESENT*3*gone.top*x*"},
                                             {"a.top", read_file(dir / "a.top")}}));
    ToolRun info = run_tool("course info " + (dir / "gap.cor"));
    EXPECT_EQ(info.status, 1);
    EXPECT_NE(info.output.find("error hole 2"), std::string::npos) << info.output;
    ToolRun notCourse = run_tool("course info " + (dir / "a.top"));
    EXPECT_EQ(notCourse.status, 1);
    EXPECT_NE(notCourse.output.find("as a course archive"), std::string::npos) << notCourse.output;
}
