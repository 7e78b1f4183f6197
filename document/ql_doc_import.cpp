// Files of other formats, read by the readers registered with RegisterDocImporter: the
// document's steps around an open or an append, the read itself the reader's.
#include <new>

#include "document/doc_body.h"
#include "document/doc_importer.h"
#include "document/doc_frame.h"
#include "document/doc_view.h"
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

    auto restartTimers = [this] {
        if (m_frame) {
            m_frame->StartIdleTimer();
            m_frame->RestartAutosaveTimer();
        }
    };
    if (m_frame) {
        m_frame->StopIdleTimer();
        m_frame->PauseAutosaveTimer();
    }
    // The appended text starts a paragraph of its own after the body's last one.
    const CTextPos end = m_body->GetEndPos();
    m_body->SetSelection(end, end);
    m_body->DeselectAll();
    if (m_formatState) m_formatState->SetFocusObject(m_body.get());
    const int countBefore = m_body->GetCount();
    m_body->InsertItemsAtCaret(u"\r");
    m_body->SetSelection(m_body->GetEndPos(), m_body->GetEndPos());
    if (!RunImporter(*importer, *this, file, ImportMode::kAppend)) {
        // A reader refuses before it adds anything; the paragraph end made for it goes.
        if (m_body->GetCount() > countBefore) m_body->RemoveRange(countBefore - 1, countBefore);
        m_body->SetSelection(m_body->GetEndPos(), m_body->GetEndPos());
        restartTimers();
        RequestRepaint();
        return 0;
    }
    const CTextPos start = m_body->GetStartPos();
    m_body->SetSelection(start, start);
    m_body->BuildPageRegions();
    m_body->RelayoutWhole();
    restartTimers();
    ScrollToCaret();
    RequestRepaint();
    SetModified(true);
    return 1;
}
