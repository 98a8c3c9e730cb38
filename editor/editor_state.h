// The editor's tool, the click waiting to be applied and what the tool saw in the last frame.
#pragma once

enum EditorTool {
    TOOL_NOTHING = -1,
    TOOL_BLOCKS = 0,
    TOOL_RAILINGS = 1,
    TOOL_CONVEYORS = 2,
    TOOL_OSCILLATING_BLOCKS = 3,
    TOOL_PLACE_BALL = 4,
    TOOL_WARP_ZONES = 5,
    TOOL_WATER = 6,
    TOOL_SAND = 7,
    TOOL_BUMPERS = 8,
    // the menu entries' own names for the same tools
    TOOL_RAILINGS_HOLES = TOOL_RAILINGS,
    TOOL_CONVEYOR_BELTS = TOOL_CONVEYORS,
};

// clickRequest values
constexpr int CLICK_NONE = 0;
constexpr int CLICK_PLACE = 1;    // left button
constexpr int CLICK_REMOVE = 2;   // right button

// Preview results of the tools that put a feature on a tile (Blocks and Railings / Holes
// use ramp, corner and edge codes instead).
constexpr int RESULT_NOTHING = 0;
constexpr int RESULT_PLACE_BALL = -300;
constexpr int RESULT_WARP_ENTRY = -100;
constexpr int RESULT_WARP_EXIT = -200;
constexpr int RESULT_FLAT_BLOCK = -1;

// What the current tool found under the pointer in one frame.
struct ToolPreview {
    int noTile = 1;                 // 1: no valid tile (off the grid, tool NOTHING, or aiming)
    int tileI = 0, tileJ = 0;       // the tile under the pointer
    int result = -1;                // what a left click would do there; 0 = nothing
    float cornerX = 0, cornerY = 0; // world corner of that tile
};

struct EditorState {
    int currentTool = TOOL_NOTHING;   // the tool chosen from the Edit menu
    int clickRequest = CLICK_NONE;    // 1 left, 2 right: applied in the next frame
    ToolPreview lastPreview;          // the preview of the last frame, which a click applies to
    float pointerWorld[2] = {0, 0};   // world x, y under the pointer in this frame
    int previewPointer[2] = {-1, -1}; // the window pixel lastPreview was made for
    int heldPress = CLICK_NONE;       // a press away from that pixel, waiting for its preview
};

extern EditorState editorState;
