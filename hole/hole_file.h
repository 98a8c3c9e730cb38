// Hole topography files (".top"): 7,206 '*'-ended decimal fields, tiles then the tee.
#pragma once

#include <string>

#include "hole/hole_grid.h"

constexpr int HOLE_FIELD_MAX = 27;   // characters kept of one field; longer ones are cut

// Fills grid (layers, tee, warp table, teeState) from the file at path. Tiles after the end
// of the file become height 0, kind -1, edges 0, and the tee keeps its value when the file
// ends before the trailer. Returns false (grid untouched) when the file cannot be opened.
bool read_hole_file(HoleGrid& grid, const std::string& path, std::string* error);

// The canonical text of grid, exactly as it is stored.
std::string format_hole(const HoleGrid& grid);

// Writes grid to path, replacing the old file only once the new one is complete. A pending
// warp entry is first put back to its saved kind (only complete pairs are stored).
bool write_hole_file(HoleGrid& grid, const std::string& path, std::string* error);

// Puts a pending warp entry tile back to its saved kind and clears warpPending.
void abandon_pending_warp(HoleGrid& grid);
