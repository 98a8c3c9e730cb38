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
    // Optional fields follow, each a tag: "g" while the aim guide is on, "u..." the widgets'
    // scale. Older files end after four; older readers look only at the fifth.
    bool guideOn = false;
    UiScale scale = UiScale::Auto;
    std::string extra;
    for (int k = 0; k < 4 && complete && reader.next(extra, 11) && reader.last_terminated(); ++k) {
        if (!extra.empty() && extra[0] == 'g') guideOn = true;
        else parse_ui_scale_field(extra, scale);
    }
    std::fclose(file);
    if (!complete) return;
    state.aimGuideOn = guideOn;
    state.uiScale = scale;
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
    // The optional fields are written only when they differ from what a file without them
    // means, so such a file reads as before; the guide's comes first, where older readers look.
    std::string text = buffer;
    if (state.aimGuideOn) text += "g*";
    if (state.uiScale != UiScale::Auto) text += ui_scale_field(state.uiScale) + "*";
    return text;
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
