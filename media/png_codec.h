// The PNG codec of the raster image: reads and writes PNG files through libpng 1.6.
// A codec object lives for one read or write; the raster image takes the result over.
#pragma once
#include "media/raster_image.h"

class CPngCodec : public CRasterImage {
public:
    CPngCodec() : CRasterImage(kFormatPng) {}
    ~CPngCodec() override;

    // True, or false with the last error set; nothing is thrown.
    bool Read(CRasterImageFile& stream);
    bool Write(CRasterImageFile& stream);
};
