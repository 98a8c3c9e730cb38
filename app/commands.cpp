// Menu commands that reach into the shell: the sound switch, leaving full screen, and
// starting a new hole in the editor.
#include "app/editor_commands.h"
#include "app/shell.h"

void leave_full_screen_if_needed(Session& s)
{
    if (s.window.fullScreen) leave_full_screen(s);
}

void switch_sound(Session& s, bool on)
{
    WindowState& window = s.window;
    if (!on) {
        set_sound_label(s, false);
        release_sound();
        window.soundOn = false;
    } else {
        set_sound_label(s, true);
        window.soundsPending = true;   // the sounds load at the end of the next frame
        window.soundOn = true;
    }
    store_settings(s);
}

void new_hole(Session& s)
{
    s.currentFileName.clear();
    set_window_title(s, NO_FILE_TITLE);
    clear_hole(s.grid);
    editor_hole_opened(s);
    s.round.ballReady = false;
    s.pointer.swallowClick = true;
}
