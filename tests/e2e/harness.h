// Driving the real game in its own X server: start Xvfb, start the game in a scratch
// working directory, send real input with xdotool (XTest), read the window back.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/types.h>

// An X server on a free display number, stopped when this goes: Xvfb, which refuses every
// game mode, or (for the display switch) Xorg with its dummy driver, which grants them.
class VirtualDisplay {
public:
    enum class Server { XVFB, DUMMY_XORG };
    explicit VirtualDisplay(int width = 1280, int height = 1024, Server server = Server::XVFB);
    ~VirtualDisplay();
    const std::string& name() const { return name_; }   // e.g. ":93"; empty when none started
    const std::string& log() const { return log_; }     // the server's log, when it keeps one

private:
    pid_t pid_ = -1;
    std::string name_;
    std::string log_;
    std::string config_;
};

struct Rgb {
    int r, g, b;
};

// The pixels of a rectangle of a window (y from the top), row by row; window 0 is the root.
// Empty when the display or the window cannot be read.
std::vector<Rgb> window_pixels(const std::string& displayName, unsigned long window, int x, int y, int w, int h);

// The game running in a scratch directory that holds links to the generated data and its
// own holes/, courses/ and Config.glf.
class GameSession {
public:
    // configText, when not empty, is written to Config.glf before the start.
    GameSession(const VirtualDisplay& display, const std::string& configText = "");
    ~GameSession();

    // Starts the game and waits for its window (titled title); false on time-out.
    bool start(const std::string& title = "No File Loaded.");
    // Command-line arguments for the next start.
    void set_arguments(std::vector<std::string> arguments) { arguments_ = std::move(arguments); }
    const std::string& window_id() const { return windowId_; }
    // True while the game runs; reaps it once it has ended (see exit_status).
    bool running();
    // How the game last ended, once reaped: its exit code, or 128 + the signal that ended it;
    // -1 while it runs or before it ran.
    int exit_status() const { return exitStatus_; }
    // Waits for the process to end by itself; its exit status, or -1 on time-out.
    int wait_exit(double seconds);
    // Kills the game outright (SIGKILL), as a crash or a power cut ends it, and reaps it.
    void kill_now();
    // Asks the window manager way to close the window (WM_DELETE_WINDOW).
    void close_window();

    const std::filesystem::path& dir() const { return dir_; }
    std::string file(const std::string& name) const { return (dir_ / name).string(); }
    std::string read_file(const std::string& name) const;
    void write_file(const std::string& name, const std::string& text) const;

    // Window facts through the X server.
    std::string title();
    bool geometry(int& x, int& y, int& w, int& h);

    // Input, in window pixels (y from the top).
    void move(int x, int y);
    void click(int x, int y, int button = 1);
    // What a touch screen or a tablet does: the pointer jumps to (x, y) and presses there at
    // once, with no time for a frame in between.
    void tap(int x, int y);
    void type(const std::string& text);
    void key(const std::string& keysym);
    void resize(int w, int h);
    // Takes the window off the screen (as minimising does) and puts it back.
    void unmap();
    void map();

    // After a display switch: waits for a visible window titled title other than the one
    // followed so far, and follows it from then on; false on time-out.
    bool follow_new_window(const std::string& title, double seconds = 10.0);
    // The visible windows titled title.
    int visible_windows(const std::string& title);

    // Waits a number of frames' worth of time for the game to react.
    void settle(double seconds = 0.4);
    // Waits until the title equals text; false on time-out.
    bool wait_title(const std::string& text, double seconds = 5.0);

    // The window's pixels, and a PNG artifact of them under the artifacts folder.
    Rgb pixel(int x, int y);
    std::string screenshot(const std::string& name);

    const std::string& log() const { return logPath_; }

    // Settings added to the game's environment at its next start (later ones win), e.g.
    // sanitizer options of a test's own.
    std::vector<std::string> extraEnvironment;

private:
    // Spawns the game and waits for its window; false when it ended or showed none in time.
    bool launch(const std::string& title);
    std::string xdotool(const std::string& args);
    std::string displayName_;
    std::string serverLog_;
    std::filesystem::path dir_;
    std::string logPath_;
    std::string windowId_;
    std::vector<std::string> arguments_;
    pid_t pid_ = -1;
    int exitStatus_ = -1;
};

// Where screenshots go (the build's artifacts folder).
std::filesystem::path artifact_dir();
// Runs a shell command and returns its standard output.
std::string run_command(const std::string& command);

#include <gtest/gtest.h>

// A test suite that shares one Xvfb among its tests.
class DisplayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { display = new VirtualDisplay(); }
    static void TearDownTestSuite()
    {
        delete display;
        display = nullptr;
    }
    static inline VirtualDisplay* display = nullptr;
};
