#include "document/format_state.h"

#include <cmath>

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

void CFormatState::SyncToolbar()
{
    // The format bar and the ruler live in the frame window, which a document gets from
    // its view; without a frame there is nothing to keep in step.
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
