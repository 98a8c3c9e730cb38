// Saves that survive the game being killed or the disk filling: the real game binary saves
// a hole, its settings and a leader board in a loop (MG_SAVE_LOOP) and is killed with SIGKILL
// at random moments; every file must always be the old or the new version, never torn. With
// a file-size limit standing in for a full disk, each save fails with a message and the old
// file stays as it was.
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/config.h"
#include "app/save_loop.h"
#include "hole/hole_file.h"
#include "hole/leader_board.h"
#include "tests/e2e/harness.h"

namespace fs = std::filesystem;

namespace {

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

struct Versions {
    std::string hole[2], config[2], board[2];
};

Versions both_versions()
{
    Versions v;
    auto grid = std::make_unique<HoleGrid>();
    WindowState window;
    LeaderBoard board;
    for (int k = 0; k < 2; ++k) {
        save_loop_versions(k, *grid, window, board);
        v.hole[k] = format_hole(*grid);
        v.config[k] = format_config(window);
        v.board[k] = format_leader_board(board);
    }
    return v;
}

fs::path scratch_dir()
{
    char pattern[] = "/tmp/minigolf-crash-save-XXXXXX";
    return mkdtemp(pattern);
}

}  // namespace

TEST(CrashSafeSaves, KilledMidSaveLeavesOldOrNewNeverTorn)
{
    const Versions v = both_versions();
    ASSERT_NE(v.hole[0], v.hole[1]);
    const fs::path dir = scratch_dir();
    const unsigned seed = static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::printf("crash-save seed %u\n", seed);
    std::mt19937 random(seed);
    const std::string binary = (fs::path(MG_RUN_DIR) / "minigolf").string();
    int kills = 0;
    for (int round = 0; round < 40; ++round) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            setenv("MG_SAVE_LOOP", dir.c_str(), 1);
            setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
            execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        // The first rounds give the loop time to write every file once.
        const int ms = (round == 0 ? 1500 : 0) + std::uniform_int_distribution<int>(5, 120)(random);
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the save loop ended by itself (seed " << seed << ")";
        ++kills;
        const std::string hole = slurp(dir / "loop.top"), config = slurp(dir / CONFIG_FILE),
                          board = slurp(dir / leader_board_file_name(9));
        EXPECT_TRUE(hole == v.hole[0] || hole == v.hole[1]) << "round " << round << " seed " << seed << ": torn hole file of " << hole.size() << " bytes";
        EXPECT_TRUE(config == v.config[0] || config == v.config[1]) << "round " << round << ": settings " << config;
        EXPECT_TRUE(board == v.board[0] || board == v.board[1]) << "round " << round << ": leader board " << board;
        if (HasFailure()) break;
    }
    EXPECT_EQ(kills, 40);
    fs::remove_all(dir);
}

TEST(CrashSafeSaves, FullDiskFailsWithAMessageAndKeepsTheOldFile)
{
    const Versions v = both_versions();
    const fs::path dir = scratch_dir();
    std::ofstream(dir / "loop.top", std::ios::binary) << v.hole[0];
    std::ofstream(dir / CONFIG_FILE, std::ios::binary) << v.config[0];
    std::ofstream(dir / "board.lbh", std::ios::binary) << v.board[0];

    // In a child, so the limit binds nothing else: files may grow to 8 bytes at most, less
    // than any of the three; writing beyond fails with EFBIG rather than raising SIGXFSZ.
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {8, 8};
        setrlimit(RLIMIT_FSIZE, &limit);
        auto grid = std::make_unique<HoleGrid>();
        WindowState window;
        LeaderBoard board;
        save_loop_versions(1, *grid, window, board);
        std::string errors[3];
        const bool saved[3] = {write_hole_file(*grid, (dir / "loop.top").string(), &errors[0]),
                               write_config_file((dir / CONFIG_FILE).string(), window, &errors[1]),
                               write_leader_board_file(board, (dir / "board.lbh").string(), &errors[2])};
        // Each save must fail and say why; the exit status tells the parent which did not.
        int bad = 0;
        for (int k = 0; k < 3; ++k) {
            if (saved[k] || errors[k].find("cannot write") == std::string::npos) bad |= 1 << k;
            else std::fprintf(stderr, "full disk: %s\n", errors[k].c_str());
        }
        _exit(bad);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "saved or silent (bits): 1 hole, 2 settings, 4 leader board";
    EXPECT_EQ(slurp(dir / "loop.top"), v.hole[0]);
    EXPECT_EQ(slurp(dir / CONFIG_FILE), v.config[0]);
    EXPECT_EQ(slurp(dir / "board.lbh"), v.board[0]);
    // No temporary file is left behind.
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir)) files += entry.is_regular_file();
    EXPECT_EQ(files, 3);
    fs::remove_all(dir);
}
