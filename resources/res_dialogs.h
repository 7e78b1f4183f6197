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
};

// The template of an id; null for an id the module does not hold.
const plat::DialogTemplate* FindDialogTemplate(int id);
// The same, or an empty template for an id the module does not hold.
const plat::DialogTemplate& DialogTemplateOf(int id);
