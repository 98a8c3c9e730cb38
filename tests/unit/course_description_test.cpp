// Reading course descriptions: N, then par, hole file and music file per hole.
#include <gtest/gtest.h>

#include <string>

#include "hole/course_archive.h"

TEST(CourseDescription, ReadsHolesParsAndMusicInOrder)
{
    CourseDescription d = parse_course_description("2*3*hole1.top*NOMIDIFILEPRESENT*4*hole2.top*music2.mid*");
    ASSERT_EQ(d.holes.size(), 2u);
    EXPECT_EQ(d.announced, 2);
    EXPECT_EQ(d.holes[0].par, 3);
    EXPECT_EQ(d.holes[0].holeName, "hole1.top");
    EXPECT_EQ(d.holes[0].musicName, NO_MUSIC);
    EXPECT_EQ(d.holes[1].par, 4);
    EXPECT_EQ(d.holes[1].holeName, "hole2.top");
    EXPECT_EQ(d.holes[1].musicName, "music2.mid");
    EXPECT_TRUE(d.notes.empty());
}

TEST(CourseDescription, NoMusicWordInAnyLetterCase)
{
    CourseDescription d = parse_course_description("1*2*h.top*nomidifilepresent*");
    ASSERT_EQ(d.holes.size(), 1u);
    EXPECT_EQ(d.holes[0].par, 2);
    EXPECT_EQ(d.holes[0].musicName, NO_MUSIC);
}

TEST(CourseDescription, NamesAreTakenUntrimmedNumbersSkipBlanks)
{
    // A line break after an asterisk stays in the next name; number fields skip it.
    CourseDescription d = parse_course_description("1*\n 5*\nh.top* NOMIDIFILEPRESENT*");
    ASSERT_EQ(d.holes.size(), 1u);
    EXPECT_EQ(d.holes[0].par, 5);
    EXPECT_EQ(d.holes[0].holeName, "\nh.top");
    EXPECT_EQ(d.holes[0].musicName, " NOMIDIFILEPRESENT");
}

TEST(CourseDescription, MoreThanEighteenHolesKeepsTheFirstEighteen)
{
    std::string text = "25*";
    for (int k = 1; k <= 25; ++k) text += std::to_string(k % 6) + "*h" + std::to_string(k) + ".top*NOMIDIFILEPRESENT*";
    CourseDescription d = parse_course_description(text);
    EXPECT_EQ(d.announced, 25);
    ASSERT_EQ(d.holes.size(), 18u);
    EXPECT_EQ(d.holes[17].holeName, "h18.top");
    EXPECT_FALSE(d.notes.empty());
}

TEST(CourseDescription, FewerFieldsThanAnnouncedKeepsTheCompleteHoles)
{
    CourseDescription d = parse_course_description("3*2*a.top*NOMIDIFILEPRESENT*3*b.top*");
    ASSERT_EQ(d.holes.size(), 1u);
    EXPECT_EQ(d.holes[0].holeName, "a.top");
    EXPECT_FALSE(d.notes.empty());

    // A last field cut short by the end of the file does not make a hole.
    EXPECT_TRUE(parse_course_description("1*2*a.top*NOMIDI").holes.empty());
    EXPECT_TRUE(parse_course_description("").holes.empty());
    EXPECT_TRUE(parse_course_description("-4*2*a.top*x*").holes.empty());
    EXPECT_TRUE(parse_course_description(std::string(100000, 'x')).holes.empty());
}

TEST(CourseDescription, NamesAreUsedAsBaseNamesOnly)
{
    CourseDescription d = parse_course_description("3*2*../../evil.top*..\\x\\tune.mid*3*/etc/passwd*..*4*..*/*");
    ASSERT_EQ(d.holes.size(), 3u);
    EXPECT_EQ(d.holes[0].holeName, "evil.top");
    EXPECT_EQ(d.holes[0].musicName, "tune.mid");
    EXPECT_EQ(d.holes[1].holeName, "passwd");
    EXPECT_EQ(d.holes[1].musicName, NO_MUSIC);   // ".." names no file
    EXPECT_EQ(d.holes[2].holeName, "");          // refused when the course is loaded
    EXPECT_EQ(d.holes[2].musicName, NO_MUSIC);
    EXPECT_GE(d.notes.size(), 5u);
}

TEST(CourseDescription, OverLongNamesAndParsAreBounded)
{
    std::string longName(5000, 'n');
    CourseDescription d = parse_course_description("1*100000000000*" + longName + "*" + longName + "*");
    ASSERT_EQ(d.holes.size(), 1u);
    EXPECT_EQ(d.holes[0].par, COURSE_MAX_PAR);
    EXPECT_EQ(d.holes[0].holeName, "");
    EXPECT_EQ(d.holes[0].musicName, NO_MUSIC);
}

TEST(CourseDescription, PackedDescriptionReadsBack)
{
    std::vector<CoursePackHole> holes = {{"/x/holes/a.top", 3, ""}, {"b.top", 5, "/m/b.mid"}};
    std::string text = format_course_description(holes);
    EXPECT_EQ(text, "2*3*a.top*NOMIDIFILEPRESENT*5*b.top*b.mid*");
    CourseDescription d = parse_course_description(text);
    ASSERT_EQ(d.holes.size(), 2u);
    EXPECT_EQ(d.holes[1].musicName, "b.mid");
}
