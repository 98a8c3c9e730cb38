// A test's trigger: with MG_SAVE_LOOP set, the game saves a hole, its settings and a leader
// board over and over, flipping each between two versions, instead of starting; the test
// kills it at random moments and checks that every file is always one version or the other.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/save_loop.h"

#include "app/config.h"
#include "platform/test_seam.h"
#include "hole/hole_file.h"
#include "hole/leader_board.h"

// The two versions of each file, so the test can tell them apart.
void save_loop_versions(int version, HoleGrid& grid, WindowState& window, LeaderBoard& board)
{
    clear_hole(grid);
    for (int k = 0; k < GRID_SIZE * GRID_SIZE; ++k) grid.height[k] = version + 1;
    grid.tee = Tee{version + 1, 0, 0};
    window = WindowState{};
    window.windowWidth = version == 0 ? 600 : 1024;
    window.windowHeight = version == 0 ? 450 : 768;
    default_leader_board(board, version == 0 ? 9 : 18);
}

void run_save_loop_if_asked()
{
    const std::string base = test_seam().saveLoop;
    if (base.empty()) return;
    static HoleGrid grid;
    WindowState window;
    LeaderBoard board;
    for (unsigned long round = 0;; ++round) {
        save_loop_versions(static_cast<int>(round % 2), grid, window, board);
        std::string error;
        bool ok = write_hole_file(grid, base + "/loop.top", &error) &&
                  write_config_file(base + "/" + CONFIG_FILE, window, &error) &&
                  write_leader_board_file(board, base + "/" + leader_board_file_name(9), &error);
        if (!ok) {
            std::fprintf(stderr, "save loop: %s\n", error.c_str());
            std::exit(1);
        }
    }
}
