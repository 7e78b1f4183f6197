#include "resources/res_cursors.h"

#include <map>
#include <memory>

#include "resources/res_bitmaps.h"
#include "resources/res_pictures.h"

namespace {

using res_detail::PaletteEntry;
using res_detail::PictureResource;
using res_detail::MakeArt;
using res_detail::PixelArt;

// A cursor picture, 16 x 16: '#' black, 'w' white, '.' transparent.
template <std::size_t N>
consteval PixelArt CursorArt(const char (&rows)[N])
{
    return MakeArt<16, 16>(rows);
}

struct CursorPicture {
    int id;
    plat::Point hotSpot;
    const PixelArt* art;
};

// The text area of a text shape: an I-beam.
constexpr PixelArt kTextAreaCursor = CursorArt(
    ".....##.##......"
    ".......#........"
    ".......#........"
    ".......#........"
    ".......#........"
    ".......#........"
    ".......#........"
    ".......#........"
    ".......#........"
    ".......#........"
    ".......#........"
    ".......#........"
    ".......#........"
    ".......#........"
    ".....##.##......"
    "................");

// A vertex or an adjusting point of a shape: a cross through a small square.
constexpr PixelArt kVertexCursor = CursorArt(
    ".......#........"
    ".......#........"
    ".......#........"
    ".......#........"
    ".......#........"
    ".....#####......"
    ".....#www#......"
    "######www######."
    ".....#www#......"
    ".....#####......"
    ".......#........"
    ".......#........"
    ".......#........"
    ".......#........"
    ".......#........"
    "................");

// A column boundary of a table: two upright lines with arrows to either side.
constexpr PixelArt kColumnBoundaryCursor = CursorArt(
    "......#.#......."
    "......#.#......."
    "......#.#......."
    "......#.#......."
    "......#.#......."
    "..#...#.#...#..."
    ".##...#.#...##.."
    "#######.#######."
    ".##...#.#...##.."
    "..#...#.#...#..."
    "......#.#......."
    "......#.#......."
    "......#.#......."
    "......#.#......."
    "......#.#......."
    "................");

// A row boundary of a table: two lines with arrows up and down.
constexpr PixelArt kRowBoundaryCursor = CursorArt(
    ".......#........"
    "......###......."
    ".....#####......"
    ".......#........"
    ".......#........"
    ".......#........"
    "###############."
    "................"
    "###############."
    ".......#........"
    ".......#........"
    ".......#........"
    ".....#####......"
    "......###......."
    ".......#........"
    "................");

// Rotating: an arrow around a circle.
constexpr PixelArt kRotateCursor = CursorArt(
    "................"
    "......####......"
    "....##....##...."
    "...#........#..."
    "..#..........#.."
    "..#..........#.."
    "#####........#.."
    ".###.........#.."
    "..#..........#.."
    "............#..."
    "...........#...."
    ".........##....."
    "......###......."
    "................"
    "................"
    "................");

// The bottom margin of a table: an arrow up.
constexpr PixelArt kBottomMarginCursor = CursorArt(
    "................"
    "................"
    "................"
    "................"
    ".......#........"
    ".....#####......"
    "....#######....."
    "...#########...."
    "......###......."
    "......###......."
    "......###......."
    "......###......."
    "......###......."
    "......###......."
    "......###......."
    "......###.......");

// The top margin of a table: an arrow down.
constexpr PixelArt kTopMarginCursor = CursorArt(
    "......###......."
    "......###......."
    "......###......."
    "......###......."
    "......###......."
    "......###......."
    "......###......."
    "......###......."
    "...#########...."
    "....#######....."
    ".....#####......"
    ".......#........"
    "................"
    "................"
    "................"
    "................");

// The left margin of a table: an arrow to the right.
constexpr PixelArt kLeftMarginCursor = CursorArt(
    "................"
    "................"
    "................"
    "........#......."
    "........##......"
    "........###....."
    "###########....."
    "############...."
    "###########....."
    "........###....."
    "........##......"
    "........#......."
    "................"
    "................"
    "................"
    "................");

// The right margin of a table: an arrow to the left.
constexpr PixelArt kRightMarginCursor = CursorArt(
    "................"
    "................"
    "................"
    ".......#........"
    "......##........"
    ".....###........"
    ".....###########"
    "....############"
    ".....###########"
    ".....###........"
    "......##........"
    ".......#........"
    "................"
    "................"
    "................"
    "................");

// The move handle of a text shape: arrows four ways.
constexpr PixelArt kMoveCursor = CursorArt(
    ".......#........"
    "......###......."
    ".....#####......"
    ".......#........"
    ".......#........"
    "..#....#....#..."
    ".##....#....##.."
    "###############."
    ".##....#....##.."
    "..#....#....#..."
    ".......#........"
    ".......#........"
    ".....#####......"
    "......###......."
    ".......#........"
    "................");

constexpr CursorPicture kCursorPictures[] = {
    {7050, {7, 7}, &kTextAreaCursor},
    {7053, {7, 7}, &kVertexCursor},
    {7055, {7, 7}, &kColumnBoundaryCursor},
    {7056, {7, 7}, &kRowBoundaryCursor},
    {7057, {7, 7}, &kRotateCursor},
    {7058, {7, 4}, &kBottomMarginCursor},
    {7059, {7, 11}, &kTopMarginCursor},
    {7060, {11, 7}, &kLeftMarginCursor},
    {7061, {4, 7}, &kRightMarginCursor},
    {7063, {7, 7}, &kMoveCursor},
};

constexpr plat::ColorRef kBlack = plat::Rgb(0, 0, 0);
constexpr plat::ColorRef kWhite = plat::Rgb(255, 255, 255);
constexpr PaletteEntry kImagePalette[] = {{'.', kBlack}, {'#', kBlack}, {'w', kWhite}};
constexpr PaletteEntry kMaskPalette[] = {{'.', kWhite}, {'#', kBlack}, {'w', kBlack}};

std::unique_ptr<plat::Bitmap> Make(const PixelArt& art, std::span<const PaletteEntry> palette)
{
    const PixelArt* tiles[] = {&art};
    return DibToBitmap(res_detail::EncodeDib(PictureResource{u"", palette, tiles}));
}

struct MadeCursor {
    ResCursor cursor;
    std::unique_ptr<plat::Bitmap> image;
    std::unique_ptr<plat::Bitmap> mask;
};

} // namespace

const ResCursor* FindResCursor(int id)
{
    static auto* made = new std::map<int, MadeCursor>;
    if (auto it = made->find(id); it != made->end()) return &it->second.cursor;
    for (const CursorPicture& p : kCursorPictures) {
        if (p.id != id) continue;
        MadeCursor& m = (*made)[id];
        m.image = Make(*p.art, kImagePalette);
        m.mask = Make(*p.art, kMaskPalette);
        m.cursor = ResCursor{id, p.hotSpot, m.image.get(), m.mask.get()};
        return &m.cursor;
    }
    return nullptr;
}
