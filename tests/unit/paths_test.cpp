// Where the game finds its data and keeps the user's files.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <csignal>
#include <set>

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


// The names in dir starting with "minigolf-".
std::set<std::string> unpack_folders(const ScratchDir& dir)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("minigolf-", 0) == 0) names.insert(name);
    }
    return names;
}

// Makes an unpack folder in base from a child process that then dies as SIGKILL ends a game:
// no exit path runs. Its name, or "" when none appeared.
std::string folder_of_killed_copy(const ScratchDir& dir)
{
    const std::set<std::string> before = unpack_folders(dir);
    const pid_t child = fork();
    if (child == 0) {
        const std::string made = make_unpack_dir(dir.path().string());
        if (!made.empty()) {
            std::filesystem::create_directories(made + "/temp");
            std::FILE* hole = std::fopen((made + "/temp/hole1.top").c_str(), "w");
            if (hole) std::fclose(hole);
        }
        raise(SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    for (const std::string& name : unpack_folders(dir))
        if (!before.count(name)) return name;
    return {};
}

void age_by_days(const std::string& path, int days)
{
    const time_t then = time(nullptr) - days * 24 * 60 * 60;
    const utimbuf times = {then, then};
    utime(path.c_str(), &times);
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

TEST(UnpackFolder, AStartRemovesFoldersOfKilledCopiesAndKeepsRunningOnes)
{
    ScratchDir dir;
    const std::string base = dir.path().string();
    const std::string killed = folder_of_killed_copy(dir);
    ASSERT_FALSE(killed.empty());
    ASSERT_TRUE(std::filesystem::exists(dir.file(killed + "/temp/hole1.top")));
    // This process runs on: its folder's lock is held even when it looks old.
    const std::string running = make_unpack_dir(base);
    ASSERT_FALSE(running.empty());
    age_by_days(running, 3);
    // Without a lock file: an older version's folder, or one a copy is making right now.
    std::filesystem::create_directory(dir.file("minigolf-0ldOne"));
    std::filesystem::permissions(dir.file("minigolf-0ldOne"), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
    age_by_days(dir.file("minigolf-0ldOne"), 2);
    std::filesystem::create_directory(dir.file("minigolf-n3wOne"));
    std::filesystem::permissions(dir.file("minigolf-n3wOne"), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);

    EXPECT_EQ(remove_stale_unpack_dirs(base), 2);
    EXPECT_FALSE(std::filesystem::exists(dir.file(killed)));
    EXPECT_FALSE(std::filesystem::exists(dir.file("minigolf-0ldOne")));
    EXPECT_TRUE(std::filesystem::exists(running));
    EXPECT_TRUE(std::filesystem::exists(dir.file("minigolf-n3wOne")));
    // Once this run removes its folder on the exit path, nothing is left to sweep.
    remove_unpack_dir(running);
    EXPECT_EQ(remove_stale_unpack_dirs(base), 0);
    EXPECT_EQ(unpack_folders(dir), std::set<std::string>{"minigolf-n3wOne"});
}

TEST(UnpackFolder, TheSweepFollowsNoLinkAndLeavesWhatIsNotOurs)
{
    ScratchDir dir;
    const std::string base = dir.path().string();
    // A folder elsewhere that looks like a killed copy's, reached through links of our names.
    std::filesystem::create_directories(dir.file("elsewhere/target"));
    const std::string lookalike = folder_of_killed_copy(dir);
    ASSERT_FALSE(lookalike.empty());
    std::filesystem::rename(dir.file(lookalike), dir.file("elsewhere/target/minigolf-aaaaaa"));
    std::filesystem::create_directory_symlink(dir.file("elsewhere/target/minigolf-aaaaaa"), dir.file("minigolf-L1nked"));
    // A killed copy's folder whose lock file was swapped for a link to someone's file, and
    // one whose inside holds a link out.
    dir.write("elsewhere/precious.txt", "keep");
    const std::string swapped = folder_of_killed_copy(dir);
    ASSERT_FALSE(swapped.empty());
    std::filesystem::remove(dir.file(swapped + "/owner.lock"));
    std::filesystem::create_symlink(dir.file("elsewhere/precious.txt"), dir.file(swapped + "/owner.lock"));
    const std::string linkOut = folder_of_killed_copy(dir);
    ASSERT_FALSE(linkOut.empty());
    std::filesystem::create_directory_symlink(dir.file("elsewhere"), dir.file(linkOut + "/temp/out"));
    // Names that are not ours, a plain file of our name, and a folder others may read.
    std::filesystem::create_directory(dir.file("minigolf-notours"));
    std::filesystem::create_directory(dir.file("minigolfXabcdef"));
    age_by_days(dir.file("minigolf-notours"), 5);
    age_by_days(dir.file("minigolfXabcdef"), 5);
    dir.write("minigolf-f1leAB", "a file");
    std::filesystem::create_directory(dir.file("minigolf-0pen00"));
    std::filesystem::permissions(dir.file("minigolf-0pen00"), std::filesystem::perms::owner_all |
                                 std::filesystem::perms::group_read | std::filesystem::perms::group_exec,
                                 std::filesystem::perm_options::replace);
    age_by_days(dir.file("minigolf-0pen00"), 5);

    EXPECT_EQ(remove_stale_unpack_dirs(base), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file(linkOut)));
    EXPECT_EQ(dir.read("elsewhere/precious.txt"), "keep");
    EXPECT_TRUE(std::filesystem::exists(dir.file("elsewhere/target/minigolf-aaaaaa/temp/hole1.top")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("minigolf-L1nked")));
    EXPECT_TRUE(std::filesystem::exists(dir.file(swapped)));
    for (const char* kept : {"minigolf-notours", "minigolfXabcdef", "minigolf-f1leAB", "minigolf-0pen00"})
        EXPECT_TRUE(std::filesystem::exists(dir.file(kept))) << kept;

    // Another user's folder is never removed, lock or none (root can hand one over to test it).
    const std::string foreign = folder_of_killed_copy(dir);
    ASSERT_FALSE(foreign.empty());
    if (geteuid() == 0 && chown(dir.file(foreign).c_str(), 65534, 65534) == 0) {
        EXPECT_EQ(remove_stale_unpack_dirs(base), 0);
        EXPECT_TRUE(std::filesystem::exists(dir.file(foreign)));
    }
}
