// The sound table: one mixer chunk per effect id, each played on the channel of its id.
#include <SDL.h>
#include <SDL_mixer.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "audio/audio.h"
#include "audio/audio_local.h"
#include "audio/wave_reader.h"
#include "platform/fs.h"

namespace {

struct SoundSlot {
    Mix_Chunk* chunk = nullptr;      // refers to samples; null = this id is silent
    std::vector<uint8_t> samples;    // the effect converted to the device's format
};

struct SoundSystem {
    int audioInitialised = 0;        // SDL's audio subsystem is up
    int deviceOpen = 0;              // the mixer has a device
    int deviceFrequency = 0;
    Uint16 deviceFormat = 0;
    int deviceChannels = 0;
    int soundCount = 0;              // slots used by the current load
    SoundSlot slots[MAX_SOUNDS];
};

SoundSystem soundSystem;

// No effect is anywhere near this long; a bigger file is refused instead of filling memory.
constexpr uint32_t MAX_EFFECT_BYTES = 16u << 20;

bool valid_id(int id) { return id >= 0 && id < MAX_SOUNDS; }

// The SDL sample format of a WAV format, or 0 when the mixer cannot take it.
SDL_AudioFormat sdl_format_of(const WaveFormat& format)
{
    uint16_t tag = format.formatTag;
    if (tag == WAVE_FORMAT_EXTENSIBLE) {
        // The sub-format GUID (after valid bits and channel mask) starts with the plain tag.
        if (format.extra.size() < 22) return 0;
        tag = uint16_t(format.extra[6] | format.extra[7] << 8);
    }
    if (tag == WAVE_FORMAT_PCM) {
        if (format.bitsPerSample == 8) return AUDIO_U8;
        if (format.bitsPerSample == 16) return AUDIO_S16LSB;
        if (format.bitsPerSample == 32) return AUDIO_S32LSB;
    }
    if (tag == WAVE_FORMAT_IEEE_FLOAT && format.bitsPerSample == 32) return AUDIO_F32LSB;
    return 0;
}

void release_slot(int id)
{
    SoundSlot& slot = soundSystem.slots[id];
    if (slot.chunk) {
        if (soundSystem.deviceOpen) Mix_HaltChannel(id);
        Mix_FreeChunk(slot.chunk);
    }
    slot.chunk = nullptr;
    slot.samples.clear();
    slot.samples.shrink_to_fit();
}

}  // namespace

int init_sound()
{
    SoundSystem& s = soundSystem;
    if (s.deviceOpen) return SOUND_OK;
    if (!s.audioInitialised) {
        // SDL would otherwise catch SIGINT and SIGTERM and turn them into events that nobody
        // reads here, and the game could no longer be interrupted or terminated.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            log_audio(std::string("no audio device, the game stays silent: ") + SDL_GetError());
            return SOUND_NO_DEVICE;
        }
        s.audioInitialised = 1;
    }
    if (Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024) != 0) {
        log_audio(std::string("no audio device, the game stays silent: ") + Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        s.audioInitialised = 0;
        return SOUND_NO_DEVICE;
    }
    if (Mix_QuerySpec(&s.deviceFrequency, &s.deviceFormat, &s.deviceChannels) == 0) {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        s.audioInitialised = 0;
        return SOUND_NO_DEVICE;
    }
    Mix_AllocateChannels(MAX_SOUNDS);
    s.deviceOpen = 1;
    return SOUND_OK;
}

void free_sound()
{
    SoundSystem& s = soundSystem;
    // The music plays through the same device, so it cannot outlive it.
    stop_music();
    for (int id = 0; id < MAX_SOUNDS; ++id) release_slot(id);
    s.soundCount = 0;
    if (s.deviceOpen) Mix_CloseAudio();
    s.deviceOpen = 0;
    if (s.audioInitialised) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    s.audioInitialised = 0;
}

int load_sound(const std::string& path, int id)
{
    SoundSystem& s = soundSystem;
    if (!valid_id(id)) return SOUND_FAIL;
    release_slot(id);
    if (id + 1 > s.soundCount) s.soundCount = id + 1;
    if (!s.deviceOpen) return SOUND_NO_DEVICE;

    WaveReader reader;
    if (!reader.open(path)) {
        report_audio_failure("Bad wave file", "Bad wave file", path + ": " + reader.error());
        report_audio_failure("Load file failed", "load file failed", path);
        return SOUND_BAD_FILE;
    }
    const WaveFormat& format = reader.format();
    SDL_AudioFormat source = sdl_format_of(format);
    unsigned frameBytes = unsigned(format.channels) * (format.bitsPerSample / 8u);
    if (source == 0 || format.channels == 0 || format.channels > 8 || format.samplesPerSec == 0 ||
        format.samplesPerSec > 384000 || format.blockAlign != frameBytes) {
        report_audio_failure("Load file failed", "load file failed", path + ": unplayable format");
        return SOUND_MIXER_FAILED;
    }
    if (reader.data_size() > MAX_EFFECT_BYTES) {
        report_audio_failure("Load file failed", "load file failed", path + ": too long for an effect");
        return SOUND_MIXER_FAILED;
    }
    // A partial frame at the end would be noise.
    uint32_t bytes = reader.data_size() - reader.data_size() % frameBytes;

    SDL_AudioCVT cvt;
    int built = SDL_BuildAudioCVT(&cvt, source, Uint8(format.channels), int(format.samplesPerSec),
                                  s.deviceFormat, Uint8(s.deviceChannels), s.deviceFrequency);
    if (built < 0) {
        report_audio_failure("Load file failed", "load file failed", path + ": " + SDL_GetError());
        return SOUND_MIXER_FAILED;
    }
    std::vector<uint8_t> samples(size_t(bytes) * size_t(cvt.len_mult > 0 ? cvt.len_mult : 1));
    size_t got = 0;
    if (!reader.read(bytes, samples.data(), &got) || got != bytes) {
        report_audio_failure("Bad wave file", "Bad wave file", path + ": " + reader.error());
        report_audio_failure("Load file failed", "load file failed", path);
        return SOUND_BAD_FILE;
    }
    reader.reset();
    reader.close();
    if (built == 1) {
        cvt.buf = samples.data();
        cvt.len = int(bytes);
        if (SDL_ConvertAudio(&cvt) != 0) {
            report_audio_failure("Load file failed", "load file failed", path + ": " + SDL_GetError());
            return SOUND_MIXER_FAILED;
        }
        samples.resize(size_t(cvt.len_cvt));
    } else {
        samples.resize(bytes);
    }
    if (samples.empty()) samples.resize(size_t(s.deviceChannels) * 2, 0);  // an empty effect
    SoundSlot& slot = s.slots[id];
    slot.samples = std::move(samples);
    slot.chunk = Mix_QuickLoad_RAW(slot.samples.data(), Uint32(slot.samples.size()));
    if (!slot.chunk) {
        slot.samples.clear();
        report_audio_failure("Load file failed", "load file failed", path + ": " + Mix_GetError());
        return SOUND_MIXER_FAILED;
    }
    return SOUND_OK;
}

void load_sounds(const std::string& start, const std::string& dataDir, const std::string& music)
{
    // Every data path is relative to the start directory.
    if (!start.empty() && current_directory() != start && ::chdir(start.c_str()) != 0) {
        log_audio("cannot return to " + start);
    }
    begin_audio_message_pass();
    if (init_sound() != SOUND_OK) {
        end_audio_message_pass();
        return;
    }
    for (int id = 0; id < SOUND_COUNT; ++id) {
        load_sound(join_path(dataDir, std::string(SOUNDS_DIRECTORY) + "/" + SOUND_FILES[id]), id);
    }
    if (!music.empty()) start_music(music);
    end_audio_message_pass();
}

int restore_sound_buffers()
{
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    if (!soundSystem.deviceOpen || Mix_QuerySpec(&frequency, &format, &channels) == 0) {
        return SOUND_NO_DEVICE;
    }
    return SOUND_OK;
}

int play_sound(int looping, int id)
{
    if (!valid_id(id) || !soundSystem.slots[id].chunk) return SOUND_FAIL;
    if (is_sound_playing(id)) stop_sound(1, id);
    int restored = restore_sound_buffers();
    if (restored != SOUND_OK) return restored;
    // Stopped without rewind: go on from where it stopped.
    if (Mix_Playing(id) && Mix_Paused(id)) {
        Mix_Resume(id);
        return SOUND_OK;
    }
    if (Mix_PlayChannel(id, soundSystem.slots[id].chunk, looping ? -1 : 0) < 0) return SOUND_MIXER_FAILED;
    return SOUND_OK;
}

void stop_sound(int rewind, int id)
{
    if (!valid_id(id) || !soundSystem.slots[id].chunk || !soundSystem.deviceOpen) return;
    if (rewind) {
        Mix_HaltChannel(id);
    } else if (Mix_Playing(id) && !Mix_Paused(id)) {
        Mix_Pause(id);
    }
}

bool is_sound_playing(int id)
{
    if (!valid_id(id) || !soundSystem.slots[id].chunk || !soundSystem.deviceOpen) return false;
    return Mix_Playing(id) && !Mix_Paused(id);
}

bool is_sound_device_open() { return soundSystem.deviceOpen != 0; }

bool is_sound_loaded(int id) { return valid_id(id) && soundSystem.slots[id].chunk != nullptr; }

int loaded_sound_count() { return soundSystem.soundCount; }
