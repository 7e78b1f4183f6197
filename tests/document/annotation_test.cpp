#include <gtest/gtest.h>

#include "document/annotation.h"
#include "tests/support/record_builder.h"

using testsupport::Bytes;
using testsupport::ReadBy;
using testsupport::RecordBuilder;
using testsupport::WrittenBy;

TEST(AnnotationList, RecordRoundTripAndAppend)
{
    CAnnotationList list;
    EXPECT_EQ(list.Add(2, 1700000000, u"请核对数字"), 1);
    EXPECT_EQ(list.Add(0, -5, u""), 2);
    const Bytes bytes = WrittenBy([&](plat::Archive& ar) { list.Save(ar); });
    const Bytes expected = RecordBuilder()
                               .I32(2)
                               .I32(2).I32(1700000000).Str(u"请核对数字")
                               .I32(0).I32(-5).Str(u"")
                               .Get();
    EXPECT_EQ(bytes, expected);

    CAnnotationList back;
    back.Add(7, 7, u"已有");
    EXPECT_EQ(ReadBy(bytes, [&](plat::Archive& ar) { back.Load(ar); }), 0u);
    ASSERT_EQ(back.GetCount(), 3) << "loading appends";
    EXPECT_EQ(back.GetAt(0)->m_text, u"已有");
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(back.GetAt(i + 1)->m_author, list.GetAt(i)->m_author);
        EXPECT_EQ(back.GetAt(i + 1)->m_time, list.GetAt(i)->m_time);
        EXPECT_EQ(back.GetAt(i + 1)->m_text, list.GetAt(i)->m_text);
        EXPECT_EQ(back.GetAt(i + 1)->m_box, plat::Rect(0, 0, 1, 1));
    }
    // A text stored in the 8-bit form (code page 936) reads too.
    const Bytes narrow = RecordBuilder().I32(1).I32(1).I32(2).U8(2).Raw(Bytes{0xD6, 0xD0}).Get();
    CAnnotationList old;
    ReadBy(narrow, [&](plat::Archive& ar) { old.Load(ar); });
    ASSERT_EQ(old.GetCount(), 1);
    EXPECT_EQ(old.GetAt(0)->m_text, u"中");
}

TEST(AnnotationList, DamagedRecordsAddNothing)
{
    CAnnotationList list;
    list.Add(1, 2, u"一");
    list.Add(3, 4, u"二");
    const Bytes good = WrittenBy([&](plat::Archive& ar) { list.Save(ar); });
    struct Case { const char* what; Bytes bytes; plat::ArchiveException::Cause cause; };
    const Case cases[] = {
        {"negative count", RecordBuilder().I32(-1).Get(), plat::ArchiveException::kBadIndex},
        {"count beyond the data", RecordBuilder().I32(0x7FFFFFFF).I32(0).I32(0).U8(0).Get(),
         plat::ArchiveException::kEndOfFile},
        {"text longer than the data", RecordBuilder().I32(1).I32(0).I32(0).U8(0xFF).I16(-2).U8(200).Get(),
         plat::ArchiveException::kEndOfFile},
    };
    for (const Case& c : cases) {
        CAnnotationList back;
        try {
            ReadBy(c.bytes, [&](plat::Archive& ar) { back.Load(ar); });
            ADD_FAILURE() << c.what;
        } catch (const plat::ArchiveException& e) {
            EXPECT_EQ(e.GetCause(), c.cause) << c.what;
        }
        EXPECT_EQ(back.GetCount(), 0) << c.what;
    }
    for (size_t n = 0; n < good.size(); ++n) {
        CAnnotationList back;
        EXPECT_THROW(ReadBy(Bytes(good.begin(), good.begin() + static_cast<long>(n)),
                            [&](plat::Archive& ar) { back.Load(ar); }),
                     plat::ArchiveException) << n;
        EXPECT_EQ(back.GetCount(), 0) << n;
    }
}

TEST(AnnotationList, NumbersHoverAndDrawnBoxes)
{
    CAnnotationList list;
    list.Add(0, 0, u"a");
    list.Add(0, 0, u"b");
    EXPECT_EQ(list.FromNumber(1), list.GetAt(0));
    EXPECT_EQ(list.FromNumber(2), list.GetAt(1));
    EXPECT_EQ(list.FromNumber(0), nullptr) << "0 means none";
    EXPECT_EQ(list.FromNumber(-1), nullptr) << "-1 (a removed mark) means none";
    EXPECT_EQ(list.FromNumber(3), nullptr);

    EXPECT_TRUE(list.SetHover(1));
    EXPECT_EQ(list.GetAt(0)->m_hovered, 0);
    EXPECT_EQ(list.GetAt(1)->m_hovered, 1);
    EXPECT_TRUE(list.SetHover(0));
    EXPECT_EQ(list.GetAt(0)->m_hovered, 1);
    EXPECT_EQ(list.GetAt(1)->m_hovered, 0);
    EXPECT_FALSE(list.SetHover(2));
    EXPECT_FALSE(list.SetHover(-1));
    EXPECT_EQ(list.GetAt(0)->m_hovered, 1) << "an index outside the list changes nothing";

    list.GetAt(1)->m_box = plat::Rect(100, 200, 300, 400);
    EXPECT_FALSE(list.HitTestMark(150, 250)) << "a box not drawn in this paint is not hit";
    list.GetAt(1)->m_drawn = 1;
    EXPECT_TRUE(list.HitTestMark(150, 250));
    EXPECT_TRUE(list.HitTestMark(100, 200));
    EXPECT_FALSE(list.HitTestMark(300, 250)) << "the right edge is outside";
    list.ResetDrawn();
    EXPECT_FALSE(list.HitTestMark(150, 250));
}
