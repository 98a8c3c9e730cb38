// The editor's steps of a frame that need no OpenGL: an abandoned warp pair, the click of the
// last frame and whether a press may become a click.
#include <memory>

#include "editor/editor_tools.h"
#include "physics/physics_world.h"

void editor_warp_housekeeping(EditorState& editor, HoleGrid& grid, AimMode aimMode)
{
    abandon_warp_when_left(grid, editor.currentTool, aimMode);
}

void apply_editor_click(EditorState& editor, PhysicsWorld& w)
{
    // While a putt is aimed no tile is under the pointer for the editor.
    if (w.aim.aimMode != AimMode::Off) editor.lastPreview = ToolPreview{};
    if (editor.lastPreview.noTile) {
        editor.clickRequest = Click::None;
        return;
    }
    if (editor.clickRequest == Click::None) {
        apply_click(w, editor);
        return;
    }
    // One click, one step of the history, whatever it touched.
    const auto before = std::make_unique<HoleGrid>(w.grid);
    apply_click(w, editor);
    editor.history.record(*before, w.grid);
}

bool editor_click_allowed(const EditorState& editor) { return !editor.lastPreview.noTile; }

void press_editor_button(EditorState& editor, Click click, int x, int y)
{
    if (x == editor.previewPointer[0] && y == editor.previewPointer[1]) {
        if (editor_click_allowed(editor)) editor.clickRequest = click;
        return;
    }
    // The pointer jumped to the press without a frame in between (a touch screen, a tablet, a
    // quick flick): no preview was shown there yet. The press waits for that preview, so it
    // edits the tile that was clicked, not the one the pointer came from.
    editor.heldPress = click;
}

void preview_made_at(EditorState& editor, int x, int y)
{
    editor.previewPointer[0] = x;
    editor.previewPointer[1] = y;
    if (editor.heldPress == Click::None) return;
    if (editor_click_allowed(editor)) editor.clickRequest = editor.heldPress;
    editor.heldPress = Click::None;
}
