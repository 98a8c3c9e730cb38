// Hole topography files (".top"): 7,206 '*'-ended decimal fields, tiles then the tee.
#pragma once

#include <string>

#include "hole/hole_grid.h"

constexpr int HOLE_FIELD_MAX = 27;   // characters kept of one field; longer ones are cut

// True when the file at path holds nothing but what a hole file holds: decimal fields
// ("-12", " 3") each ended by '*', and blanks or line ends between them. An empty file
// counts (it reads as an empty hole); a missing file, a course archive, a picture or any
// other text does not. Reads at most HOLE_FILE_MAX_BYTES.
constexpr long HOLE_FILE_MAX_BYTES = 4L << 20;
bool is_hole_file(const std::string& path);

// Fills grid (layers, tee, warp table, teeState) from the file at path. Tiles after the end
// of the file become height 0, kind -1, edges 0, and the tee keeps its value when the file
// ends before the trailer. Returns false (grid untouched) when the file cannot be opened.
bool read_hole_file(HoleGrid& grid, const std::string& path, std::string* error);

// The canonical text of grid, exactly as it is stored.
std::string format_hole(const HoleGrid& grid);

// Writes grid to path, replacing the old file only once the new one is complete. A pending
// warp entry is first put back to its saved kind (only complete pairs are stored). Refuses
// (false, error set, nothing written) when path names a file that is not a hole file.
bool write_hole_file(HoleGrid& grid, const std::string& path, std::string* error);

// Puts a pending warp entry tile back to its saved kind and clears warpPending.
void abandon_pending_warp(HoleGrid& grid);
