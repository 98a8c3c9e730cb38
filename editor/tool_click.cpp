// The editor's click: what a left (place) or right (remove) press does to the tile the tool
// previewed in the frame before, in the tools' fixed order; and the tee reset.
#include "editor/editor_tools.h"
#include "game/game_state.h"
#include "hole/hole_file.h"
#include "physics/physics.h"

namespace {

struct Click {
    HoleGrid& grid;
    int i, j;
    int result;
    float cornerX, cornerY;

    int& height() { return grid.height_at(i, j); }
    int& kind() { return grid.kind_at(i, j); }
    int& edges() { return grid.edges_at(i, j); }
    void remove_warp() { remove_warp_at(grid, i, j); }
    void reset_if_tee_tile()
    {
        if (is_tee_tile(grid, i, j)) reset_tee(grid);
    }
};

bool is_single_edge_bit(int result) { return result > 0 && result <= EDGE_CUP && (result & (result - 1)) == 0; }

// Corner clicks of Blocks, either button: a raised tile becomes half-grass.
void blocks_corner(Click& c)
{
    if (c.height() >= 1) c.kind() = c.result;
    c.edges() = 0;
    c.remove_warp();
}

void blocks_left(Click& c)
{
    if (c.kind() == KIND_PLAIN && c.height() < MAX_HEIGHT) c.height() += 1;
    c.kind() = c.result;
    c.edges() = 0;
    c.remove_warp();
    c.reset_if_tee_tile();
}

void blocks_right(Click& c)
{
    if (c.height() >= 1) {
        if (c.result == RESULT_FLAT_BLOCK || c.kind() != KIND_PLAIN) {
            if (c.kind() < KIND_HALF_GRASS_FIRST) c.height() -= 1;
            c.kind() = KIND_PLAIN;
        } else {
            // the clicked side of a plain block drops by one step
            c.kind() = (c.result + 2) % 4;
        }
    }
    c.edges() = 0;
    c.remove_warp();
    c.reset_if_tee_tile();
}

void conveyor_left(Click& c)
{
    if (is_ramp(c.kind())) return;
    const bool placed = is_conveyor(c.result);
    if (placed) c.kind() = c.result;
    c.edges() = 0;
    c.remove_warp();
    if (placed || is_tee_tile(c.grid, c.i, c.j)) reset_tee(c.grid);
}

void oscillating_left(Click& c)
{
    const bool allowed = c.kind() < 0 || is_half_grass(c.kind());
    if (!allowed || c.result != KIND_OSCILLATING_BLOCK) return;
    c.kind() = KIND_OSCILLATING_BLOCK;
    build_hole_geometry(c.grid);
    c.edges() = 0;
    c.remove_warp();
    c.reset_if_tee_tile();
}

// Water, sand and bumpers: the feature goes on a bare tile; any click clears the tile's
// railings and warp. Water also takes the tee away wherever it is.
void feature_left(Click& c, int feature, bool resetWhenPlaced)
{
    if (is_ramp(c.kind())) return;
    const bool placed = c.result == feature;
    if (placed) c.kind() = feature;
    c.edges() = 0;
    c.remove_warp();
    if ((placed && resetWhenPlaced) || is_tee_tile(c.grid, c.i, c.j)) reset_tee(c.grid);
}

void feature_right(Click& c, bool matches)
{
    if (!matches) return;
    c.kind() = KIND_PLAIN;
    c.edges() = 0;
}

void place_ball_click(Click& c, int click)
{
    if (c.result != RESULT_PLACE_BALL) return;
    if (click == CLICK_REMOVE) {
        reset_tee(c.grid);
        return;
    }
    if (c.kind() != KIND_PLAIN && !is_half_grass(c.kind())) return;
    build_hole_geometry(c.grid);
    c.grid.tee = Tee{c.height(), static_cast<int>(c.cornerX), static_cast<int>(c.cornerY)};
    place_ball(0, c.height(), c.cornerX, c.cornerY);
    gameState.ballReady = 1;
    gameState.puttRequested = 0;
}

void warp_click(Click& c, int click)
{
    WarpTable& warps = c.grid.warps;
    if (click == CLICK_PLACE) {
        if (warps.warpCount >= MAX_WARPS) return;
        const int n = warps.warpCount;
        WarpPair& pair = warps.pairs[n];
        if (c.result == RESULT_WARP_ENTRY) {
            pair.entryI = c.i;
            pair.entryJ = c.j;
            pair.entrySavedKind = c.kind();
            pair.entryCode = KIND_WARP_ENTRY - n;
            c.kind() = pair.entryCode;
            warps.warpPending = 1;
        } else if (c.result == RESULT_WARP_EXIT) {
            pair.exitI = c.i;
            pair.exitJ = c.j;
            pair.exitSavedKind = c.kind();
            pair.exitCode = KIND_WARP_EXIT - n;
            c.kind() = pair.exitCode;
            warps.warpPending = 0;
            warps.warpCount += 1;
        }
        c.edges() = 0;
        return;
    }
    abandon_pending_warp(c.grid);
    c.remove_warp();
}

void railings_left(Click& c)
{
    int& e = c.edges();
    const int r = c.result;
    if ((e == EDGE_RAMP_RAIL_LOW && r == EDGE_RAMP_RAIL_HIGH) || (e == EDGE_RAMP_RAIL_HIGH && r == EDGE_RAMP_RAIL_LOW)) {
        e = EDGE_RAMP_RAIL_BOTH;
    } else if (e != EDGE_RAMP_RAIL_BOTH) {
        if (r == EDGE_RAMP_RAIL_LOW || r == EDGE_RAMP_RAIL_HIGH) {
            e = r;
        } else if (is_single_edge_bit(r)) {
            // a ramp railing code left on a tile that is no ramp (a hand-made file) means no railing
            if (e < 0) e = 0;
            e |= r;
        } else if (r != 0) {
            e = 0;
        }
    }
    c.remove_warp();
    if (c.kind() >= KIND_BUMPER && c.kind() <= KIND_CONVEYOR_LAST) c.kind() = KIND_PLAIN;
    c.reset_if_tee_tile();
}

// The tee handling a load leaves for the next frame: with a tee the ball goes onto it,
// without one the ball leaves the hole. Returns true when it ran (the click is then dropped).
bool settle_loaded_tee(HoleGrid& grid)
{
    if (grid.teeState == 2) {
        build_hole_geometry(grid);
        place_ball(0, grid.tee.level, static_cast<float>(grid.tee.x), static_cast<float>(grid.tee.y));
        grid.teeState = 3;
        gameState.ballReady = 1;
        return true;
    }
    if (grid.teeState == 1) {
        build_hole_geometry(grid);
        place_ball(0, 94, -32.0f, -32.0f);
        grid.tee = Tee{};
        grid.teeState = 0;
        return true;
    }
    return false;
}

}  // namespace

void reset_tee(HoleGrid& grid)
{
    build_hole_geometry(grid);
    place_ball(0, 94, -32.0f, -32.0f);   // 3017 up: out of play
    grid.tee = Tee{};
    grid.teeState = 0;
    gameState.ballReady = 0;
}

void abandon_warp_when_left(HoleGrid& grid, int tool, int aimMode)
{
    if (grid.warps.warpPending == 1 && (tool != TOOL_WARP_ZONES || aimMode == 1)) abandon_pending_warp(grid);
}

void apply_click(HoleGrid& grid, EditorState& editor)
{
    const ToolPreview& preview = editor.lastPreview;
    const int tool = editor.currentTool;
    int click = editor.clickRequest;
    editor.clickRequest = CLICK_NONE;
    if (preview.noTile != 0 || !tile_in_grid(preview.tileI, preview.tileJ)) return;
    Click c{grid, preview.tileI, preview.tileJ, preview.result, preview.cornerX, preview.cornerY};
    const bool left = click == CLICK_PLACE, right = click == CLICK_REMOVE;

    if (tool == TOOL_BLOCKS && (left || right) && c.result >= 4 && c.result <= 7) {
        blocks_corner(c);
        click = CLICK_NONE;
    }
    if (click == CLICK_PLACE) {
        switch (tool) {
        case TOOL_BLOCKS: blocks_left(c); break;
        case TOOL_CONVEYORS: conveyor_left(c); break;
        case TOOL_OSCILLATING_BLOCKS: oscillating_left(c); break;
        case TOOL_WATER: feature_left(c, KIND_WATER, true); break;
        case TOOL_SAND: feature_left(c, KIND_SAND, false); break;
        case TOOL_BUMPERS: feature_left(c, KIND_BUMPER, false); break;
        default: break;
        }
    }
    if (settle_loaded_tee(grid)) return;   // later tools' clicks are lost
    if (click == CLICK_NONE) return;
    if (tool == TOOL_PLACE_BALL) place_ball_click(c, click);
    if (tool == TOOL_WARP_ZONES) warp_click(c, click);
    if (tool == TOOL_RAILINGS && click == CLICK_PLACE) railings_left(c);
    if (click != CLICK_REMOVE) return;
    switch (tool) {
    case TOOL_RAILINGS: c.edges() = 0; break;
    case TOOL_CONVEYORS: feature_right(c, is_conveyor(c.kind())); break;
    case TOOL_WATER: feature_right(c, c.kind() == KIND_WATER); break;
    case TOOL_SAND: feature_right(c, c.kind() == KIND_SAND); break;
    case TOOL_BUMPERS: feature_right(c, c.kind() == KIND_BUMPER); break;
    case TOOL_OSCILLATING_BLOCKS:
        if (c.kind() == KIND_OSCILLATING_BLOCK) {
            c.kind() = KIND_PLAIN;
            if (!geomLists.movingBlocks.empty()) remove_last_moving_block();
            c.edges() = 0;
        }
        break;
    case TOOL_BLOCKS: blocks_right(c); break;
    default: break;
    }
}
