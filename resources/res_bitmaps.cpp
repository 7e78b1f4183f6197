#include "resources/res_bitmaps.h"

#include <map>
#include <memory>
#include <string_view>

namespace {

struct PixelArt {
    const char16_t* name;
    plat::ColorRef ink;
    plat::ColorRef paper;
    int width;
    int height;
    const char* rows; // '#' ink, anything else paper; height rows of width characters
};

// The paragraph mark shown with formatting marks on: a return arrow, drawn bottom-aligned
// on the baseline after the last character of a paragraph.
constexpr char kEndParRows[] =
    "........."
    "......#.."
    "......#.."
    "......#.."
    "......#.."
    "..#...#.."
    ".##...#.."
    "#######.."
    ".##......"
    "..#......"
    ".........";

static_assert(sizeof(kEndParRows) - 1 == 9 * 11);

constexpr PixelArt kPictures[] = {
    {u"IDB_ENDPAR", plat::Rgb(64, 64, 160), plat::Rgb(255, 255, 255), 9, 11, kEndParRows},
};

std::unique_ptr<plat::Bitmap> Paint(const PixelArt& art)
{
    auto bmp = plat::Bitmap::Create(art.width, art.height);
    if (!bmp) return nullptr;
    for (int y = 0; y < art.height; ++y)
        for (int x = 0; x < art.width; ++x)
            bmp->SetPixel(x, y, art.rows[y * art.width + x] == '#' ? art.ink : art.paper);
    return bmp;
}

} // namespace

const plat::Bitmap* LoadResBitmap(plat::StringView name)
{
    static auto* loaded = new std::map<plat::String, std::unique_ptr<plat::Bitmap>, std::less<>>;
    auto it = loaded->find(name);
    if (it != loaded->end()) return it->second.get();
    for (const PixelArt& art : kPictures) {
        if (name != art.name) continue;
        return loaded->emplace(plat::String(name), Paint(art)).first->second.get();
    }
    return nullptr;
}
