// The editor's tools without OpenGL: which tile the pointer is on and where inside it, what
// each tool would do there (with the white outline it shows), and the click that applies it.
#pragma once

#include <vector>

#include "editor/editor_state.h"
#include "hole/hole_grid.h"
#include "hole/round_state.h"

class PhysicsWorld;

constexpr float RAIL_THICKNESS = 10.0f;

// A world point turned into a tile: x and y are truncated toward zero, then stepped down to
// the multiple of 64 at or below; dx, dy are the point's offsets from that tile corner.
struct TileSpot {
    bool valid = false;       // the corner lies on the grid (i and j in 0..48)
    int i = 0, j = 0;
    float cornerX = 0, cornerY = 0;
    float dx = 0, dy = 0;
};
TileSpot locate_tile(float x, float y);

// The lines (pairs of points) and points of a tool's preview, in world units.
struct PreviewPoint {
    float x, y, z;
};
struct PreviewDrawing {
    std::vector<PreviewPoint> lines;    // segment k runs from lines[2k] to lines[2k + 1]
    std::vector<PreviewPoint> points;   // drawn as single points (sand)
    void clear()
    {
        lines.clear();
        points.clear();
    }
};

// True when tile (i, j) is where the tee stands (never when there is no tee).
bool is_tee_tile(const HoleGrid& grid, int i, int j);
// A bare tile: plain or half-grass (kind -1 or >= 4) with no railings or cup.
bool is_bare_tile(const HoleGrid& grid, int i, int j);

// What a left click of tool would do at the spot (the tool's result code; 0 = nothing).
// The spot must be valid.
int preview_result(const HoleGrid& grid, EditorTool tool, const TileSpot& spot);

// The preview of tool at world point (x, y): the tile, the result and, when drawing is
// given, the outline to draw. Off the grid and for NOTHING: noTile 1, result -1, no drawing.
ToolPreview tool_preview(const HoleGrid& grid, EditorTool tool, float x, float y, PreviewDrawing* drawing);

// Takes ball 0 out of play, removes the tee and rebuilds the physics of the world's hole.
void reset_tee(PhysicsWorld& w);

// Puts a half-placed warp pair's entry back when the tool changed or aiming began.
void abandon_warp_when_left(HoleGrid& grid, EditorTool tool, AimMode aimMode);

// Applies editor.clickRequest to the tile of editor.lastPreview (the preview the user saw) of
// the world's hole, then clears the request. Also carries out a pending tee set-up of a
// freshly loaded hole.
void apply_click(PhysicsWorld& w, EditorState& editor);

// The editor's steps of a frame that need no OpenGL. An unfinished warp pair is abandoned
// when the tool changed or aiming began.
void editor_warp_housekeeping(EditorState& editor, HoleGrid& grid, AimMode aimMode);
// The click recorded in the last frame, applied to the grid (none while a putt is aimed).
void apply_editor_click(EditorState& editor, PhysicsWorld& w);
// Whether the editor lets a click act at the pointer now.
bool editor_click_allowed(const EditorState& editor);
// A press of the editor's left (Click::Place) or right (Click::Remove) button at window pixel
// (x, y): a click on the preview shown there, or, when no preview was made for that pixel
// yet, a click held until the next one is (preview_made_at).
void press_editor_button(EditorState& editor, Click click, int x, int y);
// The tool preview of this frame was made for window pixel (x, y).
void preview_made_at(EditorState& editor, int x, int y);
