// The face lists of the format bar's font combos and of the font dialog, filled from the
// screen's font families: Chinese (GB2312) faces in one list, Western (ANSI, DEFAULT and
// SYMBOL) faces in the other. The combos take these lists as they are.
#pragma once
#include <vector>

#include "platform/base/strings.h"
#include "platform/gfx/font_families.h"

struct FontFaceLists {
    std::vector<plat::String> chinese;
    std::vector<plat::String> western;
};

// The frame's rule for one enumerated face: outline faces only, no vertical ("@") faces;
// GB2312 faces are appended, Western faces inserted in plain UTF-16 code-unit order
// (before the first name that compares greater); any other character set is ignored.
void AddFontFamily(const plat::FontFamilyRecord& face, FontFaceLists& lists);

// The font dialog's rule: as the frame's, and the listed symbol faces ("Sym Phonetic" ...)
// are skipped too, whatever their case. Both lists keep enumeration order: the dialog's
// Western combo sorts its own items.
void AddDialogFontFace(const plat::FontFamilyRecord& face, FontFaceLists& lists);

// Fills the lists from every record, by the frame's or the dialog's rule.
FontFaceLists FrameFontLists(const std::vector<plat::FontFamilyRecord>& faces);
FontFaceLists DialogFontLists(const std::vector<plat::FontFamilyRecord>& faces);

// The index of the name in the list, compared exactly (case-sensitive); -1 when absent.
int FindFont(const std::vector<plat::String>& list, plat::StringView name);
