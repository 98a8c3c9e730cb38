// minigolf-bench idle: how much processor the real game takes while nothing happens, and how
// evenly its frames come. Each game program named runs in its own scratch folder on $DISPLAY
// with a 600 x 450 window and sound off; a preloaded probe records every buffer swap. Two
// phases are measured for --seconds each: the idle start screen, then the editor showing a
// hole of the bundled beginners course (reached with xdotool through File > Open, as a player
// would). A third phase resumes a saved round of that course in which an Expert and a Club
// computer player take their turns: thinking, aiming and rolling. One line per game and phase:
//   idle GAME PHASE cpu_percent=C period_p50_ms=M period_p95_ms=P frames=N
// cpu_percent is of one core. Several --game options compare programs in one run, e.g. a build
// of an older commit against this one:
//   Xvfb :57 -screen 0 1280x1024x24 &
//   DISPLAY=:57 build/run/minigolf-bench idle --game old/run/minigolf --game build/run/minigolf
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "hole/course_archive.h"
#include "hole/round_file.h"
#include "platform/window_class.h"
#include "tools/bench/bench_commands.h"

namespace fs = std::filesystem;

namespace {

constexpr int WIDTH = 600, HEIGHT = 450;

void sleep_s(double s) { std::this_thread::sleep_for(std::chrono::duration<double>(s)); }

std::string run_output(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        pclose(pipe);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

// User plus system time of a process, in seconds, from /proc.
double cpu_seconds(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');
    if (close == std::string::npos) return 0;
    // Fields after the command name: state is field 3; utime and stime are fields 14 and 15.
    std::vector<std::string> fields;
    size_t at = close + 2;
    while (at < text.size() && fields.size() < 13) {
        size_t end = text.find(' ', at);
        if (end == std::string::npos) end = text.size();
        fields.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    if (fields.size() < 13) return 0;
    const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
    return (std::atof(fields[11].c_str()) + std::atof(fields[12].c_str())) / ticks;
}

std::vector<uint64_t> read_swaps(const std::string& path)
{
    std::vector<uint64_t> swaps;
    std::ifstream in(path, std::ios::binary);
    uint64_t ns;
    while (in.read(reinterpret_cast<char*>(&ns), sizeof ns)) swaps.push_back(ns);
    return swaps;
}

uint64_t monotonic_ns()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
}

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t index = static_cast<size_t>(fraction * (values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

struct Game {
    pid_t pid = -1;
    fs::path dir;
    std::string window;   // X window id
};

// Measures one phase: processor time and swap periods over seconds.
void measure(const Game& game, const std::string& label, const std::string& phase, double seconds)
{
    const std::string log = (game.dir / "swaps").string();
    const uint64_t from = monotonic_ns();
    const double cpu0 = cpu_seconds(game.pid);
    const auto wall0 = std::chrono::steady_clock::now();
    sleep_s(seconds);
    const double cpu1 = cpu_seconds(game.pid);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
    const uint64_t to = monotonic_ns();
    std::vector<double> periods;
    uint64_t last = 0;
    for (uint64_t ns : read_swaps(log)) {
        if (ns < from || ns > to) continue;
        if (last) periods.push_back((ns - last) / 1e6);
        last = ns;
    }
    std::printf("idle %s %s cpu_percent=%.1f period_p50_ms=%.2f period_p95_ms=%.2f frames=%zu\n", label.c_str(),
                phase.c_str(), 100.0 * (cpu1 - cpu0) / wall, percentile(periods, 0.5), percentile(periods, 0.95),
                periods.size() + (last ? 1 : 0));
    std::fflush(stdout);
}

std::string xdotool(const Game&, const std::string& args)
{
    return run_output("xdotool " + args + " 2>/dev/null");
}

void click(const Game& game, int x, int y)
{
    xdotool(game, "mousemove --window " + game.window + " " + std::to_string(x) + " " + std::to_string(y));
    sleep_s(0.2);
    xdotool(game, "click 1");
    sleep_s(0.4);
}

bool wait_title(const Game& game, const std::string& title, double seconds)
{
    for (double waited = 0; waited < seconds; waited += 0.1) {
        if (xdotool(game, "getwindowname " + game.window) == title) return true;
        sleep_s(0.1);
    }
    return false;
}

// A scratch folder for one run of the game: the data linked in, a 600 x 450 window.
bool make_game_folder(Game& game, const fs::path& data)
{
    char pattern[] = "/tmp/minigolf-bench-XXXXXX";
    if (!mkdtemp(pattern)) return false;
    game.dir = pattern;
    for (const char* sub : {"textures", "fonts", "sounds"}) fs::create_directory_symlink(data / sub, game.dir / sub);
    fs::create_directories(game.dir / "holes");
    fs::create_directories(game.dir / "courses");
    std::ofstream(game.dir / "Config.glf") << "w*n*" << WIDTH << "*" << HEIGHT << "*";
    return true;
}

// Starts program in the game's folder with the swap probe, its output in game.log.
void start_game(Game& game, const std::string& program, const fs::path& probe, const char* option)
{
    game.pid = fork();
    if (game.pid == 0) {
        if (chdir(game.dir.c_str()) != 0) _exit(127);
        const int quiet = open("game.log", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (quiet >= 0) {
            dup2(quiet, 1);
            dup2(quiet, 2);
        }
        setenv("LD_PRELOAD", probe.c_str(), 1);
        setenv("MG_SWAP_LOG", (game.dir / "swaps").c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        execl(program.c_str(), program.c_str(), option, static_cast<char*>(nullptr));
        _exit(127);
    }
}

void stop_game(Game& game)
{
    kill(game.pid, SIGTERM);
    for (int tries = 0; tries < 50 && waitpid(game.pid, nullptr, WNOHANG) == 0; ++tries) sleep_s(0.1);
    kill(game.pid, SIGKILL);
    waitpid(game.pid, nullptr, 0);
    if (!std::getenv("MG_KEEP_BENCH")) fs::remove_all(game.dir);
}

// The computer phase: a saved round of the course, on its first hole, with an Expert and a
// Club seat, resumed so that the computer players take their turns at once.
int run_computer_round(const std::string& program, const fs::path& data, const fs::path& probe,
                       const fs::path& course, int holeCount, double seconds)
{
    Game game;
    if (!make_game_folder(game, data)) return 1;
    std::ifstream in(course, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    RoundFile round;
    round.coursePath = course.string();
    round.courseHash = hash_bytes(bytes);
    round.holeCount = holeCount;
    round.roundSeed = 7;
    round.seats = {{"Expert", 1, Seat::Expert}, {"Club", 2, Seat::Club}};
    std::string error;
    if (!write_round_file((game.dir / ROUND_FILE_NAME).string(), round, &error)) {
        std::fprintf(stderr, "idle: %s\n", error.c_str());
        return 1;
    }
    start_game(game, program, probe, "--resume");
    for (int tries = 0; tries < 100 && game.window.empty(); ++tries) {
        sleep_s(0.1);
        const std::string ids = run_output(std::string("xdotool search --onlyvisible --class ") + WINDOW_CLASS + " 2>/dev/null");
        if (!ids.empty()) game.window = ids.substr(ids.rfind('\n') == std::string::npos ? 0 : ids.rfind('\n') + 1);
    }
    int status = 1;
    if (game.window.empty()) {
        std::fprintf(stderr, "idle: %s showed no window (see %s/game.log)\n", program.c_str(), game.dir.c_str());
    } else {
        sleep_s(1.0);
        measure(game, program, "computers(expert,club)", seconds);
        status = 0;
    }
    stop_game(game);
    return status;
}

int run_game(const std::string& program, const fs::path& data, const fs::path& probe, const std::string& hole,
             double seconds)
{
    Game game;
    if (!make_game_folder(game, data)) return 1;
    fs::copy_file(hole, game.dir / "holes" / fs::path(hole).filename());
    const std::string label = program;

    start_game(game, program, probe, nullptr);
    int status = 1;
    for (int tries = 0; tries < 100 && game.window.empty(); ++tries) {
        sleep_s(0.1);
        std::string ids = run_output("xdotool search --name '^No File Loaded.$' 2>/dev/null");
        // The newest window is ours; an older one could belong to another run.
        if (!ids.empty()) game.window = ids.substr(ids.rfind('\n') == std::string::npos ? 0 : ids.rfind('\n') + 1);
    }
    if (game.window.empty()) {
        std::fprintf(stderr, "idle: %s showed no window (see %s/game.log)\n", program.c_str(), game.dir.c_str());
    } else {
        sleep_s(2.0);
        measure(game, label, "start_screen", seconds);
        // The start question's "Start Hole Editor", then File > Open with the hole's name.
        click(game, WIDTH / 2 - 175 + 260, HEIGHT - (HEIGHT / 2 - 75 + 55));
        click(game, 20, 10);
        click(game, 30, 63);
        const std::string name = fs::path(hole).filename().string();
        xdotool(game, "type --delay 30 " + name);
        click(game, WIDTH / 2 - 250 + 340, HEIGHT - (HEIGHT / 2 - 160 + 22));   // "Open"
        if (wait_title(game, name, 5.0)) {
            sleep_s(2.0);
            measure(game, label, "hole(" + name + ")", seconds);
            status = 0;
        } else {
            std::fprintf(stderr, "idle: %s did not open %s\n", program.c_str(), name.c_str());
        }
    }
    stop_game(game);
    return status;
}

}  // namespace

int bench_idle(int argc, char** argv)
{
    std::vector<std::string> games;
    double seconds = 10;
    const fs::path own = fs::canonical("/proc/self/exe").parent_path();
    fs::path data = own;
    for (int k = 0; k < argc; ++k) {
        if (!std::strcmp(argv[k], "--game") && k + 1 < argc) games.push_back(fs::absolute(argv[++k]).string());
        else if (!std::strcmp(argv[k], "--seconds") && k + 1 < argc) seconds = std::max(1.0, std::atof(argv[++k]));
        else if (!std::strcmp(argv[k], "--data") && k + 1 < argc) data = fs::absolute(argv[++k]);
        else {
            std::fprintf(stderr, "idle: unknown option %s\n", argv[k]);
            return 2;
        }
    }
    if (games.empty()) games.push_back((own / "minigolf").string());
    const fs::path probe = own / "libmg_swap_probe.so";
    if (!std::getenv("DISPLAY") || !fs::exists(probe)) {
        std::fprintf(stderr, "idle: needs $DISPLAY and %s\n", probe.c_str());
        return 1;
    }
    // The idle hole: the first hole of the bundled beginners course, unpacked once.
    char pattern[] = "/tmp/minigolf-bench-course-XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    Course course;
    const CourseLoadResult loaded = load_course(course, (data / "courses" / "beginners.cor").string(), pattern);
    if (!loaded.ok) {
        std::fprintf(stderr, "idle: %s\n", loaded.message.c_str());
        return 1;
    }
    const std::string hole = course.holeFile[0];
    int status = 0;
    for (const std::string& game : games) {
        status |= run_game(game, data, probe, hole, seconds);
        status |= run_computer_round(game, data, probe, fs::canonical(data / "courses" / "beginners.cor"),
                                     course.holeCount, seconds);
    }
    fs::remove_all(pattern);
    return status;
}
