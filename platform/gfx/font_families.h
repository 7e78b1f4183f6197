// The font families of the screen, listed the way the editor's face lists expect them:
// one record per face name and character set, with the character set's Windows number
// and whether the face is an outline (TrueType) face.
//
// The list comes from the control's private fontconfig configuration (see font.h): first
// the face names that fonts.conf maps onto installed families (宋体, 黑体, Times New Roman,
// ...), in the order the file declares them, then the installed families themselves,
// ordered by name. A family gets one record per script it covers: Simplified Chinese
// (zh-cn) gives GB2312, Latin gives ANSI, and so on; a font with a symbol character map
// gives SYMBOL only.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/strings.h"
#include "platform/gfx/font.h"

namespace plat {

struct FontFamilyRecord {
    String face;
    std::uint8_t charSet = 0;
    bool trueType = false; // an outline face; bitmap-only families are not
    bool operator==(const FontFamilyRecord&) const = default;
};

// What the font configuration tells of one installed family, all its styles together.
struct InstalledFamily {
    std::string name;               // UTF-8, as fontconfig names it
    std::vector<std::string> langs; // fontconfig languages the family covers
    bool outline = false;           // some style is a scalable TrueType or CFF face
    bool symbol = false;            // a symbol character map
};

// A face name that fonts.conf maps onto an installed family ("宋体" → "AR PL UMing CN").
struct FontAlias {
    std::string name;
    std::string family;
    bool operator==(const FontAlias&) const = default;
};

// The character sets a family is listed under, in the order the records carry them.
std::vector<std::uint8_t> FamilyCharSets(const InstalledFamily& family);

// The aliases of a fontconfig file: each <match target="pattern"> whose family test
// (compare="eq") is assigned another family. Rules of any other shape are not aliases.
std::vector<FontAlias> ParseFontAliases(std::string_view confText);

// The records of aliases (those whose family is installed and whose own name is neither an
// installed family nor an earlier alias) followed by the installed families, in the order
// given. Names compare as fontconfig compares families: without ASCII case or blanks.
std::vector<FontFamilyRecord> BuildFontFamilies(const std::vector<InstalledFamily>& installed,
                                                const std::vector<FontAlias>& aliases);

// The families a font configuration (an FcConfig*) lists, ordered by name.
std::vector<InstalledFamily> ListInstalledFamilies(void* fcConfig);

// The screen's font families, from the process's font configuration. When fonts.conf could
// not be loaded the desktop's configuration serves, and only its own families are listed.
std::vector<FontFamilyRecord> EnumScreenFontFamilies();

} // namespace plat
