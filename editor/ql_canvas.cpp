#include "editor/ql_canvas.h"

#include <algorithm>
#include <array>
#include <memory>

#include "document/doc_body.h"
#include "document/doc_node.h"
#include "document/float_object.h"
#include "document/format_state.h"
#include "document/ql_doc.h"
#include "document/text_flow.h"
#include "editor/ql_view.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/pen_brush.h"
#include "platform/gfx/raster_ops.h"
#include "platform/ui/focus.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/menu.h"
#include "platform/ui/message_queue.h"

namespace {

// The page's shadow lies this far right and down.
constexpr int kShadowOffset = 5;
// The corner marks are this long at zoom 1.0, in pixels.
constexpr double kCornerMark = 20.0;
// Page Up and Page Down move by four fifths of the view's height.
constexpr int kPageMoveNumerator = 4;
constexpr int kPageMoveDenominator = 5;

// The scroll message's position travels in 16 bits.
plat::WParam ScrollWParam(unsigned code, int position)
{
    return plat::MakeWParam(code, static_cast<unsigned>(std::clamp(position, 0, 0xFFFF)));
}

// The four L-shaped marks outside the corners of the text area, m pixels long.
void DrawCornerMarks(plat::Dc& dc, const plat::Rect& t, int m)
{
    const std::array<std::array<plat::Point, 3>, 4> marks{{
        {plat::Point(t.left, t.top - m), plat::Point(t.left, t.top), plat::Point(t.left - m, t.top)},
        {plat::Point(t.left, t.bottom + m), plat::Point(t.left, t.bottom), plat::Point(t.left - m, t.bottom)},
        {plat::Point(t.right, t.top - m), plat::Point(t.right, t.top), plat::Point(t.right + m, t.top)},
        {plat::Point(t.right, t.bottom + m), plat::Point(t.right, t.bottom), plat::Point(t.right + m, t.bottom)},
    }};
    for (const auto& mark : marks) dc.Polyline(mark);
}

} // namespace

CQlCanvas::CQlCanvas(CQlView* view, CQlDoc* doc) : m_view(view), m_doc(doc) {}

CQlCanvas::~CQlCanvas()
{
    Destroy();
}

void CQlCanvas::Place(int x, int y, int w, int h)
{
    m_placement = plat::Rect(x, y, x + w, y + h);
    SetWindowPos(m_placement, 0);
}

plat::Point CQlCanvas::GetScrollOffset() const
{
    return m_view ? m_view->GetScrollPosition() : plat::Point();
}

plat::Point CQlCanvas::ClientToDoc(plat::Point point) const
{
    const plat::Point offset = GetScrollOffset();
    return plat::Point(point.x + offset.x, point.y + offset.y);
}

void CQlCanvas::RequestRepaint()
{
    CDocBody* body = m_doc ? m_doc->GetBody() : nullptr;
    if (body && body->PageCountChanged() && m_view) m_view->Rescale();
    if (!IsCreated()) return;
    Invalidate(false);
    plat::PostMessage(this, plat::kWmPaint);
}

bool CQlCanvas::ScrollToCaret()
{
    if (!m_doc || !m_doc->GetFormatState()) return false;
    CTextFlow* focus = m_doc->GetFormatState()->GetFocusObject();
    if (!focus) return false;
    const plat::Point twips = focus->GetItemPagePos(focus->GetCaretPos());
    ScrollToPoint(m_doc->TwipsToPixelsPoint(twips.x, twips.y));
    return true;
}

void CQlCanvas::ScrollViewTo(unsigned message, int position)
{
    plat::SendMessage(m_view, message, ScrollWParam(plat::kSbThumbTrack, position));
    plat::SendMessage(m_view, message, ScrollWParam(plat::kSbThumbPosition, position));
    plat::SendMessage(m_view, message, ScrollWParam(plat::kSbEndScroll, 0));
}

void CQlCanvas::ScrollViewToEnd(unsigned message, unsigned code)
{
    plat::SendMessage(m_view, message, ScrollWParam(code, 0));
    plat::SendMessage(m_view, message, ScrollWParam(plat::kSbEndScroll, 0));
}

void CQlCanvas::ScrollToPoint(plat::Point point)
{
    if (m_view && m_view->GetDocument()) {
        const int divisor = m_view->GetDivisor();
        const plat::Size client = RectSize(m_view->GetClientRect());
        const plat::Point page = m_view->ToScrollUnits(plat::Point(client.cx, client.cy));
        const plat::Point current = m_view->GetScrollUnitPosition();
        const plat::Size extent = m_view->GetScrollTotal();
        const int d = kScrollMargin / divisor;
        const plat::Point p = m_view->ToScrollUnits(point);

        // Vertically the point stays a margin from the top and the bottom.
        if (p.y < 2 * d) {
            if (current.y != 0) ScrollViewToEnd(plat::kWmVScroll, plat::kSbTop);
        } else if (p.y >= current.y && p.y - d >= current.y) {
            if (p.y + 2 * d < extent.cy) {
                if (current.y + page.y < p.y + 2 * d) ScrollViewTo(plat::kWmVScroll, p.y + 2 * d - page.y);
            } else {
                ScrollViewToEnd(plat::kWmVScroll, plat::kSbBottom);
            }
        } else {
            ScrollViewTo(plat::kWmVScroll, p.y - d);
        }

        // Horizontally a margin from the left edge and two from the right.
        const int right = 2 * kScrollMargin;
        if (p.x <= kScrollMargin) {
            if (current.x != 0) ScrollViewToEnd(plat::kWmHScroll, plat::kSbLeft);
        } else if (p.x < current.x || p.x - kScrollMargin < current.x) {
            ScrollViewTo(plat::kWmHScroll, p.x - kScrollMargin);
        } else if (p.x + right < extent.cx) {
            if (current.x + page.x < p.x + right) ScrollViewTo(plat::kWmHScroll, p.x - page.x + right);
        } else {
            ScrollViewToEnd(plat::kWmHScroll, plat::kSbRight);
        }
    }
    RequestRepaint();
}

bool CQlCanvas::CanPaste() const
{
    // The page format is left to the frame's paste command.
    const int kind = m_doc ? m_doc->GetClipboardPasteKind() : 0;
    return kind != 0 && m_doc->CanPasteFormat(kind);
}

void CQlCanvas::SetGuide(bool shown, int x)
{
    m_guide = shown ? 1 : 0;
    m_guideX = x;
}

bool CQlCanvas::IsEditable() const
{
    return m_doc && !m_doc->IsReadOnly() && !m_doc->IsReferencePane();
}

plat::LResult CQlCanvas::WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam)
{
    switch (message) {
    case plat::kWmPaint:
        OnPaint();
        return 0;
    case plat::kWmKeyDown:
        OnKeyDown(static_cast<int>(wParam));
        return 0;
    case plat::kWmChar:
        OnChar(static_cast<char16_t>(wParam));
        return 0;
    case plat::kWmLButtonDown:
        OnLButtonDown(plat::PointFromLParam(lParam), static_cast<unsigned>(wParam));
        return 0;
    case plat::kWmMouseMove:
        OnMouseMove(plat::PointFromLParam(lParam));
        return 0;
    case plat::kWmLButtonUp:
        OnLButtonUp(plat::PointFromLParam(lParam));
        return 0;
    case plat::kWmLButtonDblClk:
        OnLButtonDblClk(plat::PointFromLParam(lParam));
        return 0;
    case plat::kWmRButtonDown:
        OnRButtonDown(plat::PointFromLParam(lParam));
        return 0;
    case plat::kWmSetCursor:
        // Over the canvas the document's mouse handling sets the cursor; elsewhere the arrow.
        if (reinterpret_cast<plat::Window*>(wParam) != this && m_view) m_view->GetCursorSet().SetCursorFor(0, true);
        return 1;
    case plat::kWmMouseWheel:
        if (m_view) m_view->OnMouseWheel(plat::WheelDelta(wParam));
        return 0;
    default:
        return DefWindowProc(message, wParam, lParam);
    }
}

void CQlCanvas::OnPaint()
{
    // RequestRepaint posts a paint besides invalidating, and an edit asks more than once:
    // a paint that finds nothing left to paint draws nothing.
    if (!NeedsPaint()) return;
    plat::PaintDc dc(*this);
    const plat::Rect client = GetClientRect();
    const int w = client.Width();
    const int h = client.Height();
    CDocBody* body = m_doc ? m_doc->GetBody() : nullptr;
    // One off-screen bitmap of the canvas's size, kept from paint to paint.
    if (!m_offscreen || m_offscreen->Width() != w || m_offscreen->Height() != h)
        m_offscreen = w > 0 && h > 0 ? plat::Bitmap::Create(w, h) : nullptr;
    plat::Bitmap* bitmap = m_offscreen.get();
    if (!body || !bitmap) return;
    const plat::Point scroll = GetScrollOffset();
    const double zoom = m_doc->GetZoom();

    plat::MemoryDc mem(&dc);
    mem.Select(bitmap);
    bitmap->Fill(kDeskColor);
    const plat::Brush page = plat::Brush::Solid(IsEditable() ? kPageColor : kReadOnlyPageColor);
    const plat::Brush shadow = plat::Brush::Solid(0);
    const plat::Pen markPen(plat::kPenSolid, 1, kDeskColor);
    const int markLength = static_cast<int>(zoom * kCornerMark);

    for (int i = 0; i < body->GetPageCount(); ++i) {
        plat::Rect r = m_doc->TwipsToPixelsRect(m_doc->GetPageRect(i));
        r.Offset(-scroll.x, -scroll.y);
        if (r.bottom < 0) continue;
        if (r.top >= h) break;
        plat::Rect s = r;
        s.Offset(kShadowOffset, kShadowOffset);
        mem.FillRect(s, shadow);
        mem.FillRect(r, page);
        plat::Rect t = m_doc->TwipsToPixelsRect(m_doc->GetPageTextRect(i));
        t.Offset(-scroll.x, -scroll.y);
        const plat::Pen* old = mem.Select(&markPen);
        DrawCornerMarks(mem, t, markLength);
        mem.Select(old);
        m_doc->DrawPageDecorations(mem, i, zoom, r.left, r.top);
    }

    // The visible part of the desk, in twips: spelling marks and drawing keep to it.
    const plat::Rect visible(m_doc->PixelsToTwips(scroll.x), m_doc->PixelsToTwips(scroll.y),
                             m_doc->PixelsToTwips(scroll.x + w), m_doc->PixelsToTwips(scroll.y + h));
    if (m_doc->GetSpellMarks() && IsEditable()) body->SpellCheckRange(visible.top, visible.bottom);
    body->DrawPage(mem, zoom, -scroll.x, -scroll.y, CQlDoc::kDrawScreen, visible);
    body->DrawCaret(mem, zoom, -scroll.x, -scroll.y);

    plat::BitBlt(dc, 0, 0, w, h, &mem, 0, 0, plat::kSrcCopy);
    mem.Select(static_cast<plat::Bitmap*>(nullptr));

    if (m_guide) {
        const plat::Pen guide(plat::kPenDot, 1, kDeskColor);
        const plat::Pen* old = dc.Select(&guide);
        dc.MoveTo(m_guideX, 0);
        dc.LineTo(m_guideX, h);
        dc.Select(old);
    }
}

void CQlCanvas::OnKeyDown(int key)
{
    CDocBody* body = m_doc ? m_doc->GetBody() : nullptr;
    if (!body) return;
    const unsigned held = plat::HeldModifiers();
    const bool shift = (held & plat::kModShift) != 0;
    const bool ctrl = (held & plat::kModCtrl) != 0;
    auto pageMove = [&] {
        const int height = m_view ? m_view->GetClientRect().Height() : GetClientRect().Height();
        return m_doc->PixelsToTwips(height * kPageMoveNumerator / kPageMoveDenominator);
    };
    switch (key) {
    case plat::kVkBack:
        if (IsEditable() && m_doc->CanBackspace()) m_doc->Backspace();
        break;
    case plat::kVkTab:
        if (IsEditable()) body->OnKeyTab(shift);
        break;
    case plat::kVkPrior: body->MoveUpBy(shift, pageMove()); break;
    case plat::kVkNext: body->MoveDownBy(shift, pageMove()); break;
    case plat::kVkEnd: ctrl ? body->OnKeyCtrlEnd(shift) : body->OnKeyEnd(shift); break;
    case plat::kVkHome: ctrl ? body->OnKeyCtrlHome(shift) : body->OnKeyHome(shift); break;
    case plat::kVkLeft: body->OnKeyLeft(shift); break;
    case plat::kVkUp: body->OnKeyUp(shift); break;
    case plat::kVkRight: body->OnKeyRight(shift); break;
    case plat::kVkDown: body->OnKeyDown(shift); break;
    case plat::kVkDelete:
        if (IsEditable() && m_doc->CanDelete()) m_doc->EditDelete();
        break;
    default: break;
    }
}

void CQlCanvas::FollowCreate(CQlDoc::CreateMouse answer)
{
    switch (answer) {
    case CQlDoc::CreateMouse::kCapture: plat::SetCapture(this); break;
    case CQlDoc::CreateMouse::kRelease: plat::ReleaseCapture(); break;
    case CQlDoc::CreateMouse::kNone:
    case CQlDoc::CreateMouse::kKeep: break;
    }
    RequestRepaint();
}

void CQlCanvas::OnChar(char16_t code)
{
    if (!IsEditable()) return;
    if (m_doc->SelectionAcceptsText()) m_doc->InsertChar(code);
}

void CQlCanvas::OnLButtonDown(plat::Point client, unsigned keyFlags)
{
    if (!m_doc || !m_doc->GetFormatState()) return;
    if (m_view) {
        plat::SetFocus(m_view->GetControlWindow());
        if (m_view->GetRuler()) m_view->GetRuler()->Invalidate(true);
    }
    CFormatState& state = *m_doc->GetFormatState();
    if (state.GetCreationTracker()) {
        // The creation tool takes the press: it begins, goes on or ends its gesture.
        FollowCreate(m_doc->CreatePress(ClientToDoc(client)));
        return;
    }
    state.m_dragActive = 1;
    m_doc->OnLButtonDown(ClientToDoc(client), keyFlags);
    plat::HideCaret(this);
    plat::SetCapture(this);
}

void CQlCanvas::OnMouseMove(plat::Point client)
{
    if (!m_doc || !m_view || !m_doc->GetFormatState()) return;
    CFormatState& state = *m_doc->GetFormatState();
    if (state.GetCreationTracker()) {
        const plat::Point point = ClientToDoc(client);
        m_doc->CreateMove(point);
        ScrollToPoint(point);
        return;
    }
    const plat::Point point = ClientToDoc(client);
    m_doc->OnMouseMove(point);
    // Selecting or dragging past an edge scrolls along.
    if (state.m_dragActive) ScrollToPoint(point);
}

void CQlCanvas::OnLButtonUp(plat::Point client)
{
    if (!m_doc || !m_doc->GetFormatState()) return;
    CFormatState& state = *m_doc->GetFormatState();
    if (state.GetCreationTracker()) {
        FollowCreate(m_doc->CreateRelease(ClientToDoc(client)));
        return;
    }
    if (!state.m_dragActive) return;
    m_doc->OnLButtonUp(ClientToDoc(client));
    plat::ReleaseCapture();
    state.m_dragActive = 0;
    RequestRepaint();
}

void CQlCanvas::OnLButtonDblClk(plat::Point client)
{
    if (!m_doc || m_doc->IsReadOnly() || !m_doc->GetFormatState()) return;
    if (m_doc->GetFormatState()->GetCreationTracker()) {
        FollowCreate(m_doc->CreateDoubleClick(ClientToDoc(client)));
        return;
    }
    m_doc->OnLButtonDblClk(ClientToDoc(client));
}

void CQlCanvas::OnRButtonDown(plat::Point client)
{
    if (!m_doc || !m_doc->GetFormatState()) return;
    CFormatState& state = *m_doc->GetFormatState();
    // A right press while an object is being drawn cancels it.
    if (state.GetCreationTracker()) {
        FollowCreate(m_doc->CreateCancel());
        return;
    }
    plat::Menu menu;
    BuildContextMenu(client, menu);
    if (m_view) m_view->GetCursorSet().SetCursorFor(1, true);
    plat::TrackPopupMenu(menu, plat::kTpmLeftAlign, ClientToScreen(client), m_view ? m_view->GetMenuOwner() : this);
}

void CQlCanvas::BuildContextMenu(plat::Point client, plat::Menu& menu)
{
    auto item = [&menu](unsigned id, const char16_t* text, bool enabled = true) {
        menu.AppendItem(enabled ? plat::kMfString : plat::kMfGrayed, id, text);
    };
    if (m_doc->IsReferencePane()) {
        item(kCmdRefSelectAll, u"全选", m_doc->CanSelectAll());
        menu.AppendSeparator();
        item(kCmdRefCopy, u"复制", m_doc->CanCopy());
        return;
    }
    if (m_doc->IsReadOnly()) {
        item(kCmdSelectAll, u"全选", m_doc->CanSelectAll());
        menu.AppendSeparator();
        item(kCmdCopy, u"复制", m_doc->CanCopy());
        return;
    }
    // The suggestions for a misspelt word under the press come first.
    const int next = m_doc->OnRButtonDown(ClientToDoc(client), 0,
                                          [&menu](int position, int id, const plat::String& text) {
                                              menu.InsertItem(position, plat::kMfString, static_cast<unsigned>(id), text);
                                          });
    if (next > 0) menu.AppendSeparator();
    item(kCmdCut, u"剪切", m_doc->CanCut());
    item(kCmdCopy, u"复制", m_doc->CanCopy());
    item(kCmdPaste, u"粘贴", CanPaste());
    AppendSelectionItems(menu);
}

void CQlCanvas::AppendSelectionItems(plat::Menu& menu)
{
    auto item = [&menu](unsigned id, const char16_t* text, bool enabled = true) {
        menu.AppendItem(enabled ? plat::kMfString : plat::kMfGrayed, id, text);
    };
    auto findItems = [&] {
        menu.AppendSeparator();
        item(kCmdFind, u"查找", m_doc->CanFind());
        item(kCmdReplace, u"替换", m_doc->CanFind());
    };
    auto zOrder = [&] {
        menu.AppendSeparator();
        item(kCmdMoveUpLayer, u"上移一层");
        item(kCmdMoveDownLayer, u"下移一层");
        item(kCmdMoveToTop, u"移到顶层");
        item(kCmdMoveToBottom, u"移到底层");
        menu.AppendSeparator();
    };

    CDocBody& body = *m_doc->GetBody();
    const int selected = body.GetSelectedCount();
    if (selected == 0) {
        menu.AppendSeparator();
        item(kCmdSelectAll, u"全选", m_doc->CanSelectAll());
        findItems();
        menu.AppendSeparator();
        item(kCmdFont, u"字体...");
        menu.AppendSeparator();
        item(kCmdWordCount, u"字数统计...");
        return;
    }
    const CFloatObject* object = body.GetSelectedObject(0);
    const std::uint16_t type = selected == 1 ? object->GetNodeType() : std::uint16_t(kNodePlain);
    static const CMediaEditorQuery kNoEditors;
    const CMediaEditorQuery& editors = m_view ? m_view->GetMediaEditorQuery() : kNoEditors;
    const plat::String ext = selected == 1 ? object->GetExportExt() : plat::String();
    switch (type) {
    case kNodeTable:
        findItems();
        // The cell commands' own enable tests come with the table commands.
        menu.AppendSeparator();
        item(kCmdTableInsertRow, u"插入行");
        item(kCmdTableInsertCol, u"插入列");
        menu.AppendSeparator();
        item(kCmdTableDeleteRow, u"删除行");
        item(kCmdTableDeleteCol, u"删除列");
        menu.AppendSeparator();
        item(kCmdTableMerge, u"合并表格单元");
        item(kCmdTableSeparate, u"拆分表格单元");
        zOrder();
        item(kCmdObjectProperties, u"表格属性...");
        item(kCmdTableBorders, u"表格边框线...");
        menu.AppendSeparator();
        item(kCmdFont, u"字体...", m_doc->SelectionAcceptsFormat());
        break;
    case kNodeTextShape:
        findItems();
        zOrder();
        item(kCmdObjectProperties, u"对象属性...");
        menu.AppendSeparator();
        if (m_doc->SelectionAcceptsFormat()) item(kCmdFont, u"字体...");
        break;
    case kNodeImage:
    case kNodeAudio:
    case kNodeVideo: {
        // Media: their properties, then what the outside editors can open.
        struct MediaItems {
            std::uint16_t type;
            const char16_t* properties;
            const char16_t* edit;
            bool (CMediaEditorQuery::*canEdit)(plat::StringView) const;
        };
        static constexpr MediaItems kMedia[] = {
            {kNodeImage, u"图象属性...", u"图象编辑...", &CMediaEditorQuery::CanEditImage},
            {kNodeAudio, u"音频属性...", u"音频编辑...", &CMediaEditorQuery::CanEditAudio},
            {kNodeVideo, u"视频属性...", u"视频编辑...", &CMediaEditorQuery::CanEditVideo},
        };
        const MediaItems& m = *std::find_if(std::begin(kMedia), std::end(kMedia),
                                            [type](const MediaItems& k) { return k.type == type; });
        zOrder();
        item(kCmdObjectProperties, m.properties);
        if ((editors.*m.canEdit)(ext)) {
            menu.AppendSeparator();
            item(kCmdMediaEdit, m.edit);
        }
        if (type == kNodeImage && editors.CanEditImageAdv(ext)) {
            menu.AppendSeparator();
            item(kCmdImageEditAdvanced, u"Photoshop编辑...");
        }
        break;
    }
    default:
        zOrder();
        item(kCmdObjectProperties, u"对象属性...");
        break;
    }
}
