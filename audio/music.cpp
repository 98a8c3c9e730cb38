// Background music: one Standard MIDI File at a time, looped, rendered by FluidSynth.
#include <SDL.h>
#include <SDL_mixer.h>
#include <strings.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "audio/audio.h"
#include "audio/audio_local.h"
#include "audio/midi_check.h"
#include "hole/course.h"
#include "platform/fs.h"

namespace {

struct MusicState {
    Mix_Music* music = nullptr;      // the loaded piece; null = none
    std::vector<uint8_t> file;       // its bytes, which the mixer reads from
};

MusicState musicState;

constexpr const char* MUSIC_CAPTION = "PlayPri";
// Far more than any song file; a bigger one is refused rather than read whole.
constexpr long MAX_MIDI_BYTES = 8L << 20;

bool read_whole_file(const std::string& path, std::vector<uint8_t>& out, std::string* why)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        *why = "cannot open the file";
        return false;
    }
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(file) : -1;
    ok = size >= 0 && size <= MAX_MIDI_BYTES && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        out.resize(size_t(size));
        ok = size == 0 || std::fread(out.data(), 1, out.size(), file) == out.size();
    }
    std::fclose(file);
    if (!ok) *why = size > MAX_MIDI_BYTES ? "the file is too large" : "cannot read the file";
    return ok;
}

}  // namespace

std::string choose_music_file(const Course& c, int currentHole, const std::string& dataDir)
{
    if (c.holeCount > 0 && currentHole <= c.holeCount) {
        if (currentHole < 1 || currentHole > MAX_HOLES) return "";
        const char* entry = c.musicFile[currentHole - 1];
        std::string file(entry, strnlen(entry, COURSE_PATH_MAX));
        if (file.empty() || strcasecmp(file.c_str(), NO_MUSIC) == 0) return "";
        for (char& ch : file) {
            if (ch == '\\') ch = '/';
        }
        return file;
    }
    return join_path(dataDir, BACKGROUND_MUSIC);
}

int start_music(const std::string& path)
{
    stop_music();
    if (!is_sound_device_open()) {
        log_audio("no audio device, music not started");
        return SOUND_NO_DEVICE;
    }
    if ((Mix_Init(MIX_INIT_MID) & MIX_INIT_MID) == 0) {
        report_audio_failure("Could not initialize performance", MUSIC_CAPTION, Mix_GetError());
        return SOUND_MIXER_FAILED;
    }
    // Name the soundfont outright: FluidSynth's default path differs between systems.
    if (!file_exists(GM_SOUNDFONT) || !Mix_SetSoundFonts(GM_SOUNDFONT)) {
        report_audio_failure("Could not add port to performance", MUSIC_CAPTION,
                             std::string("no General MIDI soundfont at ") + GM_SOUNDFONT);
        return SOUND_MIXER_FAILED;
    }
    std::string why;
    MusicState& m = musicState;
    // FluidSynth takes any bytes at load time and fails only while playing, so the file's
    // structure is checked here.
    if (!read_whole_file(path, m.file, &why) || !check_midi_file(m.file.data(), m.file.size(), &why)) {
        m.file.clear();
        report_audio_failure("Could not load segment", MUSIC_CAPTION, path + ": " + why);
        return SOUND_BAD_FILE;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(m.file.data(), int(m.file.size()));
    m.music = rw ? Mix_LoadMUSType_RW(rw, MUS_MID, SDL_TRUE) : nullptr;
    if (!m.music) {
        m.file.clear();
        report_audio_failure("Could not load segment", MUSIC_CAPTION, path + ": " + Mix_GetError());
        return SOUND_MIXER_FAILED;
    }
    if (Mix_PlayMusic(m.music, -1) != 0) {
        log_audio("cannot play " + path + ": " + Mix_GetError());
        stop_music();
        return SOUND_MIXER_FAILED;
    }
    return SOUND_OK;
}

void stop_music()
{
    MusicState& m = musicState;
    if (m.music) {
        Mix_HaltMusic();
        Mix_FreeMusic(m.music);
    }
    m.music = nullptr;
    m.file.clear();
    m.file.shrink_to_fit();
}

void start_hole_music(const Course& course, int currentHole, const std::string& dataDir)
{
    if (!is_sound_device_open()) return;
    stop_music();
    begin_audio_message_pass();
    std::string file = choose_music_file(course, currentHole, dataDir);
    if (!file.empty()) start_music(file);
    end_audio_message_pass();
}

bool is_music_playing() { return musicState.music != nullptr && Mix_PlayingMusic() != 0; }
