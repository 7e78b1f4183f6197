#include "document/format_state.h"

#include <cmath>

#include "document/doc_context.h"
#include "document/doc_frame.h"
#include "document/text_flow.h"

namespace {

using plat::ArchiveException;

void ReadCell(plat::Archive& ar, CCellPos& cell)
{
    std::int32_t row = ar.ReadI32();
    std::int32_t column = ar.ReadI32();
    // Cells index the table grid; no grid has a slot before the first.
    if (row < 0 || column < 0) throw ArchiveException(ArchiveException::kBadIndex, "cell position");
    cell = CCellPos(row, column);
}

void WriteCell(plat::Archive& ar, const CCellPos& cell)
{
    ar.WriteI32(cell.m_row);
    ar.WriteI32(cell.m_column);
}

} // namespace

CFormatState::CFormatState(CDocContext* doc) : CDocNode(nullptr, kNodePlain), m_charFormat(doc), m_doc(doc)
{
    SyncToolbar();
}

CFormatState::~CFormatState()
{
    DeleteCreationTracker();
}

void CFormatState::SetFocusObject(CTextFlow* flow)
{
    m_focus = flow;
    if (!flow) return;
    m_charFormat = flow->GetRunningCharFormat();
    m_paraFormat = flow->GetRunningParaFormat();
    // A table cell or a text shape also gives its vertical alignment; those flows come
    // with the tables and shapes.
    SyncToolbar();
}

namespace {

// Selects the item with the face when the current item names another face; with no such
// item, the fallback face when the list holds it. A combo with no current item is left
// alone.
void SyncFaceCombo(CFormatComboBox* combo, const plat::String& face, plat::StringView fallback)
{
    if (!combo || combo->GetCurSel() < 0) return;
    if (combo->GetItemText(combo->GetCurSel()) == face) return;
    int index = combo->FindItemText(face);
    if (index < 0) index = combo->FindItemText(fallback);
    if (index >= 0) combo->SetCurSel(index);
}

// Selects the first item whose size is the format's when the current one holds another;
// a size the list does not hold leaves the selection.
void SyncSizeCombo(CFormatComboBox* combo, int twips)
{
    if (!combo || combo->GetCurSel() < 0) return;
    if (combo->GetItemData(combo->GetCurSel()) == twips) return;
    const int index = combo->FindItemData(twips);
    if (index >= 0) combo->SetCurSel(index);
}

} // namespace

void CFormatState::SyncToolbar()
{
    // The format bar and the ruler belong to the frame; a document without one, or a
    // frame whose format bar has no combo windows, has nothing to keep in step.
    CDocFrame* frame = m_doc ? m_doc->GetFrame() : nullptr;
    if (!frame || !frame->GetFormatCombo(FormatCombo::kChineseFace)) return;
    SyncFaceCombo(frame->GetFormatCombo(FormatCombo::kChineseFace), m_charFormat.m_chineseFace, u"宋体");
    SyncFaceCombo(frame->GetFormatCombo(FormatCombo::kWesternFace), m_charFormat.m_westernFace, u"Times New Roman");
    SyncSizeCombo(frame->GetFormatCombo(FormatCombo::kSize), m_charFormat.m_size);
    if (frame->HasRuler())
        frame->SetRulerIndents(m_paraFormat.m_firstIndent, m_paraFormat.m_leftIndent, m_paraFormat.m_rightIndent);
}

void CFormatState::Save(plat::Archive& ar, int mode) const
{
    m_charFormat.Save(ar, mode);
    m_paraFormat.Save(ar, mode);
    WriteCell(ar, m_currentCell);
    WriteCell(ar, m_rangeEndCell);
    ar.WriteU8(m_verticalAlign);
    ar.WriteDouble(m_zoom);
}

void CFormatState::Load(plat::Archive& ar, int mode)
{
    CCharFormat charFormat(m_charFormat);
    charFormat.Load(ar, mode);
    CParaFormat paraFormat;
    paraFormat.Load(ar, mode);
    CCellPos current, rangeEnd;
    ReadCell(ar, current);
    ReadCell(ar, rangeEnd);
    std::uint8_t align = ar.ReadU8();
    double zoom = ar.ReadDouble();
    // Every twips/pixel conversion divides or multiplies by the zoom; only the view's
    // factors are ever set.
    if (!std::isfinite(zoom) || zoom < kZoomMin || zoom > kZoomMax)
        throw ArchiveException(ArchiveException::kBadIndex, "zoom");
    m_charFormat = charFormat;
    m_paraFormat = paraFormat;
    m_currentCell = current;
    m_rangeEndCell = rangeEnd;
    m_verticalAlign = align;
    m_zoom = zoom;
}
