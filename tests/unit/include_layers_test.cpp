// The include layers: every `#include "..."` in the game's folders reaches only down the
// ranking below. An include of a higher folder fails; an include of another folder of the
// same rank fails unless the allow-list names it with its reason. tools/ and tests/ sit on
// top and are not read.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// ---- The ranking and the allow-list: edit these. --------------------------------------

// A folder may include its own rank's headers only from itself, and any lower rank's. A
// file belongs to the longest ranked folder its path starts with ("game/net/x.cpp" is in
// game/net); the game's folders are ranked one by one, by capability.
const std::map<std::string, int> LAYER_RANKS = {
    {"platform", 0},
    {"hole", 10},
    {"physics", 20}, {"audio", 20},
    {"render", 30}, {"editor", 30},
    {"game/rules", 30},
    {"game/computer", 31},
    {"game/round", 32},
    {"game/net", 33},
    {"game/play", 34}, {"game/ui", 34},
    {"app", 40},
    {"tools", 50},
};

// Ranked folders whose sources are not read: they are on top (tests/ has no rank at all).
// Every other ranked folder is read, so a new folder is checked once it has a rank.
const std::vector<std::string> UNCHECKED_FOLDERS = {"tools"};

// Includes against the ranking that are allowed: the including file, the included header,
// and why.
struct LayerException {
    std::string file;    // e.g. "render/balls_gl.cpp"
    std::string header;  // as written in the include, e.g. "hole/round_state.h"
    std::string reason;
};

const std::vector<LayerException> LAYER_EXCEPTIONS = {
    {"physics/ball_step.cpp", "audio/sound_ids.h",
     "the putter's sound is asked for by id through the world's hooks; the header is the id table, no code"},
    {"physics/contacts.cpp", "audio/sound_ids.h",
     "contact sounds are asked for by id through the world's hooks; the header is the id table, no code"},
    {"physics/hole_events.cpp", "audio/sound_ids.h",
     "cup and block sounds are asked for by id through the world's hooks; the header is the id table, no code"},
    {"game/round/session.h", "game/net/net_round.h",
     "the session keeps network play's state by value; only net/ and the folders above it call into it"},
};

// Folders that never include each other, whatever their ranks: the computer player decides
// only its own putts, and the network only carries putts already decided.
const std::vector<std::pair<std::string, std::string>> APART = {
    {"game/net", "game/computer"},
    {"game/computer", "game/net"},
};

// ---- The check. ------------------------------------------------------------------------

struct IncludeLine {
    std::string file;    // relative to the source root, with '/'
    int line = 0;        // from 1
    std::string header;  // the text between the quotes
};

// The quoted header of a line that is an include directive ("#include", "# include", led
// by blanks), or empty.
std::string quoted_include(const std::string& text)
{
    size_t at = text.find_first_not_of(" \t");
    if (at == std::string::npos || text[at] != '#') return {};
    at = text.find_first_not_of(" \t", at + 1);
    if (at == std::string::npos || text.compare(at, 7, "include") != 0) return {};
    at = text.find_first_not_of(" \t", at + 7);
    if (at == std::string::npos || text[at] != '"') return {};
    const size_t end = text.find('"', at + 1);
    if (end == std::string::npos) return {};
    return text.substr(at + 1, end - at - 1);
}

// Every quoted include in the .h and .cpp files under root/folder for each folder, in file
// and line order.
std::vector<IncludeLine> read_includes(const std::filesystem::path& root, const std::vector<std::string>& folders)
{
    namespace fs = std::filesystem;
    std::vector<IncludeLine> includes;
    for (const std::string& folder : folders) {
        const fs::path dir = root / folder;
        if (!fs::is_directory(dir)) continue;
        std::vector<fs::path> files;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir)) {
            const std::string ext = entry.path().extension().string();
            if (entry.is_regular_file() && (ext == ".h" || ext == ".cpp")) files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        for (const fs::path& path : files) {
            std::ifstream in(path);
            std::string text;
            int line = 0;
            while (std::getline(in, text)) {
                ++line;
                const std::string header = quoted_include(text);
                if (!header.empty())
                    includes.push_back({fs::relative(path, root).generic_string(), line, header});
            }
        }
    }
    return includes;
}

struct LayerReport {
    std::vector<std::string> upward;     // "file:line: includes \"header\" (from -> to)"
    std::vector<std::string> sideways;   // not allowed
    std::vector<std::string> unranked;   // a folder missing from the ranking
    std::vector<std::string> apart;      // between folders kept apart
    std::vector<std::string> staleAllowed;  // allow-list entries that match no include
    int includesRead = 0;
};

// The ranked folder a path is in: the longest one it starts with ("game/net/x.h" ->
// "game/net"), else its first folder ("vendor/x.h" -> "vendor"); a bare name is in folder
// itself.
std::string folder_of(const std::string& path, const std::string& self, const std::map<std::string, int>& ranks)
{
    const size_t slash = path.find('/');
    if (slash == std::string::npos) return self;
    std::string best;
    for (const auto& [folder, rank] : ranks)
        if (folder.size() > best.size() && path.compare(0, folder.size() + 1, folder + "/") == 0) best = folder;
    return best.empty() ? path.substr(0, slash) : best;
}

LayerReport check_layers(const std::vector<IncludeLine>& includes, const std::map<std::string, int>& ranks,
                         const std::vector<LayerException>& allowed,
                         const std::vector<std::pair<std::string, std::string>>& apart)
{
    LayerReport report;
    report.includesRead = static_cast<int>(includes.size());
    std::vector<bool> used(allowed.size(), false);
    for (const IncludeLine& inc : includes) {
        const std::string from = folder_of(inc.file, "", ranks);
        const std::string to = folder_of(inc.header, from, ranks);
        const std::string where = inc.file + ":" + std::to_string(inc.line) + ": includes \"" + inc.header + "\" (" +
                                  from + " -> " + to + ")";
        if (from == to) continue;
        bool excepted = false;
        for (size_t k = 0; k < allowed.size(); ++k) {
            if (allowed[k].file == inc.file && allowed[k].header == inc.header) {
                excepted = true;
                used[k] = true;
            }
        }
        const auto fromRank = ranks.find(from), toRank = ranks.find(to);
        if (fromRank == ranks.end() || toRank == ranks.end()) {
            report.unranked.push_back(where);
        } else if (std::find(apart.begin(), apart.end(), std::make_pair(from, to)) != apart.end()) {
            report.apart.push_back(where);
        } else if (excepted) {
            continue;
        } else if (toRank->second > fromRank->second) {
            report.upward.push_back(where);
        } else if (toRank->second == fromRank->second) {
            report.sideways.push_back(where);
        }
    }
    for (size_t k = 0; k < allowed.size(); ++k)
        if (!used[k]) report.staleAllowed.push_back(allowed[k].file + " -> \"" + allowed[k].header + "\"");
    return report;
}

std::string listing(const std::vector<std::string>& lines)
{
    std::ostringstream out;
    out << lines.size() << ":\n";
    for (const std::string& line : lines) out << "  " << line << "\n";
    return out.str();
}

}  // namespace

TEST(IncludeLayers, GameFoldersIncludeOnlyDownward)
{
    std::vector<std::string> checked;
    for (const auto& [folder, rank] : LAYER_RANKS)
        if (std::find(UNCHECKED_FOLDERS.begin(), UNCHECKED_FOLDERS.end(), folder) == UNCHECKED_FOLDERS.end())
            checked.push_back(folder);
    const std::vector<IncludeLine> includes = read_includes(MG_SOURCE_DIR, checked);
    const LayerReport report = check_layers(includes, LAYER_RANKS, LAYER_EXCEPTIONS, APART);
    // The scan must have seen the sources: an empty read passes nothing.
    ASSERT_GT(report.includesRead, 100) << "read too few includes under " << MG_SOURCE_DIR;

    EXPECT_TRUE(report.upward.empty()) << "upward includes " << listing(report.upward);
    EXPECT_TRUE(report.sideways.empty()) << "sideways includes not in the allow-list " << listing(report.sideways);
    EXPECT_TRUE(report.unranked.empty()) << "includes of a folder with no rank " << listing(report.unranked);
    EXPECT_TRUE(report.apart.empty()) << "includes between folders kept apart " << listing(report.apart);
    EXPECT_TRUE(report.staleAllowed.empty()) << "allow-list entries no include uses " << listing(report.staleAllowed);
    for (const LayerException& entry : LAYER_EXCEPTIONS)
        EXPECT_FALSE(entry.reason.empty()) << entry.file << " -> " << entry.header << " has no reason";
}

TEST(IncludeLayers, CheckSortsIncludesByDirection)
{
    // A planted tree: one include of each kind, and lines that only look like includes.
    namespace fs = std::filesystem;
    const fs::path root = fs::path(::testing::TempDir()) / "include_layers_tree";
    fs::remove_all(root);
    for (const char* dir : {"hole", "game/rules", "game/net", "game/computer", "render"})
        fs::create_directories(root / dir);
    std::ofstream(root / "hole/grid.h") << "#pragma once\n#include <vector>\n// #include \"app/shell.h\"\n"
                                           "  #  include \"game/rules/game_state.h\"\n";
    std::ofstream(root / "game/rules/round.cpp") << "#include \"game/rules/round.h\"\n#include \"hole/grid.h\"\n"
                                                    "#include \"render/scene.h\"\n#include \"editor/editor_state.h\"\n"
                                                    "#include \"local.h\"\n";
    // Ranked above the computer player, yet kept apart from it; rules lie below both.
    std::ofstream(root / "game/net/lockstep.cpp") << "#include \"game/computer/dice.h\"\n#include \"game/rules/aim.h\"\n"
                                                     "#include \"game/misc.h\"\n";
    std::ofstream(root / "render/scene.cpp") << "#include \"game/rules/game_state.h\"\n#include \"vendor/thing.h\"\n";
    std::ofstream(root / "render/notes.txt") << "#include \"app/shell.h\"\n";

    const std::vector<IncludeLine> includes =
        read_includes(root, {"hole", "game/rules", "game/net", "game/computer", "render", "app"});
    EXPECT_EQ(includes.size(), 11u);
    const std::vector<LayerException> allowed = {
        {"render/scene.cpp", "game/rules/game_state.h", "planted"},
        {"game/gone.cpp", "render/scene.h", "matches nothing"},
    };
    const LayerReport report = check_layers(includes, LAYER_RANKS, allowed, APART);
    EXPECT_EQ(report.upward, std::vector<std::string>{
                                 "hole/grid.h:4: includes \"game/rules/game_state.h\" (hole -> game/rules)"});
    EXPECT_EQ(report.sideways, (std::vector<std::string>{
                                   "game/rules/round.cpp:3: includes \"render/scene.h\" (game/rules -> render)",
                                   "game/rules/round.cpp:4: includes \"editor/editor_state.h\" (game/rules -> editor)",
                               }));
    EXPECT_EQ(report.apart, std::vector<std::string>{
                                "game/net/lockstep.cpp:1: includes \"game/computer/dice.h\" (game/net -> game/computer)"});
    EXPECT_EQ(report.unranked, (std::vector<std::string>{
                                   "game/net/lockstep.cpp:3: includes \"game/misc.h\" (game/net -> game)",
                                   "render/scene.cpp:2: includes \"vendor/thing.h\" (render -> vendor)",
                               }));
    EXPECT_EQ(report.staleAllowed, std::vector<std::string>{"game/gone.cpp -> \"render/scene.h\""});
    fs::remove_all(root);
}
