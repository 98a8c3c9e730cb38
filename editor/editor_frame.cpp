// The editor's steps of a frame that need no OpenGL: an abandoned warp pair, the click of the
// last frame and whether a press may become a click.
#include "app/frame_steps.h"
#include "app/input.h"
#include "editor/editor_tools.h"
#include "game/game_state.h"

EditorState editorState;

void editor_warp_housekeeping() { abandon_warp_when_left(holeGrid, editorState.currentTool, aimInput.aimMode); }

void apply_editor_click()
{
    EditorState& editor = editorState;
    // While a putt is aimed no tile is under the pointer for the editor.
    if (aimInput.aimMode != 0) editor.lastPreview = ToolPreview{};
    if (editor.lastPreview.noTile == 0) apply_click(holeGrid, editor);
    else editor.clickRequest = CLICK_NONE;
}

bool editor_click_allowed() { return editorState.lastPreview.noTile == 0; }

void press_editor_button(int click, int x, int y)
{
    EditorState& editor = editorState;
    if (x == editor.previewPointer[0] && y == editor.previewPointer[1]) {
        if (editor_click_allowed()) editor.clickRequest = click;
        return;
    }
    // The pointer jumped to the press without a frame in between (a touch screen, a tablet, a
    // quick flick): no preview was shown there yet. The press waits for that preview, so it
    // edits the tile that was clicked, not the one the pointer came from.
    editor.heldPress = click;
}

void preview_made_at(int x, int y)
{
    EditorState& editor = editorState;
    editor.previewPointer[0] = x;
    editor.previewPointer[1] = y;
    if (editor.heldPress == CLICK_NONE) return;
    if (editor_click_allowed()) editor.clickRequest = editor.heldPress;
    editor.heldPress = CLICK_NONE;
}
