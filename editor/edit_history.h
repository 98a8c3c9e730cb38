// Undo and redo of the editor's clicks, and whether the hole changed since it was saved.
// A step holds only what one click changed: the tiles it touched (before and after), the tee
// and the warp table before and after. The history keeps at most MAX_STEPS steps and at most
// MAX_TILE_CHANGES changed tiles in all; the oldest steps go first. With a TileChange of 28
// bytes and a step's fixed part of about 700 bytes that bounds it near 180 KB + 460 KB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "hole/hole_grid.h"

class PhysicsWorld;

struct TileChange {
    int32_t index = 0;        // i * 49 + j
    int32_t before[3] = {};   // height, kind, edges
    int32_t after[3] = {};
};

struct EditStep {
    std::vector<TileChange> tiles;
    Tee teeBefore, teeAfter;
    WarpTable warpsBefore, warpsAfter;
};

class EditHistory {
public:
    static constexpr std::size_t MAX_STEPS = 256;
    static constexpr std::size_t MAX_TILE_CHANGES = MAX_STEPS * 64;

    // Forgets every step (New, Open).
    void clear();
    // Records the change from before to after as one step (nothing when they are the same);
    // the steps that could be redone are dropped.
    void record(const HoleGrid& before, const HoleGrid& after);
    bool can_undo() const { return position_ > 0; }
    bool can_redo() const { return position_ < steps_.size(); }
    // Puts the grid back as it was before the last step (after the next one); false when
    // there is none. The tee state becomes Idle: the caller places the ball again.
    bool undo(HoleGrid& grid);
    bool redo(HoleGrid& grid);

    std::size_t step_count() const { return steps_.size(); }
    std::size_t undo_count() const { return position_; }
    // The memory the steps hold, in bytes.
    std::size_t memory_bytes() const;

private:
    std::deque<EditStep> steps_;
    std::size_t position_ = 0;     // steps_[0..position_) can be undone
    std::size_t tileChanges_ = 0;  // tiles held by all steps
};

// True when the layers, the tee and the warp table of a and b are the same.
bool same_hole(const HoleGrid& a, const HoleGrid& b);

// The hole as it was last opened or saved: the editor compares the grid with it to tell
// whether there are changes to lose.
struct SavedHole {
    std::unique_ptr<HoleGrid> grid;
    void mark(const HoleGrid& now) { grid = std::make_unique<HoleGrid>(now); }
    bool changed(const HoleGrid& now) const { return grid ? !same_hole(*grid, now) : !same_hole(empty(), now); }

private:
    static const HoleGrid& empty();
};

// After the grid was put back (undo, redo, the end of a try): the geometry is built again from
// the whole grid and ball 0 stands on the tee, or is out of play when there is none.
void settle_restored_grid(PhysicsWorld& w);
