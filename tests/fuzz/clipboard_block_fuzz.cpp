// Feeds arbitrary bytes to the document's paste as if another program had put them on the
// clipboard: the first byte picks the format (page, text, object or cell block, or Unicode
// text) and the rest is its data. The document holds text and an object anchored to it,
// with part of the text selected. A paste that is refused must leave the document exactly
// as it was, with no undo step; a paste that goes in must leave a sound body, and its one
// undo step must bring the content back.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/doc_body.h"
#include "document/doc_view.h"
#include "document/ql_doc.h"
#include "platform/file/archive.h"
#include "tests/document/test_object.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr const char16_t* kFormats[] = {kPageClipboardFormat, kTextClipboardFormat, kBlockClipboardFormat,
                                        kUnitClipboardFormat, kUnicodeTextClipboardFormat};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::RegisterKinds();
    if (size == 0) return 0;
    static CHeadlessDocView view;
    static CQlDoc& doc = *new CQlDoc(&view);
    doc.FileNew();
    CDocBody& body = *doc.GetBody();
    doc.InsertString(u"first line\rsecond line\rthird");
    body.AddObject(objtest::NewObject(&doc, 3000, 1400, 1500, 600));
    body.BuildPageRegions();
    body.RelayoutWhole();
    body.SetSelection(CTextPos(14, body.GetName()), CTextPos(3, body.GetName()));
    doc.ClearUndo();
    doc.SetModified(false);

    view.m_clipboard.clear();
    view.m_clipboard[kFormats[data[0] % std::size(kFormats)]] = std::vector<std::uint8_t>(data + 1, data + size);
    const std::vector<std::uint8_t> before = fuzzsupport::BodyRecord(body, kArchiveUndo);
    const std::vector<std::uint8_t> content = fuzzsupport::BodyRecord(body);
    const int references = doc.GetReferencePasteCount();

    if (!doc.EditPaste()) {
        if (fuzzsupport::BodyRecord(body, kArchiveUndo) != before || doc.CanUndo() || doc.IsModified() ||
            doc.GetReferencePasteCount() != references)
            __builtin_trap();
        return 0;
    }
    fuzzsupport::CheckSoundFlow(body);
    body.BuildPageRegions();
    body.RecalcPageCount();
    if (!doc.CanUndo()) __builtin_trap();
    doc.EditUndo();
    if (fuzzsupport::BodyRecord(body) != content) __builtin_trap();
    return 0;
}
