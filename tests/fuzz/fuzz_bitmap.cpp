// BMP pictures: the reader, then both pixel preparations the texture makers use.
#include <vector>

#include "render/bitmap.h"
#include "tests/fuzz/fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::optional<Bitmap> bitmap = parse_bitmap(data, size);
    if (!bitmap) return 0;
    FUZZ_CHECK(bitmap->header.width > 0 && bitmap->header.width <= BITMAP_MAX_SIDE);
    FUZZ_CHECK(bitmap->header.height > 0 && bitmap->header.height <= BITMAP_MAX_SIDE);
    static std::vector<uint8_t> staging(BALL_STAGING_SIDE * BALL_STAGING_SIDE * 4);
    stage_ball_pixels(*bitmap, staging.data());
    prepare_ground_pixels(*bitmap);
    return 0;
}
