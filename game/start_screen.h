// The start screen, run by the frame driver while dialogState.startScreenStep > 0.
#pragma once

void start_screen_step();
// Keeps the start screen's dialogs centred.
void recentre_start_screen(int windowWidth, int windowHeight);

#include <string>

// A course named on the command line: the start screen goes straight to the player dialog,
// and the course is loaded once the players are named (instead of asking for a file).
void start_with_course(const std::string& path);
// A hole named on the command line has been read: the start screen gives way to the editor.
void start_in_editor();
