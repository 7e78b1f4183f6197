// Cut, copy and paste through the view's clipboard, and their enable tests.
//
// Every private block begins with the int32 reference flag (1 when it was copied in the
// reference pane). Blocks on the clipboard may come from any program, so each is read
// whole and checked as a file is before the document changes: a bad block is refused
// without an undo step.
#include <optional>
#include <stdexcept>

#include "document/doc_body.h"
#include "document/doc_frame.h"
#include "document/doc_node.h"
#include "document/doc_view.h"
#include "document/float_object.h"
#include "document/page_object_list.h"
#include "document/ql_doc.h"
#include "document/text_flow.h"
#include "platform/file/archive.h"
#include "platform/file/file.h"
#include "platform/ui/clipboard.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// What a selected object's copy kind asks for (slot 51): the object itself, or its table
// cells; any other kind copies the focus text.
constexpr int kCopyObject = 2;
constexpr int kCopyCells = 4;

// The frame's wait cursor for the life of a block's writing or reading.
class CWaitCursor {
public:
    explicit CWaitCursor(CDocFrame* frame) : m_frame(frame)
    {
        if (m_frame) m_frame->ShowWaitCursor(true);
    }
    ~CWaitCursor()
    {
        if (m_frame) m_frame->ShowWaitCursor(false);
    }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    CDocFrame* m_frame;
};

// The view's clipboard, open for one operation and closed when it ends.
class COpenClipboard {
public:
    explicit COpenClipboard(CDocView* view) : m_view(view), m_open(view && view->OpenClipboard()) {}
    ~COpenClipboard()
    {
        if (m_open) m_view->CloseClipboard();
    }
    COpenClipboard(const COpenClipboard&) = delete;
    COpenClipboard& operator=(const COpenClipboard&) = delete;

    bool IsOpen() const { return m_open; }
    std::optional<Bytes> Get(plat::StringView format) const
    {
        return m_open ? m_view->GetClipboardData(format) : std::nullopt;
    }

private:
    CDocView* m_view;
    bool m_open;
};

// A block's leading reference flag, which is 0 or 1 and nothing else.
std::int32_t ReadReferenceFlag(plat::Archive& ar)
{
    const std::int32_t flag = ar.ReadI32();
    if (flag != 0 && flag != 1) throw plat::ArchiveException(plat::ArchiveException::kBadIndex, "reference flag");
    return flag;
}

} // namespace

// ---- copy and cut ----

bool CQlDoc::EditCopy()
{
    if (!m_body || !CanCopy()) return false;
    CDocView& view = m_view ? *m_view : OwnView();
    COpenClipboard clipboard(&view);
    if (!clipboard.IsOpen() || !view.EmptyClipboard()) return false;

    const int selected = m_body->GetSelectedCount();
    const int kind = selected == 1 ? m_body->GetSelectedObject(0)->CanCopyText() : 0;
    const std::int32_t reference = IsReference() ? 1 : 0;
    if (kind == kCopyCells) {
        const Bytes cells = m_body->GetSelectedObject(0)->CopyCells();
        if (cells.empty()) return false;
        plat::MemFile mem;
        {
            plat::Archive ar(mem, plat::Archive::kStore);
            ar.WriteI32(reference);
            ar.Write(cells.data(), cells.size());
            ar.Close();
        }
        return view.SetClipboardData(kUnitClipboardFormat, mem.Detach());
    }

    CWaitCursor wait(m_frame);
    if (selected > 1 || kind == kCopyObject) {
        plat::MemFile mem;
        {
            plat::Archive ar(mem, plat::Archive::kStore);
            ar.WriteI32(reference);
            m_body->GetObjectList().Save(ar, kArchiveClipboard, CPageObjectList::kGroupAtOrigin);
            ar.Close();
        }
        return view.SetClipboardData(kBlockClipboardFormat, mem.Detach());
    }

    CTextFlow* focus = GetFocusText();
    if (!focus || !focus->HasSelection()) return false;
    bool taken = view.SetClipboardData(kTextClipboardFormat, focus->CopyTextBlock(false));
    taken = view.SetClipboardData(kUnicodeTextClipboardFormat,
                                  plat::UnicodeTextToBytes(focus->GetSelectedText(CTextFlow::CTextScope::kLiveOnly))) &&
            taken;
    if (focus == m_body.get()) taken = view.SetClipboardData(kPageClipboardFormat, focus->CopyTextBlock(true)) && taken;
    return taken;
}

bool CQlDoc::EditCut()
{
    if (!IsEditable()) return false;
    CWaitCursor wait(m_frame);
    // A selection that did not reach the clipboard would be lost: it stays.
    if (!EditCopy()) return false;
    EditDelete();
    SetModified(true);
    return true;
}

// ---- paste ----

bool CQlDoc::CanPastePage() const
{
    return SelectionAcceptsText() && GetFocusText() == m_body.get();
}

bool CQlDoc::PastePage()
{
    COpenClipboard clipboard(m_view);
    const std::optional<Bytes> block = clipboard.Get(kPageClipboardFormat);
    if (!block) return false;
    CWaitCursor wait(m_frame);
    return InsertArchiveBlock(*block, kArchiveClipboard, true);
}

bool CQlDoc::InsertArchiveBlock(const std::vector<std::uint8_t>& block, int mode, bool page)
{
    if (!IsEditable()) return false;
    CTextFlow* focus = GetFocusText();
    if (page && focus != m_body.get()) return false;
    CTextFlow::CClipboardTextBlock read;
    try {
        read = focus->ReadClipboardBlock(block, mode);
    } catch (const std::runtime_error&) {
        return false; // refused: no undo step, nothing changed
    }
    PushUndoState();
    focus->PasteTextBlock(std::move(read));
    focus->SetCaret(focus->GetCaretPos());
    FinishTextCommand(*focus, true, true);
    return true;
}

bool CQlDoc::PasteFormat(int kind)
{
    if (!IsEditable() || !CanPasteFormat(kind)) return false;
    const plat::StringView format = kind == kPasteText          ? kTextClipboardFormat
                                    : kind == kPasteBlock       ? kBlockClipboardFormat
                                    : kind == kPasteUnit        ? kUnitClipboardFormat
                                    : kind == kPasteUnicodeText ? kUnicodeTextClipboardFormat
                                                                : plat::StringView();
    // Bitmaps are not read yet.
    if (format.empty()) return false;
    std::optional<Bytes> data;
    {
        COpenClipboard clipboard(m_view);
        data = clipboard.Get(format);
    }
    if (!data) return false;

    switch (kind) {
    case kPasteText: {
        CWaitCursor wait(m_frame);
        return InsertArchiveBlock(*data, kArchiveClipboard, false);
    }
    case kPasteBlock:
        return PasteObjectBlock(*data);
    case kPasteUnit:
        return PasteCellBlock(*data);
    default: {
        CWaitCursor wait(m_frame);
        return InsertString(plat::UnicodeTextFromBytes(*data));
    }
    }
}

bool CQlDoc::PasteObjectBlock(const std::vector<std::uint8_t>& block)
{
    CPageObjectList& list = m_body->GetObjectList();
    std::int32_t reference = 0;
    CPageObjectList::LoadedObjects loaded;
    try {
        plat::MemFile mem(block);
        plat::Archive ar(mem, plat::Archive::kLoad);
        reference = ReadReferenceFlag(ar);
        loaded = list.ReadObjects(ar, kArchiveClipboard);
    } catch (const std::runtime_error&) {
        return false;
    }
    if (loaded.empty()) return false;

    PushUndoState();
    // The group goes 20 pixels below and right of the visible area's top-left corner.
    const plat::Point scroll = m_view ? m_view->GetScrollPosition() : plat::Point();
    CPageObjectList::SetPasteOffset(PixelsToTwipsPoint(scroll.x + 20, scroll.y + 20));
    list.AddLoaded(std::move(loaded), kArchiveClipboard, 0, 0);
    AddReferencePaste(reference);
    // The pasted objects are the selection; no text inside an object keeps the focus.
    m_formatState->SetFocusObject(m_body.get());
    m_body->BuildPageRegions();
    m_body->RelayoutWhole();
    SetModified(true);
    RequestRepaint();
    return true;
}

bool CQlDoc::PasteCellBlock(const std::vector<std::uint8_t>& block)
{
    std::int32_t reference = 0;
    Bytes cells;
    try {
        plat::MemFile mem(block);
        plat::Archive ar(mem, plat::Archive::kLoad);
        reference = ReadReferenceFlag(ar);
    } catch (const std::runtime_error&) {
        return false;
    }
    cells.assign(block.begin() + 4, block.end());
    CFloatObject* table = m_body->GetSelectedObject(0);
    // A block any program could have written is refused whole, before the undo step.
    if (!table->CanPasteCells(cells)) return false;
    PushUndoState();
    table->PasteCells(cells);
    AddReferencePaste(reference);
    if (CCellFormatTarget* grid = GetSelectedTableGrid()) SyncTableSize(*table, *grid);
    SetModified(true);
    RequestRepaint();
    return true;
}

// ---- the paste command's choice ----

int CQlDoc::GetClipboardPasteKind() const
{
    if (!m_view) return 0;
    struct Choice {
        const char16_t* format;
        int kind;
    };
    static constexpr Choice kChoices[] = {
        {kTextClipboardFormat, kPasteText},
        {kBlockClipboardFormat, kPasteBlock},
        {kUnitClipboardFormat, kPasteUnit},
        {kUnicodeTextClipboardFormat, kPasteUnicodeText},
    };
    for (const Choice& c : kChoices)
        if (m_view->IsClipboardFormatAvailable(c.format)) return c.kind;
    return 0;
}

bool CQlDoc::CanEditPaste() const
{
    if (m_view && m_view->IsClipboardFormatAvailable(kPageClipboardFormat) && CanPastePage()) return true;
    const int kind = GetClipboardPasteKind();
    return kind != 0 && CanPasteFormat(kind);
}

bool CQlDoc::EditPaste()
{
    if (!IsEditable()) return false;
    if (m_view && m_view->IsClipboardFormatAvailable(kPageClipboardFormat) && CanPastePage()) return PastePage();
    const int kind = GetClipboardPasteKind();
    return kind != 0 && PasteFormat(kind);
}

// ---- enable tests ----

bool CQlDoc::CanCopy() const
{
    if (!m_body) return false;
    const int selected = m_body->GetSelectedCount();
    if (selected == 0) {
        const CTextFlow* focus = GetFocusText();
        return focus && focus->HasSelection();
    }
    if (selected == 1) return m_body->GetSelectedObject(0)->CanCopyText() != 0;
    return true;
}

bool CQlDoc::CanPasteFormat(int kind) const
{
    switch (kind) {
    case kPasteText:
    case kPasteUnicodeText:
        return SelectionAcceptsText();
    case kPasteBlock:
    case kPasteBitmap:
        return true;
    case kPasteUnit:
        return m_body && m_body->GetSelectedCount() > 0 &&
               m_body->GetSelectedObject(0)->GetNodeType() == kNodeTable;
    default:
        return false;
    }
}
