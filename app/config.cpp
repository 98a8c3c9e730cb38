#include "app/config.h"

#include <algorithm>
#include <cstdio>

#include "hole/field_reader.h"
#include "platform/fs.h"

void read_config_file(const std::string& path, WindowState& state)
{
    // Make sure the file exists, as a first run leaves an empty one behind.
    if (std::FILE* touch = std::fopen(path.c_str(), "a")) std::fclose(touch);
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file) return;
    FieldReader reader(file);
    std::string fields[4];
    const size_t limits[4] = {11, 11, 27, 27};
    bool complete = true;
    for (int k = 0; k < 4 && complete; ++k) {
        // A field must end with its '*'; a file cut short counts as missing.
        if (!reader.next(fields[k], limits[k]) || !reader.last_terminated()) complete = false;
    }
    // An optional fifth field: 'g' when the aim guide is on. Older files end after four.
    std::string guide;
    const bool guideField = complete && reader.next(guide, 11) && reader.last_terminated();
    std::fclose(file);
    if (!complete) return;
    state.aimGuideOn = guideField && !guide.empty() && guide[0] == 'g';
    state.fullScreen = fields[0].empty() || fields[0][0] != 'w';
    state.soundOn = !fields[1].empty() && fields[1][0] == 's';
    state.soundsPending = state.soundOn;
    // Sizes beyond any real screen would only make the window system refuse the window.
    state.windowWidth = std::clamp(parse_decimal(fields[2]), 0, MAX_WINDOW_SIDE);
    state.windowHeight = std::clamp(parse_decimal(fields[3]), 0, MAX_WINDOW_SIDE);
}

std::string format_config(const WindowState& state)
{
    char buffer[64];
    // Full screen keeps the mode the player chose, whatever size the display granted.
    const bool mode = state.fullScreen && state.modeWidth > 0 && state.modeHeight > 0;
    std::snprintf(buffer, sizeof buffer, "%c*%c*%d*%d*", state.fullScreen ? 'f' : 'w',
                  state.soundOn ? 's' : 'n', mode ? state.modeWidth : state.windowWidth,
                  mode ? state.modeHeight : state.windowHeight);
    // The aim guide's field is written only when it is on, so a file without it reads as before.
    return state.aimGuideOn ? std::string(buffer) + "g*" : std::string(buffer);
}

bool write_config_file(const std::string& path, const WindowState& state, std::string* error)
{
    return write_file_atomic(path, format_config(state), error);
}

static std::string config_path(const WindowState& state, const GamePaths& paths)
{
    if (!paths.portable) return config_file(paths, CONFIG_FILE);
    const std::string& dir = state.startDirectory;
    return dir.empty() ? std::string(CONFIG_FILE) : dir + "/" + CONFIG_FILE;
}

void read_config(WindowState& state, const GamePaths& paths) { read_config_file(config_path(state, paths), state); }

void write_config(const WindowState& state, const GamePaths& paths)
{
    std::string error;
    if (!write_config_file(config_path(state, paths), state, &error)) {
        std::fprintf(stderr, "config: %s\n", error.c_str());
    }
}
