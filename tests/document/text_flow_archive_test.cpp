// The text-flow record in its four modes with the position fix-ups, the final paragraph
// end that every loaded flow must end with, the format-state snapshot, and truncated or
// bit-flipped records of both.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "document/named_container.h"
#include "tests/document/loader_fuzz_support.h"
#include "tests/document/text_flow_support.h"

using namespace flowtest;
using textmodel::Bytes;
using textmodel::Store;

namespace {

Bytes SaveFlow(CTextFlow& flow, int mode)
{
    return Store([&](plat::Archive& ar) { flow.Save(ar, mode); });
}

void LoadFlow(const Bytes& bytes, CTextFlow& flow, int mode)
{
    textmodel::LoadFrom(bytes, [&](plat::Archive& ar) { flow.Load(ar, mode); });
}

// Everything a refused load must leave as it was.
std::string Snapshot(const CTextFlow& flow)
{
    CTextPos caret, anchor;
    flow.GetSelectionPositions(caret, anchor);
    return Describe(flow) + " " + plat::Utf16ToUtf8(flow.GetName()) + " " + std::to_string(caret.m_index) + " " +
           plat::Utf16ToUtf8(caret.m_name) + " " + std::to_string(anchor.m_index) + " " +
           std::to_string(flow.GetRunningCharFormat().m_size) + " " +
           std::to_string(flow.GetRunningParaFormat().m_align);
}

// A flow record around the items of the notation, which need not be a sound flow.
Bytes CraftedRecord(CQlDoc& doc, const std::u16string& items, int mode, int caret = 0, int anchor = 0)
{
    CTextFlow box(&doc, nullptr);
    Fill(box, items);
    return Store([&](plat::Archive& ar) {
        CCharFormat running(&doc);
        running.Save(ar, mode);
        CParaFormat().Save(ar, mode);
        CTextPos(caret, box.GetName()).Save(ar, mode);
        CTextPos(anchor, box.GetName()).Save(ar, mode);
        if (mode == kArchiveUndo) ar.WriteI32(0);
        box.CNamedContainer::Save(ar, running, mode);
    });
}

// The sample: "aB~X|cd$" with a bold running format, a centred running paragraph, the
// caret at 3 and the anchor at 1, the document's focus text.
struct SampleFlow {
    std::unique_ptr<CQlDoc> doc = TwoAuthorDoc();
    CTextFlow flow{doc.get(), nullptr};
    SampleFlow()
    {
        Fill(flow, u"aB~X|cd$");
        CCharFormat bold(doc.get());
        bold.m_bold = 1;
        bold.m_size = 280;
        flow.SetRunningCharFormat(bold);
        CParaFormat centred;
        centred.m_align = 3;
        flow.SetRunningParaFormat(centred);
        flow.SetSelection(At(flow, 3), At(flow, 1));
        doc->GetFormatState()->SetFocusObject(&flow);
    }
};

} // namespace

TEST(TextFlowArchive, NativeFileModeStartsAtTheTop)
{
    SampleFlow s;
    const Bytes bytes = SaveFlow(s.flow, kArchiveFile);
    EXPECT_EQ(SaveFlow(s.flow, kArchiveInsert), bytes) << "asked to save for inserting, it writes the file form";
    auto doc = TwoAuthorDoc();
    CTextFlow flow(doc.get(), nullptr);
    Fill(flow, u"old$");
    LoadFlow(bytes, flow, kArchiveFile);
    EXPECT_EQ(Describe(flow), "aB~X|1cd$2") << "the record replaces the content";
    EXPECT_EQ(flow.GetName(), s.flow.GetName());
    CTextPos caret, anchor;
    flow.GetSelectionPositions(caret, anchor);
    EXPECT_EQ(caret, CTextPos(0, s.flow.GetName()));
    EXPECT_EQ(anchor, caret);
    EXPECT_EQ(flow.GetRunningCharFormat(), s.flow.GetRunningCharFormat());
    EXPECT_EQ(flow.GetRunningParaFormat(), s.flow.GetRunningParaFormat());
    EXPECT_EQ(flow.GetItem(1)->GetFormat().m_insertedBy, 1);
    EXPECT_EQ(doc->GetFormatState()->GetFocusObject(), nullptr) << "only snapshots carry the focus";
}

TEST(TextFlowArchive, UndoSnapshotKeepsPositionsAndFocus)
{
    SampleFlow s;
    const Bytes bytes = SaveFlow(s.flow, kArchiveUndo);
    auto doc = TwoAuthorDoc();
    CTextFlow flow(doc.get(), nullptr);
    LoadFlow(bytes, flow, kArchiveUndo);
    CTextPos caret, anchor;
    flow.GetSelectionPositions(caret, anchor);
    EXPECT_EQ(caret, CTextPos(3, s.flow.GetName()));
    EXPECT_EQ(anchor, CTextPos(1, s.flow.GetName()));
    EXPECT_EQ(doc->GetFormatState()->GetFocusObject(), &flow);
    EXPECT_EQ(doc->GetFormatState()->m_charFormat.m_size, 280);
    EXPECT_EQ(doc->GetFormatState()->m_paraFormat.m_align, 3);
    EXPECT_EQ(SaveFlow(flow, kArchiveUndo), bytes) << "a snapshot restores exactly";

    // Not the focus when saved: the flag is 0 and loading leaves the focus alone.
    s.doc->GetFormatState()->SetFocusObject(nullptr);
    CTextFlow other(doc.get(), nullptr);
    LoadFlow(SaveFlow(s.flow, kArchiveUndo), other, kArchiveUndo);
    EXPECT_EQ(doc->GetFormatState()->GetFocusObject(), &flow);
}

TEST(TextFlowArchive, ClipboardModeTakesFreshNamesAndTheCurrentAuthor)
{
    SampleFlow s;
    const Bytes bytes = SaveFlow(s.flow, kArchiveClipboard);
    auto doc = MakeDoc({0, 4});
    CTextFlow flow(doc.get(), nullptr);
    const String name = flow.GetName();
    LoadFlow(bytes, flow, kArchiveClipboard);
    EXPECT_EQ(Describe(flow), "aB|1cd$2") << "hidden deleted text is not copied";
    EXPECT_EQ(flow.GetName(), name);
    EXPECT_EQ(flow.GetCaretPos(), CTextPos(0, name));
    for (int i = 0; i < flow.GetCount(); ++i) EXPECT_EQ(flow.GetItem(i)->GetFormat().m_insertedBy, 1);
}

TEST(TextFlowArchive, InsertModeAppendsAfterAPageBreak)
{
    SampleFlow s;
    const Bytes bytes = SaveFlow(s.flow, kArchiveFile);
    auto doc = OneAuthorDoc();
    CTextFlow flow(doc.get(), nullptr);
    Fill(flow, u"pq$");
    const String name = flow.GetName();
    flow.SetSelection(At(flow, 2), At(flow, 1));
    LoadFlow(bytes, flow, kArchiveInsert);
    EXPECT_EQ(Describe(flow), "pq/1aB|1cd$2") << "deleted text is dropped";
    EXPECT_EQ(flow.GetName(), name);
    CTextPos caret, anchor;
    flow.GetSelectionPositions(caret, anchor);
    EXPECT_EQ(caret, CTextPos(2, name)) << "the flow's own positions stay";
    EXPECT_EQ(anchor, CTextPos(1, name));
    for (int i = 3; i < flow.GetCount(); ++i) {
        EXPECT_EQ(flow.GetItem(i)->GetFormat().m_insertedBy, 0);
        EXPECT_EQ(flow.GetItem(i)->GetFormat().m_deletedBy, 0);
    }
    EXPECT_EQ(flow.GetRunningCharFormat().m_bold, 1);
    EXPECT_EQ(flow.GetRunningCharFormat().m_insertedBy, 0);

    // Into a flow that holds only its final end, the record simply becomes the content.
    CTextFlow empty(doc.get(), nullptr);
    empty.AppendFinalParaEnd();
    LoadFlow(bytes, empty, kArchiveInsert);
    EXPECT_EQ(Describe(empty), "aB|1cd$2");
}

TEST(TextFlowArchive, ALoadedFlowEndsWithItsOneFinalParagraphEnd)
{
    auto doc = TwoAuthorDoc();
    struct Case { const char16_t* items; bool sound; };
    const Case cases[] = {
        {u"ab$", true}, {u"$", true},
        {u"ab", false}, {u"", false}, {u"a$b$", false}, {u"ab$$", false}, {u"$ab", false},
    };
    for (int mode : {kArchiveFile, kArchiveUndo, kArchiveClipboard, kArchiveInsert}) {
        for (const Case& c : cases) {
            const Bytes bytes = CraftedRecord(*doc, c.items, mode == kArchiveInsert ? kArchiveFile : mode);
            CTextFlow flow(doc.get(), nullptr);
            Fill(flow, u"xy$");
            flow.SetCaret(At(flow, 1));
            const std::string before = Snapshot(flow);
            SCOPED_TRACE(testing::Message() << "mode " << mode << " " << plat::Utf16ToUtf8(c.items));
            if (c.sound) {
                EXPECT_NO_THROW(LoadFlow(bytes, flow, mode));
                EXPECT_EQ(flow.GetItem(flow.GetCount() - 1)->GetNodeType(), kItemFinalParaEnd);
            } else {
                EXPECT_EQ(textmodel::CauseOf([&] { LoadFlow(bytes, flow, mode); }),
                          plat::ArchiveException::kBadSchema);
                EXPECT_EQ(Snapshot(flow), before);
            }
        }
    }
}

TEST(TextFlowArchive, SnapshotPositionsOutsideTheFlowAreRefused)
{
    auto doc = TwoAuthorDoc();
    struct Case { int caret; int anchor; bool sound; };
    const Case cases[] = {{0, 2, true}, {2, 0, true}, {3, 0, false}, {0, -1, false},
                          {std::numeric_limits<int>::max(), 0, false}};
    for (const Case& c : cases) {
        CTextFlow flow(doc.get(), nullptr);
        Fill(flow, u"xy$");
        const std::string before = Snapshot(flow);
        const Bytes bytes = CraftedRecord(*doc, u"ab$", kArchiveUndo, c.caret, c.anchor);
        if (c.sound) {
            LoadFlow(bytes, flow, kArchiveUndo);
            EXPECT_EQ(flow.GetCaretPos().m_index, c.caret);
        } else {
            EXPECT_EQ(textmodel::CauseOf([&] { LoadFlow(bytes, flow, kArchiveUndo); }),
                      plat::ArchiveException::kBadIndex);
            EXPECT_EQ(Snapshot(flow), before);
        }
    }
    // A native file's stored positions are not used at all.
    CTextFlow flow(doc.get(), nullptr);
    LoadFlow(CraftedRecord(*doc, u"ab$", kArchiveFile, 77, -5), flow, kArchiveFile);
    EXPECT_EQ(flow.GetCaretPos().m_index, 0);
}

TEST(FormatState, SnapshotRoundTrips)
{
    auto doc = TwoAuthorDoc();
    CFormatState& state = *doc->GetFormatState();
    state.m_charFormat.m_westernFace = u"Arial";
    state.m_charFormat.m_italic = 1;
    state.m_charFormat.m_insertedBy = 2;
    state.m_paraFormat.m_align = 2;
    state.m_paraFormat.m_rightIndent = -300;
    state.m_currentCell = CCellPos(3, 4);
    state.m_rangeEndCell = CCellPos(5, 1);
    state.m_verticalAlign = kAlignBottom;
    state.m_zoom = 0.75;
    const Bytes bytes = Store([&](plat::Archive& ar) { state.Save(ar, kArchiveUndo); });

    auto other = TwoAuthorDoc();
    CFormatState& restored = other->ResetFormatState();
    CTextFlow focus(other.get(), nullptr);
    restored.SetFocusObject(&focus);
    restored.m_dragActive = 1;
    restored.m_dragPoint = plat::Point(7, 8);
    restored.m_pointList.AddPoint(1, 2);
    EXPECT_EQ(textmodel::LoadFrom(bytes, [&](plat::Archive& ar) { restored.Load(ar, kArchiveUndo); }), 0u);
    EXPECT_EQ(restored.m_charFormat, state.m_charFormat);
    EXPECT_EQ(restored.m_paraFormat, state.m_paraFormat);
    EXPECT_EQ(restored.m_currentCell, CCellPos(3, 4));
    EXPECT_EQ(restored.m_rangeEndCell, CCellPos(5, 1));
    EXPECT_EQ(restored.m_verticalAlign, kAlignBottom);
    EXPECT_EQ(restored.m_zoom, 0.75);
    // What the snapshot does not carry stays.
    EXPECT_EQ(restored.GetFocusObject(), &focus);
    EXPECT_EQ(restored.m_dragActive, 1);
    EXPECT_EQ(restored.m_dragPoint, plat::Point(7, 8));
    EXPECT_EQ(restored.m_pointList.GetCount(), 1);
    EXPECT_EQ(Store([&](plat::Archive& ar) { restored.Save(ar, kArchiveUndo); }), bytes);
}

TEST(FormatState, FocusFormatsAndTracker)
{
    auto doc = OneAuthorDoc();
    CFormatState& state = *doc->GetFormatState();
    EXPECT_EQ(state.m_zoom, 1.0);
    EXPECT_EQ(state.GetFocusObject(), nullptr);
    EXPECT_EQ(state.GetDoc(), doc.get());
    EXPECT_EQ(state.GetParent(), nullptr);
    {
        CTextFlow flow(doc.get(), nullptr);
        CCharFormat f(doc.get());
        f.m_size = 420;
        flow.SetRunningCharFormat(f);
        CParaFormat p;
        p.m_firstIndent = 420;
        flow.SetRunningParaFormat(p);
        state.SetFocusObject(&flow);
        EXPECT_EQ(state.m_charFormat.m_size, 420);
        EXPECT_EQ(state.m_paraFormat.m_firstIndent, 420);
        state.SetFocusObject(nullptr);
        EXPECT_EQ(state.m_charFormat.m_size, 420) << "null forgets the flow, not its formats";
        state.SetFocusObject(&flow);
    }
    EXPECT_EQ(state.GetFocusObject(), nullptr) << "a destroyed flow is no longer the focus";

    struct Tool : CCreationTool {
        explicit Tool(int& alive) : m_alive(alive) { ++m_alive; }
        ~Tool() override { --m_alive; }
        std::uint16_t GetCreateType() const override { return kNodeShape; }
        int& m_alive;
    };
    int alive = 0;
    EXPECT_FALSE(state.IsCreatingType(kNodeShape));
    state.SetCreationTracker(std::make_unique<Tool>(alive));
    EXPECT_TRUE(state.IsCreatingType(kNodeShape));
    EXPECT_FALSE(state.IsCreatingType(kNodeTable));
    state.DeleteCreationTracker();
    EXPECT_EQ(alive, 0);
    state.SetCreationTracker(std::make_unique<Tool>(alive));
    doc->ResetFormatState();
    EXPECT_EQ(alive, 0) << "the state owns its pending tool";
}

TEST(FormatState, BadSnapshotsAreRefused)
{
    auto doc = TwoAuthorDoc();
    CFormatState& state = *doc->GetFormatState();
    auto record = [&](double zoom, int row) {
        return Store([&](plat::Archive& ar) {
            state.m_charFormat.Save(ar, kArchiveUndo);
            state.m_paraFormat.Save(ar, kArchiveUndo);
            ar.WriteI32(row);
            ar.WriteI32(0);
            ar.WriteI32(0);
            ar.WriteI32(0);
            ar.WriteU8(16);
            ar.WriteDouble(zoom);
        });
    };
    const double bad[] = {0.0, -1.0, 0.1, 2.5, std::nan(""), std::numeric_limits<double>::infinity()};
    for (double zoom : bad) {
        EXPECT_EQ(textmodel::CauseOf([&] {
                      textmodel::LoadFrom(record(zoom, 0), [&](plat::Archive& ar) { state.Load(ar, kArchiveUndo); });
                  }),
                  plat::ArchiveException::kBadIndex)
            << zoom;
    }
    EXPECT_EQ(textmodel::CauseOf([&] {
                  textmodel::LoadFrom(record(1.5, -1), [&](plat::Archive& ar) { state.Load(ar, kArchiveUndo); });
              }),
              plat::ArchiveException::kBadIndex);
    EXPECT_EQ(state.m_zoom, 1.0);
    textmodel::LoadFrom(record(0.25, 0), [&](plat::Archive& ar) { state.Load(ar, kArchiveUndo); });
    EXPECT_EQ(state.m_zoom, 0.25);
}

namespace {

using loaderfuzz::Target;

std::vector<Target> Targets(SampleFlow& s)
{
    std::vector<Target> targets;
    CQlDoc* doc = s.doc.get();
    for (int mode : {kArchiveFile, kArchiveUndo, kArchiveClipboard, kArchiveInsert}) {
        Bytes seed = SaveFlow(s.flow, mode);
        targets.push_back({"flow", seed, [doc, mode](plat::Archive& ar, bool& untouched) {
                               CTextFlow flow(doc, nullptr);
                               Fill(flow, u"xy$");
                               flow.SetCaret(At(flow, 1));
                               const std::string before = Snapshot(flow);
                               try {
                                   flow.Load(ar, mode);
                               } catch (...) {
                                   untouched = Snapshot(flow) == before;
                                   throw;
                               }
                               // What loads is a sound flow.
                               const int count = flow.GetCount();
                               for (int i = 0; i < count; ++i)
                                   EXPECT_EQ(flow.GetItem(i)->GetNodeType() == kItemFinalParaEnd, i == count - 1);
                               CTextPos caret, anchor;
                               flow.GetSelectionPositions(caret, anchor);
                               EXPECT_TRUE(caret.m_index >= 0 && caret.m_index < count);
                               EXPECT_TRUE(anchor.m_index >= 0 && anchor.m_index < count);
                           }});
    }
    targets.push_back({"format state", Store([&](plat::Archive& ar) { doc->GetFormatState()->Save(ar, kArchiveUndo); }),
                       [doc](plat::Archive& ar, bool& untouched) {
                           CFormatState state(doc);
                           try {
                               state.Load(ar, kArchiveUndo);
                           } catch (...) {
                               untouched = state.m_zoom == 1.0 && state.m_currentCell == CCellPos() &&
                                           state.m_charFormat == CCharFormat(doc);
                               throw;
                           }
                       }});
    return targets;
}

} // namespace

TEST(TextFlowArchive, TruncatedRecordsAreRefused)
{
    SampleFlow s;
    s.doc->GetFormatState()->m_zoom = 1.5;
    loaderfuzz::RefuseTruncations(Targets(s));
}

TEST(TextFlowArchive, FlippedBitsNeverEscapeTheArchiveError)
{
    SampleFlow s;
    loaderfuzz::FlipBits(Targets(s), 20240612u, 1000, 3);
}
