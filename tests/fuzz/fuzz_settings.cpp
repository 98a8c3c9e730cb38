// Settings ("Config.glf"): whatever the file holds gives sizes the window system can take,
// and the settings written read back the same.
#include "app/config.h"
#include "tests/fuzz/fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WindowState state;
    read_config_file(fuzz_write_input("Config.glf", data, size), state);
    FUZZ_CHECK(state.windowWidth >= 0 && state.windowWidth <= MAX_WINDOW_SIDE);
    FUZZ_CHECK(state.windowHeight >= 0 && state.windowHeight <= MAX_WINDOW_SIDE);

    std::string text = format_config(state);
    WindowState again;
    again.windowWidth = again.windowHeight = -1;
    read_config_file(fuzz_write_input("again.glf", reinterpret_cast<const uint8_t*>(text.data()), text.size()), again);
    FUZZ_CHECK(again.windowWidth == state.windowWidth && again.windowHeight == state.windowHeight);
    FUZZ_CHECK(again.fullScreen == state.fullScreen && again.soundOn == state.soundOn);
    return 0;
}
