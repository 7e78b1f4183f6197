// Records of containers, items and text blocks in the four archive modes.
#include <gtest/gtest.h>

#include "document/format_pool.h"
#include "document/named_container.h"
#include "document/ql_doc.h"
#include "document/text_item.h"
#include "tests/document/text_model_support.h"
#include "tests/support/test_support.h"

using namespace textmodel;

namespace {

// The mode-1 record of a character format with the given inserted-by, as hex.
std::string DefaultFormatHex(int insertedBy)
{
    char revision[32];
    std::snprintf(revision, sizeof revision, "%02X 00 00 00 00 00 ", insertedBy);
    return "FF FE FF 02 8B 5B 53 4F "                            // "宋体"
           "FF FE FF 0F " + Utf16Hex("Times New Roman") +         // Western face
           "D2 00 | 00 | 00 | 00 | 01 00 00 80 | 00 | " +         // size 210 .. position
           revision +                                              // inserted, deleted, note
           "00000000 00000000 00000000 00000000 ";                 // reserved
}

std::string NameHex(int guid)
{
    return "FF FE FF 24 " + Utf16Hex(PinnedGuid(guid));
}

const CParaEndItem* ParaEnd(const CNamedContainer& c, int i)
{
    return dynamic_cast<const CParaEndItem*>(c.GetItem(i));
}

} // namespace

TEST(TextModelArchive, PinnedFileRecordOfASmallContainer)
{
    PinnedSources pin;
    CQlDoc doc;
    doc.GetAuthors().Append(0, u"");
    doc.GetAuthors().Append(7, u"李");
    doc.SetCurAuthorIndex(1);
    CNamedContainer box(&doc, nullptr); // GUID 1
    int at = 0;
    box.InsertString(at, u"A中", CCharFormat());
    auto end = std::make_unique<CParaEndItem>(&box, kItemFinalParaEnd); // GUID 2
    CParaFormat p;
    p.m_align = 3;
    p.m_leftIndent = 300;
    end->SetParaFormat(p);
    box.AddItem(std::move(end));

    CCharFormat running(&doc);
    Bytes b = Store([&](plat::Archive& ar) { box.Save(ar, running, kArchiveFile); });
    const std::string want =
        NameHex(1) + "03 00 00 00 "
        // 'A': own format (inserted by record 1), time, code
        "14 FF 01 " + DefaultFormatHex(1) + "00 F1 53 65 41 00 "
        // '中': same format as the running one
        "1A FF 00 00 F1 53 65 2D 4E "
        // final paragraph end: back to record 0, time 0, paragraph format, name
        "11 FF 01 " + DefaultFormatHex(0) + "00 00 00 00 03 00 00000000 2C010000 00000000 " +
        NameHex(2);
    EXPECT_EQ(ToHex(b), ToHex(Hex(want)));
    EXPECT_EQ(running.m_insertedBy, 0) << "the running format ends as the last item's";

    CNamedContainer back(&doc, nullptr);
    CCharFormat start(&doc);
    EXPECT_EQ(LoadFrom(Hex(want), [&](plat::Archive& ar) { back.Load(ar, start, kArchiveFile); }), 0u);
    EXPECT_EQ(Describe(back), "A中$");
    EXPECT_EQ(plat::Utf16ToUtf8(back.GetName()), PinnedGuid(1));
    EXPECT_EQ(plat::Utf16ToUtf8(ParaEnd(back, 2)->GetName()), PinnedGuid(2));
    EXPECT_EQ(ParaEnd(back, 2)->GetParaFormat(), p);
    EXPECT_EQ(back.GetItem(1)->GetFormat().m_insertedBy, 1);
    EXPECT_EQ(back.GetItem(1)->GetTime(), kPinnedTime);
    EXPECT_EQ(back.GetItem(0)->GetNodeType(), kItemWestern);
}

TEST(TextModelArchive, FileAndUndoRecordsRoundTripEverything)
{
    for (int mode : {kArchiveFile, kArchiveUndo}) {
        SampleContainer s;
        Bytes b = SaveBox(*s.box, mode);
        CNamedContainer back(&s.doc, nullptr);
        CCharFormat running(&s.doc);
        EXPECT_EQ(LoadFrom(b, [&](plat::Archive& ar) { back.Load(ar, running, mode); }), 0u) << mode;
        ASSERT_EQ(Describe(back), "abcd|^ef$");
        EXPECT_EQ(back.GetName(), s.box->GetName()) << "names are kept in modes 1 and 2";
        for (int i = 0; i < back.GetCount(); ++i) {
            const CTextItem* a = s.box->GetItem(i);
            const CTextItem* z = back.GetItem(i);
            EXPECT_EQ(z->GetNodeType(), a->GetNodeType()) << i;
            EXPECT_EQ(z->GetFormat().Differs(a->GetFormat()), 0) << "mode " << mode << " item " << i;
            EXPECT_EQ(z->GetTime(), a->GetTime()) << i;
            EXPECT_EQ(z->GetParent(), &back);
        }
        EXPECT_EQ(ParaEnd(back, 4)->GetName(), ParaEnd(*s.box, 4)->GetName());
        EXPECT_EQ(ParaEnd(back, 8)->GetParaFormat(), ParaEnd(*s.box, 8)->GetParaFormat());
        EXPECT_EQ(running.Differs(s.box->GetItem(8)->GetFormat()), 0);
        EXPECT_EQ(b.size() - SaveBox(*s.box, kArchiveUndo).size(), mode == kArchiveFile ? 16u * 8 : 0u)
            << "the file record adds 16 reserved bytes to each of the 8 format records";
    }
}

TEST(TextModelArchive, ReadParagraphEndsAlwaysCarryAName)
{
    // A paragraph end read from a record takes the record's name or a fresh GUID, never
    // none: objects anchor by these names. Both paragraph ends of the record are named
    // `stored`; the table says whether the reader keeps it.
    struct Case {
        int mode;
        const char16_t* stored;
        bool kept;
    };
    const Case cases[] = {
        {kArchiveFile, u"0a1b2c3d-0000-4000-8000-00000000abcd", true},
        {kArchiveFile, u"not a guid", false},
        {kArchiveInsert, u"0a1b2c3d-0000-4000-8000-00000000abcd", true},
        {kArchiveInsert, u"not a guid", false},
        {kArchiveUndo, u"not a guid", true},
        {kArchiveClipboard, u"0a1b2c3d-0000-4000-8000-00000000abcd", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", " << plat::Utf16ToUtf8(c.stored));
        SampleContainer s;
        for (int i : {4, 8}) dynamic_cast<CParaEndItem*>(s.box->GetItem(i))->SetName(c.stored);
        Bytes b = SaveBox(*s.box, c.mode);
        CNamedContainer back(&s.doc, nullptr);
        CCharFormat running(&s.doc);
        EXPECT_EQ(LoadFrom(b, [&](plat::Archive& ar) { back.Load(ar, running, c.mode); }), 0u);
        std::vector<String> names;
        for (int i = 0; i < back.GetCount(); ++i)
            if (const CParaEndItem* end = ParaEnd(back, i)) names.push_back(end->GetName());
        ASSERT_GE(names.size(), 2u);
        for (const String& name : names) {
            if (c.kept) {
                EXPECT_EQ(name, c.stored);
            } else {
                EXPECT_TRUE(testsupport::IsGuidForm(plat::Utf16ToUtf8(name))) << plat::Utf16ToUtf8(name);
                EXPECT_NE(name, c.stored);
            }
        }
        if (!c.kept) {
            EXPECT_NE(names[0], names[1]) << "each paragraph a name of its own";
        }
    }
}

TEST(TextModelArchive, ClipboardDropsDeletedTextAndAnchorsAndRestamps)
{
    SampleContainer s;
    for (bool shown : {false, true}) {
        s.doc.SetRevisionsShown(shown);
        Bytes b = SaveBox(*s.box, kArchiveClipboard);
        plat::MemFile mem(b);
        plat::Archive peek(mem, plat::Archive::kLoad);
        peek.ReadString();
        // 9 items: the anchor never goes, the two deleted ones only while revisions are hidden.
        EXPECT_EQ(peek.ReadI32(), shown ? 8 : 6);

        PinnedSources later(kPinnedTime + 60);
        CQlDoc target;
        for (int i = 0; i < 5; ++i) target.GetAuthors().Append(40 + i, u"");
        target.SetCurAuthorIndex(4);
        CNamedContainer pasted(&target, nullptr);
        CCharFormat running(&target);
        EXPECT_EQ(LoadFrom(b, [&](plat::Archive& ar) { pasted.Load(ar, running, kArchiveClipboard); }), 0u);
        EXPECT_EQ(Describe(pasted), shown ? "abcd|ef$" : "ad|ef$");
        EXPECT_NE(pasted.GetName(), s.box->GetName());
        int end = shown ? 4 : 2;
        EXPECT_NE(ParaEnd(pasted, end)->GetName(), ParaEnd(*s.box, 4)->GetName()) << "pasted paragraphs get new names";
        EXPECT_EQ(ParaEnd(pasted, end)->GetParaFormat().m_align, 3);
        for (int i = 0; i < pasted.GetCount(); ++i) {
            const CCharFormat& f = pasted.GetItem(i)->GetFormat();
            EXPECT_EQ(f.m_insertedBy, 4) << i;
            EXPECT_EQ(f.m_deletedBy, 0) << i;
            EXPECT_EQ(f.m_annotation, 0) << i;
            EXPECT_EQ(pasted.GetItem(i)->GetTime(), kPinnedTime + 60) << i;
        }
        EXPECT_EQ(pasted.GetItem(shown ? 5 : 3)->GetFormat().m_color, 0x00C000) << "formats travel";
    }
}

TEST(TextModelArchive, InsertingAnotherFileDropsDeletedTextAndClearsMarks)
{
    SampleContainer s;
    Bytes b = SaveBox(*s.box, kArchiveFile);
    CQlDoc target; // its author table has nothing to do with the file's
    CNamedContainer inserted(&target, nullptr);
    const String ownName = inserted.GetName();
    CCharFormat running(&target);
    EXPECT_EQ(LoadFrom(b, [&](plat::Archive& ar) { inserted.Load(ar, running, kArchiveInsert); }), 0u);
    EXPECT_EQ(Describe(inserted), "ad|^ef$");
    EXPECT_EQ(inserted.GetName(), ownName);
    EXPECT_EQ(ParaEnd(inserted, 2)->GetName(), ParaEnd(*s.box, 4)->GetName()) << "paragraph names are kept";
    for (int i = 0; i < inserted.GetCount(); ++i) {
        const CCharFormat& f = inserted.GetItem(i)->GetFormat();
        EXPECT_EQ(f.m_insertedBy, 0) << i;
        EXPECT_EQ(f.m_annotation, 0) << i;
        EXPECT_EQ(f.m_deletedBy, 0) << i;
    }
    EXPECT_EQ(inserted.GetItem(1)->GetTime(), s.box->GetItem(3)->GetTime()) << "times are kept";
    EXPECT_EQ(inserted.GetItem(1)->GetFormat().m_bold, 1);
}

TEST(TextModelArchive, ItemRecordsAgainstTheRunningFormat)
{
    PinnedSources pin;
    CNamedContainer box(nullptr, nullptr);
    int at = 0;
    box.InsertString(at, u"xyz", CCharFormat());
    CCharFormat running = box.GetItem(0)->GetFormat();
    Bytes b = Store([&](plat::Archive& ar) {
        for (int i = 0; i < 3; ++i) box.GetItem(i)->Save(ar, running, kArchiveFile);
    });
    EXPECT_EQ(ToHex(b), ToHex(Hex("00 00F15365 7800  00 00F15365 7900  00 00F15365 7A00")));

    // Mode 3 stamps the current time on every item and keeps a paragraph end's fresh name.
    CParaEndItem source(nullptr);
    CCharFormat clipRunning;
    Bytes clip = Store([&](plat::Archive& ar) { source.Save(ar, clipRunning, kArchiveClipboard); });
    EXPECT_EQ(clip.size(), 1u + 14u + 4u + 72u) << "flag, paragraph format, name; no time stamp";
    PinnedSources later(kPinnedTime + 5);
    CParaEndItem pasted(nullptr);
    CCharFormat loadRunning;
    EXPECT_EQ(LoadFrom(clip, [&](plat::Archive& ar) { pasted.Load(ar, loadRunning, kArchiveClipboard); }), 0u);
    EXPECT_EQ(pasted.GetTime(), kPinnedTime + 5);
    EXPECT_NE(pasted.GetName(), source.GetName());

    // A flag other than 0 or 1 is not a record this reader knows.
    CCharItem item(nullptr, kItemWestern);
    CCharFormat r;
    EXPECT_EQ(CauseOf([&] { LoadFrom(Hex("02 00000000 4100"), [&](plat::Archive& ar) { item.Load(ar, r, kArchiveFile); }); }),
              plat::ArchiveException::kBadSchema);
}

TEST(TextModelArchive, BadContainerRecordsAreRefusedAndChangeNothing)
{
    SampleContainer s;
    Bytes good = SaveBox(*s.box, kArchiveFile);
    const std::string name = NameHex(1);
    struct Case { const char* what; Bytes bytes; plat::ArchiveException::Cause cause; };
    const Case cases[] = {
        {"truncated", Bytes(good.begin(), good.end() - 3), plat::ArchiveException::kEndOfFile},
        {"negative count", Hex(name + "FFFFFFFF"), plat::ArchiveException::kBadIndex},
        {"count beyond the data", Hex(name + "FFFFFF7F 00"), plat::ArchiveException::kEndOfFile},
        // An unknown type cannot be skipped without losing step with the stream.
        {"unused item type", Hex(name + "01000000 19FF 00 00000000"), plat::ArchiveException::kBadClass},
        {"node type of an object", Hex(name + "01000000 1200 00 00000000"), plat::ArchiveException::kBadClass},
        {"author index past the table", Hex(name + "01000000 1AFF 01 " + DefaultFormatHex(3) + "00000000 2D4E"),
         plat::ArchiveException::kBadIndex},
    };
    CFormatPool& pool = CFormatPool::Instance();
    for (const Case& c : cases) {
        CNamedContainer target(&s.doc, nullptr);
        int at = 0;
        target.InsertString(at, u"keep", CCharFormat());
        const size_t formats = pool.LiveCount();
        const String name0 = target.GetName();
        CCharFormat running(&s.doc);
        running.m_size = 777;
        EXPECT_EQ(CauseOf([&] { LoadFrom(c.bytes, [&](plat::Archive& ar) { target.Load(ar, running, kArchiveFile); }); }),
                  c.cause)
            << c.what;
        EXPECT_EQ(Describe(target), "keep") << c.what;
        EXPECT_EQ(target.GetName(), name0) << c.what;
        EXPECT_EQ(running.m_size, 777) << c.what;
        EXPECT_EQ(pool.LiveCount(), formats) << c.what << ": no pooled format is left behind";
    }
}

TEST(TextModelArchive, TextBlocksCopyAndPasteText)
{
    SampleContainer s;
    s.doc.SetRevisionsShown(false);
    Bytes block = Store([&](plat::Archive& ar) { s.box->WriteTextBlock(ar, 0, s.box->GetCount(), true); });
    {
        plat::MemFile mem(block);
        plat::Archive ar(mem, plat::Archive::kLoad);
        EXPECT_EQ(ar.ReadI32(), 6) << "no deleted items, no anchor";
        CCharFormat first;
        first.Load(ar, kArchiveClipboard);
        EXPECT_EQ(first.m_bold, 0) << "the default format is the first written item's";
    }

    PinnedSources pin;
    CQlDoc target;
    target.GetAuthors().Append(0, u"");
    CNamedContainer into(&target, nullptr);
    int at = 0;
    into.InsertString(at, u"XY", CCharFormat());
    at = 1;
    EXPECT_EQ(LoadFrom(block, [&](plat::Archive& ar) { into.ReadTextBlock(ar, kArchiveClipboard, at); }), 0u);
    EXPECT_EQ(Describe(into), "Xad|ef$Y");
    EXPECT_EQ(at, 7);
    EXPECT_NE(ParaEnd(into, 3)->GetName(), ParaEnd(*s.box, 4)->GetName());
    EXPECT_EQ(into.GetItem(2)->GetFormat().m_bold, 1);
    EXPECT_EQ(into.GetItem(1)->GetTime(), kPinnedTime);

    // A range of a container, revisions shown: the clipboard form has no revision fields,
    // so text marked deleted stays behind rather than arrive as live text.
    s.doc.SetRevisionsShown(true);
    Bytes part = Store([&](plat::Archive& ar) { s.box->WriteTextBlock(ar, 1, 4, false); });
    CNamedContainer other(&target, nullptr);
    int at2 = 0;
    EXPECT_EQ(LoadFrom(part, [&](plat::Archive& ar) { other.ReadTextBlock(ar, kArchiveClipboard, at2); }), 0u);
    EXPECT_EQ(Describe(other), "d");

    // An object entry (a plain container takes none) or a broken item undoes the paste.
    const std::string fmt3 = "FF FE FF 02 8B 5B 53 4F FF FE FF 0F " + Utf16Hex("Times New Roman") + "D2 00 00 00 00 01000080 00 ";
    const Bytes bad[] = {
        Hex("02000000 " + fmt3 + "1AFF 00 2D4E  1600"),
        Hex("03000000 " + fmt3 + "1AFF 00 2D4E  12FF 00 05 00 00000000 00000000 00000000 00"),
        Hex("02000000 " + fmt3 + "1AFF 00 2D4E  1AFF 03"),
    };
    for (const Bytes& b : bad) {
        int where = 2;
        EXPECT_THROW(LoadFrom(b, [&](plat::Archive& ar) { into.ReadTextBlock(ar, kArchiveClipboard, where); }),
                     plat::ArchiveException);
        EXPECT_EQ(Describe(into), "Xad|ef$Y");
        EXPECT_EQ(where, 2);
    }
}

TEST(TextModelArchive, PositionsTravelInFilesAndSnapshotsOnly)
{
    const CTextPos pos(42, u"n");
    const Bytes record = Hex("2A000000 FF FE FF 01 6E 00");
    for (int mode = 1; mode <= 4; ++mode) {
        Bytes b = Store([&](plat::Archive& ar) { pos.Save(ar, mode); });
        EXPECT_EQ(b, mode <= 2 ? record : Bytes()) << mode;
        CTextPos back;
        std::uint64_t left = LoadFrom(record, [&](plat::Archive& ar) { back.Load(ar, mode); });
        EXPECT_EQ(back == pos, mode != kArchiveClipboard) << mode;
        EXPECT_EQ(left, mode == kArchiveClipboard ? record.size() : 0u) << mode;
    }
}
