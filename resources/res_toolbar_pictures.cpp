// The pictures of the toolbar buttons, 16 x 15 each, one per command. A bar's image strip
// is made from its button list (res_toolbars.h), so a command on two bars shows the same
// picture on both.
#include <array>
#include <string_view>
#include <vector>

#include "resources/res_bitmaps.h"
#include "resources/res_pictures.h"
#include "resources/res_toolbars.h"

namespace res_detail {
namespace {

// The 16 colours of button pictures, in the order of the standard 16-colour table:
//   # black   m maroon   g green    o olive    n navy     p purple   t teal     . light grey
//   + grey    R red      G lime     Y yellow   B blue     M fuchsia  C aqua     w white
// Black, grey, light grey and white follow the button colours when a strip is loaded
// with LoadSysColorBitmap; light grey is the background.
constexpr PaletteEntry kStandard16[] = {
    {'#', plat::Rgb(0, 0, 0)},       {'m', plat::Rgb(128, 0, 0)},   {'g', plat::Rgb(0, 128, 0)},
    {'o', plat::Rgb(128, 128, 0)},   {'n', plat::Rgb(0, 0, 128)},   {'p', plat::Rgb(128, 0, 128)},
    {'t', plat::Rgb(0, 128, 128)},   {'.', plat::Rgb(192, 192, 192)}, {'+', plat::Rgb(128, 128, 128)},
    {'R', plat::Rgb(255, 0, 0)},     {'G', plat::Rgb(0, 255, 0)},   {'Y', plat::Rgb(255, 255, 0)},
    {'B', plat::Rgb(0, 0, 255)},     {'M', plat::Rgb(255, 0, 255)}, {'C', plat::Rgb(0, 255, 255)},
    {'w', plat::Rgb(255, 255, 255)},
};

// A button picture, 16 x 15.
template <std::size_t N>
consteval PixelArt Button(const char (&rows)[N])
{
    return MakeArt<16, 15>(rows);
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
    ".#########......"
    ".#wwwwwww#......"
    ".#w#####w#......"
    ".#wwwwwww#......"
    ".#w##ww####....."
    ".#wwww#CCCC#...."
    ".#w##w#CwCC#...."
    ".#wwww#CCCC#...."
    ".#w###w####....."
    ".#wwwwwww#.##..."
    ".#w####ww#..##.."
    ".#########...##."
    "..............#."
    "................");

// Undo: an arrow turning back to the left.
constexpr PixelArt kUndo = Button(
    "................"
    "................"
    ".....#.........."
    "....##.........."
    "...##########..."
    "..############.."
    "...##.......###."
    "....#........##."
    ".............##."
    ".............##."
    "............###."
    "..........####.."
    "......######...."
    "................"
    "................");

// Redo: the undo arrow mirrored.
constexpr PixelArt kRedo = Button(
    "................"
    "................"
    "..........#....."
    "..........##...."
    "...##########..."
    "..############.."
    ".###.......##..."
    ".##........#...."
    ".##............."
    ".##............."
    ".###............"
    "..####.........."
    "....######......"
    "................"
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
    ".#######........"
    ".#wwwww#........"
    ".#w###w#........"
    ".#wwwww#........"
    ".#ww#########..."
    ".#ww#wwwwwww#..."
    ".#w##w#####w#..."
    ".#ww#wwwwwww#..."
    ".####w#####w#..."
    "....#wwwwwww#..."
    "....#w#####w#..."
    "....#wwwwwww#..."
    "....#########..."
    "................");

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
    ".#wwwww##wwwww#."
    ".#wwwww##wwwww#."
    ".#wwww####wwww#."
    ".#wwww#ww#wwww#."
    ".#www##ww##www#."
    ".#www######www#."
    ".#ww##wwww##ww#."
    ".#ww##wwww##ww#."
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
    ".#Cggggggggggg#."
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

// Object properties: a window of settings with check boxes.
constexpr PixelArt kProperties = Button(
    "................"
    ".#############.."
    ".#nnnnnnnnnnn#.."
    ".#############.."
    ".#wwwwwwwwwww#.."
    ".#w###wwwwwww#.."
    ".#w#g#w#####w#.."
    ".#w###wwwwwww#.."
    ".#wwwwwwwwwww#.."
    ".#w###wwwwwww#.."
    ".#w#w#w####ww#.."
    ".#w###wwwwwww#.."
    ".#wwwwwwwwwww#.."
    ".#############.."
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


// ---- the pictures of the drop-down menus and of the buttons that follow the format ----
// Drawn on white, so that a picture ANDed onto a button face keeps the face around its ink.
// Where a toolbar picture shows the same thing, the menu picture is that picture.

// The standard colours with white for the background.
constexpr PaletteEntry kOnWhite16[] = {
    {'#', plat::Rgb(0, 0, 0)},       {'m', plat::Rgb(128, 0, 0)},   {'g', plat::Rgb(0, 128, 0)},
    {'o', plat::Rgb(128, 128, 0)},   {'n', plat::Rgb(0, 0, 128)},   {'p', plat::Rgb(128, 0, 128)},
    {'t', plat::Rgb(0, 128, 128)},   {'.', plat::Rgb(255, 255, 255)}, {'+', plat::Rgb(128, 128, 128)},
    {'R', plat::Rgb(255, 0, 0)},     {'G', plat::Rgb(0, 255, 0)},   {'Y', plat::Rgb(255, 255, 0)},
    {'B', plat::Rgb(0, 0, 255)},     {'M', plat::Rgb(255, 0, 255)}, {'C', plat::Rgb(0, 255, 255)},
    {'w', plat::Rgb(255, 255, 255)},
};

// Double underline.
constexpr PixelArt kUnderlineDouble = Button(
    "................"
    "................"
    "................"
    "...###..###....."
    "....#....#......"
    "....#....#......"
    "....#....#......"
    "....#....#......"
    "....#....#......"
    ".....####......."
    "................"
    "...########....."
    "................"
    "...########....."
    "................");

// Dotted underline.
constexpr PixelArt kUnderlineDotted = Button(
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
    "...#.#.#.#......"
    "................"
    "................");

// Justified: every line full.
constexpr PixelArt kAlignJustify = Button(
    "................"
    "................"
    ".##############."
    "................"
    ".##############."
    "................"
    ".##############."
    "................"
    ".##############."
    "................"
    ".##############."
    "................"
    ".##############."
    "................"
    "................");

// Centred lines.
constexpr PixelArt kAlignCentre = Button(
    "................"
    "................"
    "...##########..."
    "................"
    ".##############."
    "................"
    "....########...."
    "................"
    "..############.."
    "................"
    "...##########..."
    "................"
    ".##############."
    "................"
    "................");

// Lines flush right.
constexpr PixelArt kAlignRight = Button(
    "................"
    "................"
    ".....##########."
    "................"
    ".##############."
    "................"
    "......#########."
    "................"
    "..#############."
    "................"
    ".....##########."
    "................"
    ".##############."
    "................"
    "................");

// Line spacing: lines closer or farther apart beside the double arrow. A quarter line.
constexpr PixelArt kSpacingQuarter = Button(
    "................"
    "....#..........."
    "...###.........."
    "..#####.######.."
    "....#...######.."
    "....#...######.."
    "....#...######.."
    "....#...######.."
    "....#...######.."
    "....#...######.."
    "..#####.######.."
    "...###.........."
    "....#..........."
    "................"
    "................");

// Half a line.
constexpr PixelArt kSpacingHalf = Button(
    "................"
    "....#..........."
    "...###.........."
    "..#####.######.."
    "....#..........."
    "....#...######.."
    "....#..........."
    "....#...######.."
    "....#..........."
    "....#...######.."
    "..#####........."
    "...###..######.."
    "....#..........."
    "................"
    "................");

// Three quarters of a line.
constexpr PixelArt kSpacingThreeQuarters = Button(
    "................"
    "....#..........."
    "...###..######.."
    "..#####........."
    "....#..........."
    "....#...######.."
    "....#..........."
    "....#..........."
    "....#...######.."
    "....#..........."
    "..#####........."
    "...###..######.."
    "....#..........."
    "................"
    "................");

// One and a half lines.
constexpr PixelArt kSpacingOneAndHalf = Button(
    "................"
    "....#...######.."
    "...###.........."
    "..#####........."
    "....#..........."
    "....#..........."
    "....#...######.."
    "....#..........."
    "....#..........."
    "....#..........."
    "..#####........."
    "...###..######.."
    "....#..........."
    "................"
    "................");

// Cell text at the top of the cell.
constexpr PixelArt kCellTop = Button(
    "................"
    ".##############."
    ".#wwwwwwwwwwww#."
    ".#ww########ww#."
    ".#wwwwwwwwwwww#."
    ".#ww########ww#."
    ".#wwwwwwwwwwww#."
    ".#ww########ww#."
    ".#wwwwwwwwwwww#."
    ".#wwwwwwwwwwww#."
    ".#wwwwwwwwwwww#."
    ".#wwwwwwwwwwww#."
    ".#wwwwwwwwwwww#."
    ".##############."
    "................");

// Cell text at the bottom of the cell.
constexpr PixelArt kCellBottom = Button(
    "................"
    ".##############."
    ".#wwwwwwwwwwww#."
    ".#wwwwwwwwwwww#."
    ".#wwwwwwwwwwww#."
    ".#wwwwwwwwwwww#."
    ".#wwwwwwwwwwww#."
    ".#wwwwwwwwwwww#."
    ".#ww########ww#."
    ".#wwwwwwwwwwww#."
    ".#ww########ww#."
    ".#wwwwwwwwwwww#."
    ".#ww########ww#."
    ".##############."
    "................");

// The line styles of the line-style menu: a line across a 64 x 12 picture, drawn from its
// dash pattern ('#' ink, '.' gap, repeated along the line) and its thickness.
constexpr int kLineStyleWidth = 64;
constexpr int kLineStyleHeight = 12;
using LineStyleRows = std::array<char, kLineStyleWidth * kLineStyleHeight + 1>;

consteval LineStyleRows LineStyleArt(std::string_view pattern, int thickness)
{
    LineStyleRows rows{};
    const int top = (kLineStyleHeight - thickness) / 2;
    for (int y = 0; y < kLineStyleHeight; ++y)
        for (int x = 0; x < kLineStyleWidth; ++x) {
            const bool onLine = y >= top && y < top + thickness && x >= 2 && x < kLineStyleWidth - 2;
            const bool ink = onLine && pattern[static_cast<std::size_t>(x - 2) % pattern.size()] == '#';
            rows[static_cast<std::size_t>(y * kLineStyleWidth + x)] = ink ? '#' : '.';
        }
    rows.back() = '\0';
    return rows;
}

constexpr LineStyleRows kLineSolid0 = LineStyleArt("#", 1);
constexpr LineStyleRows kLineDash = LineStyleArt("######...", 1);
constexpr LineStyleRows kLineDot = LineStyleArt("#.", 1);
constexpr LineStyleRows kLineDashDot = LineStyleArt("######..#..", 1);
constexpr LineStyleRows kLineDashDotDot = LineStyleArt("######..#..#..", 1);
constexpr LineStyleRows kLineSolid[7] = {
    LineStyleArt("#", 2), LineStyleArt("#", 3), LineStyleArt("#", 4), LineStyleArt("#", 5),
    LineStyleArt("#", 6), LineStyleArt("#", 7), LineStyleArt("#", 8),
};

constexpr PixelArt LineStylePicture(const LineStyleRows& rows)
{
    return {kLineStyleWidth, kLineStyleHeight, rows.data()};
}
constexpr PixelArt kLineStylePictures[12] = {
    LineStylePicture(kLineSolid0),  LineStylePicture(kLineDash),     LineStylePicture(kLineDot),
    LineStylePicture(kLineDashDot), LineStylePicture(kLineDashDotDot), LineStylePicture(kLineSolid[0]),
    LineStylePicture(kLineSolid[1]), LineStylePicture(kLineSolid[2]), LineStylePicture(kLineSolid[3]),
    LineStylePicture(kLineSolid[4]), LineStylePicture(kLineSolid[5]), LineStylePicture(kLineSolid[6]),
};

struct NamedArt {
    std::u16string_view name;
    const PixelArt* art;
};

constexpr NamedArt kMenuArt[] = {
    {u"IDB_UNDERLINE_UL", &kUnderline},
    {u"IDB_UNDERLINE_DUL", &kUnderlineDouble},
    {u"IDB_UNDERLINE_DOT", &kUnderlineDotted},
    {u"IDB_ROWGAP_T25", &kSpacingQuarter},
    {u"IDB_ROWGAP_T50", &kSpacingHalf},
    {u"IDB_ROWGAP_T75", &kSpacingThreeQuarters},
    {u"IDB_ROWGAP_T100", &kLineSpacing},
    {u"IDB_ROWGAP_T150", &kSpacingOneAndHalf},
    {u"IDB_ROWFORMAT_TBOTH", &kAlignJustify},
    {u"IDB_ROWFORMAT_TLEFT", &kAlign},
    {u"IDB_ROWFORMAT_TCENTER", &kAlignCentre},
    {u"IDB_ROWFORMAT_TRIGHT", &kAlignRight},
    {u"IDB_TABLE_TUP", &kCellTop},
    {u"IDB_TABLE_TMIDDLE", &kCellAlign},
    {u"IDB_TABLE_TDOWN", &kCellBottom},
    {u"IDB_CHAR_COLOR", &kCharColor},
    {u"IDB_GRAPH_COLOR", &kLineColor},
    {u"IDB_GRAPH_FILLCOLOR", &kFill},
    {u"IDB_LNSTYLE_SOLID0", &kLineStylePictures[0]},
    {u"IDB_LNSTYLE_DASH", &kLineStylePictures[1]},
    {u"IDB_LNSTYLE_DOT", &kLineStylePictures[2]},
    {u"IDB_LNSTYLE_DASHDOT", &kLineStylePictures[3]},
    {u"IDB_LNSTYLE_DASHDOTDOT", &kLineStylePictures[4]},
    {u"IDB_LNSTYLE_SOLID1", &kLineStylePictures[5]},
    {u"IDB_LNSTYLE_SOLID2", &kLineStylePictures[6]},
    {u"IDB_LNSTYLE_SOLID3", &kLineStylePictures[7]},
    {u"IDB_LNSTYLE_SOLID4", &kLineStylePictures[8]},
    {u"IDB_LNSTYLE_SOLID5", &kLineStylePictures[9]},
    {u"IDB_LNSTYLE_SOLID6", &kLineStylePictures[10]},
    {u"IDB_LNSTYLE_SOLID7", &kLineStylePictures[11]},
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

std::span<const PictureResource> ToolbarStrips()
{
    static const std::vector<Strip>* strips = new std::vector<Strip>(MakeStrips());
    static const std::vector<PictureResource>* resources = [] {
        auto* out = new std::vector<PictureResource>;
        for (const Strip& s : *strips) out->push_back({s.name, kStandard16, s.tiles});
        return out;
    }();
    return *resources;
}

std::span<const PictureResource> MenuPictures()
{
    static const std::vector<PictureResource>* resources = [] {
        auto* out = new std::vector<PictureResource>;
        for (const NamedArt& a : kMenuArt) out->push_back({a.name, kOnWhite16, std::span<const PixelArt* const>(&a.art, 1)});
        return out;
    }();
    return *resources;
}

} // namespace res_detail
