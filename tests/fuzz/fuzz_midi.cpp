// MIDI files through the game's music loader: the file is read and checked, handed to the
// mixer's MIDI decoder and played until the synthesiser has rendered its first buffers (it
// reads the tracks only then), then stopped and freed. Under libFuzzer the audio device is
// SDL's disk driver writing to /dev/null, which takes samples as fast as they are made; in
// the unit tests' replay it is whatever SDL_AUDIODRIVER names (the dummy driver there).
#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

#include "audio/audio.h"
#include "audio/midi_check.h"
#include "tests/fuzz/fuzz_util.h"

// Where sanitizer reports go, when a sanitizer is linked in.
extern "C" void __sanitizer_set_report_fd(void* fd) __attribute__((weak));

namespace {

std::atomic<long> buffersMixed{0};
// Under libFuzzer: the loader's stderr lines go nowhere during a load.
bool quietLoader = false;
int reportFd = -1;

void count_mixed_buffer(void*, Uint8*, int) { buffersMixed.fetch_add(1); }

// The loader says on stderr why it refuses a file, which for a fuzzer's input is nearly every
// time; those lines are dropped while it runs, and sanitizer reports keep a copy of stderr.
class QuietStderr {
public:
    QuietStderr()
    {
        if (!quietLoader) return;
        saved_ = dup(2);
        const int nothing = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && nothing >= 0) dup2(nothing, 2);
        if (nothing >= 0) close(nothing);
    }
    ~QuietStderr()
    {
        if (saved_ < 0) return;
        dup2(saved_, 2);
        close(saved_);
    }

private:
    int saved_ = -1;
};

// Opens the device as the game does; the loader refuses everything without one, so a run
// without a device would test nothing.
void open_device()
{
    if (is_sound_device_open()) return;
    init_sound();
    if (!is_sound_device_open()) {
        std::fprintf(stderr, "fuzz-midi: no audio device (SDL_AUDIODRIVER=%s): the music loader cannot run\n",
                     std::getenv("SDL_AUDIODRIVER") ? std::getenv("SDL_AUDIODRIVER") : "");
        std::abort();
    }
    Mix_SetPostMix(count_mixed_buffer, nullptr);
}

// Waits until the mixer has mixed `buffers` more buffers; bounded, for a device that stalls.
void wait_buffers(long buffers)
{
    const long target = buffersMixed.load() + buffers;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (buffersMixed.load() < target && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "1", 1);   // milliseconds between buffers
    quietLoader = true;
    reportFd = dup(2);
    if (reportFd >= 0 && __sanitizer_set_report_fd)
        __sanitizer_set_report_fd(reinterpret_cast<void*>(static_cast<intptr_t>(reportFd)));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A refusal always says why.
    std::string why;
    if (!check_midi_file(data, size, &why)) FUZZ_CHECK(!why.empty());

    open_device();
    const std::string path = fuzz_write_input("music.mid", data, size);
    int result;
    {
        QuietStderr quiet;
        result = start_music(path);
    }
    // The player reads the file in the first buffer; a few more play its first events.
    if (result == SOUND_OK) wait_buffers(4);
    stop_music();
    return 0;
}
