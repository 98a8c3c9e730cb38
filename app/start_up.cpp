#include "app/start_up.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "app/editor_commands.h"
#include "app/shell.h"
#include "game/ui/game_actions.h"
#include "hole/hole_file.h"
#include "hole/hole_grid.h"
#include "platform/fs.h"
#include "platform/paths.h"
#include "platform/ui_dialogs.h"
#include "platform/user_files.h"

#ifndef MG_RELATIVE_DATA_DIR
#define MG_RELATIVE_DATA_DIR ""
#endif
#ifndef MG_INSTALL_DATA_DIR
#define MG_INSTALL_DATA_DIR ""
#endif

namespace {

void tell(Session& s, const std::string& text, const std::string& caption) { s.startMessages.push_back({text, caption}); }

std::string program_folder()
{
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return {};
    return directory_of(std::string(buffer, static_cast<size_t>(n)));
}

}  // namespace

int answer_command_line(const CommandLine& line, const char* program)
{
    switch (line.action) {
    case CommandAction::Help:
        std::fputs(usage_text(base_name(program ? program : GAME_NAME)).c_str(), stdout);
        return 0;
    case CommandAction::Version:
        std::fputs(version_text().c_str(), stdout);
        return 0;
    case CommandAction::Refused:
        std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", GAME_NAME, line.message.c_str(), GAME_NAME);
        return 2;
    case CommandAction::Run:
        break;
    }
    return -1;
}

bool set_up_game_paths(Session& s, const std::string& dataDirOption)
{
    DataDirInputs inputs;
    inputs.commandLine = dataDirOption;
    if (const char* env = std::getenv(DATA_DIR_VARIABLE)) inputs.environment = env;
    inputs.programDir = program_folder();
    inputs.relativeDataDir = MG_RELATIVE_DATA_DIR;
    inputs.compiledDir = MG_INSTALL_DATA_DIR;
    inputs.workingDir = current_directory();
    const DataDirResult found = find_data_dir(inputs);
    if (!found.found) {
        std::fputs(data_dir_failure_message(found).c_str(), stderr);
        return false;
    }
    GamePaths& paths = s.paths;
    if (found.portable) {
        paths = GamePaths{};
        paths.dataDir = found.dir;
        return true;
    }
    paths = xdg_game_paths(std::getenv("XDG_CONFIG_HOME"), std::getenv("XDG_DATA_HOME"), home_directory());
    paths.dataDir = found.dir;
    for (const std::string& dir :
         {paths.configDir, paths.userDataDir, user_data_file(paths, "holes"), user_data_file(paths, "courses")}) {
        if (!make_private_dirs(dir)) std::fprintf(stderr, "%s: cannot make the folder %s\n", GAME_NAME, dir.c_str());
    }
    s.copyReport = copy_working_directory_files(inputs.workingDir, paths);
    for (const std::string& failure : s.copyReport.failed) std::fprintf(stderr, "%s: copy: %s\n", GAME_NAME, failure.c_str());
    return true;
}

void show_start_messages(Session& s)
{
    for (const StartMessage& message : s.startMessages) show_message(message.text, message.caption);
    s.startMessages.clear();
}

void open_command_line_files(Session& s, const std::vector<std::string>& files)
{
    const std::string copied = copy_report_message(s.copyReport, s.paths);
    if (!copied.empty()) tell(s, copied, "Tallowick's Miniature Golf");
    bool opened = false;
    for (const std::string& file : files) {
        const std::string path = absolute_path(file, current_directory());
        if (opened) {
            tell(s, "Only one file is opened at a time; " + base_name(file) + " is left alone.", "Open File");
            continue;
        }
        if (!file_exists(path)) {
            tell(s, base_name(file) + "\nFile not found.", "Open File");
            continue;
        }
        switch (file_kind(path)) {
        case FileKind::Hole: {
            std::string error;
            if (!is_hole_file(path)) {
                tell(s, base_name(file) + " is not a hole file.", "Load Hole Topography File");
                continue;
            }
            if (!read_hole_file(s.grid, path, &error)) {
                tell(s, error, "Load Hole Topography File");
                continue;
            }
            s.currentFileName = path;
            editor_hole_opened(s);
            current_file_base_name(s, true);
            start_in_editor(s);
            opened = true;
            break;
        }
        case FileKind::Course:
            start_with_course(s, path);
            opened = true;
            break;
        case FileKind::Unknown:
            tell(s, base_name(file) + "\nis neither a hole (.top) nor a course (.cor) file.", "Open File");
            break;
        }
    }
}
