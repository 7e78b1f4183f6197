// Reads arbitrary bytes as a picture of one format (QUILN_FUZZ_FORMAT: 0 BMP, 2 JPEG,
// 3 PNG, 5 TGA, 6 PCX). A read may be refused with the codec's message; nothing may
// crash, leak or touch memory outside its buffers. What loads is written again in its
// own format and as a BMP, and mirrored, so the writers and the pixel operations see odd
// pictures too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "media/raster_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    CRasterImage image;
    if (!image.LoadMemory(data, size, QUILN_FUZZ_FORMAT)) {
        if (image.LastError().empty()) std::abort(); // a refusal always says why
        return 0;
    }
    if (image.Width() < 1 || image.Height() < 1) std::abort();
    // Large pictures take the same paths as small ones; writing them again only costs time.
    if (image.DibBytes() > (std::uint64_t(4) << 20)) return 0;
    std::vector<std::uint8_t> out;
    image.SaveMemory(out, QUILN_FUZZ_FORMAT); // refused for PCX, which has no writer
    image.SaveMemory(out, kFormatBmp);
    image.MirrorHorizontally();
    return 0;
}
