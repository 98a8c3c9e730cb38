// Unpacking course archives into "temp", removing the unpacked files, and refusing hostile
// archives without writing anything.
#include <gtest/gtest.h>

#include <ctime>
#include <memory>
#include <sys/stat.h>

#include "hole/course_archive.h"
#include "hole/hole_file.h"
#include "tests/unit/course_test_util.h"

using namespace course_test;

namespace {

std::string hole_text_with_tee(int teeI, int teeJ)
{
    auto grid = std::make_unique<HoleGrid>();
    clear_hole(*grid);
    grid->tee = {1, teeI * 64 - 1536, teeJ * 64 - 1536};
    return format_hole(*grid);
}

const std::string DESCRIPTION = "2*3*hole1.top*NOMIDIFILEPRESENT*4*hole2.top*music2.mid*";

std::vector<ZipEntry> two_hole_course()
{
    return {{"course/", ""},
            {"course/course_description_file.cdf", DESCRIPTION},
            {"course/hole1.top", hole_text_with_tee(24, 2)},
            {"course\\hole2.top", hole_text_with_tee(3, 4)},
            {"music2.mid", "MThd-not-really"}};
}

// The course record after a refused load must be what it was before.
void expect_untouched(const Course& c)
{
    EXPECT_EQ(c.holeCount, 0);
    EXPECT_EQ(c.courseDir[0], '\0');
}

}  // namespace

TEST(CourseArchive, UnpacksBaseNamesIntoTempBesideTheCourse)
{
    ScratchDir dir;
    ASSERT_TRUE(write_zip(dir / "easy.cor", two_hole_course()));
    Course c;
    CourseLoadResult r = load_course(c, dir / "easy.cor");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(c.holeCount, 2);
    EXPECT_EQ(c.parTable[0], 3);
    EXPECT_EQ(c.parTable[1], 4);
    EXPECT_EQ(std::string(c.courseDir), dir.path);
    EXPECT_EQ(std::string(c.holeFile[0]), dir / "temp/hole1.top");
    EXPECT_EQ(std::string(c.holeFile[1]), dir / "temp/hole2.top");
    EXPECT_EQ(std::string(c.musicFile[0]), NO_MUSIC);
    EXPECT_EQ(std::string(c.musicFile[1]), dir / "temp/music2.mid");
    EXPECT_EQ(std::string(c.descriptionPath), dir / "temp/course_description_file.cdf");
    // Only files, directly in temp: no "course" directory is made.
    EXPECT_EQ(listing(dir.path), (std::vector<std::string>{"easy.cor", "temp", "temp/course_description_file.cdf",
                                                           "temp/hole1.top", "temp/hole2.top", "temp/music2.mid"}));
    EXPECT_EQ(read_file(dir / "temp/hole1.top"), hole_text_with_tee(24, 2));

    // The stored date becomes the file's modification time (a local time).
    struct stat st;
    ASSERT_EQ(stat((dir / "temp/hole1.top").c_str(), &st), 0);
    std::tm local = {};
    localtime_r(&st.st_mtime, &local);
    EXPECT_EQ(local.tm_year + 1900, 2001);
    EXPECT_EQ(local.tm_mon, 1);
    EXPECT_EQ(local.tm_mday, 3);
    EXPECT_EQ(local.tm_hour, 4);
    EXPECT_EQ(local.tm_min, 5);

    auto grid = std::make_unique<HoleGrid>();
    std::string error;
    ASSERT_TRUE(read_course_hole(c, 2, *grid, &error)) << error;
    EXPECT_EQ(grid->tee.x, 3 * 64 - 1536);
    EXPECT_EQ(grid->teeState, TeeState::Waiting);
    EXPECT_FALSE(read_course_hole(c, 3, *grid, &error));
    EXPECT_FALSE(read_course_hole(c, 0, *grid, &error));
}

TEST(CourseArchive, ExistingTempIsReusedAndSameNamesReplaced)
{
    ScratchDir dir;
    std::filesystem::create_directory(dir / "temp");
    write_text(dir / "temp/hole1.top", "old");
    write_text(dir / "temp/keep.txt", "mine");
    ASSERT_TRUE(write_zip(dir / "easy.cor", two_hole_course()));
    Course c;
    ASSERT_TRUE(load_course(c, dir / "easy.cor").ok);
    EXPECT_EQ(read_file(dir / "temp/hole1.top"), hole_text_with_tee(24, 2));
    EXPECT_EQ(read_file(dir / "temp/keep.txt"), "mine");
}

TEST(CourseArchive, RemovingDeletesListedFilesAndAnEmptyTemp)
{
    ScratchDir dir;
    ASSERT_TRUE(write_zip(dir / "easy.cor", two_hole_course()));
    Course c;
    ASSERT_TRUE(load_course(c, dir / "easy.cor").ok);
    remove_course_files(c, false);
    EXPECT_EQ(listing(dir.path), (std::vector<std::string>{"easy.cor", "temp"}));
    ASSERT_TRUE(load_course(c, dir / "easy.cor").ok);
    remove_course_files(c, true);
    EXPECT_EQ(listing(dir.path), (std::vector<std::string>{"easy.cor"}));
    remove_course_files(c, true);   // already gone: silent
}

TEST(CourseArchive, UnlistedFilesStayAndSoDoesTemp)
{
    ScratchDir dir;
    std::vector<ZipEntry> entries = two_hole_course();
    entries.push_back({"readme.txt", "extra"});
    ASSERT_TRUE(write_zip(dir / "easy.cor", entries));
    Course c;
    ASSERT_TRUE(load_course(c, dir / "easy.cor").ok);
    remove_course_files(c, true);
    EXPECT_EQ(listing(dir.path), (std::vector<std::string>{"easy.cor", "temp", "temp/readme.txt"}));
}

TEST(CourseArchive, DescriptionNamesOutsideTempReachNothingOutside)
{
    ScratchDir dir;
    std::filesystem::create_directory(dir / "courses");
    write_text(dir / "courses/victim.top", hole_text_with_tee(1, 1));   // beside temp
    write_text(dir / "victim.mid", "precious");                         // two levels up
    std::vector<ZipEntry> entries = {
        {"course_description_file.cdf", "2*3*../victim.top*../../victim.mid*2*..\\..\\own.top*NOMIDIFILEPRESENT*"},
        {"../own.top", hole_text_with_tee(5, 5)},
        {"..", "dots"},
    };
    ASSERT_TRUE(write_zip(dir / "courses/evil.cor", entries));
    Course c;
    CourseLoadResult r = load_course(c, dir / "courses/evil.cor");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_FALSE(r.notes.empty());
    EXPECT_EQ(std::string(c.holeFile[0]), dir / "courses/temp/victim.top");
    EXPECT_EQ(std::string(c.musicFile[0]), dir / "courses/temp/victim.mid");
    EXPECT_EQ(std::string(c.holeFile[1]), dir / "courses/temp/own.top");
    // The entry "../own.top" landed inside temp; ".." was skipped.
    EXPECT_FALSE(exists(dir / "own.top"));
    EXPECT_FALSE(exists(dir / "courses/own.top"));

    // Hole 1's file is not in the archive: a clear message, not the file outside.
    auto grid = std::make_unique<HoleGrid>();
    clear_hole(*grid);
    std::string error;
    EXPECT_FALSE(read_course_hole(c, 1, *grid, &error));
    EXPECT_NE(error.find("hole 1"), std::string::npos);
    EXPECT_NE(error.find("missing"), std::string::npos);
    EXPECT_EQ(grid->tee.x, -1);
    ASSERT_TRUE(read_course_hole(c, 2, *grid, &error)) << error;

    remove_course_files(c, true);
    EXPECT_EQ(read_file(dir / "courses/victim.top"), hole_text_with_tee(1, 1));
    EXPECT_EQ(read_file(dir / "victim.mid"), "precious");
    EXPECT_FALSE(exists(dir / "courses/temp"));
}

TEST(CourseArchive, RemovingIgnoresPathsOutsideTempInTheRecord)
{
    ScratchDir dir;
    ASSERT_TRUE(write_zip(dir / "easy.cor", two_hole_course()));
    Course c;
    ASSERT_TRUE(load_course(c, dir / "easy.cor").ok);
    write_text(dir / "outside.top", "keep");
    std::snprintf(c.holeFile[0], COURSE_PATH_MAX, "%s", (dir / "temp/../outside.top").c_str());
    std::snprintf(c.musicFile[1], COURSE_PATH_MAX, "%s", (dir / "outside.top").c_str());
    std::snprintf(c.holeFile[1], COURSE_PATH_MAX, "%s", (dir / "temp/..").c_str());
    remove_course_files(c, true);
    EXPECT_EQ(read_file(dir / "outside.top"), "keep");
    EXPECT_TRUE(exists(dir / "temp/hole1.top"));
    EXPECT_TRUE(exists(dir.path));
}

TEST(CourseArchive, NamesDifferingOnlyInCaseFindTheirEntries)
{
    ScratchDir dir;
    ASSERT_TRUE(write_zip(dir / "c.cor", {{"Course_Description_File.CDF", "1*3*Hole1.TOP*NOMIDIFILEPRESENT*"},
                                           {"hole1.top", hole_text_with_tee(2, 2)}}));
    Course c;
    CourseLoadResult r = load_course(c, dir / "c.cor");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(std::string(c.holeFile[0]), dir / "temp/hole1.top");
    EXPECT_EQ(std::string(c.descriptionPath), dir / "temp/Course_Description_File.CDF");
}

TEST(CourseArchive, ZipExtensionIsTriedWhenThePathDoesNotOpen)
{
    ScratchDir dir;
    ASSERT_TRUE(write_zip(dir / "easy.zip", two_hole_course()));
    Course c;
    EXPECT_TRUE(load_course(c, dir / "easy").ok);
    EXPECT_EQ(c.holeCount, 2);
}

TEST(CourseArchive, RefusalsWriteNothingAndKeepTheCourse)
{
    ScratchDir dir;
    std::vector<ZipEntry> tooMany;
    tooMany.push_back({"course_description_file.cdf", DESCRIPTION});
    for (int k = 0; k < 1000; ++k) tooMany.push_back({"f" + std::to_string(k), "x"});
    ASSERT_TRUE(write_zip(dir / "many.cor", tooMany));

    std::vector<ZipEntry> bigEntry = two_hole_course();
    bigEntry.push_back({"huge.mid", "tiny", COURSE_MAX_ENTRY_BYTES + 1});

    std::vector<ZipEntry> bigTotal = two_hole_course();
    for (int k = 0; k < 9; ++k) bigTotal.push_back({"part" + std::to_string(k), "tiny", 30ull << 20});

    std::vector<ZipEntry> lying = two_hole_course();   // claims 4 bytes, holds more
    lying.push_back({"liar.mid", std::string(100000, 'x'), 4});

    ASSERT_TRUE(write_zip(dir / "big_entry.cor", bigEntry));
    ASSERT_TRUE(write_zip(dir / "big_total.cor", bigTotal));
    ASSERT_TRUE(write_zip(dir / "lying.cor", lying));
    ASSERT_TRUE(write_zip(dir / "no_description.cor", {{"hole1.top", hole_text_with_tee(1, 1)}}));
    ASSERT_TRUE(write_zip(dir / "no_holes.cor", {{"course_description_file.cdf", "0*"}}));
    ASSERT_TRUE(write_zip(dir / "bad_name.cor", {{"course_description_file.cdf", "1*3*..*NOMIDIFILEPRESENT*"}}));
    write_text(dir / "not_a_zip.cor", "2*3*hole1.top*");

    std::vector<std::string> before = listing(dir.path);
    for (const char* name : {"many.cor", "big_entry.cor", "big_total.cor", "lying.cor", "no_description.cor",
                             "no_holes.cor", "bad_name.cor", "not_a_zip.cor", "absent.cor"}) {
        SCOPED_TRACE(name);
        Course c;
        CourseLoadResult r = load_course(c, dir / name);
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.message.empty());
        expect_untouched(c);
        EXPECT_EQ(listing(dir.path), before);
    }
    Course c;
    EXPECT_NE(load_course(c, dir / "many.cor").message.find("1000"), std::string::npos);
    EXPECT_NE(load_course(c, dir / "big_entry.cor").message.find("32 MiB"), std::string::npos);
    EXPECT_NE(load_course(c, dir / "big_total.cor").message.find("256 MiB"), std::string::npos);
}

TEST(CourseArchive, AFailedLoadKeepsTheCourseLoadedBefore)
{
    ScratchDir dir;
    ASSERT_TRUE(write_zip(dir / "easy.cor", two_hole_course()));
    write_text(dir / "broken.cor", "not an archive");
    Course c;
    ASSERT_TRUE(load_course(c, dir / "easy.cor").ok);
    EXPECT_FALSE(load_course(c, dir / "broken.cor").ok);
    EXPECT_EQ(c.holeCount, 2);
    EXPECT_EQ(std::string(c.holeFile[0]), dir / "temp/hole1.top");
}

TEST(CourseArchive, PackedCourseLoadsBack)
{
    ScratchDir dir;
    std::filesystem::create_directory(dir / "src");
    write_text(dir / "src/a.top", hole_text_with_tee(10, 10));
    write_text(dir / "src/b.top", hole_text_with_tee(20, 20));
    write_text(dir / "src/tune.mid", "MThd");
    std::string error;
    ASSERT_TRUE(pack_course(dir / "two.cor", {{dir / "src/a.top", 2, ""}, {dir / "src/b.top", 5, dir / "src/tune.mid"}},
                            &error))
        << error;
    Course c;
    CourseLoadResult r = load_course(c, dir / "two.cor");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(c.holeCount, 2);
    EXPECT_EQ(c.parTable[1], 5);
    EXPECT_EQ(std::string(c.musicFile[0]), NO_MUSIC);
    EXPECT_EQ(read_file(c.musicFile[1]), "MThd");
    EXPECT_EQ(read_file(c.holeFile[0]), hole_text_with_tee(10, 10));
    EXPECT_TRUE(r.notes.empty());

    // The same file twice is stored once; two different files of one name are refused.
    EXPECT_TRUE(pack_course(dir / "same.cor", {{dir / "src/a.top", 2, ""}, {dir / "src/a.top", 3, ""}}, &error));
    std::filesystem::create_directory(dir / "other");
    write_text(dir / "other/a.top", hole_text_with_tee(1, 1));
    std::string old = read_file(dir / "two.cor");
    EXPECT_FALSE(pack_course(dir / "two.cor", {{dir / "src/a.top", 2, ""}, {dir / "other/a.top", 3, ""}}, &error));
    EXPECT_FALSE(pack_course(dir / "two.cor", {{dir / "src/missing.top", 2, ""}}, &error));
    EXPECT_FALSE(pack_course(dir / "two.cor", {}, &error));
    write_text(dir / "src/st*ar.top", "x");
    EXPECT_FALSE(pack_course(dir / "two.cor", {{dir / "src/st*ar.top", 2, ""}}, &error));
    EXPECT_EQ(read_file(dir / "two.cor"), old);   // refused packs leave the old archive alone
}
