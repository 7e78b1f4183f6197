// The icon codec of the raster image: reads one image of a Windows icon file (the one
// FrameIndex names) and writes single-image icon files. The icon's AND mask becomes the
// image's alpha plane, and is made from it.
// A codec object lives for one read or write; the raster image takes the result over.
#pragma once
#include "media/raster_image.h"

class CIconCodec : public CRasterImage {
public:
    CIconCodec() : CRasterImage(kFormatIco) {}
    ~CIconCodec() override;

    // Read: true, or false with no message (not an icon file, no image of that index, an
    // entry outside the file or holding PNG data). Pixels that short data leaves are
    // black and transparent.
    bool Read(CRasterImageFile& stream);
    // Write: true, or false with the last error set.
    bool Write(CRasterImageFile& stream);
};
