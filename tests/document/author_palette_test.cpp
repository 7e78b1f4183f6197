#include <gtest/gtest.h>

#include <climits>

#include "document/author_list.h"
#include "document/color_palette.h"
#include "tests/document/text_model_support.h"

using namespace textmodel;

TEST(AuthorList, RecordsAndTheirQueries)
{
    PinnedSources pin;
    CAuthorList list;
    EXPECT_TRUE(list.IsSingleAuthor()) << "an empty table counts as single";
    EXPECT_EQ(list.GetFirst(), nullptr);
    EXPECT_EQ(list.GetLast(), nullptr);
    EXPECT_EQ(list.GetLastIndex(), -1);
    list.SetLastAuthor(3, u"无"); // nothing to rename

    list.Append(0, u"");
    EXPECT_TRUE(list.IsSingleAuthor());
    EXPECT_EQ(list.GetLast()->m_time, kPinnedTime);
    list.Append(0, u"别名");
    EXPECT_TRUE(list.IsSingleAuthor()) << "the same id under another name is the same author";
    {
        PinnedSources later(kPinnedTime + 100);
        list.SetLastAuthor(5, u"甲");
    }
    EXPECT_EQ(list.GetLast()->m_id, 5);
    EXPECT_EQ(list.GetLast()->m_name, u"甲");
    EXPECT_EQ(list.GetLast()->m_time, kPinnedTime) << "renaming keeps the record's time";
    EXPECT_FALSE(list.IsSingleAuthor());
    list.Append(5, u"甲");
    list.Append(7, u"乙");
    EXPECT_EQ(list.GetLastIndex(), 3);
    EXPECT_FALSE(list.IsSameAuthorFrom(1));
    EXPECT_TRUE(list.IsSameAuthorFrom(3));
    EXPECT_FALSE(list.IsSameAuthorFrom(4)) << "an index outside the table names nobody";
    EXPECT_FALSE(list.IsSameAuthorFrom(-1));

    const Bytes b = Store([&](plat::Archive& ar) { list.Save(ar); });
    EXPECT_EQ(ToHex(Bytes(b.begin(), b.begin() + 16)), ToHex(Hex("04000000 00000000 FF FE FF 00 00F15365")));
    CAuthorList back;
    back.Append(9, u"已有");
    EXPECT_EQ(LoadFrom(b, [&](plat::Archive& ar) { back.Load(ar); }), 0u);
    ASSERT_EQ(back.GetCount(), 5) << "loading appends";
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(back.GetAt(i + 1)->m_id, list.GetAt(i)->m_id);
        EXPECT_EQ(back.GetAt(i + 1)->m_name, list.GetAt(i)->m_name);
        EXPECT_EQ(back.GetAt(i + 1)->m_time, list.GetAt(i)->m_time);
    }

    struct Bad { const char* what; Bytes bytes; plat::ArchiveException::Cause cause; };
    const Bad bad[] = {
        {"negative count", Hex("FFFFFFFF"), plat::ArchiveException::kBadIndex},
        {"count beyond the data", Hex("00000010 00000000 00 00000000"), plat::ArchiveException::kEndOfFile},
        {"truncated record", Bytes(b.begin(), b.end() - 1), plat::ArchiveException::kEndOfFile},
    };
    for (const Bad& c : bad) {
        CAuthorList target;
        target.Append(1, u"x");
        EXPECT_EQ(CauseOf([&] { LoadFrom(c.bytes, [&](plat::Archive& ar) { target.Load(ar); }); }), c.cause) << c.what;
        EXPECT_EQ(target.GetCount(), 1) << c.what << ": nothing is appended";
    }
}

TEST(AuthorList, RevisionColours)
{
    CAuthorList list;
    EXPECT_EQ(list.GetAuthorColor(0), 0x0000FFu) << "outside an empty table: the first colour";
    for (int id : {5, 5, 7, -8, 22, 15, -15, INT_MIN}) list.Append(id, u"");
    struct Case { int index; plat::ColorRef colour; const char* why; };
    const Case cases[] = {
        {0, 0, "the first record's id is never coloured"},
        {1, 0, "nor is a later record with that id"},
        {2, 0x003250, "7 mod 15 = 7"},
        {3, 0x003250, "-8 counts as 7, never as a negative index"},
        {4, 0x003250, "22 mod 15 = 7"},
        {5, 0x0000FF, "15 mod 15 = 0"},
        {6, 0x0000FF, "-15 mod 15 = 0"},
        {7, 0x003250, "INT_MIN counts as 7"},
        {8, 0x0000FF, "an index outside the table gets the first colour"},
        {-1, 0x0000FF, "so does a negative index"},
    };
    for (const Case& c : cases) EXPECT_EQ(list.GetAuthorColor(c.index), c.colour) << c.why;
    EXPECT_EQ(CAuthorList::kColors[14], 0x9933FFu);
    EXPECT_EQ(CAuthorList::kColors[5], 0xFFB1C7u);
}

TEST(ColorPalette, RecordIs248BytesAndHoldsOnlyCustomSlots)
{
    CColorPalette fresh;
    const Bytes b = Store([&](plat::Archive& ar) { fresh.Save(ar); });
    ASSERT_EQ(b.size(), 248u);
    for (int i = 0; i < 31; ++i) {
        EXPECT_EQ(ToHex(Bytes(b.begin() + 4 * i, b.begin() + 4 * i + 4)), "FF FF FF 00 ");
        EXPECT_EQ(ToHex(Bytes(b.begin() + 124 + 4 * i, b.begin() + 128 + 4 * i)), "00 00 00 00 ");
    }

    EXPECT_EQ(fresh.GetColor(0), 0x000000);
    EXPECT_EQ(fresh.GetColor(1), 0xFFFFFF);
    EXPECT_EQ(fresh.GetColor(37), 0x7B1400);
    EXPECT_EQ(fresh.GetColor(100), 0x57C4FF);
    EXPECT_EQ(fresh.GetColor(178), 0x2D2D2D);
    EXPECT_EQ(fresh.GetColor(179), 0xFFFFFF);
    EXPECT_EQ(fresh.GetColor(210), 0) << "outside the palette";
    EXPECT_EQ(fresh.GetColor(-1), 0);

    CColorPalette used;
    used.UseColor(0x123456);
    used.UseColor(0x654321);
    used.UseColor(0x654321);
    const Bytes saved = Store([&](plat::Archive& ar) { used.Save(ar); });
    CColorPalette back;
    EXPECT_EQ(LoadFrom(saved, [&](plat::Archive& ar) { back.Load(ar); }), 0u);
    EXPECT_EQ(back.GetColor(179), 0x123456);
    EXPECT_EQ(back.GetColor(180), 0x654321);
    EXPECT_EQ(back.GetUseCount(1), 2);

    CColorPalette target;
    target.UseColor(0x111111);
    EXPECT_EQ(CauseOf([&] { LoadFrom(Bytes(saved.begin(), saved.end() - 1), [&](plat::Archive& ar) { target.Load(ar); }); }),
              plat::ArchiveException::kEndOfFile);
    EXPECT_EQ(target.GetColor(179), 0x111111) << "a short record changes nothing";
}

TEST(ColorPalette, UseColorFillsAndReplacesCustomSlots)
{
    CColorPalette p;
    // Standard colours and the automatic sentinels are never registered.
    for (std::int32_t c : {0x000000, 0xFFFFFF, 0x57C4FF, 0x2D2D2D, static_cast<std::int32_t>(0x80000001u),
                           static_cast<std::int32_t>(0x80000002u)})
        p.UseColor(c);
    for (int i = 0; i < 31; ++i) EXPECT_EQ(p.GetUseCount(i), 0);

    p.UseColor(0x010203);
    p.UseColor(0x010203);
    p.UseColor(0x010203);
    EXPECT_EQ(p.GetColor(179), 0x010203);
    EXPECT_EQ(p.GetUseCount(0), 3);
    EXPECT_EQ(p.GetColor(180), CColorPalette::kEmptySlot);

    // All 31 slots in use with counts 5, 2, 2, ...: the first slot of count 2 goes.
    CColorPalette full;
    const Bytes record = Store([](plat::Archive& ar) {
        for (int i = 0; i < 31; ++i) ar.WriteI32(0x100000 + i);
        for (int i = 0; i < 31; ++i) ar.WriteI32(i == 0 ? 5 : 2);
    });
    LoadFrom(record, [&](plat::Archive& ar) { full.Load(ar); });
    full.UseColor(0x0A0B0C);
    EXPECT_EQ(full.GetColor(180), 0x0A0B0C);
    EXPECT_EQ(full.GetUseCount(1), 1);
    EXPECT_EQ(full.GetColor(179), 0x100000);
    EXPECT_EQ(full.GetColor(181), 0x100002);
    // Now slot 1 holds the single least count and is replaced again.
    full.UseColor(0x0D0E0F);
    EXPECT_EQ(full.GetColor(180), 0x0D0E0F);

    // A count read from a file may sit at the top of its range; it stays there.
    CColorPalette top;
    const Bytes high = Store([](plat::Archive& ar) {
        ar.WriteI32(0x222222);
        for (int i = 1; i < 31; ++i) ar.WriteI32(CColorPalette::kEmptySlot);
        ar.WriteI32(INT_MAX);
        for (int i = 1; i < 31; ++i) ar.WriteI32(0);
    });
    LoadFrom(high, [&](plat::Archive& ar) { top.Load(ar); });
    top.UseColor(0x222222);
    EXPECT_EQ(top.GetUseCount(0), INT_MAX);
}
