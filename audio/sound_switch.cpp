// The sound switch of the Config menu and the moments the sounds are freed and reloaded.
#include <SDL_mixer.h>

#include "app/window_state.h"
#include "audio/audio.h"

const char* sound_menu_label(const WindowState& state)
{
    return state.soundOn == 1 ? "Sound Off" : "Sound On ";
}

void toggle_sound(WindowState& state)
{
    if (state.soundOn == 1) {
        free_sound();
        stop_music();
        state.soundOn = 0;
    } else {
        state.soundsPending = 1;
        state.soundOn = 1;
    }
}

void load_pending_sounds(WindowState& state)
{
    if (state.soundOn == 1 && state.soundsPending == 1) {
        load_sounds();
        state.soundsPending = 0;
    }
}

void release_sound(WindowState& state)
{
    if (state.soundOn == 1) {
        free_sound();
        stop_music();
    }
}

void request_sound_reload(WindowState& state)
{
    if (state.soundOn == 1) state.soundsPending = 1;
}

void shutdown_audio(WindowState& state)
{
    release_sound(state);
    Mix_Quit();
}
