// The screen's font families: which character sets a family is listed under, the face
// names fonts.conf maps onto installed families, and the list this machine gives.
#include <gtest/gtest.h>

#include <algorithm>
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
    };
    const std::vector<FontFamilyRecord> expected = {
        {u"宋体", plat::kAnsiCharSet, true},
        {u"宋体", plat::kGb2312CharSet, true},
        {u"Times New Roman", plat::kAnsiCharSet, true},
        {u"Times New Roman", plat::kRussianCharSet, true},
        {u"Terminal", plat::kAnsiCharSet, false},
        {u"AR PL UMing CN", plat::kAnsiCharSet, true},
        {u"AR PL UMing CN", plat::kGb2312CharSet, true},
        {u"Fixed", plat::kAnsiCharSet, false},
        {u"Liberation Serif", plat::kAnsiCharSet, true},
        {u"Liberation Serif", plat::kRussianCharSet, true},
    };
    EXPECT_EQ(plat::BuildFontFamilies(installed, aliases), expected);
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
