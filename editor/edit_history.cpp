#include "editor/edit_history.h"

#include <cstring>

#include "physics/physics.h"

namespace {

bool same_tee(const Tee& a, const Tee& b) { return a.level == b.level && a.x == b.x && a.y == b.y; }

bool same_warps(const WarpTable& a, const WarpTable& b)
{
    if (a.warpCount != b.warpCount || a.warpPending != b.warpPending) return false;
    for (int n = 0; n < MAX_WARPS; ++n) {
        const WarpPair &p = a.pairs[n], &q = b.pairs[n];
        if (p.entryI != q.entryI || p.entryJ != q.entryJ || p.exitI != q.exitI || p.exitJ != q.exitJ ||
            p.entrySavedKind != q.entrySavedKind || p.exitSavedKind != q.exitSavedKind || p.entryCode != q.entryCode ||
            p.exitCode != q.exitCode)
            return false;
    }
    return true;
}

void put(HoleGrid& grid, const TileChange& change, bool after)
{
    const int32_t* values = after ? change.after : change.before;
    grid.height[change.index] = values[0];
    grid.kind[change.index] = values[1];
    grid.edges[change.index] = values[2];
}

}  // namespace

bool same_hole(const HoleGrid& a, const HoleGrid& b)
{
    return std::memcmp(a.height, b.height, sizeof a.height) == 0 && std::memcmp(a.kind, b.kind, sizeof a.kind) == 0 &&
           std::memcmp(a.edges, b.edges, sizeof a.edges) == 0 && same_tee(a.tee, b.tee) && same_warps(a.warps, b.warps);
}

const HoleGrid& SavedHole::empty()
{
    static const HoleGrid blank = [] {
        HoleGrid g;
        clear_hole(g);
        return g;
    }();
    return blank;
}

void EditHistory::clear()
{
    steps_.clear();
    position_ = 0;
    tileChanges_ = 0;
}

void EditHistory::record(const HoleGrid& before, const HoleGrid& after)
{
    EditStep step;
    for (int k = 0; k < GRID_SIZE * GRID_SIZE; ++k) {
        if (before.height[k] == after.height[k] && before.kind[k] == after.kind[k] && before.edges[k] == after.edges[k])
            continue;
        TileChange change;
        change.index = k;
        change.before[0] = before.height[k];
        change.before[1] = before.kind[k];
        change.before[2] = before.edges[k];
        change.after[0] = after.height[k];
        change.after[1] = after.kind[k];
        change.after[2] = after.edges[k];
        step.tiles.push_back(change);
    }
    if (step.tiles.empty() && same_tee(before.tee, after.tee) && same_warps(before.warps, after.warps)) return;
    step.tiles.shrink_to_fit();
    step.teeBefore = before.tee;
    step.teeAfter = after.tee;
    step.warpsBefore = before.warps;
    step.warpsAfter = after.warps;
    while (steps_.size() > position_) {
        tileChanges_ -= steps_.back().tiles.size();
        steps_.pop_back();
    }
    tileChanges_ += step.tiles.size();
    steps_.push_back(std::move(step));
    position_ = steps_.size();
    while (steps_.size() > 1 && (steps_.size() > MAX_STEPS || tileChanges_ > MAX_TILE_CHANGES)) {
        tileChanges_ -= steps_.front().tiles.size();
        steps_.pop_front();
        position_ -= 1;
    }
}

bool EditHistory::undo(HoleGrid& grid)
{
    if (!can_undo()) return false;
    const EditStep& step = steps_[--position_];
    for (const TileChange& change : step.tiles) put(grid, change, false);
    grid.tee = step.teeBefore;
    grid.warps = step.warpsBefore;
    grid.teeState = TeeState::Idle;
    return true;
}

bool EditHistory::redo(HoleGrid& grid)
{
    if (!can_redo()) return false;
    const EditStep& step = steps_[position_++];
    for (const TileChange& change : step.tiles) put(grid, change, true);
    grid.tee = step.teeAfter;
    grid.warps = step.warpsAfter;
    grid.teeState = TeeState::Idle;
    return true;
}

std::size_t EditHistory::memory_bytes() const
{
    return steps_.size() * sizeof(EditStep) + tileChanges_ * sizeof(TileChange);
}

void settle_restored_grid(PhysicsWorld& w)
{
    HoleGrid& grid = w.grid;
    build_hole_geometry(w);
    const Tee& tee = grid.tee;
    if (tee.level == -1 && tee.x == -1 && tee.y == -1) {
        place_ball(w, 0, 94, -32.0f, -32.0f);   // out of play
        w.round.ballReady = false;
    } else {
        place_ball(w, 0, tee.level, static_cast<float>(tee.x), static_cast<float>(tee.y));
        w.round.ballReady = true;
    }
    w.round.puttRequested = false;
    grid.teeState = TeeState::Idle;
}
