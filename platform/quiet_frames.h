// Frames that would only paint the last picture again. The game keeps its 60 steps a second
// whatever the screen shows, but when nothing on screen moves and no input came, painting the
// same picture 60 times a second only keeps a processor busy. The frame loop gives each frame
// a fingerprint of everything the picture depends on; once it has held still for a few
// frames, the frame is quiet and the loop may skip painting it.
#pragma once

#include <cstddef>
#include <cstdint>

// Identical full paints before frames go quiet: by then every buffer a driver swaps through
// holds the same picture, so a buffer swapped back in without painting shows it.
constexpr int QUIET_AFTER_FRAMES = 4;
// A full paint at least this often even when quiet, so that a change the fingerprint misses
// (a window uncovered, a dialog shown by code) shows within half a second.
constexpr int REPAINT_EVERY_FRAMES = 30;

struct QuietFrames {
    std::uint64_t lastLook = 0;   // fingerprint of the last frame
    int stillFrames = 0;          // frames in a row with the same fingerprint and no input
    int sinceRepaint = 0;         // frames since the last full paint
};

// An input event came (pointer, button, key, window change): paint the next frames in full.
void note_input(QuietFrames& q);

// Takes this frame's fingerprint; true when the frame may skip painting.
bool frame_is_quiet(QuietFrames& q, std::uint64_t look);

// Builds a fingerprint: folds the bytes of a value into h (FNV-1a).
std::uint64_t fold_look(std::uint64_t h, const void* data, std::size_t size);
template <typename T>
std::uint64_t fold_value(std::uint64_t h, const T& value)
{
    return fold_look(h, &value, sizeof value);
}
constexpr std::uint64_t LOOK_START = 14695981039346656037ull;
