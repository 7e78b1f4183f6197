// Cut, copy and paste through the view's clipboard, and their enable tests.
//
// A copy also leaves RTF for other programs, written through a scratch file as the RTF
// export writes a file; a paste reads RTF through the registered RTF reader and bitmaps as
// new pictures.
//
// Every private block begins with the int32 reference flag (1 when it was copied in the
// reference pane). Blocks on the clipboard may come from any program, so each is read
// whole and checked as a file is before the document changes: a bad block is refused
// without an undo step.
#include <atomic>
#include <optional>
#include <stdexcept>

#include "document/doc_body.h"
#include "document/doc_importer.h"
#include "document/doc_frame.h"
#include "document/doc_node.h"
#include "document/doc_view.h"
#include "document/float_object.h"
#include "document/page_object_list.h"
#include "document/ql_doc.h"
#include "document/rtf_tables.h"
#include "document/text_flow.h"
#include "document/units.h"
#include "media/jpeg_file_saver.h"
#include "platform/base/saturate.h"
#include "platform/base/system.h"
#include "platform/file/archive.h"
#include "platform/file/file.h"
#include "platform/file/text_mode_stream.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/clipboard.h"
#include "resources/res_bitmaps.h"

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
        bool taken = view.SetClipboardData(kBlockClipboardFormat, mem.Detach());
        if (std::optional<Bytes> rtf = RenderCopyRtf(true))
            taken = view.SetClipboardData(kRtfClipboardFormat, std::move(*rtf)) && taken;
        return taken;
    }

    CTextFlow* focus = GetFocusText();
    if (!focus || !focus->HasSelection()) return false;
    bool taken = view.SetClipboardData(kTextClipboardFormat, focus->CopyTextBlock(false));
    taken = view.SetClipboardData(kUnicodeTextClipboardFormat,
                                  plat::UnicodeTextToBytes(focus->GetSelectedText(CTextFlow::CTextScope::kLiveOnly))) &&
            taken;
    if (focus == m_body.get()) {
        taken = view.SetClipboardData(kPageClipboardFormat, focus->CopyTextBlock(true)) && taken;
        if (std::optional<Bytes> rtf = RenderCopyRtf(false))
            taken = view.SetClipboardData(kRtfClipboardFormat, std::move(*rtf)) && taken;
    }
    return taken;
}

std::optional<std::vector<std::uint8_t>> CQlDoc::RenderCopyRtf(bool objects)
{
    // A name of its own in the private temporary folder, so that two copies at once (two
    // documents, two processes) never share the file.
    static std::atomic<int> serial{0};
    const plat::String path = plat::TempDir() + plat::Format(u"EditCopy-%d.rtf", serial++);
    Bytes bytes;
    try {
        {
            plat::File file(path, plat::File::kWrite | plat::File::kCreate);
            plat::TextModeStream out(file);
            WriteRtfDocument(out, [&](plat::Stream& s, const CRtfFontTable& fonts, const CRtfColorTable& colors) {
                if (!objects) {
                    m_body->ExportRtfSelection(s, fonts, colors);
                    return;
                }
                // The objects stack from the left margin, each placed up by the heights of
                // those written before it.
                const int left = MmToTwips(GetPageSettings().margins.left);
                std::int64_t above = 0;
                for (int k = 0; k < m_body->GetSelectedCount(); ++k) {
                    CFloatObject* object = m_body->GetSelectedObject(k);
                    object->WriteRtfShape(s, left, plat::SaturateI32(object->m_bounds.top + above), fonts, colors);
                    above += object->m_bounds.bottom - object->m_bounds.top;
                }
            });
            out.Flush();
            file.Close();
        }
        plat::File file(path, plat::File::kRead);
        bytes.resize(static_cast<size_t>(file.GetLength()));
        if (file.Read(bytes.data(), bytes.size()) != bytes.size()) throw plat::FileException(plat::FileException::kEndOfFile, plat::Utf16ToUtf8(path));
    } catch (const plat::FileException&) {
        // The RTF is left out; the private formats still carry the copy.
        plat::File::Remove(path);
        return std::nullopt;
    }
    plat::File::Remove(path);
    return bytes;
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
                                    : kind == kPasteBitmap      ? kBitmapClipboardFormat
                                                                : plat::StringView();
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
    case kPasteBitmap:
        return PasteBitmap(*data);
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

bool CQlDoc::PasteBitmap(const std::vector<std::uint8_t>& dib)
{
    const std::unique_ptr<plat::Bitmap> bitmap = DibToBitmap(dib);
    if (!bitmap) return false;
    // The picture's store keeps its own copy of the file, which goes again at once.
    static std::atomic<int> serial{0};
    const plat::String path = plat::TempDir() + plat::Format(u"bmpCopy-%d.jpg", serial++);
    bool inserted = false;
    if (CJpegFileSaver(plat::FileDurability::kScratch).SaveBitmap(path, bitmap.get())) {
        CWaitCursor wait(m_frame);
        inserted = InsertImage(path, plat::String(), 0, 0, 0, 0) != 0;
    }
    plat::File::Remove(path);
    return inserted;
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
        {kBitmapClipboardFormat, kPasteBitmap},
    };
    for (const Choice& c : kChoices)
        if (m_view->IsClipboardFormatAvailable(c.format)) return c.kind;
    return 0;
}

bool CQlDoc::PrefersRtf() const
{
    // Objects copied here come back as themselves from their block, not as the pictures
    // their RTF holds.
    return m_view && m_view->IsClipboardFormatAvailable(kRtfClipboardFormat) &&
           !m_view->IsClipboardFormatAvailable(kBlockClipboardFormat) && CanPasteRtf();
}

bool CQlDoc::CanEditPaste() const
{
    if (m_view && m_view->IsClipboardFormatAvailable(kPageClipboardFormat) && CanPastePage()) return true;
    if (PrefersRtf()) return true;
    const int kind = GetClipboardPasteKind();
    return kind != 0 && CanPasteFormat(kind);
}

bool CQlDoc::EditPaste()
{
    if (!IsEditable()) return false;
    if (m_view && m_view->IsClipboardFormatAvailable(kPageClipboardFormat) && CanPastePage()) return PastePage();
    if (PrefersRtf()) return PasteRtf();
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

bool CQlDoc::CanPasteRtf() const
{
    return IsEditable() && m_body && m_body->GetSelectedCount() == 0 && FindDocImporterByName(kRtfFormatName);
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
