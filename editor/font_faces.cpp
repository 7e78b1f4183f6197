#include "editor/font_faces.h"

#include <algorithm>

namespace {

enum class FaceList { kNone, kChinese, kWestern };

FaceList ListFor(const plat::FontFamilyRecord& face)
{
    if (!face.trueType || (!face.face.empty() && face.face.front() == u'@')) return FaceList::kNone;
    switch (face.charSet) {
    case plat::kGb2312CharSet:
        return FaceList::kChinese;
    case plat::kAnsiCharSet:
    case plat::kDefaultCharSet:
    case plat::kSymbolCharSet:
        return FaceList::kWestern;
    default:
        return FaceList::kNone;
    }
}

char16_t FoldAscii(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool EqualsIgnoringCase(plat::StringView a, plat::StringView b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

// Faces of the symbol families that the font dialog never offers.
bool IsSkippedDialogFace(plat::StringView name)
{
    static constexpr plat::StringView kSkipped[] = {
        u"Sym Phonetic",  u"SYM Syllabary", u"Sym CodeExt 8", u"Sym CodeExt 9",
        u"Sym CodeExt A", u"Sym CodeExt B", u"Sym CodeExt C",
    };
    return std::any_of(std::begin(kSkipped), std::end(kSkipped),
                       [&](plat::StringView s) { return EqualsIgnoringCase(name, s); });
}

enum class WesternOrder { kCodeUnits, kEnumeration };

void AddFace(const plat::FontFamilyRecord& face, FontFaceLists& lists, WesternOrder order)
{
    switch (ListFor(face)) {
    case FaceList::kChinese:
        lists.chinese.push_back(face.face);
        break;
    case FaceList::kWestern:
        // std::u16string compares char16_t code units as unsigned numbers.
        lists.western.insert(order == WesternOrder::kCodeUnits
                                 ? std::upper_bound(lists.western.begin(), lists.western.end(), face.face)
                                 : lists.western.end(),
                             face.face);
        break;
    case FaceList::kNone:
        break;
    }
}

} // namespace

void AddFontFamily(const plat::FontFamilyRecord& face, FontFaceLists& lists)
{
    AddFace(face, lists, WesternOrder::kCodeUnits);
}

void AddDialogFontFace(const plat::FontFamilyRecord& face, FontFaceLists& lists)
{
    if (!IsSkippedDialogFace(face.face)) AddFace(face, lists, WesternOrder::kEnumeration);
}

FontFaceLists FrameFontLists(const std::vector<plat::FontFamilyRecord>& faces)
{
    FontFaceLists lists;
    for (const auto& face : faces) AddFontFamily(face, lists);
    return lists;
}

FontFaceLists DialogFontLists(const std::vector<plat::FontFamilyRecord>& faces)
{
    FontFaceLists lists;
    for (const auto& face : faces) AddDialogFontFace(face, lists);
    return lists;
}

int FindFont(const std::vector<plat::String>& list, plat::StringView name)
{
    const auto it = std::find(list.begin(), list.end(), name);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}
