#include "platform/display_switch.h"

#include <strings.h>

#include <cstdio>

const DisplayMode DISPLAY_MODES[DISPLAY_MODE_COUNT] = {
    {"640 x 480", "640x480:16@60", 640, 480},       {"800 x 600", "800x600:16@60", 800, 600},
    {"1024 x 768", "1024x768:16@60", 1024, 768},    {"1280 x 1024", "1280x1024:16@60", 1280, 1024},
    {"1600 x 1200", "1600x1200:16@60", 1600, 1200},
};

const DisplayMode* display_mode_for_width(int width)
{
    for (const DisplayMode& mode : DISPLAY_MODES) {
        if (mode.width == width) return &mode;
    }
    return nullptr;
}

const DisplayMode* display_mode_for_entry(const char* entry)
{
    if (!entry) return nullptr;
    for (const DisplayMode& mode : DISPLAY_MODES) {
        if (strcasecmp(entry, mode.listEntry) == 0) return &mode;
    }
    return nullptr;
}

static void open_fallback_window(WindowState& window, DisplaySwitch& display, DisplayBackend& backend,
                                 const char* title)
{
    window.fullScreen = 0;
    display.windowId = backend.open_window(window.windowWidth, window.windowHeight, title);
}

void switch_to_full_screen(WindowState& window, DisplaySwitch& display, DisplayBackend& backend,
                           const DisplayMode& mode, const char* title)
{
    if (display.windowId > 0) {
        backend.destroy_window(display.windowId);
        display.windowId = 0;
    } else if (backend.game_mode_active()) {
        // Already full screen: the game mode's window is the only one there is.
        backend.leave_game_mode();
    }
    window.windowWidth = window.modeWidth = mode.width;
    window.windowHeight = window.modeHeight = mode.height;
    window.fullScreen = 1;
    if (!backend.enter_game_mode(mode.gameMode)) {
        std::fprintf(stderr, "display: full screen %s refused, using a window\n", mode.gameMode);
        window.windowWidth = MIN_WINDOW_WIDTH;
        window.windowHeight = MIN_WINDOW_HEIGHT;
        open_fallback_window(window, display, backend, title);
    }
}

void switch_to_window(WindowState& window, DisplaySwitch& display, DisplayBackend& backend, const char* title)
{
    if (backend.game_mode_active()) backend.leave_game_mode();
    // A window still open (the display refused full screen earlier) is replaced, not doubled.
    if (display.windowId > 0) backend.destroy_window(display.windowId);
    window.windowWidth = MIN_WINDOW_WIDTH;
    window.windowHeight = MIN_WINDOW_HEIGHT;
    open_fallback_window(window, display, backend, title);
}

void enter_stored_full_screen(WindowState& window, DisplaySwitch& display, DisplayBackend& backend,
                              const char* title)
{
    // A width none of the modes has sets no mode string: the display's own mode is asked for.
    const DisplayMode* mode = display_mode_for_width(window.windowWidth);
    if (mode) window.windowHeight = mode->height;
    window.modeWidth = window.windowWidth;
    window.modeHeight = window.windowHeight;
    window.fullScreen = 1;
    if (backend.enter_game_mode(mode ? mode->gameMode : nullptr)) return;
    std::fprintf(stderr, "display: full screen refused, using a window\n");
    if (window.windowWidth < MIN_WINDOW_WIDTH) window.windowWidth = MIN_WINDOW_WIDTH;
    if (window.windowHeight < MIN_WINDOW_HEIGHT) window.windowHeight = MIN_WINDOW_HEIGHT;
    open_fallback_window(window, display, backend, title);
}

bool take_window_size(WindowState& window, int width, int height)
{
    if (window.fullScreen) {
        if (width > 0 && height > 0) {
            window.windowWidth = width;
            window.windowHeight = height;
        }
        return false;
    }
    window.windowWidth = width < MIN_WINDOW_WIDTH ? MIN_WINDOW_WIDTH : width;
    window.windowHeight = height < MIN_WINDOW_HEIGHT ? MIN_WINDOW_HEIGHT : height;
    return width != window.windowWidth || height != window.windowHeight;
}
