// The game's sound: eleven effects on their own mixer channels and looping MIDI music.
// Everything runs on the game's one thread. With no audio device every call returns at once
// and the game stays silent.
#pragma once

#include <string>

#include "audio/sound_ids.h"

struct Course;
struct WindowState;

constexpr int MAX_SOUNDS = 30;               // slots in the sound table
constexpr int SOUND_OK = 0;
constexpr int SOUND_FAIL = -1;               // no sound loaded for the id
constexpr int SOUND_NO_DEVICE = -2;          // the audio device is not open
constexpr int SOUND_MIXER_FAILED = -3;       // the mixer refused the request
constexpr int SOUND_BAD_FILE = -4;           // the file is missing or malformed

constexpr const char* SOUNDS_DIRECTORY = "sounds";
constexpr const char* BACKGROUND_MUSIC = "sounds/Background.mid";
// The General MIDI soundfont the music is rendered with (Debian's timgm6mb-soundfont).
constexpr const char* GM_SOUNDFONT = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// ---- messages -----------------------------------------------------------------------------
// Shows an audio failure to the player (text and caption as the game words them).
using AudioMessageHandler = void (*)(const char* text, const char* caption);
// Sets the handler; nullptr goes back to the default, which only writes to stderr. Every
// failure is written to stderr in any case; a load (load_sounds, start_hole_music) hands the
// handler one message at its end listing each file that failed and why, so a broken folder
// cannot flood the screen.
void set_audio_message_handler(AudioMessageHandler handler);

// ---- sound effects ------------------------------------------------------------------------
// Opens the audio device (22050 Hz, 16 bit, stereo) with MAX_SOUNDS channels. SOUND_OK, or
// SOUND_NO_DEVICE when there is none (reported on stderr only: a machine without sound is
// not an error the player must dismiss).
int init_sound();
// Stops the music, frees every effect, closes the device; the table count becomes 0.
void free_sound();
// Back in the start directory, opens the device, loads the eleven effects from sounds/ of the
// data folder dataDir ("" for the working directory) in id order and starts the music at
// musicFile ("" for none). Does nothing more without a device.
void load_sounds(const std::string& startDirectory, const std::string& dataDir, const std::string& musicFile);
// Reads one WAV file into slot id. SOUND_OK, SOUND_BAD_FILE ("Bad wave file", then "Load file
// failed") or SOUND_MIXER_FAILED ("Load file failed"); the id then stays silent.
int load_sound(const std::string& path, int id);
// Plays effect id from its beginning, restarting it when it is already playing; an effect
// stopped without rewind goes on from where it stopped. SOUND_OK or a failure code; a failure
// never blocks and repeating the request cannot succeed until the sounds are loaded again.
int play_sound(int looping, int id);
// Stops effect id; with rewind the next play starts from its beginning.
void stop_sound(int rewind, int id);
// True while effect id is audible (not stopped, not finished).
bool is_sound_playing(int id);
// Checks before each play that the device is still there; SOUND_OK or SOUND_NO_DEVICE.
// The effects live in memory, so there is nothing to refill.
int restore_sound_buffers();

bool is_sound_device_open();
bool is_sound_loaded(int id);
int loaded_sound_count();                    // slots used by the last load (0 after free_sound)

// ---- music --------------------------------------------------------------------------------
// The music for the current state of play: the hole's own file while a course hole is in play
// (currentHole <= holeCount), "" when that entry is "NOMIDIFILEPRESENT" (any case) or empty,
// else BACKGROUND_MUSIC in the data folder dataDir ("" for the working directory). Backslashes
// in the course's path become '/'.
std::string choose_music_file(const Course& course, int currentHole, const std::string& dataDir);
// Plays the MIDI file at path in an endless loop, replacing any music. SOUND_OK or a failure
// code, after showing "Could not initialize performance", "Could not add port to performance"
// or "Could not load segment" (caption "PlayPri").
int start_music(const std::string& path);
// Stops and frees the music; safe to call at any time.
void stop_music();
// At the start of a hole: stop_music, then start the music choose_music_file gives for the
// course and hole, if any. Nothing happens while the sounds are not loaded.
void start_hole_music(const Course& course, int currentHole, const std::string& dataDir);
bool is_music_playing();

// ---- the sound switch ---------------------------------------------------------------------
// The Config menu's sound entry: "Sound Off" while sound is on, "Sound On " while it is off.
const char* sound_menu_label(const WindowState& state);
// The Config menu's sound entry chosen: off frees effects and music; on asks for a load at
// the end of the next frame.
void toggle_sound(WindowState& state);
// End of a frame: loads the sounds (and musicFile) when sound is on and a load is pending.
void load_pending_sounds(WindowState& state, const std::string& dataDir, const std::string& musicFile);
// Before a display-mode change, a restart or exit: frees effects and music when sound is on.
void release_sound(WindowState& state);
// After a display-mode change or a restart: with sound on, the sounds load again next frame.
void request_sound_reload(WindowState& state);
// At exit: release_sound, then unloads the mixer's decoders.
void shutdown_audio(WindowState& state);
