// The templates of the pop-up palettes: the colour palette, the colour and pattern palette
// and the colour picker, which share the grid of colour cells, and the bitmap palette.
#pragma once
#include <map>

#include "platform/ui/dialog_template.h"

enum ResPaletteDialogId : int {
    kIddColorPicker = 7101,
    kIddBitmapPalette = 7136, // empty: the bitmap palette sizes itself
    kIddColorPalette = 7188,
    kIddColorPatternPalette = 7189,
};

enum ResPaletteControlId : int {
    // Cell i of the palette (0-178 standard, 179-209 the custom row of the picker).
    kIdcColorCellFirst = 5001,
    kIdcColorCellLastStandard = 5179,
    kIdcColorCellLast = 5210,
    kIdcPickerExpand = 5230,  // "颜色", then "添加"
    kIdcPickerHueSat = 5231,
    kIdcPickerLum = 5232,
    kIdcPickerHue = 5233,
    kIdcPickerRed = 5234,
    kIdcPickerSat = 5235,
    kIdcPickerLumEdit = 5236,
    kIdcPickerBlue = 5237,
    kIdcPickerGreen = 5238,
    kIdcPickerPreview = 5239,
    kIdcAutomatic = 5240,     // "自动颜色" in the palettes, "文本" in the picker
    kIdcPickerFill = 5241,    // "填充"
    kIdcPatternFirst = 5242,  // "NULL" ... "DIAG": fill patterns 1-8
    kIdcPatternLast = 5249,
};

// Adds the four templates to the module's table.
void AddPaletteDialogTemplates(std::map<int, plat::DialogTemplate>& table);
