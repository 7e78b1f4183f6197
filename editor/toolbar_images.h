// The pictures of the toolbars' drop-down menus and of the buttons that follow the format:
// the format bar's underline, alignment and line-spacing buttons show the current choice,
// the character-colour, line-colour and fill-colour buttons show the current colour as a
// stripe under their icon, and the cell-alignment button shows the focus cell's vertical
// alignment. The frame's update handlers call the refreshes on every idle update; each
// redraws its button only when the value shown changes. Also the line-style popup menu.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/base/strings.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/menu.h"

class CQlMain;
class CToolBarEx;

class CToolbarImages {
public:
    // Size of a menu and button picture.
    static constexpr int kPictureWidth = 16;
    static constexpr int kPictureHeight = 15;
    // The colour stripe of the colour buttons: these rows, the full width.
    static constexpr int kStripeTop = 12;
    static constexpr int kStripeBottom = 15;

    // The buttons that follow the format.
    static constexpr unsigned kCmdUnderline = 35067;
    static constexpr unsigned kCmdCharColor = 35071;
    static constexpr unsigned kCmdAlignment = 35080;
    static constexpr unsigned kCmdLineSpacing = 35085;
    static constexpr unsigned kCmdCellAlign = 37810;
    static constexpr unsigned kCmdLineColor = 33274;
    static constexpr unsigned kCmdFillColor = 33276;
    // Their images in the strips of their bars.
    static constexpr int kUnderlineImage = 15;
    static constexpr int kCharColorImage = 16;
    static constexpr int kAlignmentImage = 17;
    static constexpr int kLineSpacingImage = 18;
    static constexpr int kCellAlignShortImage = 13;
    static constexpr int kCellAlignFullImage = 24;
    static constexpr int kLineColorImage = 7;
    static constexpr int kFillColorImage = 8;

    // The line-style menu: styles 2-13 are its items 33331-33342.
    static constexpr unsigned kCmdLineStyleFirst = 33331;
    static constexpr int kLineStyleCount = 12;

    CToolbarImages();
    ~CToolbarImages();
    CToolbarImages(const CToolbarImages&) = delete;
    CToolbarImages& operator=(const CToolbarImages&) = delete;

    // Keeps the frame, makes the menu pictures, loads the line-style pictures and builds
    // the line-style menu. Once, after the frame's bars exist.
    void Create(CQlMain* frame);

    // ---- refreshes (nothing without a frame or a main document) ----
    // 35067 underline, 35080 alignment or 35085 line spacing of the format bar.
    void UpdateFormatButton(unsigned command);
    // 35071 of the format bar.
    void UpdateCharColourButton();
    // 37810 of the extension bar in use.
    void UpdateCellAlignButton(unsigned command);
    // 33274 line colour or 33276 fill colour of the full extension bar.
    void UpdateShapeColourButton(unsigned command);

    // ---- the menu pictures (null when the resource is missing) ----
    // Alignment 1 left, 2 right, 3 centre, 4 justify.
    const plat::Bitmap* GetAlignmentPicture(int alignment) const;
    // Underline kinds 1 single, 2 double, 3 dotted.
    const plat::Bitmap* GetUnderlinePicture(int kind) const;
    // Line-spacing codes 1-5.
    const plat::Bitmap* GetLineSpacingPicture(int code) const;
    // Cell vertical alignment 16 top, 32 middle, 64 bottom.
    const plat::Bitmap* GetCellAlignPicture(int flag) const;
    // Line styles 2-13.
    const plat::Bitmap* GetLineStylePicture(int style) const;
    plat::Menu& GetLineStyleMenu() { return m_lineStyleMenu; }

    // A 16 x 15 picture of the button face's colour with the named resource ANDed on; null
    // when the resource is missing.
    static std::unique_ptr<plat::Bitmap> MakeMenuPicture(plat::StringView resource);

private:
    // Puts the resource's picture (with the colour stripe when one is given) in place of
    // the bar's image and repaints the button when the bar is visible.
    void ShowPicture(CToolBarEx* bar, unsigned command, int image, plat::StringView resource,
                     std::optional<plat::ColorRef> stripe) const;
    // A frame colour as it shows: automatic colours are the main document's defaults.
    plat::ColorRef Resolve(std::int32_t color) const;

    CQlMain* m_frame = nullptr;
    std::array<std::unique_ptr<plat::Bitmap>, 3> m_underline;
    std::array<std::unique_ptr<plat::Bitmap>, 5> m_lineSpacing;
    std::array<std::unique_ptr<plat::Bitmap>, 4> m_alignment; // justify, left, centre, right
    std::array<std::unique_ptr<plat::Bitmap>, 3> m_cellAlign; // top, middle, bottom
    // What the buttons show.
    std::uint8_t m_shownUnderline = 0;
    std::optional<std::uint8_t> m_shownLineSpacing; // empty: the first refresh draws
    std::uint8_t m_shownAlignment = 4;
    std::uint8_t m_shownCellAlign = 32;
    std::array<std::unique_ptr<plat::Bitmap>, kLineStyleCount> m_lineStyles;
    plat::Menu m_lineStyleMenu;
    std::int32_t m_shownCharColor = 0;
    std::int32_t m_shownLineColor = 0;
    std::int32_t m_shownFillColor = 0;
};
