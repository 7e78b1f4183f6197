// Files of other formats, read by the readers registered with RegisterDocImporter: the
// document's steps around an open or an append, the read itself the reader's.
#include <new>

#include "document/doc_body.h"
#include "document/doc_header.h"
#include "document/doc_importer.h"
#include "document/doc_frame.h"
#include "document/doc_view.h"
#include "document/format_state.h"
#include "document/ql_doc.h"
#include "platform/file/archive.h"
#include "platform/file/file.h"

namespace {

// Reads a reader's input as the native reader's: archive, file and memory faults refuse it.
bool RunImporter(CDocImporter& importer, CQlDoc& doc, plat::Stream& in, ImportMode mode)
{
    try {
        return importer.Import(doc, in, mode);
    } catch (const plat::ArchiveException&) {
    } catch (const plat::FileException&) {
    } catch (const std::bad_alloc&) {
    }
    return false;
}

} // namespace

CDocImporter* CQlDoc::SniffImporter(plat::Stream& in)
{
    std::uint8_t head[CDocImporter::kSniffBytes];
    const std::size_t n = in.Read(head, sizeof head);
    in.Seek(0, plat::Stream::kBegin);
    return FindDocImporter(std::span<const std::uint8_t>(head, n));
}

int CQlDoc::OpenImported(CDocImporter& importer, plat::Stream& in, bool readOnly)
{
    if (m_frame) m_frame->StopIdleTimer();
    Reset();
    m_readOnly = readOnly ? 1 : 0;
    const bool accepted = RunImporter(importer, *this, in, ImportMode::kOpen);
    if (!accepted) {
        // What a refused file had added before its fault goes with a second reset.
        Reset();
        m_readOnly = readOnly ? 1 : 0;
    }
    const CTextPos start = m_body->GetStartPos();
    m_body->SetSelection(start, start);
    // The reader may have set the page up: the frames follow the header.
    const CDocHeader& h = *m_header;
    m_body->SetPageGeometry(h.m_marginLeft, h.m_marginTop, h.m_marginRight, h.m_marginBottom, h.m_paperWidth,
                            h.m_paperHeight);
    PullBackWideObjects();
    m_body->BuildPageRegions();
    m_body->RelayoutWhole();
    return FinishOpen(accepted);
}

int CQlDoc::AppendImported(const plat::String& path)
{
    if (!IsEditable()) return 0;
    plat::File file;
    if (!file.TryOpen(path, plat::File::kRead)) return 0;
    CDocImporter* importer = SniffImporter(file);
    if (!importer) return 0;
    return AppendThrough(*importer, file);
}

void CQlDoc::PauseAppendTimers()
{
    if (m_frame) {
        m_frame->StopIdleTimer();
        m_frame->PauseAutosaveTimer();
    }
}

void CQlDoc::RestartAppendTimers()
{
    if (m_frame) {
        m_frame->StartIdleTimer();
        m_frame->RestartAutosaveTimer();
    }
}

int CQlDoc::FinishAppend()
{
    const CTextPos start = m_body->GetStartPos();
    m_body->SetSelection(start, start);
    m_body->BuildPageRegions();
    m_body->RelayoutWhole();
    RestartAppendTimers();
    ScrollToCaret();
    RequestRepaint();
    SetModified(true);
    return 1;
}

int CQlDoc::AppendThrough(CDocImporter& importer, plat::Stream& in)
{
    PauseAppendTimers();
    // The appended text starts a paragraph of its own after the body's last one.
    GoToBodyEnd();
    const int countBefore = m_body->GetCount();
    m_body->InsertItemsAtCaret(u"\r");
    m_body->SetSelection(m_body->GetEndPos(), m_body->GetEndPos());
    if (!RunImporter(importer, *this, in, ImportMode::kAppend)) {
        // A reader refuses before it adds anything; the paragraph end made for it goes.
        if (m_body->GetCount() > countBefore) m_body->RemoveRange(countBefore - 1, countBefore);
        m_body->SetSelection(m_body->GetEndPos(), m_body->GetEndPos());
        RestartAppendTimers();
        RequestRepaint();
        return 0;
    }
    PullBackWideObjects();
    return FinishAppend();
}

void CQlDoc::GoToBodyEnd()
{
    const CTextPos end = m_body->GetEndPos();
    m_body->SetSelection(end, end);
    m_body->DeselectAll();
    if (m_formatState) m_formatState->SetFocusObject(m_body.get());
}

// ---- RTF and text files ----

int CQlDoc::OpenRtf(const plat::String& path, bool readOnly)
{
    CDocImporter* rtf = FindDocImporterByName(kRtfFormatName);
    if (!rtf) return 0;
    plat::File file;
    if (file.TryOpen(path, plat::File::kRead)) return OpenImported(*rtf, file, readOnly);
    // A file that cannot be read leaves an empty document.
    plat::MemFile nothing;
    return OpenImported(*rtf, nothing, readOnly);
}

int CQlDoc::AppendRtf(const plat::String& path)
{
    CDocImporter* rtf = FindDocImporterByName(kRtfFormatName);
    if (!rtf || !IsEditable()) return 0;
    plat::File file;
    if (file.TryOpen(path, plat::File::kRead)) return AppendThrough(*rtf, file);
    plat::MemFile nothing;
    return AppendThrough(*rtf, nothing);
}

bool CQlDoc::PasteRtf()
{
    if (!CanPasteRtf()) return false;
    CDocImporter* rtf = FindDocImporterByName(kRtfFormatName);
    std::optional<std::vector<std::uint8_t>> data;
    if (m_view && m_view->OpenClipboard()) {
        data = m_view->GetClipboardData(kRtfClipboardFormat);
        m_view->CloseClipboard();
    }
    if (!data) return false;
    if (m_frame) m_frame->ShowWaitCursor(true);
    PushUndoState();
    // RTF always goes into the body, in place of its selection.
    m_formatState->SetFocusObject(m_body.get());
    if (m_body->HasSelection()) m_body->DeleteSelection();
    plat::MemFile in(*data);
    RunImporter(*rtf, *this, in, ImportMode::kPaste);
    if (m_frame) m_frame->ShowWaitCursor(false);
    m_body->BuildPageRegions();
    m_body->RelayoutWhole();
    SetModified(true);
    ScrollToCaret();
    RequestRepaint();
    return true;
}

namespace {

// A text file's characters: UTF-16LE after its 0xFF 0xFE mark, else code page 936.
plat::String DecodeTextFile(plat::File& file)
{
    std::string bytes;
    char buffer[65536];
    for (std::size_t n; (n = file.Read(buffer, sizeof buffer)) > 0;) bytes.append(buffer, n);
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
        plat::String text;
        text.reserve((bytes.size() - 2) / 2);
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                 static_cast<unsigned char>(bytes[i + 1]) << 8));
        return text;
    }
    return plat::Cp936ToUtf16(bytes);
}

} // namespace

int CQlDoc::OpenText(const plat::String& path, bool readOnly)
{
    plat::File file;
    if (!file.TryOpen(path, plat::File::kRead)) return 0;
    const plat::String text = DecodeTextFile(file);
    if (m_frame) m_frame->StopIdleTimer();
    Reset();
    m_readOnly = readOnly ? 1 : 0;
    GoToBodyEnd();
    m_body->InsertItemsAtCaret(text);
    const CTextPos start = m_body->GetStartPos();
    m_body->SetSelection(start, start);
    m_body->BuildPageRegions();
    m_body->RelayoutWhole();
    return FinishOpen(true);
}

int CQlDoc::AppendText(const plat::String& path)
{
    if (!IsEditable()) return 0;
    plat::File file;
    if (!file.TryOpen(path, plat::File::kRead)) return 0;
    PauseAppendTimers();
    ClearUndo();
    const plat::String text = DecodeTextFile(file);
    GoToBodyEnd();
    m_body->InsertItemsAtCaret(u"\r");
    m_body->SetSelection(m_body->GetEndPos(), m_body->GetEndPos());
    m_body->InsertItemsAtCaret(text);
    return FinishAppend();
}
