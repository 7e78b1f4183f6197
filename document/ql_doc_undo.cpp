// The document's undo and redo: snapshots pushed before each edit, restored newest first.
#include <memory>

#include "document/doc_body.h"
#include "document/format_state.h"
#include "document/ql_doc.h"
#include "document/undo_stack.h"

namespace {

// Reads the range start and end name of a snapshot from its beginning.
void ReadSnapshotRange(plat::MemFile& file, std::int32_t& start, plat::String& endName)
{
    file.Seek(0, plat::Stream::kBegin);
    plat::Archive ar(file, plat::Archive::kLoad);
    undo_range::ReadUndoRangeHeader(ar, start, endName);
}

} // namespace

void CQlDoc::PushUndoState(int p, int q)
{
    if (!m_body || !m_formatState) return;
    auto file = std::make_unique<plat::MemFile>();
    {
        plat::Archive ar(*file, plat::Archive::kStore);
        undo_range::SaveUndoRange(*m_body, ar, p, q);
        m_formatState->Save(ar, kArchiveUndo);
        ar.Flush();
    }
    m_undo.Push(std::move(file));
}

void CQlDoc::SaveRedoState()
{
    plat::MemFile* top = m_undo.At(m_undo.Top());
    if (!top || !m_body || !m_formatState) return;
    std::int32_t start = 0;
    plat::String endName;
    ReadSnapshotRange(*top, start, endName);
    auto file = std::make_unique<plat::MemFile>();
    {
        plat::Archive ar(*file, plat::Archive::kStore);
        undo_range::WriteUndoRange(*m_body, ar, start, endName);
        m_formatState->Save(ar, kArchiveUndo);
        ar.Flush();
    }
    m_undo.PutRedo(std::move(file));
}

void CQlDoc::RestoreSnapshot(int slot)
{
    plat::MemFile* file = m_undo.At(slot);
    if (!file || !m_body || !m_formatState) return;
    file->Seek(0, plat::Stream::kBegin);
    plat::Archive ar(*file, plat::Archive::kLoad);

    CTextFlow* oldFocus = m_formatState->GetFocusObject();
    // The snapshot's format state is read before anything changes, so that a record that
    // does not read leaves the document as it was.
    CFormatState loaded(this);
    loaded.m_zoom = m_formatState->m_zoom;
    m_formatState->SetFocusObject(nullptr);
    try {
        undo_range::RestoreUndoRange(*m_body, ar, [&](plat::Archive& tail) {
            loaded.Load(tail, kArchiveUndo);
            // Spelling records point into the items and object flows about to go; the
            // next check marks the words again.
            m_spellErrors.RemoveAll();
        });
    } catch (...) {
        m_formatState->SetFocusObject(oldFocus);
        throw;
    }
    // The zoom of the snapshot comes back with the formats and the cells.
    m_formatState->m_charFormat = loaded.m_charFormat;
    m_formatState->m_paraFormat = loaded.m_paraFormat;
    m_formatState->m_currentCell = loaded.m_currentCell;
    m_formatState->m_rangeEndCell = loaded.m_rangeEndCell;
    m_formatState->m_verticalAlign = loaded.m_verticalAlign;
    m_formatState->m_zoom = loaded.m_zoom;
    SetModified();
    RequestRepaint();
    ScrollToCaret();
}

void CQlDoc::EditUndo()
{
    if (!CanUndo()) return;
    SaveRedoState();
    RestoreSnapshot(m_undo.Top());
    m_undo.SetTop(m_undo.Top() - 1);
}

void CQlDoc::EditRedo()
{
    if (!CanRedo()) return;
    const int top = m_undo.Top() + 1;
    RestoreSnapshot(top + 1);
    m_undo.SetTop(top);
}
