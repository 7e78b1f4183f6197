// The screen's font families: which character sets a family is listed under, the face
// names fonts.conf maps onto installed families, and the list this machine gives.
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gfx/font_families.h"

namespace {

using plat::FontAlias;
using plat::FontFamilyRecord;
using plat::InstalledFamily;

TEST(GfxFontFamilies, CharSetsFollowTheLanguagesCovered)
{
    struct Row {
        const char* what;
        InstalledFamily family;
        std::vector<std::uint8_t> charSets;
    };
    const Row rows[] = {
        {"Latin only", {"Serif", {"en"}, true, false}, {plat::kAnsiCharSet}},
        {"Chinese with Latin", {"Ming", {"zh-cn", "en"}, true, false}, {plat::kAnsiCharSet, plat::kGb2312CharSet}},
        {"Traditional only", {"Big", {"zh-tw"}, true, false}, {plat::kChineseBig5CharSet}},
        {"Latin and Cyrillic", {"Sans", {"ru", "en", "el"}, true, false},
         {plat::kAnsiCharSet, plat::kGreekCharSet, plat::kRussianCharSet}},
        {"symbol map wins over languages", {"Dings", {"en"}, true, true}, {plat::kSymbolCharSet}},
        {"no known language", {"Odd", {}, true, false}, {}},
    };
    for (const auto& row : rows) EXPECT_EQ(plat::FamilyCharSets(row.family), row.charSets) << row.what;
}

TEST(GfxFontFamilies, AliasesAreFamilyRulesOfThePattern)
{
    const char* conf = R"(<?xml version="1.0"?>
<fontconfig>
  <!-- <match target="pattern"><test name="family"><string>Commented</string></test>
       <edit name="family"><string>Nothing</string></edit></match> -->
  <match target="pattern">
    <test name="family" compare="eq"><string>宋体</string></test>
    <edit name="family" mode="assign" binding="strong"><string>AR PL UMing CN</string></edit>
    <edit name="lang" mode="assign"><string>zh-cn</string></edit>
  </match>
  <match>
    <test qual="any" name="family"><string> A &amp; B </string></test>
    <edit name="family" mode="assign"><string>Liberation Sans</string></edit>
  </match>
  <match target="font">
    <test name="family" compare="eq"><string>FontTarget</string></test>
    <edit name="family"><string>Liberation Serif</string></edit>
  </match>
  <match target="pattern">
    <test name="family" compare="contains"><string>Contains</string></test>
    <edit name="family"><string>Liberation Serif</string></edit>
  </match>
  <match target="pattern">
    <test name="lang" compare="eq"><string>ja</string></test>
    <edit name="family"><string>Liberation Serif</string></edit>
  </match>
  <match target="pattern">
    <test name="family" compare="eq"><string>NoFamilyEdit</string></test>
    <edit name="lang"><string>zh-cn</string></edit>
  </match>
  <match target="pattern">
    <edit name="family" mode="append_last"><string>sans-serif</string></edit>
  </match>
  <alias><family>serif</family><prefer><family>Liberation Serif</family></prefer></alias>
  <match target="pattern">
    <test name="family" compare="eq"><string>Arial</string></test>
    <edit name="family"><string>Liberation Sans</string></edit>
  </match>
</fontconfig>)";
    const std::vector<FontAlias> expected = {
        {"宋体", "AR PL UMing CN"},
        {"A & B", "Liberation Sans"},
        {"Arial", "Liberation Sans"},
    };
    EXPECT_EQ(plat::ParseFontAliases(conf), expected);
    EXPECT_TRUE(plat::ParseFontAliases("<match target=\"pattern\"><test name=\"family\">").empty());
    EXPECT_TRUE(plat::ParseFontAliases("<!-- <match>").empty());
}

TEST(GfxFontFamilies, RecordsOfAliasesThenInstalledFamilies)
{
    const std::vector<InstalledFamily> installed = {
        {"AR PL UMing CN", {"en", "zh-cn"}, true, false},
        {"Fixed", {"en"}, false, false},
        {"Liberation Serif", {"en", "ru"}, true, false},
    };
    const std::vector<FontAlias> aliases = {
        {"宋体", "AR PL UMing CN"},
        {"Times New Roman", "Liberation Serif"},
        {"Arial", "Liberation Sans"},       // not installed here
        {"Fixed", "Liberation Serif"},      // an installed family keeps its own records
        {"宋体", "AR PL UMing CN"},          // declared twice, listed once
        {"Terminal", "Fixed"},
        {"Georgia", "liberationserif"},     // family names match without case or blanks
        {"fixed", "Liberation Serif"},      // so does an installed family's own name
        {"Times NewRoman", "Liberation Serif"},
    };
    const std::vector<FontFamilyRecord> expected = {
        {u"宋体", plat::kAnsiCharSet, true},
        {u"宋体", plat::kGb2312CharSet, true},
        {u"Times New Roman", plat::kAnsiCharSet, true},
        {u"Times New Roman", plat::kRussianCharSet, true},
        {u"Terminal", plat::kAnsiCharSet, false},
        {u"Georgia", plat::kAnsiCharSet, true},
        {u"Georgia", plat::kRussianCharSet, true},
        {u"AR PL UMing CN", plat::kAnsiCharSet, true},
        {u"AR PL UMing CN", plat::kGb2312CharSet, true},
        {u"Fixed", plat::kAnsiCharSet, false},
        {u"Liberation Serif", plat::kAnsiCharSet, true},
        {u"Liberation Serif", plat::kRussianCharSet, true},
    };
    EXPECT_EQ(plat::BuildFontFamilies(installed, aliases), expected);
}

// A bitmap font of one glyph, in the text form FreeType reads.
const char kBitmapFont[] = R"(STARTFONT 2.1
FONT -quiln-Quiln Test Fixed-medium-r-normal--8-80-75-75-c-80-iso10646-1
SIZE 8 75 75
FONTBOUNDINGBOX 8 8 0 0
STARTPROPERTIES 3
FAMILY_NAME "Quiln Test Fixed"
FONT_ASCENT 8
FONT_DESCENT 0
ENDPROPERTIES
CHARS 1
STARTCHAR A
ENCODING 65
SWIDTH 1000 0
DWIDTH 8 0
BBX 8 8 0 0
BITMAP
18
24
42
42
7E
42
42
42
ENDCHAR
ENDFONT
)";

TEST(GfxFontFamilies, BitmapFamiliesAreNotOutlineFaces)
{
    // A configuration of its own, over a folder with a bitmap font and the Latin faces.
    namespace fs = std::filesystem;
    std::string dirTemplate = (fs::path(testing::TempDir()) / "quiln-fonts-XXXXXX").string();
    ASSERT_NE(mkdtemp(dirTemplate.data()), nullptr);
    const fs::path dir = dirTemplate;
    std::ofstream(dir / "quilntest.bdf") << kBitmapFont;
    const std::string conf = "<fontconfig><dir>" + dir.string() +
                             "</dir><dir>/usr/share/fonts/truetype/liberation</dir><cachedir>" +
                             (dir / "cache").string() + "</cachedir></fontconfig>";
    FcConfig* config = FcConfigCreate();
    ASSERT_TRUE(FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(conf.c_str()), FcTrue));
    ASSERT_TRUE(FcConfigBuildFonts(config));
    const auto families = plat::ListInstalledFamilies(config);
    FcConfigDestroy(config);
    fs::remove_all(dir);

    const auto find = [&](const std::string& name) {
        return std::find_if(families.begin(), families.end(), [&](const InstalledFamily& f) { return f.name == name; });
    };
    const auto bitmap = find("Quiln Test Fixed");
    ASSERT_NE(bitmap, families.end());
    EXPECT_FALSE(bitmap->outline);
    EXPECT_FALSE(bitmap->symbol);
    const auto serif = find("Liberation Serif");
    ASSERT_NE(serif, families.end());
    EXPECT_TRUE(serif->outline);
    const auto serifSets = plat::FamilyCharSets(*serif);
    for (std::uint8_t cs : {plat::kAnsiCharSet, plat::kRussianCharSet})
        EXPECT_NE(std::find(serifSets.begin(), serifSets.end(), cs), serifSets.end()) << int(cs);
    EXPECT_EQ(std::find(serifSets.begin(), serifSets.end(), plat::kGb2312CharSet), serifSets.end());
    EXPECT_TRUE(std::is_sorted(families.begin(), families.end(),
                               [](const InstalledFamily& a, const InstalledFamily& b) { return a.name < b.name; }));
}

bool Has(const std::vector<FontFamilyRecord>& records, const plat::String& face, std::uint8_t charSet)
{
    return std::any_of(records.begin(), records.end(), [&](const FontFamilyRecord& r) {
        return r.face == face && r.charSet == charSet && r.trueType;
    });
}

TEST(GfxFontFamilies, ScreenListsTheConfiguredFaces)
{
    const auto records = plat::EnumScreenFontFamilies();
    for (const char16_t* face : {u"宋体", u"SimSun", u"黑体", u"楷体", u"仿宋", u"AR PL UMing CN", u"WenQuanYi Zen Hei"})
        EXPECT_TRUE(Has(records, face, plat::kGb2312CharSet)) << plat::Utf16ToUtf8(face);
    for (const char16_t* face : {u"Times New Roman", u"Arial", u"Courier New", u"Liberation Serif", u"宋体"})
        EXPECT_TRUE(Has(records, face, plat::kAnsiCharSet)) << plat::Utf16ToUtf8(face);
    for (const char16_t* face : {u"Times New Roman", u"Arial", u"Courier New"})
        EXPECT_FALSE(Has(records, face, plat::kGb2312CharSet)) << plat::Utf16ToUtf8(face);

    // One record per face name and character set.
    for (std::size_t i = 0; i < records.size(); ++i)
        for (std::size_t j = i + 1; j < records.size(); ++j)
            EXPECT_FALSE(records[i].face == records[j].face && records[i].charSet == records[j].charSet)
                << plat::Utf16ToUtf8(records[i].face) << " " << int(records[i].charSet);
}

} // namespace
