#include "hole/leader_board.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "hole/round_state.h"
#include "hole/field_reader.h"
#include "platform/fs.h"


namespace {

constexpr const char* DEFAULT_NAMES[LEADER_ENTRIES] = {"Avery K.", "Blake M.", "Casey N.", "Devon P.", "Emery T."};
constexpr size_t SCORE_FIELD_MAX = 27;
constexpr long READ_LIMIT = 4096;   // far more than five sound entries take

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// A '*' cannot be stored in the file (it ends the field), so it becomes a blank.
void set_name(LeaderBoard& board, int k, std::string_view name)
{
    std::memset(board.names[k], 0, sizeof board.names[k]);
    size_t length = std::min(name.size(), static_cast<size_t>(LEADER_NAME_MAX));
    for (size_t c = 0; c < length; ++c) board.names[k][c] = name[c] == '*' ? ' ' : name[c];
}

// A score field is sound when, after leading white space, it starts with a digit.
bool is_sound_score(std::string_view field)
{
    size_t k = 0;
    while (k < field.size() && (field[k] == ' ' || (field[k] >= '\t' && field[k] <= '\r'))) ++k;
    return k < field.size() && field[k] >= '0' && field[k] <= '9';
}

}  // namespace

void default_leader_board(LeaderBoard& board, int holeCount)
{
    for (int k = 0; k < LEADER_ENTRIES; ++k) {
        set_name(board, k, DEFAULT_NAMES[k]);
        board.scores[k] = 4 * holeCount + 2 * k;
    }
}

std::string leader_board_file_name(int holeCount) { return "leader_board" + std::to_string(holeCount) + ".lbh"; }

int read_leader_board_from(LeaderBoard& board, std::FILE* file, int holeCount)
{
    default_leader_board(board, holeCount);
    if (!file) return 0;
    FieldReader reader(file);
    std::string name, score;
    int taken = 0;
    for (int k = 0; k < LEADER_ENTRIES; ++k) {
        // One more character than a name may have is kept, to tell an over-long name.
        if (!reader.next(name, LEADER_NAME_MAX + 1) || !reader.last_terminated()) break;
        if (name.size() > static_cast<size_t>(LEADER_NAME_MAX)) break;
        if (!reader.next(score, SCORE_FIELD_MAX) || !reader.last_terminated() || !is_sound_score(score)) break;
        set_name(board, k, name);
        board.scores[k] = parse_decimal(score);
        ++taken;
    }
    return taken;
}

int parse_leader_board(LeaderBoard& board, std::string_view text, int holeCount)
{
    if (text.empty()) return read_leader_board_from(board, nullptr, holeCount);
    std::unique_ptr<std::FILE, FileCloser> file(fmemopen(const_cast<char*>(text.data()), text.size(), "r"));
    return read_leader_board_from(board, file.get(), holeCount);
}

void read_leader_board_file(LeaderBoard& board, const std::string& path, int holeCount)
{
    // A board that does not exist yet starts as an empty file, which stands for the defaults.
    if (std::FILE* create = std::fopen(path.c_str(), "a")) std::fclose(create);
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "r"));
    if (!file) {
        default_leader_board(board, holeCount);
        return;
    }
    // Only the head of the file matters; reading stops there however long the file is.
    std::string text(static_cast<size_t>(READ_LIMIT), '\0');
    size_t n = std::fread(text.data(), 1, text.size(), file.get());
    text.resize(n);
    parse_leader_board(board, text, holeCount);
}

void insert_leader_totals(LeaderBoard& board, const char* const names[], const int totals[], int count)
{
    for (int p = 0; p < count; ++p) {
        int t = totals[p];
        int k = 0;
        while (k < LEADER_ENTRIES && board.scores[k] <= t) ++k;
        if (k == LEADER_ENTRIES) continue;
        for (int m = LEADER_ENTRIES - 1; m > k; --m) {
            std::memcpy(board.names[m], board.names[m - 1], sizeof board.names[m]);
            board.scores[m] = board.scores[m - 1];
        }
        set_name(board, k, names[p] ? std::string_view(names[p], strnlen(names[p], LEADER_NAME_MAX)) : std::string_view());
        board.scores[k] = t;
    }
}

std::string format_leader_board(const LeaderBoard& board)
{
    std::string text;
    for (int k = 0; k < LEADER_ENTRIES; ++k) {
        text.append(board.names[k], strnlen(board.names[k], LEADER_NAME_MAX));
        text += '*';
        text += std::to_string(board.scores[k]);
        text += '*';
    }
    return text;
}

bool write_leader_board_file(const LeaderBoard& board, const std::string& path, std::string* error)
{
    return write_file_atomic(path, format_leader_board(board), error);
}

void read_leader_board(LeaderBoard& board, int holeCount, const std::string& dir)
{
    read_leader_board_file(board, join_path(dir, leader_board_file_name(holeCount)), holeCount);
}

bool update_leader_board(LeaderBoard& board, int holeCount, const char* const names[], const int scores[][MAX_HOLES],
                         int players, std::string* error, const std::string& dir)
{
    if (holeCount < 1) {
        if (error) *error = "No course is loaded, so there is no leader board to update.";
        return false;
    }
    const int holes = std::clamp(holeCount, 0, MAX_HOLES);
    players = std::clamp(players, 0, MAX_PLAYERS);
    int totals[MAX_PLAYERS] = {};
    for (int p = 0; p < players; ++p) {
        long long total = 0;
        for (int h = 0; h < holes; ++h) total += scores[p][h];
        totals[p] = static_cast<int>(std::clamp<long long>(total, 0, 1000000));
    }
    insert_leader_totals(board, names, totals, players);
    return write_leader_board_file(board, join_path(dir, leader_board_file_name(holeCount)), error);
}
