// The editor's tool, the click waiting to be applied and what the tool saw in the last frame.
#pragma once

#include "editor/edit_history.h"

// The tools of the Edit menu.
enum class EditorTool {
    Nothing = -1,
    Blocks = 0,
    Railings = 1,           // the menu's "Railings / Holes"
    Conveyors = 2,          // the menu's "Conveyor Belts"
    OscillatingBlocks = 3,
    PlaceBall = 4,
    WarpZones = 5,
    Water = 6,
    Sand = 7,
    Bumpers = 8,
};

// A mouse button pressed in the editor, applied in the next frame.
enum class Click {
    None = 0,
    Place = 1,    // left button
    Remove = 2,   // right button
};

// Preview results of the tools that put a feature on a tile (Blocks and Railings / Holes
// use ramp, corner and edge codes instead).
constexpr int RESULT_NOTHING = 0;
constexpr int RESULT_PLACE_BALL = -300;
constexpr int RESULT_WARP_ENTRY = -100;
constexpr int RESULT_WARP_EXIT = -200;
constexpr int RESULT_FLAT_BLOCK = -1;

// What the current tool found under the pointer in one frame.
struct ToolPreview {
    bool noTile = true;             // no valid tile (off the grid, tool Nothing, or aiming)
    int tileI = 0, tileJ = 0;       // the tile under the pointer
    int result = -1;                // what a left click would do there; 0 = nothing
    float cornerX = 0, cornerY = 0; // world corner of that tile
};

struct EditorState {
    EditorTool currentTool = EditorTool::Nothing;   // the tool chosen from the Edit menu
    Click clickRequest = Click::None;  // applied in the next frame
    ToolPreview lastPreview;           // the preview of the last frame, which a click applies to
    float pointerWorld[2] = {0, 0};    // world x, y under the pointer in this frame
    int previewPointer[2] = {-1, -1};  // the window pixel lastPreview was made for
    Click heldPress = Click::None;     // a press away from that pixel, waiting for its preview
    EditHistory history;               // the clicks that can be undone and redone
    SavedHole saved;                   // the hole as last opened or saved
};
