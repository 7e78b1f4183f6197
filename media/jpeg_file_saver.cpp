#include "media/jpeg_file_saver.h"

#include "media/raster_image.h"

CJpegFileSaver::~CJpegFileSaver() = default;

bool CJpegFileSaver::SavePixels(const plat::String& path, std::int32_t width, std::int32_t height,
                                const std::uint32_t* pixels, std::size_t strideBytes)
{
    CRasterImage image(kFormatBmp);
    if (!image.FromPixels(width, height, pixels, strideBytes)) return false;
    return SaveImage(path, image);
}

bool CJpegFileSaver::SaveBitmap(const plat::String& path, const plat::Bitmap* bitmap)
{
    CRasterImage image(kFormatBmp);
    image.FromBitmap(bitmap);
    return image.SaveFile(path, kFormatJpeg, m_durability);
}

bool CJpegFileSaver::SaveImage(const plat::String& path, CRasterImage& image)
{
    return image.SaveFile(path, kFormatJpeg, m_durability);
}
