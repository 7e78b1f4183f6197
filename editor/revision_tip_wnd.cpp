#include "editor/revision_tip_wnd.h"

#include "document/author_list.h"
#include "document/doc_context.h"
#include "document/text_item.h"
#include "editor/author_list_dialog.h"
#include "platform/gfx/pen_brush.h"

CRevisionTipWnd::~CRevisionTipWnd() { Destroy(); }

bool CRevisionTipWnd::Create(plat::Window* parent)
{
    return plat::Window::Create(parent, plat::Rect(0, kTop, kWidth, kTop + kHeight), plat::kWsChild, kId);
}

void CRevisionTipWnd::Update(const CDocContext& doc, int x, int y, const CTextItem* item, plat::Point scroll)
{
    const CAuthorList& authors = doc.GetAuthors();
    if (authors.IsSingleAuthor()) return;
    if (!doc.IsRevisionsShown()) {
        ShowWindow(plat::kSwHide);
        return;
    }
    if (!item) {
        if (m_kind != kNone) {
            m_kind = kNone;
            ShowWindow(plat::kSwHide);
        }
        return;
    }
    const std::int32_t firstId = authors.GetFirst() ? authors.GetFirst()->m_id : 0;
    auto otherAuthor = [&](int index) {
        const CAuthor* a = authors.GetAt(index);
        return index != 0 && a && a->m_id != firstId;
    };
    const CCharFormat& format = item->GetFormat();
    Kind kind = kNone;
    std::int16_t author = 0;
    if (otherAuthor(format.m_deletedBy)) {
        kind = kDeletion;
        author = format.m_deletedBy;
    } else if (otherAuthor(format.m_insertedBy)) {
        kind = kInsertion;
        author = format.m_insertedBy;
    }
    const std::int32_t time = item->GetTime();
    if (kind == m_kind && author == m_author && time == m_time) return;
    m_doc = &doc;
    m_kind = kind;
    m_author = author;
    m_time = time;
    if (kind == kNone) {
        ShowWindow(plat::kSwHide);
        return;
    }
    const plat::Point at = doc.TwipsToPixelsPoint(x, y) - scroll;
    int top = at.y - 20;
    if (top < 0) top = 80;
    SetWindowPos(plat::Rect(at.x, top, at.x + kWidth, top + kHeight), plat::kSwpShowWindow | plat::kSwpNoZOrder);
    Invalidate();
    UpdateWindow();
}

void CRevisionTipWnd::GetLines(const CDocContext& doc, plat::String lines[3]) const
{
    const CAuthor* author = doc.GetAuthors().GetAt(m_author);
    lines[0] = plat::String(u"作者：") + (author ? author->m_name : plat::String());
    lines[1] = m_kind == kDeletion ? u"操作：删除" : u"操作：插入";
    lines[2] = plat::String(u"时间：") + FormatAuthorTime(m_time);
}

plat::LResult CRevisionTipWnd::WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam)
{
    if (message != plat::kWmPaint) return DefWindowProc(message, wParam, lParam);
    plat::PaintDc dc(*this);
    if (m_kind == kNone || !m_doc) return 0;
    const plat::Rect client = GetClientRect();
    const plat::Pen pen(plat::kPenSolid, 1, kFrameColor);
    const plat::Brush brush = plat::Brush::Solid(kBackColor);
    dc.Select(&pen);
    dc.Select(&brush);
    dc.Rectangle(client.left, client.top, client.right, client.bottom);
    plat::FontDesc desc;
    desc.face = u"宋体";
    desc.height = 12;
    const plat::Font font(desc);
    dc.Select(&font);
    dc.SetBkMode(plat::kTransparent);
    dc.SetTextColor(kTextColor);
    plat::String lines[3];
    GetLines(*m_doc, lines);
    dc.TextOut(4, 6, lines[0]);
    dc.TextOut(4, 20, lines[1]);
    dc.TextOut(4, 34, lines[2]);
    return 0;
}
