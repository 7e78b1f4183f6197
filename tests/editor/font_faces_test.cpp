// The face lists of the format bar and of the font dialog: which enumerated faces go to
// the Chinese list, which to the Western list and in what order, and finding a face.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "editor/font_faces.h"
#include "platform/gfx/font_families.h"

namespace {

using plat::FontFamilyRecord;
using plat::String;

enum class Goes { kNowhere, kChinese, kWestern };

struct FaceRow {
    FontFamilyRecord face;
    Goes frame;  // by the format bar's rule
    Goes dialog; // by the font dialog's rule
};

// In enumeration order. Western names chosen so that code-unit order differs from a
// locale's: capitals before small letters, U+FF21 after a surrogate pair (U+1F600).
const FaceRow kFaces[] = {
    {{u"Times New Roman", plat::kAnsiCharSet, true}, Goes::kWestern, Goes::kWestern},
    {{u"宋体", plat::kGb2312CharSet, true}, Goes::kChinese, Goes::kChinese},
    {{u"@宋体", plat::kGb2312CharSet, true}, Goes::kNowhere, Goes::kNowhere},
    {{u"arial", plat::kAnsiCharSet, true}, Goes::kWestern, Goes::kWestern},
    {{u"黑体", plat::kGb2312CharSet, true}, Goes::kChinese, Goes::kChinese},
    {{u"Fixedsys", plat::kAnsiCharSet, false}, Goes::kNowhere, Goes::kNowhere},
    {{u"System", plat::kGb2312CharSet, false}, Goes::kNowhere, Goes::kNowhere},
    {{u"Zapf Dingbats", plat::kSymbolCharSet, true}, Goes::kWestern, Goes::kWestern},
    {{u"Times", plat::kDefaultCharSet, true}, Goes::kWestern, Goes::kWestern},
    {{u"Times New Roman", plat::kRussianCharSet, true}, Goes::kNowhere, Goes::kNowhere},
    {{u"MingLiU", plat::kChineseBig5CharSet, true}, Goes::kNowhere, Goes::kNowhere},
    {{u"\U0001F600 Face", plat::kAnsiCharSet, true}, Goes::kWestern, Goes::kWestern},
    {{u"\uFF21 Face", plat::kAnsiCharSet, true}, Goes::kWestern, Goes::kWestern},
    {{u"@Arial Unicode", plat::kAnsiCharSet, true}, Goes::kNowhere, Goes::kNowhere},
    {{u"sym phonetic", plat::kSymbolCharSet, true}, Goes::kWestern, Goes::kNowhere},
    {{u"SYM Syllabary", plat::kAnsiCharSet, true}, Goes::kWestern, Goes::kNowhere},
    {{u"Sym CodeExt C", plat::kGb2312CharSet, true}, Goes::kChinese, Goes::kNowhere},
    {{u"Sym CodeExt D", plat::kSymbolCharSet, true}, Goes::kWestern, Goes::kWestern},
    {{u"楷体", plat::kGb2312CharSet, true}, Goes::kChinese, Goes::kChinese},
    {{u"", plat::kAnsiCharSet, true}, Goes::kWestern, Goes::kWestern},
    {{u"Arial", plat::kAnsiCharSet, true}, Goes::kWestern, Goes::kWestern},
};

std::vector<String> Faces(Goes where, Goes FaceRow::*rule)
{
    std::vector<String> out;
    for (const auto& row : kFaces)
        if (row.*rule == where) out.push_back(row.face.face);
    return out;
}

std::vector<FontFamilyRecord> Records()
{
    std::vector<FontFamilyRecord> out;
    for (const auto& row : kFaces) out.push_back(row.face);
    return out;
}

TEST(FontFaceLists, FrameListsChineseInOrderAndWesternByCodeUnits)
{
    const FontFaceLists lists = FrameFontLists(Records());
    EXPECT_EQ(lists.chinese, Faces(Goes::kChinese, &FaceRow::frame));
    const std::vector<String> western = {
        u"",
        u"Arial",
        u"SYM Syllabary",
        u"Sym CodeExt D",
        u"Times",
        u"Times New Roman",
        u"Zapf Dingbats",
        u"arial",
        u"sym phonetic",
        u"\U0001F600 Face",
        u"\uFF21 Face",
    };
    EXPECT_EQ(lists.western, western);
}

TEST(FontFaceLists, DialogSkipsTheSymbolFacesAndKeepsEnumerationOrder)
{
    const FontFaceLists lists = DialogFontLists(Records());
    EXPECT_EQ(lists.chinese, Faces(Goes::kChinese, &FaceRow::dialog));
    EXPECT_EQ(lists.western, Faces(Goes::kWestern, &FaceRow::dialog));
}

TEST(FontFaceLists, WesternInsertionGoesAfterEqualNames)
{
    // An equal name goes after the existing one ("before the first that compares greater"),
    // so a face enumerated twice shows twice, in order.
    FontFaceLists lists;
    for (const char16_t* face : {u"b", u"a", u"b", u"c", u"a"})
        AddFontFamily({face, plat::kAnsiCharSet, true}, lists);
    EXPECT_EQ(lists.western, (std::vector<String>{u"a", u"a", u"b", u"b", u"c"}));
    EXPECT_TRUE(lists.chinese.empty());
}

TEST(FontFaceLists, FindFontIsExactAndCaseSensitive)
{
    const std::vector<String> list = {u"宋体", u"Arial", u"Times New Roman", u"Arial"};
    struct Row {
        const char16_t* name;
        int index;
    };
    const Row rows[] = {
        {u"宋体", 0}, {u"Arial", 1}, {u"Times New Roman", 2}, {u"arial", -1},
        {u"Times new Roman", -1}, {u"Times", -1}, {u"", -1}, {u"Arial ", -1},
    };
    for (const auto& row : rows) EXPECT_EQ(FindFont(list, row.name), row.index) << plat::Utf16ToUtf8(row.name);
    EXPECT_EQ(FindFont({}, u"Arial"), -1);
}

TEST(FontFaceLists, MachineFacesGoToTheirLists)
{
    const auto records = plat::EnumScreenFontFamilies();
    const FontFaceLists frame = FrameFontLists(records);
    const FontFaceLists dialog = DialogFontLists(records);
    for (const FontFaceLists* lists : {&frame, &dialog}) {
        for (const char16_t* face : {u"宋体", u"黑体", u"楷体", u"仿宋"})
            EXPECT_GE(FindFont(lists->chinese, face), 0) << plat::Utf16ToUtf8(face);
        for (const char16_t* face : {u"Times New Roman", u"Arial", u"Courier New"}) {
            EXPECT_GE(FindFont(lists->western, face), 0) << plat::Utf16ToUtf8(face);
            EXPECT_EQ(FindFont(lists->chinese, face), -1) << plat::Utf16ToUtf8(face);
        }
        for (const auto* list : {&lists->chinese, &lists->western})
            for (const String& face : *list) EXPECT_FALSE(!face.empty() && face.front() == u'@');
    }
    EXPECT_TRUE(std::is_sorted(frame.western.begin(), frame.western.end()));
    // Both rules take the same faces here: no face of this machine is one the dialog skips.
    std::vector<String> dialogWestern = dialog.western;
    std::sort(dialogWestern.begin(), dialogWestern.end());
    EXPECT_EQ(dialogWestern, frame.western);
    EXPECT_EQ(dialog.chinese, frame.chinese);
}

} // namespace
