#include "platform/paths.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fs.h"


namespace {

std::string join(const std::string& dir, const std::string& name) { return join_path(dir, name); }

}  // namespace

std::string absolute_path(const std::string& path, const std::string& base)
{
    const std::string whole = (!path.empty() && path[0] == '/') ? path : join(base.empty() ? "/" : base, path);
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= whole.size()) {
        size_t end = whole.find('/', start);
        if (end == std::string::npos) end = whole.size();
        const std::string part = whole.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out;
    for (const std::string& part : parts) out += "/" + part;
    return out.empty() ? "/" : out;
}

DataDirResult find_data_dir(const DataDirInputs& in)
{
    DataDirResult result;
    const std::string programDir = in.programDir.empty() ? std::string() : absolute_path(in.programDir, in.workingDir);
    result.portable = !programDir.empty() && file_exists(join(programDir, PORTABLE_MARKER));

    struct Place {
        const char* what;
        std::string dir;
    };
    const Place places[] = {
        {"--data-dir", in.commandLine},
        {DATA_DIR_VARIABLE, in.environment},
        {"the program's folder with its portable-mode marker", result.portable ? programDir : std::string()},
        {"beside the program", (programDir.empty() || in.relativeDataDir.empty()) ? std::string()
                                                                                  : join(programDir, in.relativeDataDir)},
        {"the installed data", in.compiledDir},
    };
    for (const Place& place : places) {
        if (place.dir.empty()) continue;
        const std::string dir = absolute_path(place.dir, in.workingDir);
        result.tried.push_back(std::string(place.what) + " (" + dir + ")");
        if (file_exists(join(dir, DATA_PROBE_FILE))) {
            result.found = true;
            result.dir = dir;
            return result;
        }
    }
    return result;
}

std::string data_dir_failure_message(const DataDirResult& result)
{
    std::string text = std::string(GAME_NAME) + ": cannot find the game's data (" + DATA_PROBE_FILE + "). Looked in:\n";
    for (const std::string& place : result.tried) text += "  " + place + "\n";
    text += "Name the folder with --data-dir DIR or the environment variable " + std::string(DATA_DIR_VARIABLE) + ".\n";
    return text;
}

std::string xdg_base_dir(const char* value, const std::string& home, const char* fallback)
{
    if (value && value[0] == '/') return absolute_path(value, "/");
    return absolute_path(join(home, fallback), "/");
}

std::string home_directory()
{
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return home;
    if (const passwd* entry = getpwuid(getuid())) {
        if (entry->pw_dir && entry->pw_dir[0] == '/') return entry->pw_dir;
    }
    return {};
}

bool make_private_dirs(const std::string& dir)
{
    if (dir.empty()) return false;
    if (directory_exists(dir)) return true;
    const std::string parent = directory_of(dir);
    if (!parent.empty() && parent != dir && !make_private_dirs(parent)) return false;
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return false;
    return directory_exists(dir);
}

GamePaths xdg_game_paths(const char* configHome, const char* dataHome, const std::string& home)
{
    GamePaths paths;
    paths.portable = false;
    paths.configDir = join(xdg_base_dir(configHome, home, ".config"), GAME_NAME);
    paths.userDataDir = join(xdg_base_dir(dataHome, home, ".local/share"), GAME_NAME);
    return paths;
}

std::string data_file(const GamePaths& paths, const std::string& relative) { return join(paths.dataDir, relative); }

std::string config_file(const GamePaths& paths, const std::string& name)
{
    return paths.portable ? name : join(paths.configDir, name);
}

std::string user_data_file(const GamePaths& paths, const std::string& name)
{
    return paths.portable ? name : join(paths.userDataDir, name);
}

std::string user_data_dir(const GamePaths& paths) { return paths.portable ? std::string() : paths.userDataDir; }

std::string bundled_courses_dir(const GamePaths& paths)
{
    return paths.portable || paths.dataDir.empty() ? std::string() : join(paths.dataDir, "courses");
}
