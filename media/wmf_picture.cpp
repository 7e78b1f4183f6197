#include "media/wmf_picture.h"

#include <libwmf/api.h>
#include <libwmf/gd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "media/metafile_playback.h"
#include "platform/base/byte_order.h"

namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableBytes = 22;
constexpr std::size_t kHeaderBytes = 18;
// A metafile without the placeable header has no physical size: its window extent is
// taken at this many units to the inch.
constexpr std::uint16_t kUnitsPerInchWithoutPlaceable = 1440;
constexpr std::uint16_t kSetWindowExt = 0x020C;

std::int16_t Signed16(const std::uint8_t* at) { return static_cast<std::int16_t>(plat::LoadU16(at)); }

constexpr std::uint16_t kSetWindowOrg = 0x020B;

// The window of a metafile without the placeable header: the first SETWINDOWORG and
// SETWINDOWEXT records' origin and extent, found by walking the records after the
// 18-byte header; false when no extent comes before the end record or the end of the
// data (the origin is 0, 0 unless set).
bool WindowFrame(const std::vector<std::uint8_t>& data, std::int32_t& left, std::int32_t& top, std::int32_t& wide,
                 std::int32_t& high)
{
    bool origin = false;
    std::size_t at = kHeaderBytes;
    left = top = 0;
    while (data.size() - at >= 6) {
        const std::uint64_t bytes = std::uint64_t(plat::LoadU32(data.data() + at)) * 2;
        const std::uint16_t function = plat::LoadU16(data.data() + at + 4);
        if (bytes < 6 || bytes > data.size() - at || function == 0) return false;
        if (function == kSetWindowOrg && bytes >= 10 && !origin) {
            top = Signed16(data.data() + at + 6);
            left = Signed16(data.data() + at + 8);
            origin = true;
        } else if (function == kSetWindowExt && bytes >= 10) {
            high = std::abs(std::int32_t(Signed16(data.data() + at + 6)));
            wide = std::abs(std::int32_t(Signed16(data.data() + at + 8)));
            return true;
        }
        at += static_cast<std::size_t>(bytes);
    }
    return false;
}

// The placeable header libwmf reads a metafile's frame and units from: the window at
// 1440 units to the inch for one that has none. Empty when the window's far corner is
// past the header's 16-bit coordinates.
std::vector<std::uint8_t> PlaceableHeader(std::int32_t left, std::int32_t top, std::int32_t wide, std::int32_t high)
{
    if (left + wide > INT16_MAX || top + high > INT16_MAX) return {};
    std::vector<std::uint8_t> h(kPlaceableBytes, 0);
    plat::StoreU32(h.data(), kPlaceableKey);
    const std::int32_t corners[] = {left, top, left + wide, top + high};
    for (int i = 0; i < 4; ++i) plat::StoreU16(h.data() + 6 + 2 * i, static_cast<std::uint16_t>(corners[i]));
    plat::StoreU16(h.data() + 14, kUnitsPerInchWithoutPlaceable);
    std::uint16_t checksum = 0;
    for (std::size_t i = 0; i < 20; i += 2) checksum ^= plat::LoadU16(h.data() + i);
    plat::StoreU16(h.data() + 20, checksum);
    return h;
}

// Plays the metafile into width × height pixels laid on white (0x00RRGGBB); run in the
// playing's child process.
bool PlayHere(const std::vector<std::uint8_t>& data, double pointsWide, double pointsHigh, int width, int height,
              std::uint32_t* out)
{
    wmfAPI_Options options;
    std::memset(&options, 0, sizeof options);
    options.function = wmf_gd_function;
    wmfAPI* api = nullptr;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
        if (api) wmf_api_destroy(api);
        return false;
    }
    wmf_gd_t* gd = WMF_GD_GetData(api);
    gd->type = wmf_gd_image;
    bool ok = wmf_mem_open(api, const_cast<unsigned char*>(data.data()), static_cast<long>(data.size())) == wmf_E_None;
    wmfD_Rect bounds{};
    ok = ok && wmf_scan(api, 0, &bounds) == wmf_E_None;
    if (ok) {
        // Map the picture's frame from the placeable header, not the extent of what it
        // draws, onto the pixels: libwmf's units are points from the window origin.
        gd->bbox.TL.x = 0;
        gd->bbox.TL.y = 0;
        gd->bbox.BR.x = static_cast<float>(pointsWide);
        gd->bbox.BR.y = static_cast<float>(pointsHigh);
        gd->width = static_cast<unsigned>(width);
        gd->height = static_cast<unsigned>(height);
        ok = wmf_play(api, 0, &bounds) == wmf_E_None;
    }
    const int* pixels = ok && gd->gd_image ? wmf_gd_image_pixels(gd->gd_image) : nullptr;
    if (pixels) {
        // gd's alpha byte runs from 0 (opaque) to 127 (clear): laid on white here.
        const std::size_t count = std::size_t(width) * std::size_t(height);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t p = static_cast<std::uint32_t>(pixels[i]);
            const std::uint32_t clear = std::min<std::uint32_t>((p >> 24) & 0x7F, 127);
            auto channel = [&](int shift) {
                const std::uint32_t c = (p >> shift) & 0xFF;
                return ((c * (127 - clear) + 255 * clear + 63) / 127) << shift;
            };
            out[i] = channel(16) | channel(8) | channel(0);
        }
    }
    wmf_api_destroy(api);
    return pixels != nullptr;
}

} // namespace

std::unique_ptr<CPictureFile> LoadWmfPicture(std::vector<std::uint8_t> data)
{
    const bool placeable = data.size() >= 4 && plat::LoadU32(data.data()) == kPlaceableKey;
    const std::size_t headerAt = placeable ? kPlaceableBytes : 0;
    if (data.size() < headerAt + kHeaderBytes) return nullptr;
    // The metafile header proper: memory or disk type, nine words long.
    const std::uint16_t type = plat::LoadU16(data.data() + headerAt);
    const std::uint16_t headerWords = plat::LoadU16(data.data() + headerAt + 2);
    if ((type != 1 && type != 2) || headerWords != 9) return nullptr;

    std::int32_t wide = 0, high = 0;
    std::uint16_t unitsPerInch = kUnitsPerInchWithoutPlaceable;
    if (placeable) {
        const std::uint8_t* p = data.data();
        wide = std::abs(std::int32_t(Signed16(p + 10)) - Signed16(p + 6));
        high = std::abs(std::int32_t(Signed16(p + 12)) - Signed16(p + 8));
        unitsPerInch = plat::LoadU16(p + 14);
    } else {
        std::int32_t left = 0, top = 0;
        if (!WindowFrame(data, left, top, wide, high)) return nullptr;
        // Played as the same metafile with a placeable header of its window.
        std::vector<std::uint8_t> header = PlaceableHeader(left, top, wide, high);
        if (header.empty()) return nullptr;
        data.insert(data.begin(), header.begin(), header.end());
    }
    if (wide == 0 || high == 0 || unitsPerInch == 0) return nullptr;

    const auto himetric = [&](std::int32_t units) {
        return static_cast<std::int32_t>((std::int64_t(units) * 2540 + unitsPerInch / 2) / unitsPerInch);
    };
    const plat::Size natural = ClampMetafileSize(himetric(wide), himetric(high));
    const double pointsWide = wide * 72.0 / unitsPerInch, pointsHigh = high * 72.0 / unitsPerInch;
    auto picture = std::make_unique<CPlayedMetafile>(
        CPictureFile::Kind::kMetafile, natural.cx, natural.cy,
        [data = std::move(data), pointsWide, pointsHigh](std::uint32_t* pixels, int width, int height) {
            return PlayHere(data, pointsWide, pointsHigh, width, height, pixels);
        });
    if (!picture->Prepare()) return nullptr;
    return picture;
}
