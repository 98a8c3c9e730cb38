#include "hole/hole_grid.h"

#include <algorithm>


void clear_layers(HoleGrid& grid)
{
    for (int k = 0; k < GRID_SIZE * GRID_SIZE; ++k) {
        grid.height[k] = 0;
        grid.kind[k] = KIND_PLAIN;
        grid.edges[k] = 0;
    }
}

void clear_hole(HoleGrid& grid)
{
    clear_layers(grid);
    grid.tee = Tee{};
    grid.teeState = TeeState::NoTee;
    grid.warps.warpCount = 0;
    grid.warps.warpPending = 0;
}


void rebuild_warp_table(HoleGrid& grid)
{
    WarpTable& table = grid.warps;
    table.warpCount = 0;
    table.warpPending = 0;
    for (int i = 0; i < GRID_SIZE; ++i) {
        for (int j = 0; j < GRID_SIZE; ++j) {
            const int kind = grid.kind_at(i, j);
            if (is_warp_entry_code(kind)) {
                const int n = warp_entry_number(kind);
                if (n >= MAX_WARPS) continue;   // no room for such a pair
                WarpPair& pair = table.pairs[n];
                pair.entryI = i;
                pair.entryJ = j;
                pair.entrySavedKind = KIND_PLAIN;
                pair.entryCode = kind;
            } else if (is_warp_exit_code(kind)) {
                const int n = warp_exit_number(kind);
                if (n >= MAX_WARPS) continue;
                WarpPair& pair = table.pairs[n];
                pair.exitI = i;
                pair.exitJ = j;
                pair.exitSavedKind = KIND_PLAIN;
                pair.exitCode = kind;
                // warpCount counts exit tiles, but never past the table
                if (table.warpCount < MAX_WARPS) table.warpCount += 1;
            }
        }
    }
}

void remove_warp_at(HoleGrid& grid, int i, int j)
{
    WarpTable& table = grid.warps;
    for (int k = 0; k < table.warpCount; ++k) {
        WarpPair& pair = table.pairs[k];
        const bool isEntry = pair.entryI == i && pair.entryJ == j;
        const bool isExit = pair.exitI == i && pair.exitJ == j;
        if (!isEntry && !isExit) continue;
        grid.kind_at(pair.entryI, pair.entryJ) = pair.entrySavedKind;
        grid.kind_at(pair.exitI, pair.exitJ) = pair.exitSavedKind;
        for (int m = k + 1; m < table.warpCount; ++m) {
            WarpPair moved = table.pairs[m];
            moved.entryCode += 1;
            moved.exitCode += 1;
            table.pairs[m - 1] = moved;
            grid.kind_at(moved.entryI, moved.entryJ) = moved.entryCode;
            grid.kind_at(moved.exitI, moved.exitJ) = moved.exitCode;
        }
        table.warpCount -= 1;
        return;
    }
}

WarpExit warp_exit_of(const HoleGrid& grid, int i, int j)
{
    const WarpTable& table = grid.warps;
    for (int k = 0; k < table.warpCount && k < MAX_WARPS; ++k) {
        const WarpPair& pair = table.pairs[k];
        if (pair.entryI == i && pair.entryJ == j) {
            WarpExit result;
            result.found = true;
            result.i = pair.exitI;
            result.j = pair.exitJ;
            // The height may come from any file: the course is 0..MAX_HEIGHT, as the physics
            // takes it.
            result.level = std::clamp(grid.height_at(pair.exitI, pair.exitJ), 0, MAX_HEIGHT) + 2;
            return result;
        }
    }
    return WarpExit{};
}
