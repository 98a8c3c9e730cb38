// Where the game's files live: its read-only data (textures, fonts, sounds, bundled courses)
// and the user's own files (settings, leader boards, holes, added courses).
//
// An installed game reads its data from the first of these places that holds it and keeps
// the user's files under the XDG base directories. A build's runnable folder carries a
// portable-mode marker beside the program: the game then keeps every user file in its
// working directory, as a game unpacked into one folder does.
#pragma once

#include <string>
#include <vector>

constexpr const char* GAME_NAME = "minigolf";                   // folder name under the XDG homes
constexpr const char* DATA_DIR_VARIABLE = "MINIGOLF_DATA_DIR";  // environment variable naming the data
constexpr const char* PORTABLE_MARKER = "portable-mode";        // file beside the program
// A file every complete data folder holds; a folder without it is passed over.
constexpr const char* DATA_PROBE_FILE = "fonts/default.txf";

// What the data lookup consults, in the order it consults it. Empty entries are skipped.
struct DataDirInputs {
    std::string commandLine;      // --data-dir DIR
    std::string environment;      // $MINIGOLF_DATA_DIR
    std::string programDir;       // the running program's folder (absolute)
    std::string relativeDataDir;  // the data folder relative to the program's folder
    std::string compiledDir;      // the path compiled in at build time
    std::string workingDir;       // makes relative entries absolute
};

struct DataDirResult {
    bool found = false;
    bool portable = false;            // the program's folder holds the portable-mode marker
    std::string dir;                  // absolute, without a trailing '/'
    std::vector<std::string> tried;   // "where (path)" for every place looked at, in order
};

// Finds the data folder: --data-dir, the environment variable, the program's folder when it
// holds the marker, the data folder relative to the program, the compiled-in path; the first
// that holds DATA_PROBE_FILE wins. portable follows the marker whichever place wins.
DataDirResult find_data_dir(const DataDirInputs& inputs);

// The message printed when no place holds the data, listing every place tried.
std::string data_dir_failure_message(const DataDirResult& result);

// path made absolute against base and tidied ("a/./b/../c" -> "a/c", no trailing '/').
std::string absolute_path(const std::string& path, const std::string& base);

// An XDG base directory: value when it is an absolute path, else home + "/" + fallback
// (".config", ".local/share"). Unset, empty and relative values all mean the default.
std::string xdg_base_dir(const char* value, const std::string& home, const char* fallback);

// $HOME, else the password database's home of this user; "" when neither is known.
std::string home_directory();

// Makes dir and every missing parent; the folders made get mode 0700. True when dir is a
// folder afterwards.
bool make_private_dirs(const std::string& dir);

// The places of this run, set once at start-up (the session keeps them).
struct GamePaths {
    std::string dataDir;        // absolute data folder
    bool portable = true;       // user files in the working directory (names stay relative)
    std::string configDir;      // $XDG_CONFIG_HOME/minigolf when not portable
    std::string userDataDir;    // $XDG_DATA_HOME/minigolf when not portable
};

// The user folders from the XDG variables (not made on disk).
GamePaths xdg_game_paths(const char* configHome, const char* dataHome, const std::string& home);

// dataDir + "/" + relative. With no data folder set, relative itself (the working directory).
std::string data_file(const GamePaths& paths, const std::string& relative);
// A settings file: name in the working directory when portable, else in configDir.
std::string config_file(const GamePaths& paths, const std::string& name);
// A user data file or folder ("leader_board9.lbh", "holes"): relative when portable, else
// in userDataDir.
std::string user_data_file(const GamePaths& paths, const std::string& name);
// The folder of the user's data files: "" (the working directory) when portable.
std::string user_data_dir(const GamePaths& paths);
// The bundled, read-only courses folder, or "" when portable (the working directory's
// "courses" is then the only one, as it always was).
std::string bundled_courses_dir(const GamePaths& paths);
