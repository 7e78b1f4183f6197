// The pictures of the toolbar buttons, 16 x 15 each, one per command. A bar's image strip
// is made from its button list (res_toolbars.h), so a command on two bars shows the same
// picture on both.
#include <vector>

#include "resources/res_bitmaps.h"
#include "resources/res_pictures.h"
#include "resources/res_toolbars.h"

namespace res_detail {
namespace {

constexpr PaletteEntry kStandard16[] = {
    {'#', plat::Rgb(0, 0, 0)},       {'m', plat::Rgb(128, 0, 0)},   {'g', plat::Rgb(0, 128, 0)},
    {'o', plat::Rgb(128, 128, 0)},   {'n', plat::Rgb(0, 0, 128)},   {'p', plat::Rgb(128, 0, 128)},
    {'t', plat::Rgb(0, 128, 128)},   {'.', plat::Rgb(192, 192, 192)}, {'+', plat::Rgb(128, 128, 128)},
    {'R', plat::Rgb(255, 0, 0)},     {'G', plat::Rgb(0, 255, 0)},   {'Y', plat::Rgb(255, 255, 0)},
    {'B', plat::Rgb(0, 0, 255)},     {'M', plat::Rgb(255, 0, 255)}, {'C', plat::Rgb(0, 255, 255)},
    {'w', plat::Rgb(255, 255, 255)},
};

constexpr int kButtonWidth = 16;
constexpr int kButtonHeight = 15;

// A button picture; a literal of the wrong size does not compile.
template <std::size_t N>
consteval PixelArt Button(const char (&rows)[N])
{
    if (N != kButtonWidth * kButtonHeight + 1) throw "a button picture is 16 x 15 characters";
    return {kButtonWidth, kButtonHeight, rows};
}

struct ButtonPicture {
    std::uint16_t command;
    const PixelArt* art;
};

// Print.
constexpr PixelArt kPrint = Button(
    "................"
    "....wwwwwwww...."
    "....w......w...."
    "....w.####.w...."
    "....w......w...."
    "....w.####.w...."
    "..##wwwwwwww##.."
    ".#............#."
    ".#wwwwwwwwwwww#."
    ".#ww.......GGw#."
    ".#wwwwwwwwwwww#."
    ".##############."
    "..#..........#.."
    "..############.."
    "................");

// Print preview: a page under a magnifier.
constexpr PixelArt kPrintPreview = Button(
    "................"
    ".wwwwwwwww......"
    ".w.......w......"
    ".w.####..w......"
    ".w.......w......"
    ".w.#####.w......"
    ".w....###w......"
    ".w...#wwB#......"
    ".w...#wBw#......"
    ".w....###......."
    ".w.......##....."
    ".w........##...."
    ".wwwwwwwww.##..."
    "...........##..."
    "................");

// Undo: an arrow turning back to the left.
constexpr PixelArt kUndo = Button(
    "................"
    "................"
    "................"
    "....#..........."
    "...##..........."
    "..###########..."
    ".############..."
    "..##########.#.."
    "...##.......##.."
    "....#........##."
    ".............##."
    "............##.."
    "...........##..."
    "..........#....."
    "................");

// Redo: the undo arrow mirrored.
constexpr PixelArt kRedo = Button(
    "................"
    "................"
    "................"
    "...........#...."
    "...........##..."
    "...###########.."
    "...############."
    "..#.##########.."
    "..##.......##..."
    ".##........#...."
    ".##............."
    "..##............"
    "...##..........."
    ".....#.........."
    "................");

// Cut: open scissors.
constexpr PixelArt kCut = Button(
    "................"
    "...#......#....."
    "...#......#....."
    "...#......#....."
    "...##....##....."
    "....#....#......"
    "....##..##......"
    ".....#..#......."
    "......##........"
    "......##........"
    "....nn#.nnn....."
    "...n..n.n..n...."
    "...n..n.n..n...."
    "...n..n.n..n...."
    "....nn...nn.....");

// Copy: two pages.
constexpr PixelArt kCopy = Button(
    "................"
    ".########......."
    ".#wwwwww##......"
    ".#w####w#w#....."
    ".#wwwwww#####..."
    ".#w####w#www#..."
    ".#wwwwww#w#####."
    ".#w####w#www#w#."
    ".#wwwwww#w####.."
    ".########www#w#."
    "........#w#####."
    "........#wwwww#."
    "........#w###w#."
    "........#wwwww#."
    "........#######.");

// Paste: a page over a clipboard.
constexpr PixelArt kPaste = Button(
    "................"
    "....######......"
    ".####wwww####..."
    ".#oo#....#oo#..."
    ".#oo######oo#..."
    ".#oooooooooo#..."
    ".#ooooo########."
    ".#ooooo#wwwwww#."
    ".#ooooo#w####w#."
    ".#ooooo#wwwwww#."
    ".#ooooo#w####w#."
    ".#ooooo#wwwwww#."
    ".#ooooo#w###ww#."
    ".#######wwwwww#."
    ".......########.");

// Find: binoculars.
constexpr PixelArt kFind = Button(
    "................"
    "..####...####..."
    "..#++#...#++#..."
    ".######.######.."
    ".#+ww#####+ww#.."
    ".#+ww#+#+#+ww#.."
    ".#++++#+#++++#.."
    ".######.######.."
    ".#++++#.#++++#.."
    ".#++++#.#++++#.."
    ".#++++#.#++++#.."
    ".######.######.."
    "................"
    "................"
    "................");

// Zoom: a magnifier with a plus.
constexpr PixelArt kZoom = Button(
    "................"
    "....####........"
    "...#wwww#......."
    "..#ww#www#......"
    ".#www#wwww#....."
    ".#w#####ww#....."
    ".#www#wwww#....."
    ".#www#wwww#....."
    "..#wwwwww#......"
    "...#wwww##......"
    "....#####.#....."
    ".........#+#...."
    "..........#+#..."
    "...........#+#.."
    "............##..");

// View: a window with a ruler and a bar.
constexpr PixelArt kViewOptions = Button(
    "................"
    ".##############."
    ".#nnnnnnnnnnnn#."
    ".#wwwwwwwwwwww#."
    ".#w+w+w+w+w+ww#."
    ".#wwwwwwwwwwww#."
    ".#w########www#."
    ".#wwwwwwwwwwww#."
    ".#w######wwwww#."
    ".#wwwwwwwwwwww#."
    ".#w#########ww#."
    ".#wwwwwwwwwwww#."
    ".#++++++++++++#."
    ".##############."
    "................");

// Chinese font: a character written with strokes.
constexpr PixelArt kChineseFont = Button(
    "................"
    ".......#........"
    ".......#........"
    "..###########..."
    "..#....#....#..."
    "..#....#....#..."
    "..#....#....#..."
    "..###########..."
    ".......#........"
    ".......#........"
    ".......#........"
    ".......#........"
    ".......#........"
    ".......#........"
    "................");

// Western font: the letters Aa.
constexpr PixelArt kWesternFont = Button(
    "................"
    "................"
    "....#..........."
    "...###.........."
    "...#.#.........."
    "..##.##........."
    "..#...#...###..."
    "..#####......#.."
    ".##...##..####.."
    ".#.....#.#...#.."
    "###...###.####.."
    "................"
    "................"
    "................"
    "................");

// Font size: a big and a small A.
constexpr PixelArt kFontSize = Button(
    "................"
    "....#..........."
    "...###.........."
    "...###.........."
    "..##.##........."
    "..##.##........."
    ".##...##........"
    ".#######....#..."
    ".##...##...###.."
    "##.....##..#.#.."
    "##.....##.#####."
    "###...####.#...#"
    "................"
    "................"
    "................");

// Bold: B.
constexpr PixelArt kBold = Button(
    "................"
    "................"
    "................"
    "...#######......"
    "....##...##....."
    "....##...##....."
    "....##...##....."
    "....######......"
    "....##...##....."
    "....##...##....."
    "....##...##....."
    "...#######......"
    "................"
    "................"
    "................");

// Italic: I.
constexpr PixelArt kItalic = Button(
    "................"
    "................"
    "................"
    "......#####....."
    ".......##......."
    ".......##......."
    "......##........"
    "......##........"
    "......##........"
    ".....##........."
    ".....##........."
    "....#####......."
    "................"
    "................"
    "................");

// Underline: U over a line.
constexpr PixelArt kUnderline = Button(
    "................"
    "................"
    "................"
    "...###..###....."
    "....#....#......"
    "....#....#......"
    "....#....#......"
    "....#....#......"
    "....#....#......"
    "....#....#......"
    ".....####......."
    "................"
    "...########....."
    "................"
    "................");

// Character colour: A over a colour stripe.
constexpr PixelArt kCharColor = Button(
    "................"
    "................"
    ".......#........"
    "......###......."
    "......###......."
    ".....#.###......"
    ".....#.###......"
    "....#...###....."
    "....#######....."
    "...#.....###...."
    "..###...#####..."
    "................"
    ".RRRRRRRRRRRRRR."
    ".RRRRRRRRRRRRRR."
    "................");

// Paragraph alignment: lines flush left.
constexpr PixelArt kAlign = Button(
    "................"
    "................"
    ".##########....."
    "................"
    ".##############."
    "................"
    ".#########......"
    "................"
    ".#############.."
    "................"
    ".##########....."
    "................"
    ".##############."
    "................"
    "................");

// Line spacing: lines with a double arrow.
constexpr PixelArt kLineSpacing = Button(
    "................"
    "....#..........."
    "...###..######.."
    "..#####........."
    "....#...######.."
    "....#..........."
    "....#...######.."
    "....#..........."
    "....#...######.."
    "....#..........."
    "..#####.######.."
    "...###.........."
    "....#...######.."
    "................"
    "................");

// Decrease indent: an arrow to the left beside lines.
constexpr PixelArt kDecreaseIndent = Button(
    "................"
    ".#############.."
    "................"
    "......########.."
    "...#............"
    "..##..########.."
    ".###............"
    "..##..########.."
    "...#............"
    "......########.."
    "................"
    ".#############.."
    "................"
    "................"
    "................");

// Increase indent: an arrow to the right beside lines.
constexpr PixelArt kIncreaseIndent = Button(
    "................"
    ".#############.."
    "................"
    "......########.."
    ".#.............."
    ".##...########.."
    ".###............"
    ".##...########.."
    ".#.............."
    "......########.."
    "................"
    ".#############.."
    "................"
    "................"
    "................");

// Spelling: ABC over a tick.
constexpr PixelArt kSpelling = Button(
    "................"
    "..#...###...##.."
    ".#.#..#..#.#..#."
    ".#.#..###..#...."
    ".###..#..#.#...."
    ".#.#..#..#.#..#."
    ".#.#..###...##.."
    "................"
    "...........g...."
    "..........gg...."
    "..g......gg....."
    "..gg....gg......"
    "...gg..gg......."
    "....gggg........"
    ".....gg.........");

// Revisions and notes: a page with a note and a pencil.
constexpr PixelArt kRevisions = Button(
    "................"
    ".#########......"
    ".#wwwwwww##....."
    ".#w#####w#w#...."
    ".#wwwwwww####..."
    ".#w#RRRRRR#w#..."
    ".#wwwwwwww#w#..."
    ".#w####wwYY#w#.."
    ".#wwwwwwYYR#w#.."
    ".#w####YYR#ww#.."
    ".#wwwwYYR#www#.."
    ".#www#YR#wwww#.."
    ".#www##.#wwww#.."
    ".#############.."
    "................");

// Common shapes: a triangle, a circle and a square.
constexpr PixelArt kShapes = Button(
    "................"
    ".....#.........."
    "....#Y#........."
    "...#YYY#........"
    "..#YYYYY#......."
    ".#########......"
    "..........###..."
    ".........#CCC#.."
    ".######.#CCCCC#."
    ".#BBBB#.#CCCCC#."
    ".#BBBB#.#CCCCC#."
    ".#BBBB#..#CCC#.."
    ".#BBBB#...###..."
    ".######........."
    "................");

// Line: a straight diagonal line.
constexpr PixelArt kLine = Button(
    "................"
    "..............#."
    ".............#.."
    "............#..."
    "...........#...."
    "..........#....."
    ".........#......"
    "........#......."
    ".......#........"
    "......#........."
    ".....#.........."
    "....#..........."
    "...#............"
    "..#............."
    ".#..............");

// Arrow: a diagonal line with a head.
constexpr PixelArt kArrow = Button(
    "................"
    "..........#####."
    "...........####."
    "............###."
    "...........#.##."
    "..........#...#."
    ".........#......"
    "........#......."
    ".......#........"
    "......#........."
    ".....#.........."
    "....#..........."
    "...#............"
    "..#............."
    ".#..............");

// Rectangle.
constexpr PixelArt kRectangle = Button(
    "................"
    "................"
    "................"
    ".##############."
    ".#............#."
    ".#............#."
    ".#............#."
    ".#............#."
    ".#............#."
    ".#............#."
    ".#............#."
    ".##############."
    "................"
    "................"
    "................");

// Ellipse.
constexpr PixelArt kEllipse = Button(
    "................"
    "................"
    ".....######....."
    "...##......##..."
    "..#..........#.."
    ".#............#."
    ".#............#."
    ".#............#."
    ".#............#."
    ".#............#."
    "..#..........#.."
    "...##......##..."
    ".....######....."
    "................"
    "................");

// Text box: a frame holding the letter A.
constexpr PixelArt kTextBox = Button(
    "................"
    ".##############."
    ".#wwwwwwwwwwww#."
    ".#wwwwww#wwwww#."
    ".#wwwww###wwww#."
    ".#wwwww###wwww#."
    ".#wwww#w###www#."
    ".#wwww#w###www#."
    ".#www#######ww#."
    ".#www#wwww###w#."
    ".#ww###ww####w#."
    ".#wwwwwwwwwwww#."
    ".#wwwwwwwwwwww#."
    ".##############."
    "................");

// Text border: lines inside a dashed frame.
constexpr PixelArt kTextBorder = Button(
    "................"
    ".##.##.##.##.##."
    "................"
    ".#............#."
    ".#..########..#."
    "................"
    ".#..########..#."
    ".#............#."
    "....########...."
    ".#............#."
    ".#..######....#."
    "................"
    ".#............#."
    ".##.##.##.##.##."
    "................");

// Line colour: a pen over a colour stripe.
constexpr PixelArt kLineColor = Button(
    "................"
    "...........##..."
    "..........#ww#.."
    ".........#ww#..."
    "........#ww#...."
    ".......#ww#....."
    "......#ww#......"
    ".....#ww#......."
    "....#ww#........"
    "...##w#........."
    "...###.........."
    "...#............"
    "................"
    ".BBBBBBBBBBBBBB."
    ".BBBBBBBBBBBBBB.");

// Fill: a tipped paint bucket over a colour stripe.
constexpr PixelArt kFill = Button(
    "................"
    "......#........."
    ".....#.#........"
    "....#.w.#......."
    "...#.www.#......"
    "..#.wwwww.#....."
    ".#.wwwwwww.#...."
    "..#.wwwwww.#Y..."
    "...#.wwww.#.YY.."
    "....#.ww.#..YY.."
    ".....#..#...YY.."
    "......##.....Y.."
    "................"
    ".YYYYYYYYYYYYYY."
    ".YYYYYYYYYYYYYY.");

// Line style: lines of several widths and dashes.
constexpr PixelArt kLineStyle = Button(
    "................"
    "................"
    ".##############."
    "................"
    ".##############."
    ".##############."
    "................"
    ".###.###.###.##."
    "................"
    ".#.#.#.#.#.#.#.."
    "................"
    ".##############."
    ".##############."
    ".##############."
    "................");

// Line ends: a line with an arrow head and a round end.
constexpr PixelArt kLineEnds = Button(
    "................"
    "................"
    "................"
    "...........#...."
    "...........##..."
    "...##......###.."
    "..####.#########"
    "..####.#########"
    "...##......###.."
    "...........##..."
    "...........#...."
    "................"
    "................"
    "................"
    "................");

// Picture: a framed landscape.
constexpr PixelArt kPicture = Button(
    "................"
    ".##############."
    ".#CCCCCCCCCCCC#."
    ".#CCCCCCCCYYCC#."
    ".#CCCCCCCYYYYC#."
    ".#CCCCCCCCYYCC#."
    ".#CCCCgCCCCCCC#."
    ".#CCCgggCCCCCC#."
    ".#CCgggggCCgCC#."
    ".#Cgggggggggg.#."
    ".#gggggggggggg#."
    ".#gggggggggggg#."
    ".#gggggggggggg#."
    ".##############."
    "................");

// Video: a strip of film.
constexpr PixelArt kVideo = Button(
    "................"
    ".##############."
    ".#w#w#w#w#w#w##."
    ".##############."
    ".#nnnnn##nnnnn#."
    ".#nCCCn##nCCCn#."
    ".#nCCCn##nCCCn#."
    ".#nggggn#nggggn."
    ".#nnnnn##nnnnn#."
    ".##############."
    ".#w#w#w#w#w#w##."
    ".##############."
    "................"
    "................"
    "................");

// Audio: a loudspeaker with sound waves.
constexpr PixelArt kAudio = Button(
    "................"
    "........#......."
    ".......##...#..."
    "......#+#....#.."
    ".....#w+#..#..#."
    ".####ww+#...#.#."
    ".#wwwww+#.#.#..#"
    ".#wwwww+#.#.#..#"
    ".#wwwww+#...#.#."
    ".####ww+#..#..#."
    ".....#w+#....#.."
    "......#+#...#..."
    ".......##......."
    "........#......."
    "................");

// Chart: bars on axes.
constexpr PixelArt kChart = Button(
    "................"
    ".#.............."
    ".#..........RR.."
    ".#..........RR.."
    ".#......BB..RR.."
    ".#......BB..RR.."
    ".#......BB..RR.."
    ".#..gg..BB..RR.."
    ".#..gg..BB..RR.."
    ".#..gg..BB..RR.."
    ".#..gg..BB..RR.."
    ".#..gg..BB..RR.."
    ".##############."
    "................"
    "................");

// Date: a calendar page.
constexpr PixelArt kDate = Button(
    "................"
    ".##############."
    ".#RRRRRRRRRRRR#."
    ".#RRRRRRRRRRRR#."
    ".##############."
    ".#wwwwwwwwwwww#."
    ".#w#w#w#w#w#ww#."
    ".#wwwwwwwwwwww#."
    ".#w#w#w#w#w#ww#."
    ".#wwwwwwwwwwww#."
    ".#w#w#wRRw#www#."
    ".#wwwwwRRwwwww#."
    ".#wwwwwwwwwwww#."
    ".##############."
    "................");

// Common symbols: Omega.
constexpr PixelArt kSymbols = Button(
    "................"
    "................"
    ".....#####......"
    "....##...##....."
    "...##.....##...."
    "...##.....##...."
    "...##.....##...."
    "...##.....##...."
    "....##...##....."
    ".....#...#......"
    "..####...####..."
    "................"
    "................"
    "................"
    "................");

// Table: a grid with a header row.
constexpr PixelArt kTable = Button(
    "................"
    ".##############."
    ".#nnnnnnnnnnnn#."
    ".#nnnnnnnnnnnn#."
    ".##############."
    ".#www#wwww#www#."
    ".#www#wwww#www#."
    ".##############."
    ".#www#wwww#www#."
    ".#www#wwww#www#."
    ".##############."
    ".#www#wwww#www#."
    ".#www#wwww#www#."
    ".##############."
    "................");

// Insert row: a table with a new row marked by an arrow.
constexpr PixelArt kInsertRow = Button(
    "................"
    ".###########...."
    ".#www#wwwww#...."
    ".###########...."
    ".#GGGGGGGGG#..#."
    ".#GGGGGGGGG#.##."
    ".###########.##."
    ".#www#wwwww#..#."
    ".###########...."
    ".#www#wwwww#...."
    ".###########...."
    "................"
    "................"
    "................"
    "................");

// Insert column: a table with a new column marked by an arrow.
constexpr PixelArt kInsertColumn = Button(
    "................"
    ".....###........"
    "......#........."
    ".#############.."
    ".#ww#GGG#wwww#.."
    ".#ww#GGG#wwww#.."
    ".#ww#GGG#wwww#.."
    ".#############.."
    ".#ww#GGG#wwww#.."
    ".#ww#GGG#wwww#.."
    ".#############.."
    ".#ww#GGG#wwww#.."
    ".#ww#GGG#wwww#.."
    ".#############.."
    "................");

// Delete row: a table with a row crossed out.
constexpr PixelArt kDeleteRow = Button(
    "................"
    ".###########...."
    ".#www#wwwww#...."
    ".###########...."
    ".#www#wwwww#R..R"
    ".#www#wwwww#.RR."
    ".#www#wwwww#.RR."
    ".#www#wwwww#R..R"
    ".###########...."
    ".#www#wwwww#...."
    ".###########...."
    "................"
    "................"
    "................"
    "................");

// Delete column: a table with a column crossed out.
constexpr PixelArt kDeleteColumn = Button(
    "................"
    "....R..R........"
    ".....RR........."
    ".....RR........."
    "....R..R........"
    ".###########...."
    ".#ww#www#ww#...."
    ".#ww#www#ww#...."
    ".###########...."
    ".#ww#www#ww#...."
    ".#ww#www#ww#...."
    ".###########...."
    ".#ww#www#ww#...."
    ".###########...."
    "................");

// Merge cells: two cells joined into one by arrows.
constexpr PixelArt kMergeCells = Button(
    "................"
    ".##############."
    ".#wwwwwwwwwwww#."
    ".#wwwwwwwwwwww#."
    ".#wwwwwwwwwwww#."
    ".##############."
    "................"
    ".##############."
    ".#www#w##w#www#."
    ".#ww##w##w##ww#."
    ".#w###w##w###w#."
    ".#ww##w##w##ww#."
    ".#www#w##w#www#."
    ".##############."
    "................");

// Split cells: one cell parted by arrows.
constexpr PixelArt kSplitCells = Button(
    "................"
    ".##############."
    ".#wwwwwwwwwwww#."
    ".#wwwwwwwwwwww#."
    ".#wwwwwwwwwwww#."
    ".##############."
    "................"
    ".######..######."
    ".#w##w#..#w##w#."
    ".##ww##..##ww##."
    ".###ww#..#ww###."
    ".##ww##..##ww##."
    ".#w##w#..#w##w#."
    ".######..######."
    "................");

// Vertical alignment in cells: lines held in the middle of a cell.
constexpr PixelArt kCellAlign = Button(
    "................"
    ".##############."
    ".#wwwwwwwwwwww#."
    ".#wwwwwwwwwwww#."
    ".#wwwwwwwwwwww#."
    ".#ww########ww#."
    ".#wwwwwwwwwwww#."
    ".#ww########ww#."
    ".#wwwwwwwwwwww#."
    ".#ww########ww#."
    ".#wwwwwwwwwwww#."
    ".#wwwwwwwwwwww#."
    ".#wwwwwwwwwwww#."
    ".##############."
    "................");

// Object properties: a check list with a pen.
constexpr PixelArt kProperties = Button(
    "................"
    ".##########....."
    ".#wwwwwwww#....."
    ".#w#ww####......"
    ".#wwwwwww#......"
    ".#w#ww###..#...."
    ".#wwwwww..#w#..."
    ".#w#ww...#w#...."
    ".#wwwww.#w#....."
    ".#w#ww.#w#......"
    ".#wwww##.#......"
    ".#wwww###......."
    ".#wwwwwwww#....."
    ".##########....."
    "................");

// Table borders: a box divided in four, heavy outer lines.
constexpr PixelArt kBorders = Button(
    "................"
    ".##############."
    ".##############."
    ".##....++....##."
    ".##....++....##."
    ".##....++....##."
    ".##....++....##."
    ".##++++++++++##."
    ".##....++....##."
    ".##....++....##."
    ".##....++....##."
    ".##....++....##."
    ".##############."
    ".##############."
    "................");

// About: a question mark in a balloon.
constexpr PixelArt kAbout = Button(
    "................"
    "....########...."
    "...#wwwwwwww#..."
    "..#www####www#.."
    "..#ww##ww##ww#.."
    "..#wwwwww##ww#.."
    "..#wwwww##www#.."
    "..#wwww##wwww#.."
    "..#wwwwwwwwww#.."
    "..#wwww##wwww#.."
    "...#wwwwwwww#..."
    "....#######....."
    ".....#w#........"
    "......##........"
    "................");

constexpr ButtonPicture kButtonPictures[] = {
    {57607, &kPrint},
    {57609, &kPrintPreview},
    {57643, &kUndo},
    {57644, &kRedo},
    {57635, &kCut},
    {57634, &kCopy},
    {57637, &kPaste},
    {32787, &kFind},
    {35037, &kZoom},
    {35020, &kViewOptions},
    {35061, &kChineseFont},
    {35062, &kWesternFont},
    {35063, &kFontSize},
    {35065, &kBold},
    {35066, &kItalic},
    {35067, &kUnderline},
    {35071, &kCharColor},
    {35080, &kAlign},
    {35085, &kLineSpacing},
    {35093, &kDecreaseIndent},
    {35092, &kIncreaseIndent},
    {37900, &kSpelling},
    {32770, &kRevisions},
    {32800, &kShapes},
    {32802, &kLine},
    {32803, &kArrow},
    {32841, &kRectangle},
    {32849, &kEllipse},
    {33271, &kTextBox},
    {33300, &kTextBorder},
    {33274, &kLineColor},
    {33276, &kFill},
    {33330, &kLineStyle},
    {33370, &kLineEnds},
    {35041, &kPicture},
    {35042, &kVideo},
    {35043, &kAudio},
    {35046, &kChart},
    {32784, &kDate},
    {32783, &kSymbols},
    {35044, &kTable},
    {37801, &kInsertRow},
    {37802, &kInsertColumn},
    {37803, &kDeleteRow},
    {37804, &kDeleteColumn},
    {37807, &kMergeCells},
    {37808, &kSplitCells},
    {37810, &kCellAlign},
    {35055, &kProperties},
    {37814, &kBorders},
    {32774, &kAbout},
};

const PixelArt* PictureOf(std::uint16_t command)
{
    for (const ButtonPicture& b : kButtonPictures)
        if (b.command == command) return b.art;
    return nullptr;
}

struct Strip {
    plat::String name;
    std::vector<const PixelArt*> tiles;
};

// The strips of every toolbar resource; a button without a picture leaves its bar without
// a strip (the tests of the tables catch it).
std::vector<Strip> MakeStrips()
{
    std::vector<Strip> strips;
    for (const ToolbarResource& bar : ToolbarResources()) {
        Strip strip{ResourceIdName(bar.id), {}};
        for (std::uint16_t command : bar.commands) {
            if (command == 0) continue;
            const PixelArt* art = PictureOf(command);
            if (!art) {
                strip.tiles.clear();
                break;
            }
            strip.tiles.push_back(art);
        }
        strips.push_back(std::move(strip));
    }
    return strips;
}

} // namespace

const std::span<const PaletteEntry> kToolbarPalette = kStandard16;

std::span<const PictureResource> ToolbarStrips()
{
    static const std::vector<Strip>* strips = new std::vector<Strip>(MakeStrips());
    static const std::vector<PictureResource>* resources = [] {
        auto* out = new std::vector<PictureResource>;
        for (const Strip& s : *strips) out->push_back({s.name, kToolbarPalette, s.tiles});
        return out;
    }();
    return *resources;
}

} // namespace res_detail
