// Effects and music on SDL's dummy audio driver (silent, but paced like a real device), the
// disk driver (whose output file shows what was heard), and no driver at all.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <unistd.h>

#include <csignal>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

#include "platform/window_state.h"
#include "audio/audio.h"
#include "audio_test_files.h"
#include "hole/round_state.h"
#include "hole/course.h"
#include "platform/fs.h"

using namespace audio_test;

// SDL and FluidSynth keep a few allocations until the process ends.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfluidsynth.so\nleak:libSDL2-2.0.so\nleak:libSDL2_mixer-2.0.so\n";
}

namespace {

std::vector<std::pair<std::string, std::string>> shownMessages;

void record_message(const char* text, const char* caption) { shownMessages.emplace_back(text, caption); }


template <class Condition>
bool wait_for(Condition condition, int timeoutMs = 10000)
{
    for (int waited = 0; waited < timeoutMs; waited += 5) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return condition();
}

// Watches what a channel feeds the mixer. The test effects are ramps whose sample k holds k,
// so the first value of a block says where in the effect the channel is.
struct PositionProbe {
    std::atomic<int> first{-1};   // first sample value since attach
    std::atomic<int> last{-1};    // first sample value of the latest block

    static void on_block(int, void* stream, int len, void* self)
    {
        if (len < 2) return;
        int16_t value;
        std::memcpy(&value, stream, 2);
        auto* probe = static_cast<PositionProbe*>(self);
        int expected = -1;
        probe->first.compare_exchange_strong(expected, value);
        probe->last = value;
    }
    void attach(int channel)
    {
        Mix_UnregisterAllEffects(channel);
        first = -1;
        Mix_RegisterEffect(channel, on_block, nullptr, this);
    }
};

constexpr unsigned LONG_RAMP_FRAMES = 32000;  // about 1.45 s at 22050 Hz

class AudioPlayback : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        savedCwd_ = current_directory();
        shownMessages.clear();
        set_audio_message_handler(record_message);

        ASSERT_FALSE(dir_.path().empty());
        ASSERT_TRUE(ensure_directory(dir_.file("sounds")));
        for (int id = 0; id < SOUND_COUNT; ++id) {
            write_bytes(sound_path(id), ramp_wave(id == SOUND_PUTTER_HIT_BALL ? LONG_RAMP_FRAMES : 2205));
        }
        write_bytes(dir_.file("sounds/Background.mid"), small_midi());
        windowState.startDirectory = dir_.path();
        course.holeCount = 0;
        gameState.currentHole = 1;
    }

    void TearDown() override
    {
        free_sound();
        stop_music();
        set_audio_message_handler(nullptr);
        if (!savedCwd_.empty()) {
            EXPECT_EQ(chdir(savedCwd_.c_str()), 0);
        }
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }

    std::string sound_path(int id) const { return dir_.file(std::string("sounds/") + SOUND_FILES[id]); }

    // A course of three holes: its own song, none, and a file that is no MIDI file.
    void set_course()
    {
        write_bytes(dir_.file("hole1.mid"), small_midi());
        write_bytes(dir_.file("hole3.mid"), ramp_wave(100));
        course.holeCount = 3;
        std::strcpy(course.musicFile[0], "hole1.mid");  // relative: looked for in the start directory
        std::strcpy(course.musicFile[1], "NOMIDIFILEpresent");
        std::strcpy(course.musicFile[2], "hole3.mid");
    }

    // The sound's view of the game: the window's settings, the course and the hole in play.
    void load_sounds() { ::load_sounds(windowState.startDirectory, "", choose_music_file(course, gameState.currentHole, "")); }
    void start_hole_music() { ::start_hole_music(course, gameState.currentHole, ""); }
    void load_pending_sounds(WindowState& state)
    {
        ::load_pending_sounds(state, "", choose_music_file(course, gameState.currentHole, ""));
    }

    TempDir dir_;
    std::string savedCwd_;
    WindowState windowState;
    std::unique_ptr<Course> coursePtr_ = std::make_unique<Course>();
    Course& course = *coursePtr_;
    GameState gameState;
};

}  // namespace

TEST_F(AudioPlayback, LoadsTheElevenEffectsAndTheBackgroundMusic)
{
    load_sounds();
    ASSERT_TRUE(is_sound_device_open());
    EXPECT_EQ(current_directory(), dir_.path());  // back in the start directory
    EXPECT_EQ(loaded_sound_count(), SOUND_COUNT);
    for (int id = 0; id < SOUND_COUNT; ++id) EXPECT_TRUE(is_sound_loaded(id)) << id;
    EXPECT_TRUE(is_music_playing());
    EXPECT_TRUE(shownMessages.empty());

    // A short effect plays and runs out by itself.
    EXPECT_EQ(play_sound(0, SOUND_BUMPER), SOUND_OK);
    EXPECT_TRUE(is_sound_playing(SOUND_BUMPER));
    EXPECT_TRUE(wait_for([] { return !is_sound_playing(SOUND_BUMPER); }));
    EXPECT_EQ(play_sound(0, SOUND_COUNT), SOUND_FAIL);  // no such effect
    EXPECT_EQ(play_sound(0, -1), SOUND_FAIL);
}

TEST_F(AudioPlayback, TheOpenDeviceLeavesTerminationSignalsAlone)
{
    ASSERT_EQ(init_sound(), SOUND_OK);
    for (int signal : {SIGINT, SIGTERM}) {
        struct sigaction action;
        ASSERT_EQ(sigaction(signal, nullptr, &action), 0);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << signal;
    }
}

TEST_F(AudioPlayback, PlayRestartsAndStopKeepsOrRewindsThePosition)
{
    load_sounds();
    ASSERT_TRUE(is_sound_loaded(SOUND_PUTTER_HIT_BALL));
    const int id = SOUND_PUTTER_HIT_BALL;
    PositionProbe probe;

    ASSERT_EQ(play_sound(0, id), SOUND_OK);
    probe.attach(id);
    EXPECT_TRUE(is_sound_playing(id));
    ASSERT_TRUE(wait_for([&] { return probe.last >= 12000; }));

    // Played again while playing: from the beginning.
    ASSERT_EQ(play_sound(0, id), SOUND_OK);
    probe.attach(id);
    ASSERT_TRUE(wait_for([&] { return probe.first >= 0; }));
    EXPECT_LT(probe.first, 6000);
    ASSERT_TRUE(wait_for([&] { return probe.last >= 12000; }));

    // Stopped without rewind: silent, and the next play goes on from there.
    stop_sound(0, id);
    EXPECT_FALSE(is_sound_playing(id));
    int stoppedAt = probe.last;
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(probe.last, stoppedAt);
    ASSERT_EQ(play_sound(0, id), SOUND_OK);
    probe.attach(id);
    EXPECT_TRUE(is_sound_playing(id));
    ASSERT_TRUE(wait_for([&] { return probe.first >= 0; }));
    EXPECT_GT(probe.first, stoppedAt);

    // Stopped with rewind: the next play starts over.
    stop_sound(1, id);
    EXPECT_FALSE(is_sound_playing(id));
    ASSERT_EQ(play_sound(0, id), SOUND_OK);
    probe.attach(id);
    ASSERT_TRUE(wait_for([&] { return probe.first >= 0; }));
    EXPECT_LT(probe.first, 6000);
    EXPECT_TRUE(wait_for([&] { return !is_sound_playing(id); }));

    // The block sound: started with the cycle, stopped with rewind, started again.
    ASSERT_EQ(play_sound(0, SOUND_BLOCK_MOVING), SOUND_OK);
    stop_sound(1, SOUND_BLOCK_MOVING);
    EXPECT_FALSE(is_sound_playing(SOUND_BLOCK_MOVING));
    EXPECT_EQ(play_sound(0, SOUND_BLOCK_MOVING), SOUND_OK);
    EXPECT_TRUE(is_sound_playing(SOUND_BLOCK_MOVING));
}

TEST_F(AudioPlayback, BrokenEffectFilesStaySilentAndTheOthersLoad)
{
    std::vector<uint8_t> whole = ramp_wave(500);
    write_bytes(sound_path(SOUND_WARP), std::vector<uint8_t>(whole.begin(), whole.begin() + 300));
    std::vector<uint8_t> chunks;
    put_chunk(chunks, "fmt ", std::vector<uint8_t>(12, 1));
    put_chunk(chunks, "data", std::vector<uint8_t>(64, 0));
    write_bytes(sound_path(SOUND_SAND), riff_wave(chunks));
    std::remove(sound_path(SOUND_CONVEYOR).c_str());

    load_sounds();
    // One message for the whole load, a line for each broken file saying why, and none for
    // the files that loaded.
    ASSERT_EQ(shownMessages.size(), 1u);
    const std::string& text = shownMessages[0].first;
    EXPECT_EQ(shownMessages[0].second, "Sound Files");
    EXPECT_EQ(text.find("These sound files could not be loaded"), 0u) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << text;
    for (int id : {SOUND_WARP, SOUND_SAND, SOUND_CONVEYOR}) {
        const std::string line = std::string("\n     ") + SOUND_FILES[id] + " - ";
        EXPECT_NE(text.find(line + "Bad wave file ("), std::string::npos) << line << " in\n" << text;
    }
    EXPECT_EQ(text.find(SOUND_FILES[SOUND_BUMPER]), std::string::npos) << text;
    EXPECT_EQ(text.find(':'), std::string::npos) << "the dialog font has no colon: " << text;
    for (int id = 0; id < SOUND_COUNT; ++id) {
        bool broken = id == SOUND_WARP || id == SOUND_SAND || id == SOUND_CONVEYOR;
        EXPECT_EQ(is_sound_loaded(id), !broken) << id;
        EXPECT_EQ(play_sound(0, id), broken ? SOUND_FAIL : SOUND_OK) << id;
    }
    EXPECT_TRUE(is_music_playing());

    // A later load may tell the player again.
    free_sound();
    load_sounds();
    EXPECT_EQ(shownMessages.size(), 2u);
}

TEST_F(AudioPlayback, MusicFollowsTheCourseHoles)
{
    set_course();
    gameState.currentHole = 1;
    load_sounds();
    EXPECT_TRUE(is_music_playing());
    EXPECT_TRUE(shownMessages.empty());

    gameState.currentHole = 2;  // "NOMIDIFILEPRESENT": silence
    start_hole_music();
    EXPECT_FALSE(is_music_playing());
    free_sound();
    load_sounds();  // also when sound is switched on during that hole
    EXPECT_FALSE(is_music_playing());

    gameState.currentHole = 3;  // not a MIDI file
    start_hole_music();
    EXPECT_FALSE(is_music_playing());
    ASSERT_EQ(shownMessages.size(), 1u);
    EXPECT_NE(shownMessages[0].first.find("\n     hole3.mid - Could not load segment"), std::string::npos)
        << shownMessages[0].first;
    EXPECT_EQ(shownMessages[0].second, "Sound Files");
    EXPECT_EQ(play_sound(0, SOUND_BALL_IN_CUP), SOUND_OK);  // the game goes on

    gameState.currentHole = 4;  // after the last hole
    start_hole_music();
    EXPECT_TRUE(is_music_playing());
    EXPECT_EQ(start_music(dir_.file("missing.mid")), SOUND_BAD_FILE);
    EXPECT_FALSE(is_music_playing());
    stop_music();
    stop_music();
}

TEST_F(AudioPlayback, SoundSwitchFreesAndReloads)
{
    WindowState& state = windowState;
    state.soundOn = 1;
    state.soundsPending = 1;
    EXPECT_STREQ(sound_menu_label(state), "Sound Off");
    load_pending_sounds(state);
    EXPECT_EQ(state.soundsPending, 0);
    EXPECT_EQ(loaded_sound_count(), SOUND_COUNT);
    EXPECT_TRUE(is_music_playing());

    toggle_sound(state);  // off
    EXPECT_EQ(state.soundOn, 0);
    EXPECT_STREQ(sound_menu_label(state), "Sound On ");
    EXPECT_FALSE(is_sound_device_open());
    EXPECT_FALSE(is_music_playing());
    EXPECT_EQ(loaded_sound_count(), 0);
    EXPECT_NE(play_sound(0, SOUND_BUMPER), SOUND_OK);
    load_pending_sounds(state);
    EXPECT_FALSE(is_sound_device_open());
    request_sound_reload(state);  // a mode change with sound off loads nothing
    EXPECT_EQ(state.soundsPending, 0);

    toggle_sound(state);  // on: loaded at the end of the next frame
    EXPECT_EQ(state.soundOn, 1);
    EXPECT_EQ(state.soundsPending, 1);
    EXPECT_STREQ(sound_menu_label(state), "Sound Off");
    EXPECT_FALSE(is_sound_device_open());
    load_pending_sounds(state);
    EXPECT_EQ(state.soundsPending, 0);
    for (int id = 0; id < SOUND_COUNT; ++id) EXPECT_TRUE(is_sound_loaded(id)) << id;
    EXPECT_TRUE(is_music_playing());

    // A display-mode change: freed before, reloaded the frame after.
    release_sound(state);
    EXPECT_FALSE(is_sound_device_open());
    request_sound_reload(state);
    EXPECT_EQ(state.soundsPending, 1);
    load_pending_sounds(state);
    EXPECT_EQ(play_sound(0, SOUND_BUMPER), SOUND_OK);
    EXPECT_TRUE(shownMessages.empty());
}

TEST_F(AudioPlayback, WithoutADeviceEveryRequestReturnsAtOnce)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    load_sounds();
    EXPECT_FALSE(is_sound_device_open());
    EXPECT_FALSE(is_music_playing());
    // The physics asks again every step; none of it may block or pile up messages.
    for (int k = 0; k < 10000; ++k) {
        ASSERT_NE(play_sound(0, k % SOUND_COUNT), SOUND_OK);
        stop_sound(k & 1, k % SOUND_COUNT);
        ASSERT_FALSE(is_sound_playing(k % SOUND_COUNT));
    }
    EXPECT_EQ(start_music(dir_.file("sounds/Background.mid")), SOUND_NO_DEVICE);
    start_hole_music();
    load_sounds();
    EXPECT_TRUE(shownMessages.empty());
    free_sound();
    stop_music();
}

TEST_F(AudioPlayback, DiskDriverRecordsTheEffectAndTheSynthesisedMusic)
{
    // The disk driver writes what the device would play to a file, in real time.
    setenv("SDL_AUDIODRIVER", "disk", 1);
    std::string effectOut = dir_.file("effect.raw");
    std::string musicOut = dir_.file("music.raw");
    auto peak_of = [](const std::string& path) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        int peak = 0;
        int16_t s;
        while (f && std::fread(&s, 2, 1, f) == 1) peak = std::max(peak, std::abs(int(s)));
        if (f) std::fclose(f);
        return peak;
    };

    set_course();
    gameState.currentHole = 2;  // no music: only the effect is heard
    setenv("SDL_DISKAUDIOFILE", effectOut.c_str(), 1);
    load_sounds();
    ASSERT_TRUE(is_sound_device_open());
    ASSERT_EQ(play_sound(0, SOUND_PUTTER_HIT_BALL), SOUND_OK);
    EXPECT_TRUE(wait_for([] { return !is_sound_playing(SOUND_PUTTER_HIT_BALL); }));
    free_sound();
    EXPECT_GT(peak_of(effectOut), 20000);  // the ramp rises to 32000 at full volume

    gameState.currentHole = 1;  // the hole's own song
    setenv("SDL_DISKAUDIOFILE", musicOut.c_str(), 1);
    load_sounds();
    ASSERT_TRUE(is_music_playing());
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    free_sound();
    EXPECT_GT(peak_of(musicOut), 500);  // FluidSynth rendered the notes with the soundfont
    unsetenv("SDL_DISKAUDIOFILE");
}
