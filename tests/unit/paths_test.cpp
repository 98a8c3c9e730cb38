// Where the game finds its data and keeps the user's files.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/file_list.h"
#include "platform/paths.h"
#include "platform/unpack_dir.h"
#include "platform/user_files.h"
#include "tests/unit/test_files.h"

namespace {

// A folder that holds the game's data, as the lookup recognises it.
void make_data_dir(const ScratchDir& dir, const std::string& name)
{
    std::filesystem::create_directories(dir.path() / name / "fonts");
    dir.write(name + "/fonts/default.txf", "font");
}

int mode_of(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 0777) : -1;
}

}  // namespace

TEST(DataLookup, FirstPlaceHoldingTheDataWinsInOrder)
{
    ScratchDir dir;
    for (const char* name : {"option", "env", "prefix/games", "prefix/share/games/minigolf", "compiled"})
        make_data_dir(dir, name);
    DataDirInputs in;
    in.commandLine = "option";   // relative: made absolute against the working directory
    in.environment = dir.file("env");
    in.programDir = dir.file("prefix/games");
    in.relativeDataDir = "../share/games/minigolf";
    in.compiledDir = dir.file("compiled");
    in.workingDir = dir.path().string();

    DataDirResult found = find_data_dir(in);
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.dir, dir.file("option"));
    EXPECT_FALSE(found.portable);

    in.commandLine.clear();
    EXPECT_EQ(find_data_dir(in).dir, dir.file("env"));
    in.environment.clear();
    // Without the marker the program's own folder is not a data folder.
    EXPECT_EQ(find_data_dir(in).dir, dir.file("prefix/share/games/minigolf"));
    dir.write("prefix/games/portable-mode", "");
    found = find_data_dir(in);
    EXPECT_EQ(found.dir, dir.file("prefix/games"));
    EXPECT_TRUE(found.portable);
    std::filesystem::remove(dir.file("prefix/games/portable-mode"));
    std::filesystem::remove_all(dir.file("prefix/share"));
    EXPECT_EQ(find_data_dir(in).dir, dir.file("compiled"));
}

TEST(DataLookup, NothingFoundListsEveryPlaceTried)
{
    ScratchDir dir;
    std::filesystem::create_directories(dir.path() / "empty");   // a folder without the data
    DataDirInputs in;
    in.commandLine = dir.file("empty");
    in.environment = dir.file("missing");
    in.programDir = dir.file("bin");
    in.relativeDataDir = "../data";
    in.compiledDir = "/nonexistent/minigolf";
    const DataDirResult found = find_data_dir(in);
    EXPECT_FALSE(found.found);
    ASSERT_EQ(found.tried.size(), 4u);
    const std::string message = data_dir_failure_message(found);
    for (const std::string& place : {dir.file("empty"), dir.file("missing"), dir.file("data"), std::string("/nonexistent/minigolf")})
        EXPECT_NE(message.find(place), std::string::npos) << place << " missing from:\n" << message;
    EXPECT_NE(message.find("--data-dir"), std::string::npos);
}

TEST(DataLookup, AbsolutePathsAreTidied)
{
    EXPECT_EQ(absolute_path("share/../data/./x/", "/usr/games"), "/usr/games/data/x");
    EXPECT_EQ(absolute_path("/a//b/", "/ignored"), "/a/b");
    EXPECT_EQ(absolute_path("../../..", "/a"), "/");
}

TEST(XdgFolders, UnsetEmptyAndRelativeValuesMeanTheDefault)
{
    EXPECT_EQ(xdg_base_dir(nullptr, "/home/ann", ".config"), "/home/ann/.config");
    EXPECT_EQ(xdg_base_dir("", "/home/ann", ".config"), "/home/ann/.config");
    EXPECT_EQ(xdg_base_dir("relative/conf", "/home/ann", ".config"), "/home/ann/.config");
    EXPECT_EQ(xdg_base_dir("/srv/conf/", "/home/ann", ".config"), "/srv/conf");

    const GamePaths paths = xdg_game_paths("", "data", "/home/ann");
    EXPECT_FALSE(paths.portable);
    EXPECT_EQ(paths.configDir, "/home/ann/.config/minigolf");
    EXPECT_EQ(paths.userDataDir, "/home/ann/.local/share/minigolf");
    EXPECT_EQ(xdg_game_paths("/c", "/d", "/home/ann").userDataDir, "/d/minigolf");
}

TEST(XdgFolders, FoldersAreMadePrivate)
{
    ScratchDir dir;
    const std::string deep = dir.file("home/.local/share/minigolf");
    ASSERT_TRUE(make_private_dirs(deep));
    EXPECT_EQ(mode_of(deep), 0700);
    EXPECT_EQ(mode_of(dir.file("home/.local")), 0700);
    EXPECT_TRUE(make_private_dirs(deep));   // already there
    dir.write("file", "x");
    EXPECT_FALSE(make_private_dirs(dir.file("file/below")));
}

TEST(XdgFolders, UserFilesGoToTheirFoldersUnlessPortable)
{
    GamePaths paths = xdg_game_paths("/c", "/d", "/home/ann");
    paths.dataDir = "/usr/share/games/minigolf";
    EXPECT_EQ(config_file(paths, "Config.glf"), "/c/minigolf/Config.glf");
    EXPECT_EQ(user_data_file(paths, "leader_board9.lbh"), "/d/minigolf/leader_board9.lbh");
    EXPECT_EQ(user_data_dir(paths), "/d/minigolf");
    EXPECT_EQ(data_file(paths, "textures/grass.bmp"), "/usr/share/games/minigolf/textures/grass.bmp");
    EXPECT_EQ(bundled_courses_dir(paths), "/usr/share/games/minigolf/courses");
    paths.portable = true;
    EXPECT_EQ(config_file(paths, "Config.glf"), "Config.glf");
    EXPECT_EQ(user_data_file(paths, "holes"), "holes");
    EXPECT_EQ(user_data_dir(paths), "");
    EXPECT_EQ(bundled_courses_dir(paths), "");
}

TEST(CourseList, UserCoursesAndBundledOnesAreListedTogetherTheUsersCopyWinning)
{
    ScratchDir dir;
    std::filesystem::create_directories(dir.path() / "user");
    std::filesystem::create_directories(dir.path() / "bundled");
    dir.write("user/mine.cor", "u");
    dir.write("user/beginners.cor", "u");
    dir.write("user/notes.txt", "u");
    dir.write("bundled/beginners.cor", "b");
    dir.write("bundled/championship.COR", "b");
    const auto files = merged_file_list({dir.file("user"), dir.file("bundled"), dir.file("missing")}, ".cor");
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].name, "beginners.cor");
    EXPECT_EQ(files[0].dir, dir.file("user"));
    EXPECT_EQ(files[1].name, "championship.COR");
    EXPECT_EQ(files[1].dir, dir.file("bundled"));
    EXPECT_EQ(files[2].name, "mine.cor");
    EXPECT_EQ(folder_of_listed(files, "championship.COR"), dir.file("bundled"));
    EXPECT_EQ(folder_of_listed(files, "other.cor"), "");
}

TEST(FirstStartCopy, OlderFilesAreCopiedOnceAndNeverOverwritten)
{
    ScratchDir dir;
    dir.write("Config.glf", "w*s*800*600*");
    dir.write("leader_board9.lbh", "Ann*30*");
    dir.write("other.lbh", "not ours");
    std::filesystem::create_directories(dir.path() / "holes");
    dir.write("holes/loop.top", "hole");
    const GamePaths to = xdg_game_paths(dir.file("conf").c_str(), dir.file("data").c_str(), dir.file("home"));

    const CopyReport first = copy_working_directory_files(dir.path().string(), to);
    EXPECT_TRUE(first.ran);
    EXPECT_EQ(first.copied.size(), 3u);
    EXPECT_TRUE(first.failed.empty());
    EXPECT_EQ(dir.read("conf/minigolf/Config.glf"), "w*s*800*600*");
    EXPECT_EQ(dir.read("data/minigolf/leader_board9.lbh"), "Ann*30*");
    EXPECT_EQ(dir.read("data/minigolf/holes/loop.top"), "hole");
    EXPECT_FALSE(std::filesystem::exists(dir.file("data/minigolf/other.lbh")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("Config.glf")));   // copied, not moved
    EXPECT_NE(copy_report_message(first, to).find("3 files"), std::string::npos);

    // The second start changes nothing, even when the working directory has changed since.
    dir.write("Config.glf", "f*n*1024*768*");
    dir.write("leader_board18.lbh", "Bo*70*");
    const CopyReport second = copy_working_directory_files(dir.path().string(), to);
    EXPECT_FALSE(second.ran);
    EXPECT_TRUE(second.copied.empty());
    EXPECT_EQ(copy_report_message(second, to), "");
    EXPECT_EQ(dir.read("conf/minigolf/Config.glf"), "w*s*800*600*");
    EXPECT_FALSE(std::filesystem::exists(dir.file("data/minigolf/leader_board18.lbh")));
}

TEST(FirstStartCopy, AFileAlreadyInPlaceIsKept)
{
    ScratchDir dir;
    dir.write("Config.glf", "f*n*1024*768*");
    const GamePaths to = xdg_game_paths(dir.file("conf").c_str(), dir.file("data").c_str(), dir.file("home"));
    ASSERT_TRUE(make_private_dirs(to.configDir));
    dir.write("conf/minigolf/Config.glf", "w*s*600*450*");
    const CopyReport report = copy_working_directory_files(dir.path().string(), to);
    EXPECT_TRUE(report.copied.empty());
    EXPECT_EQ(dir.read("conf/minigolf/Config.glf"), "w*s*600*450*");
}

TEST(UnpackFolder, EachRunGetsItsOwnPrivateFolderRemovedWithItsContents)
{
    ScratchDir dir;
    EXPECT_EQ(unpack_base_dir(dir.path().c_str(), "/tmp"), dir.path().string());
    EXPECT_EQ(unpack_base_dir("relative", dir.path().c_str()), dir.path().string());
    EXPECT_EQ(unpack_base_dir(dir.file("missing").c_str(), nullptr), "/tmp");

    const std::string a = make_unpack_dir(dir.path().string());
    const std::string b = make_unpack_dir(dir.path().string());
    ASSERT_FALSE(a.empty());
    ASSERT_FALSE(b.empty());
    EXPECT_NE(a, b);
    EXPECT_EQ(mode_of(a), 0700);
    std::filesystem::create_directories(a + "/temp");
    dir.write(a.substr(dir.path().string().size() + 1) + "/temp/hole1.top", "x");
    dir.write("outside.txt", "keep");
    std::filesystem::create_symlink(dir.file("outside.txt"), a + "/temp/link");
    remove_unpack_dir(a);
    EXPECT_FALSE(std::filesystem::exists(a));
    EXPECT_TRUE(std::filesystem::exists(b));
    EXPECT_EQ(dir.read("outside.txt"), "keep");   // a link is removed, not followed
}
