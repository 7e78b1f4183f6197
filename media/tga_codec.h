// The TGA codec of the raster image: reads colour-mapped, true-colour and grey files,
// plain or run-length encoded, at 8, 15, 16, 24 and 32 bits a pixel, and writes plain
// 8-bit colour-mapped and 24- or 32-bit true-colour files.
// A codec object lives for one read or write; the raster image takes the result over.
#pragma once
#include "media/raster_image.h"

class CTgaCodec : public CRasterImage {
public:
    CTgaCodec() : CRasterImage(kFormatTga) {}
    ~CTgaCodec() override;

    // True, or false with the last error set; nothing is thrown.
    bool Read(CRasterImageFile& stream);
    bool Write(CRasterImageFile& stream);
};
