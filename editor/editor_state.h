// The editor's tool and the click waiting to be applied.
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
};

struct EditorState {
    int currentTool = TOOL_NOTHING;   // the tool chosen from the Edit menu
    int clickRequest = 0;             // 1 left, 2 right: applied in the next frame
};

extern EditorState editorState;
