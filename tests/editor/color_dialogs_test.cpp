// The colour pop-ups driven by the mouse as a user drives them: the palettes end on the
// first click, the picker's compact and expanded forms, its drags and edits, its colour
// arithmetic, and the custom colours it keeps in the document.
#include <filesystem>
#include <functional>

#include "editor/color_palette_dlg.h"
#include "editor/color_picker_dlg.h"
#include "platform/ui/edit.h"
#include "platform/ui/message.h"
#include "resources/res_palette_dialogs.h"
#include "tests/editor/editor_test_support.h"

namespace {

namespace fs = std::filesystem;

// The screen point of a client point of the dialog.
plat::Point ScreenOf(plat::Dialog& d, plat::Point client)
{
    return d.ClientToScreen(client);
}

// The screen point at the middle of a control.
plat::Point CentreOf(plat::Dialog& d, int id)
{
    plat::Control* c = d.GetDlgItem(id);
    EXPECT_NE(c, nullptr) << id;
    if (!c) return {};
    const plat::Rect r = c->GetRect();
    return ScreenOf(d, plat::Point((r.left + r.right) / 2, (r.top + r.bottom) / 2));
}

// What the user's mouse does, one message at a time, each handled before the next (as the
// window under the mouse changes with what the last one did).
void Mouse(plat::Dialog& d, unsigned message, plat::Point screen)
{
    plat::PostMouseInput(d, message, screen);
    plat::PumpMessages();
}

void Click(plat::Dialog& d, plat::Point screen)
{
    Mouse(d, plat::kWmLButtonDown, screen);
    Mouse(d, plat::kWmLButtonUp, screen);
}

class ColorDialogsTest : public edtest::EditorTest {
protected:
    // Runs the dialog; `act` sees it open and drives it.
    int Run(plat::Dialog& dialog, std::function<void(plat::Dialog&)> act)
    {
        plat::AnswerNextModal([act](const plat::ModalRecord& run) -> std::optional<int> {
            plat::Dialog* d = plat::DialogOf(run);
            EXPECT_NE(d, nullptr);
            if (d) act(*d);
            return std::nullopt;
        });
        return dialog.DoModal();
    }
};

constexpr int kStandardCell = 40;           // any standard colour
constexpr int kFirstCustomCell = kIdcColorCellFirst + CColorPalette::kStandardCount;

} // namespace

TEST_F(ColorDialogsTest, PalettesEndOnTheFirstClick)
{
    enum class Kind { kColor, kPattern };
    struct Case {
        const char* what;
        Kind kind;
        int control;             // 0: a point outside the pop-up
        int result;
        std::int32_t color;      // what the dialog's colour field holds afterwards
        int pattern;
    };
    const std::int32_t standard = CColorPalette::kStandard[kStandardCell];
    const Case cases[] = {
        {"colour cell", Kind::kColor, kIdcColorCellFirst + kStandardCell, plat::kIdOk, standard, 0},
        {"automatic line colour", Kind::kColor, kIdcAutomatic, plat::kIdOk, kAutomaticTextColor, 0},
        {"outside", Kind::kColor, 0, plat::kIdCancel, 0xFF0000, 0},
        {"pattern palette cell", Kind::kPattern, kIdcColorCellFirst + kStandardCell, plat::kIdOk, standard, 2},
        {"automatic fill colour", Kind::kPattern, kIdcAutomatic, plat::kIdOk, kAutomaticFillColor, 2},
        {"pattern palette outside", Kind::kPattern, 0, plat::kIdCancel, 0x00FFFF, 2},
        {"NULL", Kind::kPattern, kIdcPatternFirst, plat::kIdOk, 0x00FFFF, 1},
        {"SOLID", Kind::kPattern, kIdcPatternFirst + 1, plat::kIdOk, 0x00FFFF, 2},
        {"HORZ", Kind::kPattern, kIdcPatternFirst + 2, plat::kIdOk, 0x00FFFF, 3},
        {"VERT", Kind::kPattern, kIdcPatternFirst + 3, plat::kIdOk, 0x00FFFF, 4},
        {"CROSS", Kind::kPattern, kIdcPatternFirst + 4, plat::kIdOk, 0x00FFFF, 5},
        {"FDIAG", Kind::kPattern, kIdcPatternFirst + 5, plat::kIdOk, 0x00FFFF, 6},
        {"BDIAG", Kind::kPattern, kIdcPatternFirst + 6, plat::kIdOk, 0x00FFFF, 7},
        {"DIAG", Kind::kPattern, kIdcPatternLast, plat::kIdOk, 0x00FFFF, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CColorPatternPaletteDlg patterns;
        CColorPaletteDlg colors;
        CColorPaletteDlg& dlg = c.kind == Kind::kPattern ? patterns : colors;
        dlg.m_x = 300;
        dlg.m_y = 200;
        const int result = Run(dlg, [&](plat::Dialog& d) {
            EXPECT_EQ(d.GetWindowRect().left, 300);
            EXPECT_EQ(d.GetWindowRect().top, 200);
            EXPECT_EQ(plat::GetCapture(), &d) << "the pop-up holds the mouse";
            const plat::Point at = c.control ? CentreOf(d, c.control) : plat::Point(5, 5);
            Mouse(d, plat::kWmLButtonDown, at);
        });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(dlg.m_color, c.color);
        if (c.kind == Kind::kPattern) {
            EXPECT_EQ(patterns.m_pattern, c.pattern);
        }
        EXPECT_EQ(plat::GetCapture(), nullptr);
    }
}

TEST_F(ColorDialogsTest, ThePatternButtonsShowTheCurrentColourInTheirPattern)
{
    CColorPatternPaletteDlg dlg;
    dlg.m_color = 0x0000FF; // red
    dlg.m_pattern = 2;
    Run(dlg, [&](plat::Dialog& d) {
        std::unique_ptr<plat::Bitmap> shot = plat::RenderWindowTree(d);
        ASSERT_NE(shot, nullptr);
        auto inner = [&](int id) {
            const plat::Rect r = d.GetDlgItem(id)->GetRect();
            return plat::Rect(r.left + 4, r.top + 4, r.right - 4, r.bottom - 4);
        };
        const plat::Rect none = inner(kIdcPatternFirst), solid = inner(kIdcPatternFirst + 1);
        const plat::Rect horizontal = inner(kIdcPatternFirst + 2);
        const int midX = (solid.left + solid.right) / 2, midY = (solid.top + solid.bottom) / 2;
        EXPECT_EQ(shot->GetPixel(solid.left, midY), plat::Rgb(0, 0, 0)) << "black outline";
        EXPECT_EQ(shot->GetPixel(midX, midY), plat::Rgb(255, 0, 0)) << "solid fill in the colour";
        EXPECT_NE(shot->GetPixel((none.left + none.right) / 2, (none.top + none.bottom) / 2), plat::Rgb(255, 0, 0))
            << "the empty pattern is hollow";
        int redRows = 0;
        for (int y = horizontal.top + 1; y < horizontal.bottom - 1; ++y)
            redRows += shot->GetPixel((horizontal.left + horizontal.right) / 2, y) == plat::Rgb(255, 0, 0);
        EXPECT_GT(redRows, 0) << "hatch lines in the colour";
        EXPECT_LT(redRows, horizontal.Height() - 2) << "with gaps between them";
        Mouse(d, plat::kWmLButtonDown, plat::Point(1, 1));
    });
}

TEST_F(ColorDialogsTest, PickerArithmetic)
{
    CColorPalette palette;
    struct HslCase {
        int hue, saturation, luminance;
        plat::ColorRef color;
    };
    const HslCase toColor[] = {
        {160, 240, 120, 0xFF0000}, // blue
        {120, 240, 120, 0xFFFF00}, // cyan
        {0, 240, 120, 0x0000FF},   // red
        {0, 0, 240, 0xFFFFFF},
        {0, 0, 0, 0x000000},
    };
    for (const HslCase& c : toColor) {
        CColorPickerDlg dlg(palette, ColorPickerAutomatic::kShow);
        dlg.m_hue = c.hue;
        dlg.m_saturation = c.saturation;
        dlg.m_luminance = c.luminance;
        EXPECT_EQ(dlg.HslToColor(), c.color) << c.hue << " " << c.saturation << " " << c.luminance;
    }
    struct RgbCase {
        int red, green, blue;
        int previousHue;
        int hue, saturation, luminance;
    };
    const RgbCase toHsl[] = {
        {128, 128, 128, 77, 77, 0, 120}, // a grey keeps the hue it had
        {255, 255, 255, 13, 13, 0, 240},
        {255, 0, 0, 50, 0, 240, 120},
        {0, 0, 255, 50, 160, 240, 120},
        {0, 255, 255, 50, 120, 240, 120},
        {255, 0, 255, 50, 200, 240, 120},
        {255, 0, 1, 50, 239, 240, 120}, // 240 and above becomes 239
    };
    for (const RgbCase& c : toHsl) {
        CColorPickerDlg dlg(palette, ColorPickerAutomatic::kShow);
        dlg.m_red = c.red;
        dlg.m_green = c.green;
        dlg.m_blue = c.blue;
        dlg.m_hue = c.previousHue;
        dlg.UpdateHslFromRgb();
        EXPECT_EQ(dlg.m_hue, c.hue) << c.red << "," << c.green << "," << c.blue;
        EXPECT_EQ(dlg.m_saturation, c.saturation) << c.red << "," << c.green << "," << c.blue;
        EXPECT_EQ(dlg.m_luminance, c.luminance) << c.red << "," << c.green << "," << c.blue;
    }
}

TEST_F(ColorDialogsTest, CompactPickerEndsOnTheFirstClick)
{
    struct Case {
        const char* what;
        int control; // 0: outside
        int result;
        std::int32_t color;
    };
    const Case cases[] = {
        {"standard cell", kIdcColorCellFirst + kStandardCell, plat::kIdOk, CColorPalette::kStandard[kStandardCell]},
        {"empty custom slot keeps the colour", kFirstCustomCell + 30, plat::kIdOk, 0x123456},
        {"used custom slot", kFirstCustomCell, plat::kIdOk, 0x123456},
        {"文本", kIdcAutomatic, plat::kIdOk, kAutomaticTextColor},
        {"填充", kIdcPickerFill, plat::kIdOk, kAutomaticFillColor},
        {"outside", 0, plat::kIdCancel, 0x123456},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CColorPalette palette;
        CColorPickerDlg dlg(palette, ColorPickerAutomatic::kShow);
        dlg.m_color = 0x123456;
        dlg.m_x = 100;
        dlg.m_y = 50;
        const int result = Run(dlg, [&](plat::Dialog& d) {
            EXPECT_EQ(d.GetWindowRect(), plat::Rect(100, 50, 720, 160)) << "the compact size";
            EXPECT_EQ(d.GetDlgItemText(kIdcPickerRed), u"86"); // 0x56
            EXPECT_EQ(d.GetDlgItemText(kIdcPickerBlue), u"18"); // 0x12
            const plat::Point at = c.control ? CentreOf(d, c.control) : ScreenOf(d, plat::Point(630, 50));
            Mouse(d, plat::kWmLButtonDown, at);
        });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(dlg.m_color, c.color);
        EXPECT_EQ(palette.GetColor(CColorPalette::kStandardCount), 0x123456) << "the opening colour joins the row";
    }
}

TEST_F(ColorDialogsTest, HiddenAutomaticButtonsCannotBeChosen)
{
    CColorPalette palette;
    CColorPickerDlg dlg(palette, ColorPickerAutomatic::kHide);
    dlg.m_color = 0x0000FF;
    const int result = Run(dlg, [&](plat::Dialog& d) {
        EXPECT_FALSE(d.GetDlgItem(kIdcAutomatic)->IsWindowVisible());
        EXPECT_FALSE(d.GetDlgItem(kIdcPickerFill)->IsWindowVisible());
        EXPECT_TRUE(d.GetDlgItem(kIdcPickerExpand)->IsWindowVisible());
        Mouse(d, plat::kWmLButtonDown, CentreOf(d, kIdcAutomatic));
    });
    EXPECT_EQ(result, plat::kIdCancel);
    EXPECT_EQ(dlg.m_color, 0x0000FF);
}

TEST_F(ColorDialogsTest, ExpandedPickerIgnoresEmptySlotsAndDragsAndEdits)
{
    CColorPalette palette;
    CColorPickerDlg dlg(palette, ColorPickerAutomatic::kShow);
    dlg.m_color = 0x0000FF; // red: a standard colour, so the custom row stays empty
    const int result = Run(dlg, [&](plat::Dialog& d) {
        const plat::Rect full = d.GetClientRect();
        Click(d, CentreOf(d, kIdcPickerExpand));
        EXPECT_TRUE(dlg.m_expanded);
        EXPECT_EQ(d.GetDlgItemText(kIdcPickerExpand), u"添加");
        EXPECT_GT(d.GetClientRect().Height(), 110) << "the whole picker shows";
        EXPECT_EQ(plat::GetCapture(), nullptr);
        (void)full;

        // An empty custom slot is ignored; "文本" does nothing here.
        Click(d, CentreOf(d, kFirstCustomCell));
        Click(d, CentreOf(d, kIdcAutomatic));
        EXPECT_FALSE(d.IsEnded());
        EXPECT_EQ(dlg.m_color, 0x0000FF);

        // The luminance pointer dragged above the bar: 240, white.
        const plat::Rect bar = d.GetDlgItem(kIdcPickerLum)->GetRect();
        Mouse(d, plat::kWmLButtonDown, ScreenOf(d, plat::Point(bar.left + 5, bar.top + 50)));
        EXPECT_EQ(dlg.m_drag, CColorPickerDlg::DragMode::kLuminance);
        Mouse(d, plat::kWmMouseMove, ScreenOf(d, plat::Point(bar.left + 5, bar.top - 40)));
        Mouse(d, plat::kWmLButtonUp, ScreenOf(d, plat::Point(bar.left + 5, bar.top - 40)));
        EXPECT_EQ(dlg.m_drag, CColorPickerDlg::DragMode::kNone);
        EXPECT_EQ(dlg.m_luminance, 240);
        EXPECT_EQ(dlg.m_color, 0xFFFFFF);
        EXPECT_EQ(d.GetDlgItemText(kIdcPickerLumEdit), u"240");

        // The field: top left is hue 0, full saturation; then luminance 120 by its edit.
        const plat::Rect field = d.GetDlgItem(kIdcPickerHueSat)->GetRect();
        Mouse(d, plat::kWmLButtonDown, ScreenOf(d, plat::Point(field.left + 1, field.top + 1)));
        Mouse(d, plat::kWmLButtonUp, ScreenOf(d, plat::Point(field.left - 30, field.top - 30)));
        EXPECT_EQ(dlg.m_hue, 0);
        EXPECT_EQ(dlg.m_saturation, 240);
        d.SetDlgItemText(kIdcPickerLumEdit, u"120");
        EXPECT_EQ(dlg.m_color, 0x0000FF);

        // Edits outside their ranges change nothing.
        struct Edit {
            int id;
            const char16_t* text;
        };
        for (const Edit& e : {Edit{kIdcPickerRed, u"256"}, Edit{kIdcPickerGreen, u"999"}, Edit{kIdcPickerHue, u"240"},
                              Edit{kIdcPickerSat, u"241"}, Edit{kIdcPickerLumEdit, u"256"}}) {
            d.SetDlgItemText(e.id, e.text);
            EXPECT_EQ(dlg.m_color, 0x0000FF) << e.id;
        }
        // In range: green 255 makes yellow and moves the hue.
        d.SetDlgItemText(kIdcPickerGreen, u"255");
        EXPECT_EQ(dlg.m_color, 0x00FFFF);
        EXPECT_EQ(d.GetDlgItemText(kIdcPickerHue), u"40");
        d.SetDlgItemText(kIdcPickerHue, u"160");
        EXPECT_EQ(dlg.m_color, 0xFF0000);
        EXPECT_EQ(d.GetDlgItemText(kIdcPickerBlue), u"255");
        if (const char* keep = std::getenv("QUILN_KEEP_PICTURES"))
            plat::RenderWindowTree(d)->SavePng(plat::Utf8ToUtf16(std::string(keep) + "/color_picker.png"));
        // A colour of no standard cell, for the custom row.
        d.SetDlgItemText(kIdcPickerLumEdit, u"100");
        EXPECT_EQ(dlg.m_color, 0xD40000);

        // "添加" keeps the colour in the document's row and ends the picker.
        Click(d, CentreOf(d, kIdcPickerExpand));
    });
    EXPECT_EQ(result, plat::kIdOk);
    EXPECT_EQ(dlg.m_color, 0xD40000);
    EXPECT_EQ(palette.GetColor(CColorPalette::kStandardCount), 0xD40000);
}

// "添加" through the document's hook: the next picker shows the colour in its custom row, and
// the row survives saving and reopening the document.
TEST_F(ColorDialogsTest, AddedColoursStayInTheDocument)
{
    InstallColorPickerDialog();
    const plat::ColorRef added = 0x336699;
    plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
        plat::Dialog* d = plat::DialogOf(run);
        if (!d) return std::nullopt;
        Click(*d, CentreOf(*d, kIdcPickerExpand));
        d->SetDlgItemText(kIdcPickerRed, u"153");   // 0x99
        d->SetDlgItemText(kIdcPickerGreen, u"102"); // 0x66
        d->SetDlgItemText(kIdcPickerBlue, u"51");   // 0x33
        Click(*d, CentreOf(*d, kIdcPickerExpand));
        return std::nullopt;
    });
    plat::ColorRef color = 0x0000FF;
    EXPECT_EQ(CQlDoc::GetColorPickerDialog()(nullptr, m_doc.GetPalette(), ColorPickerAutomatic::kShow,
                                             plat::Point(10, 10), color),
              plat::kIdOk);
    EXPECT_EQ(color, added);

    const fs::path file = fs::temp_directory_path() / ("quiln_picker_" + std::to_string(::getpid()) + ".qln");
    ASSERT_EQ(m_doc.FileSave(plat::Utf8ToUtf16(file.string())), 1);
    CQlDoc reopened;
    ASSERT_EQ(reopened.FileOpen(plat::Utf8ToUtf16(file.string()), false), 1);
    fs::remove(file);
    EXPECT_EQ(reopened.GetPalette().GetColor(CColorPalette::kStandardCount), static_cast<std::int32_t>(added));

    // The next picker over the reopened document draws the colour in its first custom cell.
    plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
        plat::Dialog* d = plat::DialogOf(run);
        if (!d) return std::nullopt;
        std::unique_ptr<plat::Bitmap> shot = plat::RenderWindowTree(*d);
        const plat::Rect cell = d->GetDlgItem(kFirstCustomCell)->GetRect();
        EXPECT_EQ(shot->GetPixel((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2), added);
        Mouse(*d, plat::kWmLButtonDown, CentreOf(*d, kFirstCustomCell));
        return std::nullopt;
    });
    plat::ColorRef next = 0;
    EXPECT_EQ(CQlDoc::GetColorPickerDialog()(nullptr, reopened.GetPalette(), ColorPickerAutomatic::kShow,
                                             plat::Point(10, 10), next),
              plat::kIdOk);
    EXPECT_EQ(next, added);
    CQlDoc::SetColorPickerDialog({});
}
