// The JPEG codec of the raster image: reads and writes JPEG files through the IJG library
// interface (libjpeg 6b, as libjpeg-turbo provides it).
// A codec object lives for one read or write; the raster image takes the result over.
#pragma once
#include "media/raster_image.h"

class CJpegCodec : public CRasterImage {
public:
    CJpegCodec() : CRasterImage(kFormatJpeg) {}
    ~CJpegCodec() override;

    // True, or false with the last error set; nothing is thrown.
    bool Read(CRasterImageFile& stream);
    bool Write(CRasterImageFile& stream);
};
