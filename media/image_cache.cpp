#include "media/image_cache.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "media/picture_file.h"
#include "media/raster_picture.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "platform/gfx/raster_ops.h"

namespace {

constexpr plat::ColorRef kWhite = plat::Rgb(255, 255, 255);
// Paths handed to the raster pictures travel in buffers of this many characters and bytes.
constexpr std::size_t kPathBuffer = 1024;

// Bitmaps only read from are selected into a DC all the same; nothing draws on them.
plat::Bitmap* ForReading(const plat::Bitmap& bitmap)
{
    return const_cast<plat::Bitmap*>(&bitmap);
}

} // namespace

CImageCache::CImageCache() = default;

CImageCache::~CImageCache()
{
    Release();
}

std::int32_t CImageCache::TypeFromPath(const plat::String& path)
{
    if (path.size() < 4) return kPictureNone;
    std::u16string ext = path.substr(path.size() - 4);
    for (char16_t& c : ext)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    static const struct {
        const char16_t* ext;
        std::int32_t type;
    } kTypes[] = {
        {u".BMP", kPictureBmp}, {u".GIF", kPictureGif}, {u".EMF", kPictureEmf}, {u".WMF", kPictureWmf},
        {u".JPG", kPictureJpg}, {u".TGA", kPictureTga}, {u".PCX", kPicturePcx}, {u".PNG", kPicturePng},
        {u".ICO", kPictureIco},
    };
    for (const auto& t : kTypes)
        if (ext == t.ext) return t.type;
    return kPictureNone;
}

int CImageCache::Load(const plat::String& path)
{
    Release();
    m_type = TypeFromPath(path);
    if (m_type == kPictureNone) return 0;
    if (m_type <= kPictureJpg) {
        auto picture = CPictureFile::Load(path);
        if (!picture) return 0;
        m_himetricWidth = picture->HimetricWidth();
        m_himetricHeight = picture->HimetricHeight();
        m_width = HimetricToPixels(m_himetricWidth, plat::kScreenDpi);
        m_height = HimetricToPixels(m_himetricHeight, plat::kScreenDpi);
        m_picture = std::move(picture);
        return 1;
    }
    // The raster pictures take an 8-bit path. One that does not fit the buffers, or that
    // code page 936 cannot spell, is refused rather than cut short or guessed at, which
    // could name another file.
    if (path.size() >= kPathBuffer) return 0;
    bool lossy = false;
    const std::string path936 = plat::Utf16ToCp936(path, &lossy);
    if (lossy || path936.size() >= kPathBuffer) return 0;
    auto raster = std::make_unique<CRasterPicture>();
    if (!raster->Load(path936)) return 0;
    m_width = raster->Width();
    m_height = raster->Height();
    m_himetricWidth = m_himetricHeight = 0;
    m_rasterPicture = std::move(raster);
    return 1;
}

void CImageCache::Release()
{
    m_picture.reset();
    m_rasterPicture.reset();
    m_keyed.reset();
}

void CImageCache::Draw(plat::Dc& dc, int x, int y, int cx, int cy)
{
    if (m_picture) m_picture->Render(dc, x, y, cx, cy);
    else if (m_rasterPicture) m_rasterPicture->Draw(&dc, x, y, cx, cy);
}

void CImageCache::DrawTransparent(plat::Dc& dc, int x, int y, int width, int height, double angle)
{
    DrawKeyed(dc, x, y, width, height, false, false, angle);
}

void CImageCache::DrawTransparentMirrored(plat::Dc& dc, int x, int y, int width, int height, int x1, int y1, int x2,
                                          int y2, double angle)
{
    DrawKeyed(dc, x, y, width, height, !(x1 < x2), !(y1 < y2), angle);
}

void CImageCache::DrawKeyed(plat::Dc& dc, int x, int y, int width, int height, bool mirrorX, bool mirrorY,
                            double angle)
{
    if (!HasPicture()) return;
    // Pages repaint often at one zoom: the picture stays scaled, turned and masked for
    // the last size and angle asked for, and only a change makes it again.
    const KeyedKey key{width, height, mirrorX, mirrorY, angle};
    if (!m_keyed || !(m_keyed->key == key)) {
        m_keyed.reset();
        auto keyed = MakeKeyed(dc, key);
        if (!keyed) return;
        m_keyed = std::move(keyed);
    }
    const int w = m_keyed->picture->Width(), h = m_keyed->picture->Height();
    plat::MemoryDc colourDc(&dc);
    colourDc.Select(m_keyed->picture.get());
    plat::MaskBlt(dc, x, y, w, h, colourDc, 0, 0, *m_keyed->mask, 0, 0, plat::MakeRop4(plat::kSrcCopy, plat::kDstCopy));
    // A metafile may still be playing and show its placeholder: it is placed anew each time.
    if (m_type == kPictureWmf || m_type == kPictureEmf) m_keyed.reset();
}

std::unique_ptr<CImageCache::Keyed> CImageCache::MakeKeyed(plat::Dc& dc, const KeyedKey& key)
{
    const int width = key.width, height = key.height;
    auto canvas = plat::Bitmap::Create(width, height);
    if (!canvas) return nullptr;
    canvas->Fill(kWhite);
    {
        plat::MemoryDc mem(&dc);
        mem.Select(canvas.get());
        Draw(mem, 0, 0, width, height);
        // Mirrored as a whole after drawing, so that every kind of picture mirrors alike
        // (drawing a raster picture with a negative size would mean its natural size).
        if (key.mirrorX || key.mirrorY)
            plat::StretchBlt(mem, key.mirrorX ? width : 0, key.mirrorY ? height : 0, key.mirrorX ? -width : width,
                             key.mirrorY ? -height : height, &mem, 0, 0, width, height, plat::kSrcCopy);
    }
    if (key.angle != 0) {
        canvas = RotateBitmap(*canvas, static_cast<float>(key.angle), kWhite);
        if (!canvas) return nullptr;
    }
    const int w = canvas->Width(), h = canvas->Height();

    // A mask that is 1 for every pixel that is not white.
    auto mask = plat::Bitmap::CreateMonochrome(w, h);
    if (!mask) return nullptr;
    plat::MemoryDc colourDc(&dc), maskDc(&dc);
    colourDc.Select(canvas.get());
    colourDc.SetBkColor(kWhite);
    maskDc.Select(mask.get());
    plat::BitBlt(maskDc, 0, 0, w, h, &colourDc, 0, 0, plat::kMergePaint);
    auto keyed = std::make_unique<Keyed>();
    keyed->key = key;
    keyed->picture = std::move(canvas);
    keyed->mask = std::move(mask);
    return keyed;
}

std::unique_ptr<plat::Bitmap> RotateBitmap(const plat::Bitmap& bitmap, float angle, plat::ColorRef background)
{
    if (!std::isfinite(angle)) return nullptr;
    const float c = std::cos(angle), s = std::sin(angle);
    const float w = static_cast<float>(bitmap.Width()), h = static_cast<float>(bitmap.Height());
    // Where the corners go; the fourth stays at (0, 0).
    const int xs[3] = {static_cast<int>(h * s), static_cast<int>(w * c + h * s), static_cast<int>(w * c)};
    const int ys[3] = {static_cast<int>(h * c), static_cast<int>(h * c - w * s), static_cast<int>(-w * s)};
    const int minX = std::min({0, xs[0], xs[1], xs[2]}), maxX = std::max({0, xs[0], xs[1], xs[2]});
    const int minY = std::min({0, ys[0], ys[1], ys[2]}), maxY = std::max({0, ys[0], ys[1], ys[2]});
    auto turned = plat::Bitmap::Create(((maxX - minX + 31) / 32) * 32, maxY - minY);
    if (!turned) return nullptr;
    turned->Fill(background);
    plat::MemoryDc target, source;
    target.Select(turned.get());
    source.Select(ForReading(bitmap));
    const plat::XForm xform{c, -s, s, c, static_cast<float>(-minX), static_cast<float>(-minY)};
    plat::TransformBlt(target, xform, source, 0, 0, bitmap.Width(), bitmap.Height(), plat::kSrcCopy);
    return turned;
}

void DrawTransparentBitmap(plat::Dc& dc, const plat::Bitmap& bitmap, int x, int y, plat::ColorRef transparent)
{
    const int w = bitmap.Width(), h = bitmap.Height();
    auto copy = plat::Bitmap::Create(w, h);
    auto mask = plat::Bitmap::CreateMonochrome(w, h);
    if (!copy || !mask) return;
    copy->Fill(transparent);
    plat::MemoryDc source(&dc), copyDc(&dc), maskDc(&dc);
    source.Select(ForReading(bitmap));
    copyDc.Select(copy.get());
    maskDc.Select(mask.get());
    plat::BitBlt(copyDc, 0, 0, w, h, &source, 0, 0, plat::kSrcCopy);
    // The mask is 1 exactly where the picture has the transparent colour.
    const plat::ColorRef oldBk = copyDc.SetBkColor(transparent);
    plat::BitBlt(maskDc, 0, 0, w, h, &copyDc, 0, 0, plat::kSrcCopy);
    copyDc.SetBkColor(oldBk);
    plat::MaskBlt(dc, x, y, w, h, copyDc, 0, 0, *mask, 0, 0, plat::MakeRop4(plat::kDstCopy, plat::kSrcCopy));
}
