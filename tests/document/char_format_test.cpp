#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "document/char_format.h"
#include "document/format_pool.h"
#include "document/ql_doc.h"
#include "tests/document/text_model_support.h"

using namespace textmodel;

namespace {

CCharFormat SampleFormat()
{
    CCharFormat f;
    f.m_chineseFace = u"黑体";
    f.m_westernFace = u"Arial";
    f.m_size = 315;
    f.m_bold = 1;
    f.m_italic = 1;
    f.m_underline = 2;
    f.m_color = 0x0000FF;
    f.m_position = 1;
    f.m_insertedBy = 1;
    f.m_deletedBy = 2;
    f.m_annotation = 3;
    return f;
}

void ExpectSameFields(const CCharFormat& a, const CCharFormat& b)
{
    EXPECT_EQ(a.Differs(b), 0) << plat::Utf16ToUtf8(a.m_chineseFace) << " / " << plat::Utf16ToUtf8(b.m_chineseFace);
}

// A document whose author table has n records, the last one current.
void FillAuthors(CQlDoc& doc, int n)
{
    for (int i = 0; i < n; ++i) doc.GetAuthors().Append(i * 10, u"");
    doc.SetCurAuthorIndex(static_cast<std::int16_t>(n - 1));
}

} // namespace

TEST(CharFormat, DefaultsAndDiffersFieldByField)
{
    CCharFormat def;
    EXPECT_EQ(def.m_chineseFace, u"宋体");
    EXPECT_EQ(def.m_westernFace, u"Times New Roman");
    EXPECT_EQ(def.m_size, 210);
    EXPECT_EQ(def.m_color, static_cast<std::int32_t>(0x80000001u));
    EXPECT_EQ(def.m_insertedBy, 0);
    EXPECT_EQ(def.m_deletedBy, 0);
    EXPECT_EQ(def.m_annotation, 0);
    EXPECT_EQ(def.Differs(CCharFormat()), 0);

    const std::function<void(CCharFormat&)> changes[] = {
        [](CCharFormat& f) { f.m_chineseFace = u"宋体 "; },
        [](CCharFormat& f) { f.m_westernFace = u"times new roman"; }, // faces compare exactly
        [](CCharFormat& f) { f.m_size = 211; },
        [](CCharFormat& f) { f.m_bold = 1; },
        [](CCharFormat& f) { f.m_italic = 1; },
        [](CCharFormat& f) { f.m_underline = 3; },
        [](CCharFormat& f) { f.m_color = 0; },
        [](CCharFormat& f) { f.m_position = 2; },
        [](CCharFormat& f) { f.m_insertedBy = 1; }, // a second author stores its own format
        [](CCharFormat& f) { f.m_deletedBy = 1; },
        [](CCharFormat& f) { f.m_annotation = -1; },
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        CCharFormat f;
        changes[i](f);
        EXPECT_EQ(def.Differs(f), 1) << "change " << i;
        EXPECT_EQ(f.Differs(def), 1) << "change " << i;
    }

    // Copies carry every field, the revision fields included; assignment keeps the owner.
    CQlDoc doc;
    CCharFormat owned(&doc);
    owned = SampleFormat();
    ExpectSameFields(owned, SampleFormat());
    EXPECT_EQ(owned.GetDoc(), &doc);
    CCharFormat copy(owned);
    EXPECT_EQ(copy.GetDoc(), &doc);
}

TEST(CharFormat, SetFieldById)
{
    CCharFormat values = SampleFormat();
    for (int id = kFieldChineseFace; id <= kFieldPosition; ++id) {
        CCharFormat f;
        EXPECT_TRUE(f.SetField(id, values)) << id;
        EXPECT_EQ(f.Differs(CCharFormat()), 1) << id;
        // Only the named field moved: setting it back restores the default.
        EXPECT_TRUE(f.SetField(id, CCharFormat()));
        EXPECT_EQ(f.Differs(CCharFormat()), 0) << id;
    }
    CCharFormat f;
    EXPECT_FALSE(f.SetField(0, values));
    EXPECT_FALSE(f.SetField(9, values)); // the revision fields have no id
    EXPECT_EQ(f.Differs(CCharFormat()), 0);
}

TEST(CharFormat, RecordExtentByMode)
{
    // "宋体" is 4 + 4 bytes, "Times New Roman" 4 + 30; then 10 bytes of fields, 6 of
    // revision fields and 16 reserved.
    struct Case { int mode; size_t bytes; };
    const Case cases[] = {{kArchiveFile, 8 + 34 + 10 + 6 + 16},
                          {kArchiveUndo, 8 + 34 + 10 + 6},
                          {kArchiveClipboard, 8 + 34 + 10},
                          {kArchiveInsert, 8 + 34 + 10 + 6 + 16}}; // a mode-4 save is the file record
    for (const Case& c : cases) {
        Bytes b = Store([&](plat::Archive& ar) { CCharFormat().Save(ar, c.mode); });
        EXPECT_EQ(b.size(), c.bytes) << "mode " << c.mode;
    }
    Bytes mode1 = Store([](plat::Archive& ar) { CCharFormat().Save(ar, kArchiveFile); });
    EXPECT_EQ(Bytes(mode1.end() - 16, mode1.end()), Bytes(16, 0)) << "reserved bytes are zeros";

    // Alignment, spacing and three int32 indents: 14 bytes in every mode.
    CParaFormat p;
    p.m_align = 3;
    p.m_spacing = 5;
    p.m_firstIndent = -420;
    p.m_leftIndent = 300;
    p.m_rightIndent = 70000;
    for (int mode = 1; mode <= 4; ++mode) {
        Bytes b = Store([&](plat::Archive& ar) { p.Save(ar, mode); });
        EXPECT_EQ(ToHex(b), ToHex(Hex("03 05 5C FE FF FF 2C 01 00 00 70 11 01 00"))) << mode;
        CParaFormat back;
        EXPECT_EQ(LoadFrom(b, [&](plat::Archive& ar) { back.Load(ar, mode); }), 0u);
        EXPECT_EQ(back, p);
    }
}

TEST(CharFormat, RoundTripsAndClipboardStamping)
{
    CQlDoc doc;
    FillAuthors(doc, 4); // author records 0-3, record 3 current
    for (int mode : {kArchiveFile, kArchiveUndo, kArchiveInsert}) {
        Bytes b = Store([&](plat::Archive& ar) { SampleFormat().Save(ar, mode); });
        CCharFormat back(&doc);
        EXPECT_EQ(LoadFrom(b, [&](plat::Archive& ar) { back.Load(ar, mode); }), 0u) << mode;
        ExpectSameFields(back, SampleFormat());
    }

    // Mode 3 carries no revision fields: the current author is stamped and the receiving
    // format keeps its deleted-by and annotation.
    Bytes clip = Store([&](plat::Archive& ar) { SampleFormat().Save(ar, kArchiveClipboard); });
    CCharFormat receiving(&doc);
    receiving.m_deletedBy = 2;
    receiving.m_annotation = 7;
    receiving.m_insertedBy = 1;
    EXPECT_EQ(LoadFrom(clip, [&](plat::Archive& ar) { receiving.Load(ar, kArchiveClipboard); }), 0u);
    EXPECT_EQ(receiving.m_insertedBy, 3);
    EXPECT_EQ(receiving.m_deletedBy, 2);
    EXPECT_EQ(receiving.m_annotation, 7);
    EXPECT_EQ(receiving.m_chineseFace, u"黑体");
    EXPECT_EQ(receiving.m_size, 315);
}

TEST(CharFormat, RefusesValuesOutsideTheirRange)
{
    CQlDoc doc;
    FillAuthors(doc, 2); // indices 0 and 1 are valid
    struct Case { const char* what; int mode; std::function<void(CCharFormat&)> change; };
    const Case cases[] = {
        {"underline kind 4", kArchiveFile, [](CCharFormat& f) { f.m_underline = 4; }},
        {"position 3", kArchiveClipboard, [](CCharFormat& f) { f.m_position = 3; }},
        {"inserted-by past the table", kArchiveFile, [](CCharFormat& f) { f.m_insertedBy = 2; }},
        {"deleted-by past the table", kArchiveUndo, [](CCharFormat& f) { f.m_deletedBy = 5; }},
        {"negative inserted-by", kArchiveFile, [](CCharFormat& f) { f.m_insertedBy = -1; }},
        {"annotation -2", kArchiveUndo, [](CCharFormat& f) { f.m_annotation = -2; }},
    };
    for (const Case& c : cases) {
        CCharFormat bad;
        c.change(bad);
        Bytes b = Store([&](plat::Archive& ar) { bad.Save(ar, c.mode); });
        CCharFormat target(&doc);
        target.m_size = 999;
        EXPECT_EQ(CauseOf([&] { LoadFrom(b, [&](plat::Archive& ar) { target.Load(ar, c.mode); }); }),
                  plat::ArchiveException::kBadIndex)
            << c.what;
        EXPECT_EQ(target.m_size, 999) << c.what << ": a refused record changes nothing";
    }

    // Index 0 is valid even with an empty table; inserting another file takes its indices
    // as they are, since they name that file's authors and are cleared anyway.
    CQlDoc empty;
    CCharFormat f(&empty);
    Bytes zero = Store([](plat::Archive& ar) { CCharFormat().Save(ar, kArchiveFile); });
    EXPECT_EQ(LoadFrom(zero, [&](plat::Archive& ar) { f.Load(ar, kArchiveFile); }), 0u);
    CCharFormat foreign;
    foreign.m_insertedBy = 40;
    foreign.m_deletedBy = 41;
    Bytes other = Store([&](plat::Archive& ar) { foreign.Save(ar, kArchiveFile); });
    EXPECT_EQ(LoadFrom(other, [&](plat::Archive& ar) { f.Load(ar, kArchiveInsert); }), 0u);
    EXPECT_EQ(f.m_insertedBy, 40);

    struct ParaCase { const char* hex; };
    const ParaCase paras[] = {{"05 00 00000000 00000000 00000000"}, {"01 06 00000000 00000000 00000000"}};
    for (const ParaCase& c : paras) {
        CParaFormat p;
        EXPECT_EQ(CauseOf([&] { LoadFrom(Hex(c.hex), [&](plat::Archive& ar) { p.Load(ar, kArchiveFile); }); }),
                  plat::ArchiveException::kBadIndex)
            << c.hex;
        EXPECT_EQ(p, CParaFormat());
    }
}

#ifndef NDEBUG
// The pool has no lock: a debug build stops a second thread that interns or releases.
TEST(FormatPoolDeathTest, AnotherThreadIsStoppedInDebugBuilds)
{
    CFormatPool::Instance(); // made on this thread
    EXPECT_DEATH(
        {
            std::thread other([] {
                CCharFormat f;
                f.m_bold = 1;
                CFormatRef ref(f);
            });
            other.join();
        },
        "one thread");
}
#endif
