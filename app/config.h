// "Config.glf": display mode, sound switch, width and height as four '*'-ended fields, then
// optional ones: "g*" when the aim guide is on, and the widgets' scale ("u100*", "u150*",
// "u200*") when it is not Auto. Older files stop at four; older readers at the fifth.
#pragma once

#include <string>

#include "platform/paths.h"
#include "platform/window_state.h"

constexpr const char* CONFIG_FILE = "Config.glf";

// Reads the settings from path into state. A missing file is created empty; an empty,
// truncated or unreadable file leaves every default standing. Never reads past 12 characters
// of the letter fields or 28 of the number fields.
void read_config_file(const std::string& path, WindowState& state);

// The file's text for state, e.g. "w*s*600*450*" ("w*s*600*450*g*u150*" with the aim guide on
// and the widgets at 150 %).
std::string format_config(const WindowState& state);

// Writes the settings atomically; false (and error set) when the file cannot be written.
bool write_config_file(const std::string& path, const WindowState& state, std::string* error);

// The same on "Config.glf" in the start directory when portable, else in the settings folder.
void read_config(WindowState& state, const GamePaths& paths);
void write_config(const WindowState& state, const GamePaths& paths);
