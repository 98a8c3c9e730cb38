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
