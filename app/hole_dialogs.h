// The editor's hole file dialogs over the holes/ directory.
#pragma once

#include <functional>

struct Session;

// "Open": the "Load Hole Topography File" dialog; reads the chosen hole.
void open_hole_dialog(Session& s);
// "Save As": the "Save Hole Topography File" dialog; writes the hole after the checks
// (save_hole_checked), then runs afterSaved.
void save_hole_dialog(Session& s, std::function<void()> afterSaved = {});
// "Save": writes straight to the current file when there is one, else "Save As".
void save_hole(Session& s, std::function<void()> afterSaved = {});
// Writes the hole to path and reports the outcome in the title (and a box on failure).
bool save_hole_to(Session& s, const char* path);
