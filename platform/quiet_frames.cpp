#include "platform/quiet_frames.h"

void note_input(QuietFrames& q)
{
    q.stillFrames = 0;
}

bool frame_is_quiet(QuietFrames& q, std::uint64_t look)
{
    if (look != q.lastLook) q.stillFrames = 0;
    q.lastLook = look;
    const bool quiet = q.stillFrames >= QUIET_AFTER_FRAMES && q.sinceRepaint + 1 < REPAINT_EVERY_FRAMES;
    if (q.stillFrames < QUIET_AFTER_FRAMES) ++q.stillFrames;
    q.sinceRepaint = quiet ? q.sinceRepaint + 1 : 0;
    return quiet;
}

std::uint64_t fold_look(std::uint64_t h, const void* data, std::size_t size)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t k = 0; k < size; ++k) {
        h ^= bytes[k];
        h *= 1099511628211ull;
    }
    return h;
}
