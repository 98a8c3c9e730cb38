#include "hole/hole_file.h"

#include <cstdio>
#include <memory>

#include "hole/field_reader.h"
#include "platform/fs.h"


namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

bool is_hole_file(const std::string& path)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return false;
    long total = 0;
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        total += static_cast<long>(got);
        if (total > HOLE_FILE_MAX_BYTES) return false;
        for (size_t k = 0; k < got; ++k) {
            const char c = buffer[k];
            const bool fieldCharacter = c == '*' || (c >= '0' && c <= '9') || c == '-' || c == '+';
            if (!fieldCharacter && c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
        }
    }
    // A hole cut short, even inside its last field, still reads as before.
    return !std::ferror(file.get());
}

bool read_hole_file(HoleGrid& grid, const std::string& path, std::string* error)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "r"));
    if (!file) {
        if (error) *error = "cannot open hole file " + path;
        return false;
    }
    FieldReader reader(file.get());
    std::string field;
    bool ended = false;
    for (int k = 0; k < GRID_SIZE * GRID_SIZE; ++k) {
        if (!ended && reader.at_end()) ended = true;
        if (ended) {
            grid.height[k] = 0;
            grid.kind[k] = KIND_PLAIN;
            grid.edges[k] = 0;
            continue;
        }
        int values[3] = {0, 0, 0};
        for (int& value : values) {
            value = reader.next(field, HOLE_FIELD_MAX) ? parse_decimal(field) : 0;
        }
        grid.height[k] = values[0];
        grid.kind[k] = values[1];
        grid.edges[k] = values[2];
    }
    // The trailer is read only when the file goes on after the last tile; otherwise the
    // tee keeps what it had.
    if (!ended && !reader.at_end()) {
        int values[3] = {0, 0, 0};
        for (int& value : values) {
            value = reader.next(field, HOLE_FIELD_MAX) ? parse_decimal(field) : 0;
        }
        grid.tee.level = values[0];
        grid.tee.x = values[1];
        grid.tee.y = values[2];
    }
    const Tee& tee = grid.tee;
    grid.teeState = (tee.level == -1 && tee.x == -1 && tee.y == -1) ? TeeState::NoTee : TeeState::Waiting;
    rebuild_warp_table(grid);
    return true;
}

std::string format_hole(const HoleGrid& grid)
{
    std::string text;
    text.reserve(GRID_SIZE * GRID_SIZE * 10 + 40);
    char buffer[48];
    for (int k = 0; k < GRID_SIZE * GRID_SIZE; ++k) {
        int n = std::snprintf(buffer, sizeof buffer, "%d*%d*%d*", grid.height[k], grid.kind[k], grid.edges[k]);
        text.append(buffer, static_cast<size_t>(n));
    }
    int n = std::snprintf(buffer, sizeof buffer, "%d*%d*%d*", grid.tee.level, grid.tee.x, grid.tee.y);
    text.append(buffer, static_cast<size_t>(n));
    return text;
}

void abandon_pending_warp(HoleGrid& grid)
{
    WarpTable& table = grid.warps;
    if (!table.warpPending) return;
    if (table.warpCount < MAX_WARPS) {
        const WarpPair& pending = table.pairs[table.warpCount];
        if (tile_in_grid(pending.entryI, pending.entryJ)) {
            grid.kind_at(pending.entryI, pending.entryJ) = pending.entrySavedKind;
        }
    }
    table.warpPending = 0;
}

bool write_hole_file(HoleGrid& grid, const std::string& path, std::string* error)
{
    if (file_exists(path) && !is_hole_file(path)) {
        if (error) *error = base_name(path) + " is not a hole file and is left as it is.";
        return false;
    }
    abandon_pending_warp(grid);
    return write_file_atomic(path, format_hole(grid), error);
}
