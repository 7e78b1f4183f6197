// Reads arbitrary bytes as a picture of one format (QUILN_FUZZ_FORMAT: 0 BMP, 1 GIF,
// 2 JPEG, 3 PNG, 4 icon, 5 TGA, 6 PCX). A read may be refused with the codec's message (the
// GIF and icon readers refuse with none); nothing may crash, leak or touch memory outside
// its buffers. GIF and icon files are also read at their second frame. What loads is
// written again in its own format and as a BMP, and mirrored, so the writers and the pixel
// operations see odd pictures too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "media/raster_image.h"

namespace {
constexpr bool kSilentRefusals = QUILN_FUZZ_FORMAT == kFormatGif || QUILN_FUZZ_FORMAT == kFormatIco;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (kSilentRefusals) {
        CRasterImage second;
        second.SetFrameIndex(1);
        if (second.LoadMemory(data, size, QUILN_FUZZ_FORMAT) && (second.Width() < 1 || second.Height() < 1))
            std::abort();
    }
    CRasterImage image;
    if (!image.LoadMemory(data, size, QUILN_FUZZ_FORMAT)) {
        if (image.IsValid()) std::abort();                               // nothing half read stays
        if (!kSilentRefusals && image.LastError().empty()) std::abort(); // a refusal says why
        return 0;
    }
    if (image.Width() < 1 || image.Height() < 1) std::abort();
    // Large pictures take the same paths as small ones; writing them again only costs time
    // (by the byte, and by the pixel for the LZW coder).
    if (image.DibBytes() > (std::uint64_t(4) << 20) ||
        std::uint64_t(image.Width()) * std::uint64_t(image.Height()) > (std::uint64_t(1) << 20))
        return 0;
    std::vector<std::uint8_t> out;
    image.SaveMemory(out, QUILN_FUZZ_FORMAT); // refused for PCX, which has no writer
    image.SaveMemory(out, kFormatBmp);
    image.MirrorHorizontally();
    return 0;
}
