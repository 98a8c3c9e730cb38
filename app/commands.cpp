// Menu commands that reach into the shell: the sound switch, leaving full screen, and
// starting a new hole in the editor.
#include "app/display_modes.h"
#include "app/shell.h"
#include "app/window_state.h"
#include "game/game_actions.h"
#include "game/game_state.h"
#include "game/menus.h"
#include "hole/hole_file.h"
#include "hole/hole_grid.h"

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
        window.soundsPending = 1;   // the sounds load at the end of the next frame
        window.soundOn = 1;
    }
}

void new_hole()
{
    currentFileName.clear();
    set_window_title("No File Loaded.");
    clear_hole();
    gameState.ballReady = 0;
    pointerState.swallowClick = 1;
}
