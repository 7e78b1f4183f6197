#include "document/text_frame.h"

#include <algorithm>

#include "document/doc_context.h"
#include "document/float_object.h"
#include "document/format_state.h"
#include "document/line_layout.h"
#include "document/text_item.h"

namespace {

constexpr std::uint16_t kCaptionSize = 180; // captions write in 9 point

} // namespace

CTextFrameObj::CTextFrameObj(CDocContext* doc, CDocNode* parent, std::uint16_t type, int width, int height,
                             std::uint8_t alignment)
    : CTextFlow(doc, parent, type), m_width(width), m_height(height)
{
    m_paraFormat.m_align = alignment;
    m_paraFormat.m_spacing = 1;
    if (type == kNodeCaption) m_charFormat.m_size = kCaptionSize;
    if (width == 0 && height == 0) return; // filled by Load
    AppendFinalParaEnd();
    SetCaret(GetStartPos());
    RelayoutWhole();
}

CTextFrameObj::CTextFrameObj(CDocContext* doc, std::uint16_t type, int width, int height)
    : CTextFlow(doc, nullptr, type), m_width(width), m_height(height)
{
    m_paraFormat.m_align = kAlignLeft;
    m_paraFormat.m_spacing = 1;
    AppendFinalParaEnd();
    SetCaret(GetStartPos());
}

CTextFrameObj::~CTextFrameObj() = default;

void CTextFrameObj::Load(plat::Archive& ar, int mode)
{
    const std::int32_t width = ar.ReadI32();
    const std::int32_t height = ar.ReadI32();
    const std::int32_t contentHeight = ar.ReadI32();
    CTextFlow::Load(ar, mode);
    m_width = width;
    m_height = height;
    m_contentHeight = contentHeight;
}

void CTextFrameObj::Save(plat::Archive& ar, int mode)
{
    ar.WriteI32(m_width);
    ar.WriteI32(m_height);
    ar.WriteI32(m_contentHeight);
    CTextFlow::Save(ar, mode);
}

void CTextFrameObj::SetCharFormat(int fieldId, const CCharFormat& values)
{
    CTextFlow::SetCharFormat(fieldId, values);
    UpdateCaretFormat(0);
    RelayoutWhole();
}

void CTextFrameObj::SetAlignment(std::uint8_t alignment)
{
    m_paraFormat.m_align = alignment;
    RelayoutWhole();
}

void CTextFrameObj::SetLineSpacing(std::uint8_t spacing)
{
    m_paraFormat.m_spacing = spacing;
    RelayoutWhole();
}

void CTextFrameObj::UpdateCaretFormat(int take)
{
    if (take) {
        if (const CTextItem* item = CaretItem()) {
            m_charFormat = item->GetFormat();
            // What is typed next is new text, even beside text marked as deleted.
            m_charFormat.m_deletedBy = 0;
        }
    }
    CFormatState* state = GetDoc() ? GetDoc()->GetFormatState() : nullptr;
    if (!state) return;
    state->m_charFormat = m_charFormat;
    state->m_paraFormat = m_paraFormat;
    state->SyncToolbar();
}

void CTextFrameObj::DeleteSelection()
{
    CTextFlow::DeleteSelection();
    UpdateCaretFormat(1);
    RelayoutWhole();
}

void CTextFrameObj::OnDelete()
{
    CTextFlow::OnDelete();
    UpdateCaretFormat(1);
    RelayoutWhole();
    // A table cell's text shrinks to what it holds after a forward delete.
    if (GetNodeType() == kNodeTableCell) m_height = m_contentHeight;
}

void CTextFrameObj::OnBackspace()
{
    CTextFlow::OnBackspace();
    UpdateCaretFormat(1);
    RelayoutWhole();
}

void CTextFrameObj::Relayout(int /*all*/, int /*retry*/)
{
    // Placing a line takes the width of trailing and wrapped spaces away, so items left
    // unmeasured would break differently from a full layout; a frame's text is short, and
    // it is always measured and placed whole.
    CLineLayout layout(*this);
    const CColumnLayout out =
        layout.LayOutColumn(0, GetCount(), m_width, m_paraFormat.m_align, m_paraFormat.m_spacing);
    m_lineGap = out.gap;
    if (m_width <= 0) return; // not laid out
    m_lineBreaks = static_cast<std::int16_t>(std::min(out.lineBreaks, 0x7FFF));
    m_contentHeight = out.contentHeight;
    m_curLineTop = out.nextLineTop;
}

bool CTextFrameObj::FindNext(CFindState& state)
{
    if (!CTextFlow::FindNext(state)) return false;
    if (CFormatState* fs = GetDoc() ? GetDoc()->GetFormatState() : nullptr) fs->SetFocusObject(this);
    UpdateCaretFormat(1);
    return true;
}

CCaptionText::CCaptionText(CDocContext* doc, CDocNode* parent, plat::StringView caption, int width, int height,
                           std::uint8_t alignment)
    : CTextFrameObj(doc, parent, kNodeCaption, width, height, alignment)
{
    InsertItemsAtCaret(caption);
    SetCaret(GetCaretPos());
    // A caption that needs more than one line is set justified.
    if (m_lineBreaks != 0) SetAlignment(kAlignJustify);
}

CCaptionText::~CCaptionText() = default;

plat::Point CCaptionText::GetPageOrigin() const
{
    const auto* owner = dynamic_cast<const CFloatObject*>(GetParent());
    return owner ? owner->GetCaptionOrigin() : plat::Point();
}
