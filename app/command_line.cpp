#include "app/command_line.h"

#include <cctype>
#include <cstring>

#include "game/net/net_message.h"
#include "platform/net_socket.h"

#ifndef MG_VERSION
#define MG_VERSION "0.0.0"
#endif

namespace {

// GLUT's options and whether each takes a value.
struct GlutOption {
    const char* name;
    bool takesValue;
};
const GlutOption GLUT_OPTIONS[] = {{"-display", true}, {"-geometry", true}, {"-direct", false}, {"-indirect", false},
                                   {"-iconic", false}, {"-gldebug", false}, {"-sync", false}};

const GlutOption* glut_option(const char* word)
{
    for (const GlutOption& option : GLUT_OPTIONS)
        if (std::strcmp(word, option.name) == 0) return &option;
    return nullptr;
}

bool ends_with_ci(const std::string& text, const char* suffix)
{
    const size_t n = std::strlen(suffix);
    if (text.size() < n) return false;
    for (size_t k = 0; k < n; ++k) {
        if (std::tolower(static_cast<unsigned char>(text[text.size() - n + k])) != suffix[k]) return false;
    }
    return true;
}

// The value of an option given as "--name VALUE" or "--name=VALUE"; false when it is missing.
bool option_value(const std::string& word, const char* name, int argc, const char* const* argv, int& k,
                  std::string& value)
{
    const std::string prefix = std::string(name) + "=";
    if (word == name) {
        if (k + 1 >= argc || !argv[k + 1]) return false;
        value = argv[++k];
    } else {
        value = word.substr(prefix.size());
    }
    return !value.empty();
}

bool is_option(const std::string& word, const char* name)
{
    return word == name || word.rfind(std::string(name) + "=", 0) == 0;
}

bool parse_count(const std::string& text, int low, int high, int& out)
{
    if (text.empty() || text.size() > 5) return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high) return false;
    out = value;
    return true;
}

std::vector<std::string> split_names(const std::string& text)
{
    std::vector<std::string> names;
    size_t from = 0;
    for (;;) {
        const size_t comma = text.find(',', from);
        names.push_back(text.substr(from, comma == std::string::npos ? std::string::npos : comma - from));
        if (comma == std::string::npos) break;
        from = comma + 1;
    }
    return names;
}

// The network options that belong together: one of --host and --join, players for it, a
// course for the host.
std::string check_net_options(const NetOptions& net, bool courseGiven, bool playersGiven, bool hostOnlyGiven)
{
    if (net.mode == NetMode::None) {
        if (courseGiven || playersGiven || hostOnlyGiven)
            return "options --course, --players, --start-when and --turn-limit need --host or --join";
        return {};
    }
    if (!playersGiven) return "option --players is needed with --host and --join";
    if (net.players.size() > 4) return "at most four players";
    for (const std::string& name : net.players) {
        if (!net_name_valid(name)) return "the player name '" + name + "' cannot be used";
    }
    if (net.mode == NetMode::Host && !courseGiven) return "option --host needs --course FILE.cor";
    if (net.mode == NetMode::Join && (courseGiven || hostOnlyGiven))
        return "options --course, --start-when and --turn-limit belong to --host";
    return {};
}

}  // namespace

CommandLine parse_command_line(int argc, const char* const* argv)
{
    CommandLine line;
    line.glutArguments.push_back(argc > 0 && argv[0] ? argv[0] : "minigolf");
    auto refuse = [&line](const std::string& message) {
        line.action = CommandAction::Refused;
        line.message = message;
        return line;
    };
    bool optionsEnded = false;
    bool courseGiven = false, playersGiven = false, hostOnlyGiven = false;
    for (int k = 1; k < argc; ++k) {
        const std::string word = argv[k] ? argv[k] : "";
        if (optionsEnded || word.empty() || word[0] != '-' || word == "-") {
            line.files.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
        } else if (word == "--help" || word == "-h") {
            line.action = CommandAction::Help;
            return line;
        } else if (word == "--version") {
            line.action = CommandAction::Version;
            return line;
        } else if (word == "--windowed") {
            line.display = DisplayChoice::Windowed;
        } else if (word == "--fullscreen") {
            line.display = DisplayChoice::FullScreen;
        } else if (word == "--resume") {
            line.resume = true;
        } else if (is_option(word, "--host") || is_option(word, "--join")) {
            const bool hosting = is_option(word, "--host");
            std::string value;
            if (!option_value(word, hosting ? "--host" : "--join", argc, argv, k, value))
                return refuse(hosting ? "option --host needs a port" : "option --join needs HOST:PORT");
            if (line.net.mode != NetMode::None) return refuse("only one of --host and --join");
            line.net.mode = hosting ? NetMode::Host : NetMode::Join;
            if (hosting && !parse_count(value, 1, 65535, line.net.port)) return refuse("option --host needs a port 1..65535");
            if (!hosting && !parse_host_port(value, line.net.host, line.net.port))
                return refuse("option --join needs HOST:PORT");
        } else if (is_option(word, "--course")) {
            if (!option_value(word, "--course", argc, argv, k, line.net.course)) return refuse("option --course needs a file");
            courseGiven = true;
        } else if (is_option(word, "--players")) {
            std::string value;
            if (!option_value(word, "--players", argc, argv, k, value)) return refuse("option --players needs names");
            line.net.players = split_names(value);
            playersGiven = true;
        } else if (is_option(word, "--start-when")) {
            std::string value;
            if (!option_value(word, "--start-when", argc, argv, k, value) || !parse_count(value, 1, 4, line.net.startWhen))
                return refuse("option --start-when needs a number of players 1..4");
            hostOnlyGiven = true;
        } else if (is_option(word, "--turn-limit")) {
            std::string value;
            if (!option_value(word, "--turn-limit", argc, argv, k, value) ||
                !parse_count(value, 0, NET_TURN_SECONDS_MAX, line.net.turnLimit) || !net_turn_seconds_valid(line.net.turnLimit))
                return refuse("option --turn-limit needs seconds " + std::to_string(NET_TURN_SECONDS_MIN) + ".." +
                              std::to_string(NET_TURN_SECONDS_MAX) + ", or 0 for none");
            hostOnlyGiven = true;
        } else if (word == "--data-dir" || word.rfind("--data-dir=", 0) == 0) {
            std::string value;
            if (word == "--data-dir") {
                if (k + 1 >= argc || !argv[k + 1]) return refuse("option --data-dir needs a folder");
                value = argv[++k];
            } else {
                value = word.substr(std::strlen("--data-dir="));
            }
            if (value.empty()) return refuse("option --data-dir needs a folder");
            line.dataDir = value;
        } else if (const GlutOption* option = glut_option(word.c_str())) {
            line.glutArguments.push_back(word);
            if (option->takesValue) {
                if (k + 1 >= argc || !argv[k + 1]) return refuse("option " + word + " needs a value");
                line.glutArguments.push_back(argv[++k]);
            }
        } else {
            return refuse("unknown option '" + word + "'");
        }
    }
    if (const std::string problem = check_net_options(line.net, courseGiven, playersGiven, hostOnlyGiven); !problem.empty())
        return refuse(problem);
    if (line.net.mode != NetMode::None && (!line.files.empty() || line.resume))
        return refuse("a network game opens no other file and resumes no round");
    return line;
}

std::string usage_text(const std::string& program)
{
    return "Usage: " + program + " [OPTION]... [FILE]\n"
           "Tallowick's Miniature Golf: 3D miniature golf for one to four players, with a hole editor.\n"
           "\n"
           "  FILE             a hole (.top) to open in the editor, or a course (.cor) to play\n"
           "  --data-dir DIR   read the game's data (textures, fonts, sounds, courses) from DIR\n"
           "  --windowed       run in a window this time (the stored setting is kept)\n"
           "  --fullscreen     run full screen this time (the stored setting is kept)\n"
           "  --resume         go on with the round saved when the game last stopped\n"
           "  --host PORT --course FILE.cor --players NAME[,NAME...] [--start-when N]\n"
           "         [--turn-limit SECONDS]\n"
           "                   host a network game on PORT; it starts from the lobby's Start, or by\n"
           "                   itself once N players have joined; a turn not putted within SECONDS\n"
           "                   passes with one stroke counted\n"
           "  --join HOST:PORT --players NAME[,NAME...]\n"
           "                   join the network game hosted at HOST:PORT\n"
           "  --help           show this help and exit\n"
           "  --version        show the version and exit\n"
           "\n"
           "The GLUT options -display, -geometry, -direct, -indirect, -iconic, -gldebug and -sync are\n"
           "passed on. Settings are kept in $XDG_CONFIG_HOME/minigolf, leader boards, holes and added\n"
           "courses in $XDG_DATA_HOME/minigolf; the data folder may also be named by MINIGOLF_DATA_DIR.\n";
}

std::string version_text() { return std::string("minigolf (Tallowick's Miniature Golf) ") + MG_VERSION + "\n"; }

FileKind file_kind(const std::string& path)
{
    if (ends_with_ci(path, ".top")) return FileKind::Hole;
    if (ends_with_ci(path, ".cor")) return FileKind::Course;
    return FileKind::Unknown;
}

void apply_display_choice(DisplayChoice choice, WindowState& window, DisplayOverride& override)
{
    if (choice == DisplayChoice::Stored) return;
    override.active = true;
    override.storedFullScreen = window.fullScreen;
    override.storedWidth = window.windowWidth;
    override.storedHeight = window.windowHeight;
    override.runFullScreen = choice == DisplayChoice::FullScreen ? 1 : 0;
    window.fullScreen = override.runFullScreen;
}

WindowState settings_to_store(const WindowState& window, const DisplayOverride& override)
{
    WindowState stored = window;
    if (!override.active || window.fullScreen != override.runFullScreen) return stored;
    stored.fullScreen = override.storedFullScreen;
    stored.windowWidth = override.storedWidth;
    stored.windowHeight = override.storedHeight;
    stored.modeWidth = 0;
    stored.modeHeight = 0;
    return stored;
}
