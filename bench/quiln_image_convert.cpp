// quiln_image_convert IN OUT: decodes a picture with the control's own codecs and writes
// it again, the format of each file taken from its extension (.bmp, .jpg/.jpeg, .png,
// .gif, .tga; .pcx is read only). JPEG files are written at the image's quality, 75. OUT "null:" only decodes, as
// ImageMagick's null: output does. Used by bench/image_codecs.sh to time a whole decode
// and re-encode beside ImageMagick's convert.
#include <cstdio>
#include <string>

#include "media/raster_image.h"

namespace {

bool FormatOf(const std::string& path, std::uint32_t& format)
{
    auto dot = path.find_last_of('.');
    if (dot == std::string::npos) return false;
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (ext == "bmp") format = kFormatBmp;
    else if (ext == "jpg" || ext == "jpeg") format = kFormatJpeg;
    else if (ext == "png") format = kFormatPng;
    else if (ext == "gif") format = kFormatGif;
    else if (ext == "tga") format = kFormatTga;
    else if (ext == "pcx") format = kFormatPcx;
    else return false;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s IN OUT   (.bmp, .jpg, .png, .gif, .tga or .pcx each; OUT null: to decode only)\n", argv[0]);
        return 2;
    }
    std::uint32_t in, out = 0;
    const bool decodeOnly = std::string(argv[2]) == "null:";
    if (!FormatOf(argv[1], in) || (!decodeOnly && !FormatOf(argv[2], out))) {
        std::fprintf(stderr, "unknown picture extension\n");
        return 2;
    }
    CRasterImage image;
    if (!image.LoadFile(plat::Utf8ToUtf16(argv[1]), in)) {
        std::fprintf(stderr, "cannot read %s: %s\n", argv[1], image.LastError().c_str());
        return 1;
    }
    if (decodeOnly) return 0;
    if (!image.SaveFile(plat::Utf8ToUtf16(argv[2]), out)) {
        std::fprintf(stderr, "cannot write %s: %s\n", argv[2], image.LastError().c_str());
        return 1;
    }
    return 0;
}
