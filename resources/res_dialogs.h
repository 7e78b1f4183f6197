// The module's dialog templates, by id: the control carries them in its code.
#pragma once
#include "platform/ui/dialog_template.h"

// Template ids.
enum ResDialogId : int {
    kIddTextCount = 212,
    kIddAnnotation = 314,
    kIddObjectCount = 7177,
    kIddProtect = 7178,
    kIddUnprotect = 7179,
    kIddPassword = 7180,
    kIddAuthorList = 30724,
    kIddObjectProp = 7150,
    kIddTableProp = 7108,
    kIddSplitCell = 7120,
    kIddTableBorder = 213,
};

// Control ids of those templates.
enum ResControlId : int {
    kIdcTextCountList = 1409,
    kIdcObjectCountList = 1410,
    kIdcProtectPassword = 1411,
    kIdcProtectConfirm = 1412,
    kIdcUnprotectPassword = 1413,
    kIdcPassword = 1414,
    kIdcAuthorList = 311,
    kIdcAnnotationText = 312,
    kIdcAnnotationAuthor = 313,
    kIdcAnnotationTime = 315,
    kIdcAnnotationDelete = 3,
    kIdcObjectWrapNone = 5941, // … 5944 Both
    kIdcObjectNote = 226,
    kIdcTableWrapNone = 5952,  // … 5955 Both
    kIdcTableNote = 5951,
    kIdcSplitRows = 9011,
    kIdcSplitColumns = 9012,
    kIdcBorderStyleList = 234,
    kIdcBorderPreviewTop = 236,    // … 242: Horz, Bottom, Left, Right, Vert, Vert
    kIdcBorderPreviewLast = 242,
    kIdcBorderAll = 243,           // the twelve target buttons, 243 … 254
    kIdcBorderFrame = 244,
    kIdcBorderAllHorizontal = 245,
    kIdcBorderTopBottom = 246,
    kIdcBorderInnerHorizontal = 247,
    kIdcBorderAllVertical = 248,
    kIdcBorderLeftRight = 249,
    kIdcBorderInnerVertical = 250,
    kIdcBorderTop = 251,
    kIdcBorderLeft = 252,
    kIdcBorderBottom = 253,
    kIdcBorderRight = 254,
    kIdcBorderColor = 255,
};

// The template of an id; null for an id the module does not hold.
const plat::DialogTemplate* FindDialogTemplate(int id);
// The same, or an empty template for an id the module does not hold.
const plat::DialogTemplate& DialogTemplateOf(int id);
