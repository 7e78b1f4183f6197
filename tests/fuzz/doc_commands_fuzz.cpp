// Runs arbitrary sequences of the document's editing commands (typing, formats, page
// breaks, symbols, annotations, deleting, selecting, finding and replacing, undo and
// redo), by two authors, on small pages with boxes placed below the caret and deleted. After every command the layout rules must hold
// and a whole relayout must give the layout the command left; every command that changed
// the body must be undone to exactly the text and objects before it and redone to those
// after it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/doc_body.h"
#include "document/find_state.h"
#include "document/format_state.h"
#include "document/layout_dump.h"
#include "document/ql_doc.h"
#include "document/text_flow.h"
#include "platform/file/archive.h"
#include "platform/file/file.h"
#include "platform/ui/message_box.h"
#include "platform/ui/modal.h"
#include "tests/document/test_object.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

[[noreturn]] void Fail(const char* what, int step)
{
    std::fprintf(stderr, "doc_commands_fuzz: %s (command %d)\n", what, step);
    __builtin_trap();
}

std::vector<std::uint8_t> BodyBytes(CDocBody& body)
{
    return fuzzsupport::BodyRecord(body);
}

// The text record, then each object's kind and size. Where an anchored object settles
// after an edit can depend on the layouts before it (the object follows its paragraph,
// and the paragraph flows around the object), so an undo or a redo, which lays the body
// out afresh, may leave it elsewhere; without objects the whole record must match.
std::vector<std::uint8_t> TextAndObjects(CDocBody& body)
{
    if (body.GetObjectCount() == 0) return BodyBytes(body);
    plat::MemFile mem;
    plat::Archive ar(mem, plat::Archive::kStore);
    body.CTextFlow::Save(ar, kArchiveFile);
    for (int k = 0; k < body.GetObjectCount(); ++k) {
        const CFloatObject* o = body.GetObject(k);
        ar.WriteU16(o->GetNodeType());
        ar.WriteI32(o->m_width);
        ar.WriteI32(o->m_height);
    }
    ar.Close();
    return mem.Detach();
}

// Reads the command stream; zeros past its end.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool More() const { return m_pos < m_size; }
    std::uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

const char16_t kCodes[] = {u'a', u'Z', u' ', u'中', u'文', u'，', u'\r', u'\t', u'\n', u'я', u'Ж', 27, 1, u'1'};
const char16_t* const kStrings[] = {u"abc", u"中文 mixed", u"x\ry", u"", u"ab\r\ncd", u"привет"};

plat::String ShortText(Reader& in)
{
    const char16_t pool[] = {u'a', u'b', u'中', u' ', u'я'};
    plat::String s;
    const int n = 1 + in.Byte() % 3;
    for (int i = 0; i < n; ++i) s.push_back(pool[in.Byte() % 5]);
    return s;
}

// One command from the stream; false when it is one that need not be undone (it made no
// undo step of its own).
bool RunCommand(CQlDoc& doc, Reader& in)
{
    CDocBody& body = *doc.GetBody();
    const int count = body.GetCount();
    switch (in.Byte() % 26) {
    case 0: case 1: case 2: doc.InsertChar(kCodes[in.Byte() % std::size(kCodes)]); return true;
    case 3: doc.InsertString(kStrings[in.Byte() % std::size(kStrings)]); return true;
    case 4: doc.Backspace(); return true;
    case 5: doc.EditDelete(); return true;
    case 6: {
        const int a = in.Byte() * count / 256, c = in.Byte() * count / 256;
        body.SetSelection(CTextPos(c, body.GetName()), CTextPos(a, body.GetName()));
        return false;
    }
    case 7: body.SetCaret(CTextPos(in.Byte() * count / 256, body.GetName())); return false;
    case 8: doc.SetCharBold(in.Byte() & 1); return true;
    case 9: doc.SetFontSize(100 + in.Byte() * 4); return true;
    case 10: doc.SetCharPos(in.Byte() % 3); return true;
    case 11: doc.SetCharUnderline(in.Byte() % 4); return true;
    case 12: doc.SetParaFormat(static_cast<std::uint8_t>(1 + in.Byte() % 4)); return true;
    case 13: doc.SetParaGap(static_cast<std::uint8_t>(in.Byte() % 6)); return true;
    case 14: doc.SetParaIndents(in.Byte() * 8, in.Byte() * 8, in.Byte() * 8); return true;
    case 15: doc.InsertNewPage(); return true;
    case 16: doc.InsertSymbol(kSymbolFirst + in.Byte() % (kSymbolLast - kSymbolFirst + 1)); return true;
    case 17: doc.InsertAnnotation(ShortText(in)); return true;
    case 18: doc.RussianConvert(1 + in.Byte() % 3); return true;
    case 19: {
        CFindState state;
        state.m_findText = ShortText(in);
        state.m_replaceText = ShortText(in).substr(0, in.Byte() % 3);
        doc.ReplaceAll(state);
        return true;
    }
    case 20: {
        CFindState state;
        state.m_findText = ShortText(in);
        doc.GetFindStart(state);
        plat::AnswerNextModal(in.Byte() & 1 ? plat::kIdYes : plat::kIdNo);
        doc.FindNext(state);
        plat::ClearModalAnswers();
        return false;
    }
    case 21: doc.EditSelectAll(); return false;
    case 22: doc.SetCurAuthorIndex(static_cast<std::int16_t>(in.Byte() % 2)); return false;
    case 23: {
        // A box of the tests' kind, placed and added as the insert commands do.
        auto box = std::make_unique<objtest::CTestObject>(&doc, nullptr);
        doc.PlaceNewObject(plat::Size(1 + in.Byte(), 1 + in.Byte()), *box, 0, 0, 0, 0);
        doc.AddNewObject(std::move(box));
        return true;
    }
    case 24: {
        // Selects or deselects one object, or deselects them all.
        const int k = in.Byte();
        if (k >= body.GetObjectCount()) {
            body.DeselectAll();
        } else {
            CFloatObject* o = body.GetObject(k);
            o->SetSelected(!o->IsSelected());
        }
        return false;
    }
    default: doc.SetRevisionsShown(in.Byte() & 1); body.RelayoutWhole(); return false;
    }
}

void CheckLayout(CDocBody& body, int step)
{
    std::vector<std::string> faults = CheckLayoutInvariants(body);
    if (body.GetObjectCount() > 1) {
        // A region cut by one object is not cut again by another whose box it misses by
        // less than the gap text keeps from objects, so beside two objects that touch or
        // overlap the gap can be narrower; the text must still never cover an object.
        std::erase_if(faults, [](const std::string& f) { return f.find("overlaps the wrap area") != f.npos; });
        for (const CLaidOutLine& line : CollectLines(body))
            for (int k = 0; k < body.GetObjectCount(); ++k)
                if (!line.box.Intersect(body.GetObject(k)->m_bounds).IsEmpty())
                    faults.push_back("a line covers an object");
    }
    if (!faults.empty()) {
        for (const std::string& f : faults) std::fprintf(stderr, "%s\n", f.c_str());
        Fail("layout rules broken", step);
    }
    // Objects still waiting to follow their paragraphs move at the next layout.
    if (body.HasObjectToMove()) return;
    const CLayoutSnapshot once = TakeLayoutSnapshot(body);
    body.RelayoutWhole();
    const CLayoutSnapshot whole = TakeLayoutSnapshot(body);
    if (!(whole == once)) {
        std::fprintf(stderr, "%s\n", DiffLayouts(whole, once).c_str());
        Fail("a whole relayout differs from the command's", step);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool once = [] {
        // Message boxes ("内容溢出!", the find results) are answered at once.
        plat::SetModalHandler([](const plat::ModalRecord&) { return std::optional<int>(1); });
        return true;
    }();
    (void)once;
    // Undo brings objects back through the factory.
    fuzzsupport::RegisterKinds();
    CQlDoc doc;
    doc.FileNew();
    doc.SetPageSettings(plat::Rect(5, 5, 5, 5), plat::Size(60, 40));
    doc.GetBody()->SetPageGeometry(5, 5, 5, 5, 60, 40);
    doc.GetBody()->BuildPageRegions();
    doc.GetAuthors().Append(2, u"乙");
    doc.InsertString(u"第一段 first\r第二段 second");
    doc.ClearUndo();

    Reader in(data, size);
    for (int step = 0; in.More() && step < 64; ++step) {
        CDocBody& body = *doc.GetBody();
        const std::vector<std::uint8_t> before = TextAndObjects(body);
        const int top = doc.GetUndoStack().Top();
        const bool undoable = RunCommand(doc, in);
        CheckLayout(*doc.GetBody(), step);
        const std::vector<std::uint8_t> after = TextAndObjects(*doc.GetBody());
        if (!undoable || after == before || doc.GetUndoStack().Top() == top) continue;
        doc.EditUndo();
        if (TextAndObjects(*doc.GetBody()) != before) Fail("undo did not bring the body back", step);
        CheckLayout(*doc.GetBody(), step);
        doc.EditRedo();
        if (TextAndObjects(*doc.GetBody()) != after) Fail("redo did not bring the edit back", step);
        CheckLayout(*doc.GetBody(), step);
    }
    return 0;
}
