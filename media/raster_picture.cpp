#include "media/raster_picture.h"

#include <cctype>
#include <string>

CRasterPicture::CRasterPicture() = default;
CRasterPicture::~CRasterPicture() = default;

int CRasterPicture::FormatFromPath(std::string_view path936)
{
    if (path936.size() < 4) return -1;
    std::string ext(path936.substr(path936.size() - 4));
    // Only ASCII letters are folded: the extension is ASCII, other bytes never match.
    for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static const struct {
        const char* ext;
        int format;
    } kExtensions[] = {
        {".BMP", kFormatBmp}, {".GIF", kFormatGif}, {".JPG", kFormatJpeg}, {".TGA", kFormatTga},
        {".PNG", kFormatPng}, {".PCX", kFormatPcx}, {".ICO", kFormatIco},
    };
    for (const auto& e : kExtensions)
        if (ext == e.ext) return e.format;
    return -1;
}

int CRasterPicture::Load(std::string_view path936)
{
    const int format = FormatFromPath(path936);
    if (format < 0) return 0;
    Release();
    auto image = std::make_unique<CRasterImage>(static_cast<std::uint32_t>(format));
    image->LoadFile(path936, static_cast<std::uint32_t>(format));
    if (!image->IsValid()) return 0;
    m_image = std::move(image);
    m_width = m_image->Width();
    m_height = m_image->Height();
    return 1;
}

int CRasterPicture::Release()
{
    m_image.reset();
    m_width = m_height = 0;
    return 0;
}

int CRasterPicture::Draw(plat::Dc* dc, std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy) const
{
    if (!m_image) return 0;
    m_image->Paint(dc, x, y, cx, cy);
    return 1;
}
