// The start-up steps around the window: the command line, the data and user folders, the
// one-time copy of older user files, and the files named on the command line.
#pragma once

#include <string>
#include <vector>

#include "app/command_line.h"

struct Session;

// Handles --help, --version and a refused command line: prints, and returns the exit
// status (0 or 2); -1 when the game should start.
int answer_command_line(const CommandLine& line, const char* program);

// Finds the data folder and sets the session's paths; when not portable, makes the user
// folders and copies an older run's files from the working directory once. False, with every
// place tried printed on stderr, when no folder holds the data.
bool set_up_game_paths(Session& s, const std::string& dataDirOption);

// Once the widgets exist: tells the player about the one-time copy, then opens a hole file
// in the editor or chooses a course for the player dialog. A file that cannot be used gets
// a message and the start screen carries on.
void open_command_line_files(Session& s, const std::vector<std::string>& files);
// Shows what open_command_line_files had to say; the frame driver calls it after the start
// screen's step, so the messages stand above the start screen's dialog.
void show_start_messages(Session& s);
