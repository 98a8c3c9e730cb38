// The editor's commands beyond the tools: undo and redo, the question before changes are
// lost, the checks before saving, the shortcuts and the mouse wheel, the title's unsaved mark,
// Try Hole and Make Course.
#pragma once

#include <chrono>
#include <functional>

#include "editor/editor_state.h"

struct Session;

// The File menu's commands the shortcuts share (app/menus.cpp).
enum class FileCommand { New, Open, Save, SaveAs };
void file_command(Session& s, FileCommand command);
// The Edit menu's tool number index (0 = Blocks ... 8 = Place Ball, 9 = NOTHING), or the tool
// itself, chosen as from the menu.
void choose_tool_entry(Session& s, int index);
void choose_tool(Session& s, EditorTool tool);
// Exit (the menu's and Escape's): asks first.
void ask_exit(Session& s);

// The editor is in use: no round, no start screen, no hole being tried.
bool editor_in_use(const Session& s);
// The editor's hole differs from the one last opened or saved.
bool editor_hole_changed(const Session& s);
// A hole was opened or a new one started: a fresh history, nothing unsaved.
void editor_hole_opened(Session& s);

void editor_undo(Session& s);
void editor_redo(Session& s);

// Runs proceed once changes are safe: at once when there are none to lose (plain then runs
// instead when given: the command's own question), else after "Save changes to NAME?" is
// answered Yes (and the save went through) or No; Cancel keeps everything.
void guard_unsaved_changes(Session& s, std::function<void()> proceed, std::function<void()> plain);

// Save with the checks: findings are listed with "Save Anyway" and "Cancel" first.
// afterSaved runs once the hole is written.
void save_hole_checked(Session& s, const char* path, std::function<void()> afterSaved);

// A key the editor's shortcuts take (ASCII with GLUT's modifiers); true when it was used.
bool editor_shortcut(Session& s, unsigned char key, int modifiers);
// The mouse wheel (GLUT buttons 3 and 4); true when the event was the wheel's.
bool wheel_event(Session& s, int button, int state, int x, int y);

// Once a frame: the title's unsaved mark, a try that has ended.
void editor_frame_step(Session& s);
// The title to show for base: marked with a leading '*' when the hole has unsaved changes.
const char* marked_title(Session& s, const char* base);

void begin_try_hole(Session& s);
void end_try_hole(Session& s);

// The Make Course dialog (app/make_course.cpp).
void open_make_course_dialog(Session& s);
// The course maker judges the par of each hole added, a slice in every frame until deadline.
void judge_course_pars(Session& s, std::chrono::steady_clock::time_point deadline);
