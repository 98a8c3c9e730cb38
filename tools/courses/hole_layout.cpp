// Hole sources to hole grids.
#include "tools/courses/hole_layout.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

constexpr size_t MAX_SOURCE_BYTES = 64 * 1024;

// What one layout character puts on its tile.
struct TileSpec {
    bool fairway = false;    // the ball may roll here: railed where it meets the void
    int kind = KIND_PLAIN;
    int raise = 0;           // levels above the tile's height ('#' walls)
    bool cup = false;
    bool tee = false;
    int diagonal = 0;        // EDGE_RAIL_DIAG_MAIN or EDGE_RAIL_DIAG_ANTI
};

bool tile_spec(char c, TileSpec& t)
{
    t = TileSpec{};
    t.fairway = true;
    switch (c) {
    case '.': t.fairway = false; return true;
    case 'o': return true;
    case 'T': t.tee = true; return true;
    case 'C': t.cup = true; return true;
    case '^': t.kind = 0; return true;
    case '<': t.kind = 1; return true;
    case 'v': t.kind = 2; return true;
    case '>': t.kind = 3; return true;
    case 'D': t.kind = -5; return true;   // carries toward -y
    case 'R': t.kind = -4; return true;   // toward +x
    case 'U': t.kind = -3; return true;   // toward +y
    case 'L': t.kind = -2; return true;   // toward -x
    case 'B': t.kind = KIND_OSCILLATING_BLOCK; return true;
    case '~': t.kind = KIND_WATER; return true;
    case 's': t.kind = KIND_SAND; return true;
    case '*': t.kind = KIND_BUMPER; return true;
    case '1': t.kind = KIND_WARP_ENTRY - 0; return true;
    case '2': t.kind = KIND_WARP_ENTRY - 1; return true;
    case '3': t.kind = KIND_WARP_ENTRY - 2; return true;
    case '!': t.kind = KIND_WARP_EXIT - 0; return true;
    case '?': t.kind = KIND_WARP_EXIT - 1; return true;
    case '&': t.kind = KIND_WARP_EXIT - 2; return true;
    case '/': t.diagonal = EDGE_RAIL_DIAG_MAIN; return true;
    case '\\': t.diagonal = EDGE_RAIL_DIAG_ANTI; return true;
    case '#': t.fairway = false; t.raise = 2; return true;
    default: return false;
    }
}

int level_of(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'g') return 10 + (c - 'a');
    return -1;
}

std::string line_message(int line, const std::string& what)
{
    return "line " + std::to_string(line) + ": " + what;
}

}  // namespace

bool read_text_file(const std::string& path, std::string& out, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = "cannot read " + path;
        return false;
    }
    out.clear();
    char buffer[4096];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        out.append(buffer, static_cast<size_t>(in.gcount()));
        if (out.size() > MAX_SOURCE_BYTES) {
            if (error) *error = path + " is too large for a hole source";
            return false;
        }
    }
    return true;
}

bool parse_hole_source(const std::string& text, HoleSource& out, std::string* error)
{
    out = HoleSource{};
    std::istringstream in(text);
    std::string line;
    int number = 0;
    std::vector<std::string>* block = nullptr;
    auto fail = [&](const std::string& what) {
        if (error) *error = line_message(number, what);
        return false;
    };
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (block) {
            if (line.empty()) {
                block = nullptr;
                continue;
            }
            if (line.size() > GRID_SIZE) return fail("row wider than the grid");
            block->push_back(line);
            continue;
        }
        if (line.empty() || line[0] == '#') continue;
        size_t space = line.find(' ');
        std::string key = line.substr(0, space);
        std::string value = space == std::string::npos ? "" : line.substr(space + 1);
        if (key == "name") out.name = value;
        else if (key == "music") out.music = value == "none" ? "" : value;
        else if (key == "putts") out.putts = value;
        else if (key == "par") {
            char* end = nullptr;
            long par = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || par < 1 || par > 20) return fail("par must be 1..20");
            out.par = static_cast<int>(par);
        } else if (key == "layout") block = &out.layout;
        else if (key == "heights") block = &out.heights;
        else return fail("unknown line '" + key + "'");
    }
    if (out.layout.empty()) return fail("no layout");
    if (out.par == 0) return fail("no par");
    if (out.layout.size() > GRID_SIZE) return fail("layout taller than the grid");
    if (!out.heights.empty()) {
        if (out.heights.size() != out.layout.size()) return fail("heights and layout differ in rows");
        for (size_t r = 0; r < out.layout.size(); ++r)
            if (out.heights[r].size() != out.layout[r].size()) return fail("heights row " + std::to_string(r + 1) + " differs in width from the layout");
    }
    return true;
}

bool build_hole_grid(const HoleSource& source, HoleGrid& grid, std::string* error)
{
    clear_hole(grid);
    const int rows = static_cast<int>(source.layout.size());
    int width = 0;
    for (const std::string& row : source.layout) width = std::max(width, static_cast<int>(row.size()));
    if (rows > GRID_SIZE - 2 || width > GRID_SIZE - 2) {
        if (error) *error = "layout too large";
        return false;
    }
    const int i0 = (GRID_SIZE - width) / 2, j0 = (GRID_SIZE - rows) / 2;
    auto char_at = [&](int c, int r) -> char {
        if (r < 0 || r >= rows || c < 0 || c >= static_cast<int>(source.layout[r].size())) return '.';
        return source.layout[r][c];
    };
    auto fairway_at = [&](int c, int r) {
        TileSpec t;
        return tile_spec(char_at(c, r), t) && t.fairway;
    };
    int tees = 0, cups = 0;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < static_cast<int>(source.layout[r].size()); ++c) {
            const int i = i0 + c, j = j0 + (rows - 1 - r);
            TileSpec t;
            char ch = source.layout[r][c];
            if (!tile_spec(ch, t)) {
                if (error) *error = std::string("unknown layout character '") + ch + "' in row " + std::to_string(r + 1);
                return false;
            }
            if (!t.fairway && t.raise == 0) continue;
            int level = 1;
            if (!source.heights.empty()) {
                char hc = source.heights[r][c];
                if (hc != '.') {
                    level = level_of(hc);
                    if (level < 1 || level > MAX_HEIGHT) {
                        if (error) *error = std::string("bad height '") + hc + "' in row " + std::to_string(r + 1);
                        return false;
                    }
                }
            }
            grid.height_at(i, j) = std::min(level + t.raise, MAX_HEIGHT);
            grid.kind_at(i, j) = t.kind;
            if (!t.fairway) continue;

            // Railings wherever the fairway meets the void. Side order: +y, +x, -y, -x.
            const int dc[4] = {0, 1, 0, -1}, dr[4] = {-1, 0, 1, 0};
            const int bits[4] = {EDGE_RAIL_YMAX, EDGE_RAIL_XMAX, EDGE_RAIL_YMIN, EDGE_RAIL_XMIN};
            int edges = 0;
            for (int s = 0; s < 4; ++s) {
                char n = char_at(c + dc[s], r + dr[s]);
                TileSpec ns;
                if (tile_spec(n, ns) && !ns.fairway && ns.raise == 0) edges |= bits[s];
            }
            if (is_ramp(t.kind)) {
                // Ramps take railings along their long sides only, where no twin ramp lies.
                bool alongY = t.kind == 0 || t.kind == 2;
                int lowSide = alongY ? 3 : 2, highSide = alongY ? 1 : 0;
                auto open_side = [&](int s) { return char_at(c + dc[s], r + dr[s]) != ch; };
                bool low = open_side(lowSide), high = open_side(highSide);
                grid.edges_at(i, j) = low && high ? EDGE_RAMP_RAIL_BOTH : low ? EDGE_RAMP_RAIL_LOW : high ? EDGE_RAMP_RAIL_HIGH : 0;
                continue;
            }
            if (t.diagonal) {
                edges |= t.diagonal;
                // The grass lies on the side of the fairway neighbours.
                bool right = fairway_at(c + 1, r), below = fairway_at(c, r + 1);
                bool left = fairway_at(c - 1, r);
                if (t.diagonal == EDGE_RAIL_DIAG_MAIN) grid.kind_at(i, j) = (right || below) ? 5 : 7;
                else grid.kind_at(i, j) = (left || below) ? 4 : 6;
            }
            if (t.cup) {
                edges |= EDGE_CUP;
                ++cups;
            }
            if (t.tee) {
                grid.tee = {level, static_cast<int>(tile_corner(i)), static_cast<int>(tile_corner(j))};
                ++tees;
            }
            grid.edges_at(i, j) = edges;
        }
    }
    if (tees != 1 || cups != 1) {
        if (error) *error = "a hole needs exactly one tee 'T' and one cup 'C'";
        return false;
    }
    grid.teeState = TeeState::Waiting;
    rebuild_warp_table(grid);
    return true;
}

bool parse_course_list(const std::string& text, CourseList& out, std::string* error)
{
    out = CourseList{};
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("title ", 0) == 0) out.title = line.substr(6);
        else out.holes.push_back(line);
    }
    if (out.holes.empty() || out.holes.size() > 18) {
        if (error) *error = "a course lists 1 to 18 holes";
        return false;
    }
    return true;
}
