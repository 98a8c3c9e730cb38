// Leader boards: from text and from the file, and a board written reads back the same.
#include <algorithm>
#include <cstring>

#include "hole/leader_board.h"
#include "tests/fuzz/fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The file reader takes the head of the file only (4096 bytes), so the text is cut alike.
    std::string_view text(reinterpret_cast<const char*>(data), std::min<size_t>(size, 4096));
    const int holeCount = size > 0 ? data[0] % 19 : 9;
    LeaderBoard board;
    int taken = parse_leader_board(board, text, holeCount);
    FUZZ_CHECK(taken >= 0 && taken <= LEADER_ENTRIES);
    for (const auto& name : board.names) FUZZ_CHECK(strnlen(name, sizeof name) <= static_cast<size_t>(LEADER_NAME_MAX));

    LeaderBoard fromFile;
    read_leader_board_file(fromFile, fuzz_write_input("leader_board.lbh", data, size), holeCount);
    for (int k = 0; k < LEADER_ENTRIES; ++k) {
        FUZZ_CHECK(std::memcmp(fromFile.names[k], board.names[k], sizeof board.names[k]) == 0);
        FUZZ_CHECK(fromFile.scores[k] == board.scores[k]);
    }

    // What the game writes (names with a '*' are blanked) reads back as the same board.
    LeaderBoard again;
    FUZZ_CHECK(parse_leader_board(again, format_leader_board(board), holeCount) == LEADER_ENTRIES);
    for (int k = 0; k < LEADER_ENTRIES; ++k) {
        FUZZ_CHECK(again.scores[k] == board.scores[k]);
    }
    return 0;
}
