// The PCX codec of the raster image: reads run-length encoded files of 1, 2, 4 and 8 bits
// in one plane, of 1 bit in 2 to 4 planes and of 8 bits in 3 planes. There is no writer.
// A codec object lives for one read; the raster image takes the result over.
#pragma once
#include "media/raster_image.h"

class CPcxCodec : public CRasterImage {
public:
    CPcxCodec() : CRasterImage(kFormatPcx) {}
    ~CPcxCodec() override;

    // True, or false with the last error set; nothing is thrown.
    bool Read(CRasterImageFile& stream);
};
