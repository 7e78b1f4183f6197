#include "media/picture_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <vector>

#include "platform/base/byte_order.h"
#include "platform/base/regular_file.h"
#include "media/emf_picture.h"
#include "media/raster_image.h"
#include "media/wmf_picture.h"
#include "platform/gfx/dc.h"
#include "platform/gfx/raster_ops.h"

namespace {

constexpr int kHimetricPerInch = 2540;
// Metafiles larger than this are refused rather than read into memory.
constexpr std::uint64_t kMaxMetafileBytes = std::uint64_t(64) << 20;
constexpr std::size_t kEmfHeaderBytes = 88;

// A BMP, JPEG or GIF file, drawn from its pixels. A GIF's transparent pixels leave what
// is under them, unless the picture is drawn mirrored.
class CBitmapPicture : public CPictureFile {
public:
    CBitmapPicture(std::unique_ptr<CRasterImage> image)
        : CPictureFile(Kind::kBitmap, PixelsToHimetric(image->Width(), plat::kScreenDpi),
                       PixelsToHimetric(image->Height(), plat::kScreenDpi)),
          m_image(std::move(image)) {}

    void Render(plat::Dc& dc, int x, int y, int cx, int cy) override
    {
        if (m_image->TransparentIndex() != -1 && cx > 0 && cy > 0) {
            m_image->Paint(&dc, x, y, cx, cy);
            return;
        }
        plat::StretchDib(dc, x, y, cx, cy, m_image->View(), 0, 0, m_image->Width(), m_image->Height(),
                         plat::kSrcCopy);
    }

private:
    std::unique_ptr<CRasterImage> m_image;
};

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The whole of a metafile; empty when it is too large or cannot be read.
std::vector<std::uint8_t> ReadMetafile(std::FILE* file, std::uint64_t fileBytes)
{
    if (fileBytes > kMaxMetafileBytes) return {};
    std::vector<std::uint8_t> data(static_cast<std::size_t>(fileBytes));
    std::rewind(file);
    if (std::fread(data.data(), 1, data.size(), file) != data.size()) return {};
    return data;
}

// A metafile without the placeable header starts with its own: type 1 (memory) or 2
// (disk), a header of nine words, and version 1 or 3.
bool IsPlainWmf(const std::uint8_t* head, std::size_t n)
{
    if (n < 6) return false;
    const std::uint16_t type = plat::LoadU16(head), words = plat::LoadU16(head + 2), version = plat::LoadU16(head + 4);
    return (type == 1 || type == 2) && words == 9 && (version == 0x0100 || version == 0x0300);
}

} // namespace

CPictureFile::~CPictureFile() = default;

std::int32_t HimetricToPixels(std::int64_t himetric, int dpi)
{
    const std::int64_t px = (himetric * dpi + kHimetricPerInch / 2) / kHimetricPerInch;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(px, INT32_MIN, INT32_MAX));
}

std::int32_t PixelsToHimetric(std::int64_t pixels, int dpi)
{
    if (dpi <= 0) return 0;
    const std::int64_t h = (pixels * kHimetricPerInch + dpi / 2) / dpi;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(h, INT32_MIN, INT32_MAX));
}

void DrawMetafilePlaceholder(plat::Dc& dc, int x, int y, int cx, int cy)
{
    plat::Rect r(x, y, static_cast<std::int32_t>(std::int64_t(x) + cx), static_cast<std::int32_t>(std::int64_t(y) + cy));
    r.Normalize();
    if (r.IsEmpty()) return;
    const plat::Pen pen(plat::kPenSolid, 0, plat::Rgb(0x80, 0x80, 0x80));
    const plat::Pen* oldPen = dc.Select(&pen);
    const plat::Brush* oldBrush = dc.Select(plat::StockBrush(plat::StockObject::kNullBrush));
    dc.Rectangle(r.left, r.top, r.right, r.bottom);
    dc.MoveTo(r.left, r.top);
    dc.LineTo(r.right - 1, r.bottom - 1);
    dc.MoveTo(r.right - 1, r.top);
    dc.LineTo(r.left, r.bottom - 1);
    dc.Select(oldPen);
    dc.Select(oldBrush);
}

plat::Size ClampMetafileSize(std::int64_t himetricWidth, std::int64_t himetricHeight)
{
    const std::int64_t longer = std::max(himetricWidth, himetricHeight);
    if (longer <= kMaxMetafileHimetric)
        return plat::Size(static_cast<std::int32_t>(himetricWidth), static_cast<std::int32_t>(himetricHeight));
    // The longer side at the limit, the shorter one in proportion (at least 1 unit).
    const auto scaled = [&](std::int64_t side) {
        return static_cast<std::int32_t>(std::max<std::int64_t>(1, (side * kMaxMetafileHimetric + longer / 2) / longer));
    };
    return plat::Size(scaled(himetricWidth), scaled(himetricHeight));
}

std::unique_ptr<CPictureFile> CPictureFile::Load(const plat::String& path)
{
    std::unique_ptr<std::FILE, FileCloser> file(plat::OpenRegularFileForReading(plat::Utf16ToUtf8(path)));
    if (!file) return nullptr;
    struct stat st{};
    if (::fstat(::fileno(file.get()), &st) != 0) return nullptr;
    const std::uint64_t fileBytes = static_cast<std::uint64_t>(st.st_size);
    std::uint8_t head[kEmfHeaderBytes] = {};
    const std::size_t n = std::fread(head, 1, sizeof head, file.get());

    // BMP, JPEG and GIF files through the raster codecs.
    const auto raster = [&path](std::uint32_t format) -> std::unique_ptr<CPictureFile> {
        auto image = std::make_unique<CRasterImage>(format);
        if (!image->LoadFile(path, format)) return nullptr;
        return std::make_unique<CBitmapPicture>(std::move(image));
    };
    if (n >= 2 && head[0] == 'B' && head[1] == 'M') return raster(kFormatBmp);
    if (n >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) return raster(kFormatJpeg);
    if (n >= 4 && std::memcmp(head, "GIF8", 4) == 0) return raster(kFormatGif);
    if ((n >= 4 && plat::LoadU32(head) == 0x9AC6CDD7) || IsPlainWmf(head, n)) {
        std::vector<std::uint8_t> data = ReadMetafile(file.get(), fileBytes);
        return data.empty() ? nullptr : LoadWmfPicture(std::move(data));
    }
    if (n >= kEmfHeaderBytes && plat::LoadU32(head) == 1) {
        std::vector<std::uint8_t> data = ReadMetafile(file.get(), fileBytes);
        return data.empty() ? nullptr : LoadEmfPicture(std::move(data));
    }
    // Anything else is not a picture this loader reads.
    return nullptr;
}
