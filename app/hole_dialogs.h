// The editor's hole file dialogs over the holes/ directory.
#pragma once

struct Session;

// "Open": the "Load Hole Topography File" dialog; reads the chosen hole.
void open_hole_dialog(Session& s);
// "Save As": the "Save Hole Topography File" dialog; writes the hole.
void save_hole_dialog(Session& s);
// "Save": writes straight to the current file when there is one, else "Save As".
void save_hole(Session& s);
// Writes the hole to path and reports the outcome in the title (and a box on failure).
bool save_hole_to(Session& s, const char* path);
