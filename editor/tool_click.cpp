// The editor's click: what a left (place) or right (remove) press does to the tile the tool
// previewed in the frame before, in the tools' fixed order; and the tee reset.
#include "editor/editor_tools.h"
#include "hole/hole_file.h"
#include "physics/physics.h"

namespace {

// The tile a click acts on, in the world that plays the hole.
struct TileClick {
    PhysicsWorld& world;
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
        if (is_tee_tile(grid, i, j)) reset_tee(world);
    }
};

bool is_single_edge_bit(int result) { return result > 0 && result <= EDGE_CUP && (result & (result - 1)) == 0; }

// Corner clicks of Blocks, either button: a raised tile becomes half-grass.
void blocks_corner(TileClick& c)
{
    if (c.height() >= 1) c.kind() = c.result;
    c.edges() = 0;
    c.remove_warp();
}

void blocks_left(TileClick& c)
{
    if (c.kind() == KIND_PLAIN && c.height() < MAX_HEIGHT) c.height() += 1;
    c.kind() = c.result;
    c.edges() = 0;
    c.remove_warp();
    c.reset_if_tee_tile();
}

void blocks_right(TileClick& c)
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

void conveyor_left(TileClick& c)
{
    if (is_ramp(c.kind())) return;
    const bool placed = is_conveyor(c.result);
    if (placed) c.kind() = c.result;
    c.edges() = 0;
    c.remove_warp();
    if (placed || is_tee_tile(c.grid, c.i, c.j)) reset_tee(c.world);
}

void oscillating_left(TileClick& c)
{
    const bool allowed = c.kind() < 0 || is_half_grass(c.kind());
    if (!allowed || c.result != KIND_OSCILLATING_BLOCK) return;
    c.kind() = KIND_OSCILLATING_BLOCK;
    build_hole_geometry(c.world);
    c.edges() = 0;
    c.remove_warp();
    c.reset_if_tee_tile();
}

// Water, sand and bumpers: the feature goes on a bare tile; any click clears the tile's
// railings and warp. Water also takes the tee away wherever it is.
void feature_left(TileClick& c, int feature, bool resetWhenPlaced)
{
    if (is_ramp(c.kind())) return;
    const bool placed = c.result == feature;
    if (placed) c.kind() = feature;
    c.edges() = 0;
    c.remove_warp();
    if ((placed && resetWhenPlaced) || is_tee_tile(c.grid, c.i, c.j)) reset_tee(c.world);
}

void feature_right(TileClick& c, bool matches)
{
    if (!matches) return;
    c.kind() = KIND_PLAIN;
    c.edges() = 0;
}

void place_ball_click(TileClick& c, Click click)
{
    if (c.result != RESULT_PLACE_BALL) return;
    if (click == Click::Remove) {
        reset_tee(c.world);
        return;
    }
    if (c.kind() != KIND_PLAIN && !is_half_grass(c.kind())) return;
    build_hole_geometry(c.world);
    c.grid.tee = Tee{c.height(), static_cast<int>(c.cornerX), static_cast<int>(c.cornerY)};
    place_ball(c.world, 0, c.height(), c.cornerX, c.cornerY);
    c.world.round.ballReady = true;
    c.world.round.puttRequested = false;
}

void warp_click(TileClick& c, Click click)
{
    WarpTable& warps = c.grid.warps;
    if (click == Click::Place) {
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

void railings_left(TileClick& c)
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
bool settle_loaded_tee(PhysicsWorld& w)
{
    HoleGrid& grid = w.grid;
    if (grid.teeState == TeeState::Waiting) {
        build_hole_geometry(w);
        place_ball(w, 0, grid.tee.level, static_cast<float>(grid.tee.x), static_cast<float>(grid.tee.y));
        grid.teeState = TeeState::JustPlaced;
        w.round.ballReady = true;
        return true;
    }
    if (grid.teeState == TeeState::NoTee) {
        build_hole_geometry(w);
        place_ball(w, 0, 94, -32.0f, -32.0f);
        grid.tee = Tee{};
        grid.teeState = TeeState::Idle;
        return true;
    }
    return false;
}

}  // namespace

void reset_tee(PhysicsWorld& w)
{
    build_hole_geometry(w);
    place_ball(w, 0, 94, -32.0f, -32.0f);   // 3017 up: out of play
    w.grid.tee = Tee{};
    w.grid.teeState = TeeState::Idle;
    w.round.ballReady = false;
}

void abandon_warp_when_left(HoleGrid& grid, EditorTool tool, AimMode aimMode)
{
    if (grid.warps.warpPending == 1 && (tool != EditorTool::WarpZones || aimMode == AimMode::Aiming))
        abandon_pending_warp(grid);
}

void apply_click(PhysicsWorld& w, EditorState& editor)
{
    HoleGrid& grid = w.grid;
    const ToolPreview& preview = editor.lastPreview;
    const EditorTool tool = editor.currentTool;
    Click click = editor.clickRequest;
    editor.clickRequest = Click::None;
    if (preview.noTile || !tile_in_grid(preview.tileI, preview.tileJ)) return;
    TileClick c{w, grid, preview.tileI, preview.tileJ, preview.result, preview.cornerX, preview.cornerY};
    const bool left = click == Click::Place, right = click == Click::Remove;

    if (tool == EditorTool::Blocks && (left || right) && c.result >= 4 && c.result <= 7) {
        blocks_corner(c);
        click = Click::None;
    }
    if (click == Click::Place) {
        switch (tool) {
        case EditorTool::Blocks: blocks_left(c); break;
        case EditorTool::Conveyors: conveyor_left(c); break;
        case EditorTool::OscillatingBlocks: oscillating_left(c); break;
        case EditorTool::Water: feature_left(c, KIND_WATER, true); break;
        case EditorTool::Sand: feature_left(c, KIND_SAND, false); break;
        case EditorTool::Bumpers: feature_left(c, KIND_BUMPER, false); break;
        default: break;
        }
    }
    if (settle_loaded_tee(w)) return;   // later tools' clicks are lost
    if (click == Click::None) return;
    if (tool == EditorTool::PlaceBall) place_ball_click(c, click);
    if (tool == EditorTool::WarpZones) warp_click(c, click);
    if (tool == EditorTool::Railings && click == Click::Place) railings_left(c);
    if (click != Click::Remove) return;
    switch (tool) {
    case EditorTool::Railings: c.edges() = 0; break;
    case EditorTool::Conveyors: feature_right(c, is_conveyor(c.kind())); break;
    case EditorTool::Water: feature_right(c, c.kind() == KIND_WATER); break;
    case EditorTool::Sand: feature_right(c, c.kind() == KIND_SAND); break;
    case EditorTool::Bumpers: feature_right(c, c.kind() == KIND_BUMPER); break;
    case EditorTool::OscillatingBlocks:
        if (c.kind() == KIND_OSCILLATING_BLOCK) {
            c.kind() = KIND_PLAIN;
            if (!w.geoms.movingBlocks.empty()) remove_last_moving_block(w);
            c.edges() = 0;
        }
        break;
    case EditorTool::Blocks: blocks_right(c); break;
    default: break;
    }
}
