// Writes pictures as JPEG files: the one way the control produces JPEG files (exported
// object pictures, PDF page images, poster frames, pasted bitmaps). Always at the image's
// quality, 75 unless changed.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/base/strings.h"
#include "platform/file/replacing_file.h"

class CRasterImage;

namespace plat {
class Bitmap;
}

class CJpegFileSaver {
public:
    // A saver of scratch files (page pictures read back and removed by the same export)
    // does not sync them to the disk; by default every file is synced.
    explicit CJpegFileSaver(plat::FileDurability durability = plat::FileDurability::kSynced)
        : m_durability(durability)
    {
    }
    virtual ~CJpegFileSaver();
    CJpegFileSaver(const CJpegFileSaver&) = delete;
    CJpegFileSaver& operator=(const CJpegFileSaver&) = delete;

    // 32-bit pixels (0xAARRGGBB in native order, top row first, as the drawing layer's
    // bitmaps hold them) written as a 24-bit colour JPEG. This is what saving a bitmap
    // comes down to once its pixels are at hand.
    bool SavePixels(const plat::String& path, std::int32_t width, std::int32_t height, const std::uint32_t* pixels,
                    std::size_t strideBytes);
    // A drawing-layer bitmap as a 24-bit colour JPEG; no bitmap, or one the writer
    // refuses, gives false.
    bool SaveBitmap(const plat::String& path, const plat::Bitmap* bitmap);
    // Any raster image: colour images as 24-bit JPEG; palette images only when the palette
    // is an exact grey ramp (written as greyscale), otherwise refused.
    bool SaveImage(const plat::String& path, CRasterImage& image);

private:
    plat::FileDurability m_durability;
};
