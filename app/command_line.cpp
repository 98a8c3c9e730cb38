#include "app/command_line.h"

#include <cctype>
#include <cstring>

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
