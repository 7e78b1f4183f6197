// The BMP codec of the raster image: reads Windows bitmap files with or without the file
// header, OS/2 headers, RLE and bit fields, and writes uncompressed files.
// A codec object lives for one read or write; the raster image takes the result over.
#pragma once
#include "media/raster_image.h"

class CBmpCodec : public CRasterImage {
public:
    CBmpCodec() : CRasterImage(kFormatBmp) {}
    ~CBmpCodec() override;

    // True, or false with the last error set; nothing is thrown.
    bool Read(CRasterImageFile& stream);
    bool Write(CRasterImageFile& stream);
};
