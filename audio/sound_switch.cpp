// The sound switch of the Config menu and the moments the sounds are freed and reloaded.
#include <SDL_mixer.h>

#include "platform/window_state.h"
#include "audio/audio.h"

const char* sound_menu_label(const WindowState& state)
{
    return state.soundOn ? "Sound Off" : "Sound On ";
}

void toggle_sound(WindowState& state)
{
    if (state.soundOn) {
        free_sound();
        stop_music();
        state.soundOn = false;
    } else {
        state.soundsPending = true;
        state.soundOn = true;
    }
}

void load_pending_sounds(WindowState& state, const std::string& dataDir, const std::string& musicFile)
{
    if (state.soundOn && state.soundsPending) {
        load_sounds(state.startDirectory, dataDir, musicFile);
        state.soundsPending = false;
    }
}

void release_sound(WindowState& state)
{
    if (state.soundOn) {
        free_sound();
        stop_music();
    }
}

void request_sound_reload(WindowState& state)
{
    if (state.soundOn) state.soundsPending = true;
}

void shutdown_audio(WindowState& state)
{
    release_sound(state);
    Mix_Quit();
}
