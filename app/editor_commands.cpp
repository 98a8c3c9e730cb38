// Undo and redo, the question before changes are lost, the checks before saving, the
// shortcuts, the mouse wheel, the title's unsaved mark and Try Hole.
#include "app/editor_commands.h"

#include <GL/freeglut.h>
#include <plib/pu.h>

#include <string>

#include "app/hole_dialogs.h"
#include "app/shell.h"
#include "editor/editor_tools.h"
#include "hole/hole_file.h"
#include "hole/hole_reach.h"
#include "physics/physics.h"
#include "platform/fs.h"
#include "platform/ui_dialogs.h"

namespace {

constexpr int TRY_HOLE_RETURN_FRAMES = 45;   // the ball is seen dropping before the editor comes back
constexpr size_t MAX_FINDINGS_SHOWN = 8;

bool has_tee(const Tee& tee) { return !(tee.level == -1 && tee.x == -1 && tee.y == -1); }

// A dialog, a question or a screen has the keyboard and the mouse.
bool dialog_open(const Session& s)
{
    const DialogState& d = s.dialogs;
    return platform_dialog_open() || d.confirmKind != ConfirmKind::None || d.startScreenStep != StartStep::None ||
           d.pickUpDialogOpen || d.goToHoleDialogOpen || d.leaderBoardShown || d.resolutionDialogOpen ||
           s.round.scoreCardShown || s.editorExtras.makeCourse;
}

bool editing_now(const Session& s) { return editor_in_use(s) && !dialog_open(s) && s.aim.aimMode == AimMode::Off; }

std::string hole_name(const Session& s)
{
    return s.currentFileName.empty() ? std::string("Untitled") : base_name(s.currentFileName);
}

void reset_aim(Session& s)
{
    AimInput& aim = s.aim;
    aim.aimMode = AimMode::Off;
    aim.aimState = AimPhase::Idle;
    aim.aimClicks = 0;
    aim.puttPower = 0;
    aim.struckPower = 0;
    cancel_stroke(s.physics);
}

void after_grid_restored(Session& s)
{
    settle_restored_grid(s.physics);
    s.pointer.swallowClick = false;
}

}  // namespace

bool editor_in_use(const Session& s)
{
    return s.round.playerCount == 0 && s.dialogs.startScreenStep == StartStep::None && !s.editorExtras.tryHole.active;
}

bool editor_hole_changed(const Session& s) { return editor_in_use(s) && s.editor.saved.changed(s.grid); }

void editor_hole_opened(Session& s)
{
    s.editor.history.clear();
    s.editor.saved.mark(s.grid);
}

void editor_undo(Session& s)
{
    if (!editing_now(s) || !s.editor.history.can_undo()) return;
    abandon_pending_warp(s.grid);   // a half-placed pair is no step of its own
    s.editor.history.undo(s.grid);
    after_grid_restored(s);
}

void editor_redo(Session& s)
{
    if (!editing_now(s) || !s.editor.history.can_redo()) return;
    abandon_pending_warp(s.grid);
    s.editor.history.redo(s.grid);
    after_grid_restored(s);
}

void guard_unsaved_changes(Session& s, std::function<void()> proceed, std::function<void()> plain)
{
    if (!editor_hole_changed(s)) {
        if (plain) plain();
        else proceed();
        return;
    }
    ask_choice("Save changes to " + hole_name(s) + "?",
               {{"Yes", [&s, proceed] { save_hole(s, proceed); }}, {"No", proceed}, {"Cancel", {}}});
}

void save_hole_checked(Session& s, const char* path, std::function<void()> afterSaved)
{
    const std::string target = path;
    auto write = [&s, target, afterSaved] {
        if (!save_hole_to(s, target.c_str())) return;
        s.editor.saved.mark(s.grid);
        const std::string title = s.editorExtras.titleBase;
        set_window_title_now(s, title.c_str());
        if (afterSaved) afterSaved();
    };
    const std::vector<std::string> findings = save_findings(s.grid);
    if (findings.empty()) {
        write();
        return;
    }
    // (the menu font has no colon)
    std::string text = "Before " + base_name(target) + " is saved, note";
    for (size_t k = 0; k < findings.size() && k < MAX_FINDINGS_SHOWN; ++k) text += "\n     " + findings[k];
    if (findings.size() > MAX_FINDINGS_SHOWN)
        text += "\n     and " + std::to_string(findings.size() - MAX_FINDINGS_SHOWN) + " more";
    ask_choice(text, {{"Save Anyway", write}, {"Cancel", {}}});
}

bool editor_shortcut(Session& s, unsigned char key, int modifiers)
{
    TryHoleState& trying = s.editorExtras.tryHole;
    if (trying.active) {
        if (key == 27 && !dialog_open(s)) {
            end_try_hole(s);
            return true;
        }
        return false;
    }
    if (!editing_now(s)) return false;
    const bool ctrl = (modifiers & GLUT_ACTIVE_CTRL) != 0, shift = (modifiers & GLUT_ACTIVE_SHIFT) != 0;
    // GLUT hands Ctrl+letter as the letter's control code (Ctrl+A = 1).
    if (ctrl && key >= 1 && key <= 26) {
        switch (key + 'a' - 1) {
        case 'z':
            if (shift) editor_redo(s);
            else editor_undo(s);
            return true;
        case 'y': editor_redo(s); return true;
        case 'n': file_command(s, FileCommand::New); return true;
        case 'o': file_command(s, FileCommand::Open); return true;
        case 's': file_command(s, shift ? FileCommand::SaveAs : FileCommand::Save); return true;
        case 't': begin_try_hole(s); return true;
        default: return false;
        }
    }
    if (!ctrl && key >= '0' && key <= '9') {
        choose_tool_entry(s, key == '0' ? 9 : key - '1');
        s.pointer.swallowClick = false;
        return true;
    }
    return false;
}

bool wheel_event(Session& s, int button, int state, int x, int y)
{
    if (button != 3 && button != 4) return false;
    if (dialog_open(s)) {
        // A list under the pointer may scroll; PUI measures in the widgets' units.
        const double factor = ui_factor(s.window);
        puMouse(button, state, pixels_to_ui(x, factor), pixels_to_ui(y, factor));
        return true;
    }
    if (state == GLUT_DOWN) {
        if (button == 3) zoom_in(s.camera);
        else zoom_out(s.camera);
    }
    return true;
}

const char* marked_title(Session& s, const char* base)
{
    EditorExtras& extras = s.editorExtras;
    extras.titleBase = std::string(base);
    extras.titleMarked = editor_hole_changed(s);
    extras.titleShown = extras.titleMarked ? current_file_title(s) : extras.titleBase;
    return extras.titleShown.c_str();
}

void editor_frame_step(Session& s)
{
    TryHoleState& trying = s.editorExtras.tryHole;
    if (trying.active) {
        // Holing out takes the tee away (the hole is complete): back to the editor soon after.
        if (!has_tee(s.grid.tee) && ++trying.holedFrames > TRY_HOLE_RETURN_FRAMES) end_try_hole(s);
        return;
    }
    if (editor_hole_changed(s) != s.editorExtras.titleMarked) {
        const std::string base = s.editorExtras.titleBase;
        set_window_title_now(s, base.c_str());
    }
}

void begin_try_hole(Session& s)
{
    if (!editing_now(s)) return;
    if (!has_tee(s.grid.tee)) {
        show_message("The hole has no tee: place the ball first.", "Try Hole");
        return;
    }
    TryHoleState& trying = s.editorExtras.tryHole;
    trying.grid = std::make_unique<HoleGrid>(s.grid);
    trying.fileName = s.currentFileName;
    trying.tool = s.editor.currentTool;
    trying.camera = s.camera;
    trying.titleBase = s.editorExtras.titleBase;
    trying.menuShown = s.widgets.editorMenuBar->isVisible();
    trying.holedFrames = 0;
    trying.active = true;

    choose_tool_entry(s, 9);   // NOTHING: no click edits the hole
    s.pointer.swallowClick = false;
    s.editor.clickRequest = Click::None;
    s.editor.heldPress = Click::None;
    s.widgets.editorMenuBar->hide();
    s.widgets.hideMenuButton->hide();
    reset_aim(s);
    s.grid.teeState = TeeState::Waiting;   // the next frame puts the ball on the tee
    const std::string title = "Try Hole: " + hole_name(s) + " (Escape returns to the editor)";
    set_window_title_now(s, title.c_str());
    s.editorExtras.titleBase = trying.titleBase;
}

void end_try_hole(Session& s)
{
    TryHoleState& trying = s.editorExtras.tryHole;
    if (!trying.active) return;
    reset_aim(s);
    s.grid = *trying.grid;
    s.currentFileName = trying.fileName;
    s.camera = trying.camera;
    trying.active = false;
    trying.grid.reset();
    after_grid_restored(s);
    choose_tool(s, trying.tool);
    s.pointer.swallowClick = false;
    if (trying.menuShown) s.widgets.editorMenuBar->reveal();
    s.widgets.hideMenuButton->reveal();
    const std::string title = trying.titleBase;
    set_window_title_now(s, title.c_str());
}
