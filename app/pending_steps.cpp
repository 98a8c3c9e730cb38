// Frame steps and commands whose subsystems are still being built. Each is named for the
// step it fills; as a subsystem lands, its step moves to that subsystem's own file.
#include "app/frame_steps.h"
#include "app/input.h"
#include "app/display_modes.h"
#include "app/shell.h"
#include "app/window_state.h"
#include "editor/editor_state.h"
#include "game/game_actions.h"
#include "game/game_state.h"
#include "game/menus.h"
#include "game/start_screen.h"
#include "hole/hole_file.h"
#include "hole/hole_grid.h"

// --- round flow ---

// --- sound and display ---
void leave_full_screen_if_needed()
{
    if (windowState.fullScreen == 1) leave_full_screen();
}

void switch_sound(bool on)
{
    WindowState& window = windowState;
    if (!on) {
        set_sound_label(0);
        release_sound();
        window.soundOn = 0;
    } else {
        set_sound_label(1);
        window.soundsPending = 1;
        window.soundOn = 1;
    }
}

// --- course files ---

void new_hole()
{
    currentFileName.clear();
    set_window_title("No File Loaded.");
    clear_hole();
    gameState.ballReady = 0;
    pointerState.swallowClick = 1;
}

