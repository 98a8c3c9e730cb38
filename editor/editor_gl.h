// The editor's drawing steps of a frame: the world point under the pointer and the current
// tool's preview on the tile there.
#pragma once

#include <cstdint>

#include "editor/editor_state.h"
#include "hole/hole_grid.h"

// The ground point under the window pixel (pointerX, pointerY) (y from the top) of a window
// windowHeight high, with the scene's matrices as they stand and the oscillating blocks at
// blockFrame; stored in editor.pointerWorld.
void pick_pointer(EditorState& editor, const HoleGrid& grid, int blockFrame, int pointerX, int pointerY,
                  int windowHeight);
// What the current tool would do at the pointer, drawn in white with lineTexture; while a
// putt is aimed (aiming) there is no preview. The preview is remembered as made for the
// pointer's pixel.
void draw_tool_preview(EditorState& editor, const HoleGrid& grid, bool aiming, int pointerX, int pointerY,
                       uint32_t lineTexture);
