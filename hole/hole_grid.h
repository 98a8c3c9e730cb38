// The one hole in memory: three 49 x 49 tile layers, the tee and the warp pairs.
#pragma once

#include <cstdint>

constexpr int GRID_SIZE = 49;                 // tiles along each axis
constexpr float TILE_SIZE = 64.0f;            // world units per tile
constexpr float GRID_ORIGIN = -1536.0f;       // world x, y of tile (0, 0)'s low corner
constexpr float LEVEL_HEIGHT = 32.0f;         // world units per height step
constexpr int MAX_HEIGHT = 16;                // the editor never builds higher
constexpr int MAX_WARPS = 10;                 // warp pairs 0..9

// kind codes
constexpr int KIND_PLAIN = -1;
constexpr int KIND_RAMP_FIRST = 0;            // 0..3: ramps rising toward +y, -x, -y, +x
constexpr int KIND_RAMP_LAST = 3;
constexpr int KIND_HALF_GRASS_FIRST = 4;      // 4..7: half-grass corners
constexpr int KIND_HALF_GRASS_LAST = 7;
constexpr int KIND_CONVEYOR_FIRST = -5;       // -5..-2: conveyors toward -y, +x, +y, -x
constexpr int KIND_CONVEYOR_LAST = -2;
constexpr int KIND_OSCILLATING_BLOCK = -6;
constexpr int KIND_WATER = -7;
constexpr int KIND_SAND = -8;
constexpr int KIND_BUMPER = -9;
constexpr int KIND_WARP_ENTRY = -100;         // -100 - n, n = 0..9
constexpr int KIND_WARP_EXIT = -200;          // -200 - n, n = 0..9

// edges codes: bits when positive, ramp railings when negative
constexpr int EDGE_RAIL_YMAX = 0x01;
constexpr int EDGE_RAIL_XMAX = 0x02;
constexpr int EDGE_RAIL_YMIN = 0x04;
constexpr int EDGE_RAIL_XMIN = 0x08;
constexpr int EDGE_RAIL_DIAG_MAIN = 0x10;
constexpr int EDGE_RAIL_DIAG_ANTI = 0x20;
constexpr int EDGE_CUP = 0x40;
constexpr int EDGE_RAMP_RAIL_LOW = -2;
constexpr int EDGE_RAMP_RAIL_HIGH = -3;
constexpr int EDGE_RAMP_RAIL_BOTH = -4;

inline bool is_ramp(int kind) { return kind >= KIND_RAMP_FIRST && kind <= KIND_RAMP_LAST; }
inline bool is_half_grass(int kind) { return kind >= KIND_HALF_GRASS_FIRST && kind <= KIND_HALF_GRASS_LAST; }
inline bool is_conveyor(int kind) { return kind >= KIND_CONVEYOR_FIRST && kind <= KIND_CONVEYOR_LAST; }
// Warp codes span -100..-199 and -200..-299 in files; only n 0..9 are real pairs.
inline bool is_warp_entry_code(int kind) { return kind <= -100 && kind >= -199; }
inline bool is_warp_exit_code(int kind) { return kind <= -200 && kind >= -299; }
inline int warp_entry_number(int kind) { return -(kind + 100); }
inline int warp_exit_number(int kind) { return -(kind + 200); }
// True when the tile gets a plain ground column (height >= 1 and no cup).
inline bool has_ground_column(int height, int edges) { return height != 0 && !(edges > 0 && (edges & EDGE_CUP)); }

// level + steps, saturating at the int range: tee levels come from files and may be anything.
inline int level_plus(int level, int steps)
{
    long long sum = static_cast<long long>(level) + steps;
    return sum > INT32_MAX ? INT32_MAX : sum < INT32_MIN ? INT32_MIN : static_cast<int>(sum);
}
// The tile index of a tee corner coordinate (c + 1536) / 64, for any int c.
inline long long tee_tile_index(int corner) { return (static_cast<long long>(corner) + 1536) / 64; }

// World x (or y) of the low corner of tile index i (or j).
inline float tile_corner(int index) { return index * TILE_SIZE + GRID_ORIGIN; }

// What the frame does about the tee and the ball on it.
enum class TeeState {
    Idle = 0,         // nothing to do
    NoTee = 1,        // no tee: take the ball off the course and rebuild the geometry
    Waiting = 2,      // a tee, its ball not yet placed
    JustPlaced = 3,   // a ball was just placed or the turn passed: the camera centres on it
};

struct Tee {
    int level = -1;   // height of the start tile when the tee was placed
    int x = -1;       // world tile corner x (i * 64 - 1536); -1 when there is no tee
    int y = -1;       // world tile corner y
};

struct WarpPair {
    int entryI = 0, entryJ = 0;       // tile of the entry
    int exitI = 0, exitJ = 0;         // tile of the exit
    int entrySavedKind = KIND_PLAIN;  // kind the entry tile had before the entry was placed
    int exitSavedKind = KIND_PLAIN;   // kind the exit tile had before the exit was placed
    int entryCode = 0;                // -100 - n
    int exitCode = 0;                 // -200 - n
};

struct WarpTable {
    WarpPair pairs[MAX_WARPS];
    int warpCount = 0;     // complete pairs 0..warpCount-1; also the number the next pair gets
    int warpPending = 0;   // 1 while an entry without exit sits in slot warpCount
};

struct HoleGrid {
    int32_t height[GRID_SIZE * GRID_SIZE];   // 0..16 steps, element i*49 + j
    int32_t kind[GRID_SIZE * GRID_SIZE];     // KIND_* codes
    int32_t edges[GRID_SIZE * GRID_SIZE];    // EDGE_* bits or ramp railing codes
    Tee tee;                                 // where the balls start
    TeeState teeState = TeeState::NoTee;     // what the next frame does about the tee
    WarpTable warps;                         // derived from kind

    int& height_at(int i, int j) { return height[i * GRID_SIZE + j]; }
    int& kind_at(int i, int j) { return kind[i * GRID_SIZE + j]; }
    int& edges_at(int i, int j) { return edges[i * GRID_SIZE + j]; }
    int height_at(int i, int j) const { return height[i * GRID_SIZE + j]; }
    int kind_at(int i, int j) const { return kind[i * GRID_SIZE + j]; }
    int edges_at(int i, int j) const { return edges[i * GRID_SIZE + j]; }
};

inline bool tile_in_grid(int i, int j) { return i >= 0 && i < GRID_SIZE && j >= 0 && j < GRID_SIZE; }

// Sets the three layers to height 0, kind -1, edges 0 (what start-up does).
void clear_layers(HoleGrid& grid);
// Clears the layers, the tee (-1, -1, -1), teeState NoTee and warpCount 0.
void clear_hole(HoleGrid& grid);
// Rebuilds the warp table from the kind layer; codes with n >= 10 are ignored.
void rebuild_warp_table(HoleGrid& grid);
// Removes the complete pair that uses tile (i, j), restoring its tiles' saved kinds and
// renumbering the later pairs. Tiles of no pair are left alone.
void remove_warp_at(HoleGrid& grid, int i, int j);

struct WarpExit {
    bool found = false;
    int i = 0, j = 0;   // exit tile
    int level = 0;      // exit tile height + 2: where the ball reappears
};
// The exit of the first complete pair whose entry is tile (i, j).
WarpExit warp_exit_of(const HoleGrid& grid, int i, int j);
