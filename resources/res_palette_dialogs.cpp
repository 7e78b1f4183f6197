#include "resources/res_palette_dialogs.h"

#include "platform/ui/button.h"
#include "platform/ui/edit.h"
#include "platform/ui/static_control.h"

namespace {

using plat::DialogItemTemplate;
using plat::DialogTemplate;
using plat::Rect;

constexpr char16_t kFace[] = u"宋体";
constexpr int kCellSize = 9;
constexpr int kCellPitch = 11;
constexpr int kCellOrigin = 2;
constexpr int kCellsPerRow = 37;
constexpr int kStandardCells = 179;
constexpr int kCustomCells = 31;
constexpr int kCustomRowTop = 57;

DialogItemTemplate Item(plat::StringView cls, int id, plat::StringView text, Rect rect, unsigned style)
{
    return DialogItemTemplate{plat::String(cls), id, plat::String(text), rect, style, 0};
}

DialogItemTemplate Button(int id, plat::StringView text, int x, int y, int w, int h, unsigned style = plat::kBsPushButton)
{
    return Item(plat::kButtonClass, id, text, Rect(x, y, x + w, y + h), style);
}

DialogItemTemplate Cell(int id, int x, int y)
{
    return Button(id, u"", x, y, kCellSize, kCellSize, plat::kBsOwnerDraw);
}

// The 179 standard cells: four rows of 37, then 31.
void AddStandardCells(DialogTemplate& t)
{
    for (int i = 0; i < kStandardCells; ++i)
        t.items.push_back(Cell(kIdcColorCellFirst + i, kCellOrigin + (i % kCellsPerRow) * kCellPitch,
                               kCellOrigin + (i / kCellsPerRow) * kCellPitch));
}

DialogTemplate Palette(int id, plat::Size size)
{
    DialogTemplate t{id, u"", size, kFace, 9, {}};
    AddStandardCells(t);
    t.items.push_back(Button(kIdcAutomatic, u"自动颜色", 343, 46, 64, 12));
    return t;
}

DialogTemplate PatternPalette()
{
    DialogTemplate t = Palette(kIddColorPatternPalette, plat::Size(530, 60));
    static constexpr const char16_t* kNames[] = {u"NULL", u"SOLID", u"HORZ", u"VERT",
                                                 u"CROSS", u"FDIAG", u"BDIAG", u"DIAG"};
    for (int i = 0; i < 8; ++i)
        t.items.push_back(Button(kIdcPatternFirst + i, kNames[i], 416 + (i % 4) * 28, 3 + (i / 4) * 28, 24, 24,
                                 plat::kBsOwnerDraw));
    return t;
}

DialogItemTemplate Label(plat::StringView text, int x, int y, int w, int h)
{
    return Item(plat::kStaticClass, plat::kIdStatic, text, Rect(x, y, x + w, y + h), plat::kSsLeft);
}

DialogItemTemplate NumberEdit(int id, int x, int y)
{
    return Item(plat::kEditClass, id, u"", Rect(x, y, x + 24, y + 12), plat::kEsNumber | plat::kWsTabStop);
}

DialogTemplate Picker()
{
    DialogTemplate t{kIddColorPicker, u"", plat::Size(562, 126), kFace, 9, {}};
    AddStandardCells(t);
    for (int i = 0; i < kCustomCells; ++i)
        t.items.push_back(Cell(kIdcColorCellFirst + kStandardCells + i, kCellOrigin + i * kCellPitch, kCustomRowTop));
    t.items.push_back(Button(kIdcAutomatic, u"文本", 344, 47, 19, 16));
    t.items.push_back(Button(kIdcPickerFill, u"填充", 366, 47, 19, 16));
    t.items.push_back(Button(kIdcPickerExpand, u"颜色", 388, 47, 19, 16));
    // Disabled, so that their clicks reach the dialog, which drags over them.
    t.items.push_back(Button(kIdcPickerHueSat, u"HueSat", 414, 1, 118, 118, plat::kBsOwnerDraw | plat::kWsDisabled));
    t.items.push_back(Button(kIdcPickerLum, u"Lum", 537, 1, 21, 118, plat::kBsOwnerDraw | plat::kWsDisabled));
    t.items.push_back(Label(u"色度", 2, 72, 24, 10));
    t.items.push_back(NumberEdit(kIdcPickerHue, 30, 70));
    t.items.push_back(Label(u"饱和度", 2, 88, 28, 10));
    t.items.push_back(NumberEdit(kIdcPickerSat, 30, 86));
    t.items.push_back(Label(u"亮度", 2, 104, 24, 10));
    t.items.push_back(NumberEdit(kIdcPickerLumEdit, 30, 102));
    t.items.push_back(Label(u"红色", 62, 72, 20, 10));
    t.items.push_back(NumberEdit(kIdcPickerRed, 84, 70));
    t.items.push_back(Label(u"绿色", 62, 88, 20, 10));
    t.items.push_back(NumberEdit(kIdcPickerGreen, 84, 86));
    t.items.push_back(Label(u"蓝色", 62, 104, 20, 10));
    t.items.push_back(NumberEdit(kIdcPickerBlue, 84, 102));
    t.items.push_back(Button(kIdcPickerPreview, u"", 116, 70, 45, 45, plat::kBsOwnerDraw | plat::kWsDisabled));
    t.items.push_back(Label(u"操作提示：\n    按<ESC>键取消；按<RETURN>键返回；或按<添加>按钮。", 168, 72, 240, 24));
    return t;
}

} // namespace

void AddPaletteDialogTemplates(std::map<int, plat::DialogTemplate>& table)
{
    table[kIddColorPalette] = Palette(kIddColorPalette, plat::Size(410, 60));
    table[kIddColorPatternPalette] = PatternPalette();
    table[kIddColorPicker] = Picker();
    table[kIddBitmapPalette] = DialogTemplate{kIddBitmapPalette, u"", plat::Size(187, 100), kFace, 9, {}};
}
