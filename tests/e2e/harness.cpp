#include "tests/e2e/harness.h"

#include <algorithm>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void sleep_seconds(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

// Starts argv in workDir with its output in logPath; passFd, when given, is the child's
// descriptor 3 (an X server's -displayfd).
pid_t spawn(const std::vector<std::string>& argv, const std::string& workDir, const std::string& logPath,
            const std::vector<std::string>& env, int passFd = -1)
{
    pid_t pid = fork();
    if (pid != 0) return pid;
    if (!workDir.empty() && chdir(workDir.c_str()) != 0) _exit(127);
    int out = open(logPath.empty() ? "/dev/null" : logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out >= 0) {
        dup2(out, 1);
        dup2(out, 2);
    }
    if (passFd == 3) fcntl(3, F_SETFD, 0);
    else if (passFd >= 0 && dup2(passFd, 3) != 3) _exit(127);
    for (const std::string& setting : env) putenv(const_cast<char*>(setting.c_str()));
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

}  // namespace

std::string run_command(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return output;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), n);
    pclose(pipe);
    return output;
}

fs::path artifact_dir()
{
    fs::path dir = MG_ARTIFACT_DIR;
    fs::create_directories(dir);
    return dir;
}

// Xorg's dummy driver with the five game modes as modelines and the screen as the first.
static std::string dummy_xorg_config(int width, int height)
{
    const std::string first = "\"" + std::to_string(width) + "x" + std::to_string(height) + "\"";
    return R"(Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 256000
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0 - 1000.0
    VertRefresh 5.0 - 200.0
    Modeline "1920x1080" 148.50 1920 2008 2052 2200 1080 1084 1089 1125 +hsync +vsync
    Modeline "1600x1200" 162.00 1600 1664 1856 2160 1200 1201 1204 1250 +hsync +vsync
    Modeline "1280x1024" 108.00 1280 1328 1440 1688 1024 1025 1028 1066 +hsync +vsync
    Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
    Modeline "800x600" 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync
    Modeline "640x480" 25.175 640 656 752 800 480 490 492 525 -hsync -vsync
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Modes )" + first + R"( "1600x1200" "1280x1024" "1024x768" "800x600" "640x480"
        Virtual )" + std::to_string(std::max(width, 1600)) + " " + std::to_string(std::max(height, 1200)) + R"(
    EndSubSection
EndSection
)";
}

// A file name of this process's own under /tmp: /tmp/<stem>XXXXXX<suffix>, made empty.
static std::string private_temp_file(const std::string& stem, const std::string& suffix)
{
    std::string pattern = "/tmp/" + stem + "XXXXXX" + suffix;
    const int fd = mkstemps(pattern.data(), static_cast<int>(suffix.size()));
    if (fd < 0) return {};
    close(fd);
    return pattern;
}

// The display number a server started with -displayfd writes once it takes connections;
// -1 when it ends (its end of the pipe closes) or says nothing within the time.
static int read_display_number(int fd, double seconds)
{
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (text.find('\n') == std::string::npos && text.size() < 16) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return -1;
        pollfd wait = {fd, POLLIN, 0};
        const int ready = poll(&wait, 1, static_cast<int>(std::min<long long>(left.count(), 200)));
        if (ready < 0 && errno != EINTR) return -1;
        if (ready > 0) {
            char buffer[16];
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n == 0) return -1;   // the server ended before it took connections
            if (n > 0) text.append(buffer, static_cast<size_t>(n));
        }
    }
    char* end = nullptr;
    const long number = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\n' || number < 0 || number > 65535) return -1;
    return static_cast<int>(number);
}

VirtualDisplay::VirtualDisplay(int width, int height, Server server)
{
    // The server picks a display number nobody holds and binds it in the same step
    // (-displayfd), then tells which; choosing one here from the lock files could race with
    // another server starting at the same moment, and the probe would then find that one.
    int channel[2];
    if (pipe2(channel, O_CLOEXEC) != 0) return;
    if (server == Server::XVFB) {
        const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        log_ = private_temp_file("minigolf-xvfb-", ".log");
        // -noreset: else the server resets whenever its last client (an xdotool call, the probe
        // below) leaves, and a game connecting during the reset cannot open the display.
        pid_ = spawn({"Xvfb", "-displayfd", "3", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"}, "", log_, {},
                     channel[1]);
    } else {
        config_ = private_temp_file("minigolf-xorg-", ".conf");
        log_ = private_temp_file("minigolf-xorg-", ".log");
        std::ofstream(config_) << dummy_xorg_config(width, height);
        pid_ = spawn({"Xorg", "-displayfd", "3", "-config", config_, "-logfile", log_, "-noreset", "-nolisten", "tcp"},
                     "", "/dev/null", {}, channel[1]);
    }
    close(channel[1]);
    const int number = pid_ > 0 ? read_display_number(channel[0], 30.0) : -1;
    close(channel[0]);
    if (number >= 0) {
        name_ = ":" + std::to_string(number);
        // It takes connections by now; a client getting through confirms it.
        for (int tries = 0; tries < 100; ++tries) {
            if (Display* probe = XOpenDisplay(name_.c_str())) {
                XCloseDisplay(probe);
                return;
            }
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                break;
            }
            sleep_seconds(0.05);
        }
    }
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    name_.clear();
}

VirtualDisplay::~VirtualDisplay()
{
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    if (!config_.empty()) fs::remove(config_);
    if (!log_.empty() && !getenv("MG_KEEP_E2E")) fs::remove(log_);
}

GameSession::GameSession(const VirtualDisplay& display, const std::string& configText)
    : displayName_(display.name()), serverLog_(display.log())
{
    char pattern[] = "/tmp/minigolf-e2e-XXXXXX";
    dir_ = mkdtemp(pattern);
    const fs::path run = MG_RUN_DIR;
    for (const char* data : {"textures", "fonts", "sounds"}) {
        if (fs::exists(run / data)) fs::create_directory_symlink(run / data, dir_ / data);
    }
    fs::create_directories(dir_ / "holes");
    fs::create_directories(dir_ / "courses");
    if (!configText.empty()) write_file("Config.glf", configText);
    logPath_ = (dir_ / "game.log").string();
}

GameSession::~GameSession()
{
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (!getenv("MG_KEEP_E2E")) fs::remove_all(dir_);
}

bool GameSession::launch(const std::string& title)
{
    const std::string binary = (fs::path(MG_RUN_DIR) / "minigolf").string();
    // The short scenario tests are killed rather than ended, so leaks are not checked here;
    // the soak test (soak_e2e_test.cpp) turns that check back on through extraEnvironment.
    // New/delete mismatches are checked: the game steps in before PLIB's text fields free
    // their shown text (platform/ui_text_field.h) and has lists of its own instead of PLIB's
    // select boxes.
    std::vector<std::string> argv = {binary};
    argv.insert(argv.end(), arguments_.begin(), arguments_.end());
    std::vector<std::string> env = {"DISPLAY=" + displayName_, "SDL_AUDIODRIVER=dummy",
                                    "ASAN_OPTIONS=detect_leaks=0:alloc_dealloc_mismatch=1"};
    env.insert(env.end(), extraEnvironment.begin(), extraEnvironment.end());
    exitStatus_ = -1;
    std::string before = " ";
    {
        std::istringstream existing(xdotool("search --name '.*'"));
        for (std::string id; existing >> id;) before += id + " ";
    }
    pid_ = spawn(argv, dir_.string(), logPath_, env);
    for (int tries = 0; tries < 200; ++tries) {
        std::string ids = xdotool("search --name '^" + title + "$'");
        // Another copy of the game may have a window of the same title: only a window that
        // was not there before this start is taken.
        std::istringstream in(ids);
        std::string chosen;
        for (std::string id; chosen.empty() && in >> id;)
            if (before.find(" " + id + " ") == std::string::npos) chosen = id;
        if (!chosen.empty()) {
            windowId_ = chosen;
            settle(0.8);
            return true;
        }
        if (!running()) break;
        sleep_seconds(0.1);
    }
    return false;
}

bool GameSession::start(const std::string& title)
{
    for (int attempt = 1; attempt <= 2; ++attempt) {
        if (launch(title)) return true;
        // Keep what the game said, in the artifacts and on stderr.
        const bool ended = !running();
        std::string log = read_file("game.log");
        if (log.size() > 4000) log = log.substr(log.size() - 4000);
        std::string server;
        if (!serverLog_.empty()) {
            std::ifstream in(serverLog_);
            server.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            if (server.size() > 4000) server = server.substr(server.size() - 4000);
        }
        const std::string what = "game did not show a window titled \"" + title + "\" on " + displayName_ + " (" +
                                 (ended ? "it ended" : "still running") + "), attempt " + std::to_string(attempt) +
                                 "; its output:\n" + log + "\nthe X server's:\n" + server + "\n";
        std::ofstream(artifact_dir() / ("game_start_failure_" + std::to_string(getpid()) + "_" +
                                        std::to_string(attempt) + ".log"))
            << what;
        std::fprintf(stderr, "%s", what.c_str());
        // A game that runs without its window is a failure. One that ended at once gets a
        // second start (it was once an X server resetting under it), and the record above
        // keeps the first visible.
        if (!ended) return false;
    }
    return false;
}

static int exit_status_of(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status); }

void GameSession::kill_now()
{
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    int status = 0;
    if (waitpid(pid_, &status, 0) == pid_) exitStatus_ = exit_status_of(status);
    pid_ = -1;
}

bool GameSession::running()
{
    if (pid_ <= 0) return false;
    int status = 0;
    pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
        exitStatus_ = exit_status_of(status);
        pid_ = -1;
        return false;
    }
    return true;
}

int GameSession::wait_exit(double seconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (!running()) return exitStatus_;
        sleep_seconds(0.05);
    }
    return -1;
}

void GameSession::close_window()
{
    // What a window manager's close button does: send WM_DELETE_WINDOW.
    Display* display = XOpenDisplay(displayName_.c_str());
    if (!display) return;
    Window window = std::strtoul(windowId_.c_str(), nullptr, 10);
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    XCloseDisplay(display);
}

std::string GameSession::read_file(const std::string& name) const
{
    std::ifstream in(dir_ / name, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

void GameSession::write_file(const std::string& name, const std::string& text) const
{
    std::ofstream out(dir_ / name, std::ios::binary);
    out << text;
}

std::string GameSession::xdotool(const std::string& args)
{
    return run_command("DISPLAY=" + displayName_ + " xdotool " + args + " 2>/dev/null");
}

std::string GameSession::title()
{
    std::string name = xdotool("getwindowname " + windowId_);
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
    return name;
}

bool GameSession::geometry(int& x, int& y, int& w, int& h)
{
    std::string out = xdotool("getwindowgeometry --shell " + windowId_);
    std::istringstream in(out);
    std::string line;
    int found = 0;
    while (std::getline(in, line)) {
        if (line.rfind("X=", 0) == 0) x = std::atoi(line.c_str() + 2), ++found;
        if (line.rfind("Y=", 0) == 0) y = std::atoi(line.c_str() + 2), ++found;
        if (line.rfind("WIDTH=", 0) == 0) w = std::atoi(line.c_str() + 6), ++found;
        if (line.rfind("HEIGHT=", 0) == 0) h = std::atoi(line.c_str() + 7), ++found;
    }
    return found == 4;
}

void GameSession::move(int x, int y)
{
    xdotool("mousemove --window " + windowId_ + " " + std::to_string(x) + " " + std::to_string(y));
    settle(0.15);
}

void GameSession::click(int x, int y, int button)
{
    move(x, y);
    xdotool("mousedown " + std::to_string(button));
    settle(0.1);
    xdotool("mouseup " + std::to_string(button));
    settle(0.3);
}

void GameSession::tap(int x, int y)
{
    xdotool("mousemove --window " + windowId_ + " " + std::to_string(x) + " " + std::to_string(y) + " click 1");
    settle(0.3);
}

void GameSession::type(const std::string& text)
{
    xdotool("type --delay 60 '" + text + "'");
    settle(0.3);
}

void GameSession::key(const std::string& keysym)
{
    xdotool("key " + keysym);
    settle(0.3);
}

void GameSession::resize(int w, int h)
{
    xdotool("windowsize " + windowId_ + " " + std::to_string(w) + " " + std::to_string(h));
    settle(0.8);
}

void GameSession::unmap() { xdotool("windowunmap --sync " + windowId_); }

void GameSession::map()
{
    xdotool("windowmap --sync " + windowId_);
    settle(0.5);
}

void GameSession::settle(double seconds) { sleep_seconds(seconds); }

static std::vector<std::string> words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

bool GameSession::follow_new_window(const std::string& title, double seconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline && running()) {
        for (const std::string& id : words(xdotool("search --onlyvisible --name '^" + title + "$'"))) {
            if (id != windowId_) {
                windowId_ = id;
                // what a window manager would do: the keyboard goes to the new window (there
                // is none here, and leaving a game mode leaves the focus nowhere)
                xdotool("windowfocus " + windowId_);
                settle(0.8);
                return true;
            }
        }
        sleep_seconds(0.1);
    }
    return false;
}

int GameSession::visible_windows(const std::string& title)
{
    return static_cast<int>(words(xdotool("search --onlyvisible --name '^" + title + "$'")).size());
}

bool GameSession::wait_title(const std::string& text, double seconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (title() == text) return true;
        sleep_seconds(0.1);
    }
    return false;
}

Rgb GameSession::pixel(int x, int y)
{
    Rgb rgb{-1, -1, -1};
    Display* display = XOpenDisplay(displayName_.c_str());
    if (!display) return rgb;
    Window window = std::strtoul(windowId_.c_str(), nullptr, 10);
    XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image) {
        unsigned long value = XGetPixel(image, 0, 0);
        rgb = {static_cast<int>((value >> 16) & 0xff), static_cast<int>((value >> 8) & 0xff),
               static_cast<int>(value & 0xff)};
        XDestroyImage(image);
    }
    XCloseDisplay(display);
    return rgb;
}

std::vector<Rgb> window_pixels(const std::string& displayName, unsigned long window, int x, int y, int w, int h)
{
    std::vector<Rgb> pixels;
    Display* x11 = XOpenDisplay(displayName.c_str());
    if (!x11) return pixels;
    if (window == 0) window = DefaultRootWindow(x11);
    // A window being remapped refuses the read: no pixels rather than the end of the test.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    if (XImage* image = XGetImage(x11, window, x, y, w, h, AllPlanes, ZPixmap)) {
        for (int row = 0; row < h; ++row)
            for (int column = 0; column < w; ++column) {
                const unsigned long value = XGetPixel(image, column, row);
                pixels.push_back({static_cast<int>((value >> 16) & 0xff), static_cast<int>((value >> 8) & 0xff),
                                  static_cast<int>(value & 0xff)});
            }
        XDestroyImage(image);
    }
    XCloseDisplay(x11);
    return pixels;
}

std::string GameSession::screenshot(const std::string& name)
{
    const std::string path = (artifact_dir() / (name + ".png")).string();
    run_command("DISPLAY=" + displayName_ + " import -window " + windowId_ + " '" + path + "' 2>/dev/null");
    return path;
}
