// The game's command line, read before the GLUT library sees it: the game's own options,
// GLUT's options (passed on), and a hole or course file to open.
#pragma once

#include <string>
#include <vector>

enum class CommandAction {
    Run,       // start the game
    Help,      // print usage_text() on stdout, exit 0
    Version,   // print version_text() on stdout, exit 0
    Refused,   // print message on stderr, exit 2
};

enum class DisplayChoice { Stored, Windowed, FullScreen };

// Network play asked for on the command line.
enum class NetMode { None, Host, Join };

struct NetOptions {
    NetMode mode = NetMode::None;
    int port = 0;                        // --host PORT, or the port of --join HOST:PORT
    std::string host;                    // --join's address
    std::string course;                  // --course FILE.cor (hosting)
    std::vector<std::string> players;    // --players NAME[,NAME...]
    int startWhen = 0;                   // --start-when N: the host starts with N players
    int turnLimit = 0;                   // --turn-limit SECONDS: each turn's time (hosting); 0 none
};

struct CommandLine {
    CommandAction action = CommandAction::Run;
    std::string message;                      // why the line was refused
    std::string dataDir;                      // --data-dir DIR
    DisplayChoice display = DisplayChoice::Stored;   // --windowed / --fullscreen, this run only
    bool resume = false;                      // --resume: go on with the saved round
    std::vector<std::string> files;           // file arguments, in order
    NetOptions net;                           // --host / --join and their options
    std::vector<std::string> glutArguments;   // argv[0] and GLUT's own options, for glutInit
};

// Reads argv. "--" ends the options; GLUT's options (-display D, -geometry G, -direct,
// -indirect, -iconic, -gldebug, -sync) are kept for glutInit; any other word starting
// with '-' is refused.
CommandLine parse_command_line(int argc, const char* const* argv);

std::string usage_text(const std::string& program);
std::string version_text();

// What a file argument asks for.
enum class FileKind { Hole, Course, Unknown };
// By extension, case-insensitively: ".top" a hole, ".cor" a course.
FileKind file_kind(const std::string& path);

#include "platform/window_state.h"

// A --windowed or --fullscreen of this run, and the display setting stored before it.
struct DisplayOverride {
    bool active = false;          // the run's display was chosen on the command line
    int runFullScreen = 0;        // what the command line chose
    int storedFullScreen = 0;     // what the settings file held
    int storedWidth = 0;
    int storedHeight = 0;
};

// After the settings are read: puts the command line's display choice into window and
// remembers the stored one in override.
void apply_display_choice(DisplayChoice choice, WindowState& window, DisplayOverride& override);

// The settings to write at exit: the stored display setting while the command line's choice
// is still in force; whatever the player switched to during the run otherwise.
WindowState settings_to_store(const WindowState& window, const DisplayOverride& override);
