#include "editor/ql_view.h"

#include <algorithm>

#include "document/doc_body.h"
#include "document/format_state.h"
#include "document/ql_doc.h"
#include "document/spell_error.h"
#include "document/text_flow.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/focus.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/message_queue.h"

namespace {

constexpr double kZooms[] = {2.0, 1.5, 1.25, 1.0, 0.75, 0.5, 0.25};
// The framework's wheel handling scrolls three lines a notch.
constexpr int kWheelLines = 3;

// a x b / c without overflow; 0 for c = 0.
int Scale(int a, int b, int c)
{
    return c == 0 ? 0 : static_cast<int>(std::int64_t(a) * b / c);
}

} // namespace

CQlView::CQlView(CDocFrame* frame, CCharWidthCache* widthCache) : m_frame(frame), m_widthCache(widthCache)
{
    OnCommandRange(kCmdZoomFirst, kCmdZoomLast, [this](unsigned id) { OnZoom(id); });
    // A suggestion of the context menu replaces the misspelt word it was offered for.
    OnCommandRange(kSpellSuggestionFirstId, kSpellSuggestionFirstId + CSpellError::kMaxSuggestions - 1,
                   [this](unsigned id) {
                       if (!m_doc || !m_doc->ChooseSpellSuggestion(static_cast<int>(id))) return;
                       m_cursors->SetCursorFor(1, true);
                       if (m_canvas) m_canvas->RequestRepaint();
                   });
}

CQlView::~CQlView()
{
    // The windows that show the document go before it, so that no paint or message of
    // theirs meets a document half gone.
    if (m_canvas) m_canvas->Destroy();
    m_canvas.reset();
    if (m_ruler) m_ruler->Destroy();
    m_ruler.reset();
    m_doc.reset();
    Destroy();
}

bool CQlView::CreateView(plat::Window* parent, const plat::Rect& rect, int id)
{
    SetBackground(kBackground);
    const unsigned style = plat::kWsChild | plat::kWsVisible | plat::kWsClipSiblings | plat::kWsClipChildren |
                           plat::kWsHScroll | plat::kWsVScroll;
    if (!Create(parent, rect, style, id, plat::kWsExClientEdge)) return false;
    OnInitialUpdate();
    ResetScroll();
    return true;
}

void CQlView::OnInitialUpdate()
{
    SetScrollSizes(plat::Size(100, 100), RectSize(GetClientRect()));
    m_divisor = 1;
    m_rulerShown = 1;
    m_doc = std::make_unique<CQlDoc>(this, m_frame);
    if (m_widthCache) m_doc->SetWidthCache(m_widthCache);
    m_doc->Reset();
    plat::Window* parent = GetParent();
    m_canvas = std::make_unique<CQlCanvas>(this, m_doc.get());
    m_canvas->Create(parent, plat::Rect(0, 0, 1, 1), plat::kWsChild | plat::kWsVisible | plat::kWsClipSiblings,
                     CQlCanvas::kControlId);
    m_ruler = std::make_unique<CQlRuler>(m_doc.get());
    m_ruler->Create(parent, plat::Rect(0, 0, 1, 1), plat::kWsChild | plat::kWsVisible | plat::kWsClipChildren,
                    CQlRuler::kControlId);
}

void CQlView::ShowRuler(bool show)
{
    m_rulerShown = show ? 1 : 0;
    if (m_ruler) m_ruler->ShowWindow(show ? plat::kSwShow : plat::kSwHide);
    Rescale();
}

void CQlView::ResetScroll()
{
    SetScrollSizes(plat::Size(100, 100), RectSize(GetClientRect()));
    SetScrollPos(plat::kSbHorz, 0);
    SetScrollPos(plat::kSbVert, 0);
    m_divisor = 1;
    LayoutChildren();
    LayoutChildren();
}

plat::Size CQlView::GetDocExtent() const
{
    if (!m_doc) return plat::Size();
    const plat::Size twips = m_doc->GetTotalExtent();
    return plat::Size(m_doc->TwipsToPixels(twips.cx), m_doc->TwipsToPixels(twips.cy));
}

void CQlView::SetScrollSizes(plat::Size total, plat::Size page)
{
    m_total = total;
    m_page = page;
    for (int bar : {plat::kSbHorz, plat::kSbVert}) {
        plat::ScrollInfo info = GetScrollInfo(bar);
        info.min = 0;
        info.max = std::max(0, (bar == plat::kSbHorz ? total.cx : total.cy) - 1);
        info.page = static_cast<unsigned>(std::max(0, bar == plat::kSbHorz ? page.cx : page.cy));
        SetScrollInfo(bar, info, plat::kSifRange | plat::kSifPage);
    }
}

void CQlView::UpdateScrollSizes()
{
    const plat::Rect client = GetClientRect();
    const int width = client.Width();
    const int g = GetRulerHeight();
    // A view lower than the ruler still shows one row of the desk.
    const int height = std::max(1, client.Height() - g);
    const plat::Size extent = GetDocExtent();
    m_divisor = std::max(1, static_cast<int>((std::int64_t(extent.cy) + kMaxVerticalRange - 1) / kMaxVerticalRange));
    const std::int64_t cy = g + (std::int64_t(extent.cy) + std::int64_t(height) * (m_divisor - 1)) / m_divisor;
    SetScrollSizes(plat::Size(extent.cx, static_cast<int>(cy)), plat::Size(width, height));
}

plat::Point CQlView::ToParent(plat::Point client) const
{
    const plat::Point screen = ClientToScreen(client);
    return GetParent() ? GetParent()->ScreenToClient(screen) : screen;
}

void CQlView::LayoutChildren()
{
    const plat::Rect client = GetClientRect();
    const int width = client.Width();
    const int height = client.Height();
    if (width <= 0 || height <= 0) return;
    UpdateScrollSizes();
    const int g = GetRulerHeight();
    const plat::Size extent = GetDocExtent();
    const int w = std::max(1, std::min(width, extent.cx));
    const int h = std::max(1, std::min(height - g, extent.cy));
    const int x = std::max(0, (width - w) / 2);
    const int y = std::max(g, (height - h) / 2);
    if (m_canvas && m_canvas->IsCreated()) {
        const plat::Point at = ToParent(plat::Point(x, y));
        m_canvas->Place(at.x, at.y, w, h);
    }
    if (m_ruler && m_ruler->IsCreated()) {
        const plat::Point at = ToParent(plat::Point(0, 0));
        m_ruler->SetWindowPos(plat::Rect(at.x, at.y, at.x + width, at.y + CQlRuler::kHeight), 0);
    }
}

void CQlView::Rescale()
{
    const plat::Size before = GetTotalSize();
    if (before.cx == 0 || before.cy == 0) return;
    const plat::Point position = GetScrollPosition();
    LayoutChildren();
    const plat::Size after = GetTotalSize();
    ScrollToDocPosition(
        plat::Point(Scale(position.x, after.cx, before.cx), Scale(position.y, after.cy, before.cy)));
}

plat::Point CQlView::GetScrollUnitPosition() const
{
    return plat::Point(GetScrollPos(plat::kSbHorz), GetScrollPos(plat::kSbVert));
}

plat::Point CQlView::GetScrollPosition()
{
    const plat::Point p = GetScrollUnitPosition();
    return plat::Point(p.x, p.y * m_divisor);
}

plat::Size CQlView::GetTotalSize() const
{
    return plat::Size(m_total.cx, m_total.cy * m_divisor);
}

plat::Point CQlView::ToScrollUnits(plat::Point docPixels) const
{
    return plat::Point(docPixels.x, docPixels.y / m_divisor);
}

void CQlView::ScrollToDocPosition(plat::Point docPixels)
{
    ScrollToPosition(ToScrollUnits(docPixels));
}

void CQlView::ScrollToPosition(plat::Point scrollUnits)
{
    const plat::Point before = GetScrollUnitPosition();
    SetScrollPos(plat::kSbHorz, scrollUnits.x);
    SetScrollPos(plat::kSbVert, scrollUnits.y);
    // The canvas is a window of its own: it shows the new part of the desk by painting.
    if (m_canvas && GetScrollUnitPosition() != before) m_canvas->Invalidate(false);
}

double CQlView::ZoomForCommand(unsigned id)
{
    if (id < kCmdZoomFirst || id > kCmdZoomLast) return 1.0;
    return kZooms[id - kCmdZoomFirst];
}

void CQlView::OnZoom(unsigned id)
{
    if (id < kCmdZoomFirst || id > kCmdZoomLast) return;
    CFormatState* state = m_doc ? m_doc->GetFormatState() : nullptr;
    const double zoom = ZoomForCommand(id);
    if (state && state->m_zoom != zoom) {
        state->m_zoom = zoom;
        const int heightBefore = GetTotalSize().cy;
        const int yBefore = GetScrollPosition().y;
        LayoutChildren();
        LayoutChildren();
        if (m_canvas) m_canvas->RequestRepaint();
        const int heightAfter = GetTotalSize().cy;
        ScrollToDocPosition(plat::Point(0, Scale(yBefore, heightAfter, heightBefore)));
    }
    if (m_zoomComboSelect) m_zoomComboSelect(static_cast<int>(id - kCmdZoomFirst));
}

void CQlView::ResetZoom()
{
    LayoutChildren();
    LayoutChildren();
    if (m_canvas) m_canvas->RequestRepaint();
    if (m_zoomComboSelect) m_zoomComboSelect(static_cast<int>(kCmdZoom100 - kCmdZoomFirst));
}

void CQlView::OnScroll(int bar, unsigned code, int thumbPos)
{
    if (m_canvas) m_canvas->RequestRepaint();
    if (m_doc && !m_doc->IsReferencePane()) plat::SetFocus(GetControlWindow());
    const std::optional<int> to =
        plat::NewScrollPos(GetScrollInfo(bar), code, thumbPos, bar == plat::kSbHorz ? m_line.cx : m_line.cy);
    if (!to) return;
    plat::Point p = GetScrollUnitPosition();
    (bar == plat::kSbHorz ? p.x : p.y) = *to;
    ScrollToPosition(p);
}

void CQlView::OnMouseWheel(int delta)
{
    const plat::ScrollInfo info = GetScrollInfo(plat::kSbVert);
    const int to = info.Clamp(info.pos - delta);
    plat::SendMessage(this, plat::kWmVScroll, plat::MakeWParam(plat::kSbThumbTrack, static_cast<unsigned>(to)));
    plat::SendMessage(this, plat::kWmVScroll, plat::MakeWParam(plat::kSbThumbPosition, static_cast<unsigned>(to)));
    plat::SendMessage(this, plat::kWmVScroll, plat::MakeWParam(plat::kSbEndScroll, 0));
    // The framework's own wheel scrolling follows, unless Ctrl or Shift is held.
    if (plat::HeldModifiers() & (plat::kModCtrl | plat::kModShift)) return;
    const int lines = -delta * kWheelLines / plat::kWheelDelta;
    ScrollToPosition(plat::Point(GetScrollPos(plat::kSbHorz), GetScrollPos(plat::kSbVert) + lines * m_line.cy));
}

plat::Window* CQlView::GetMenuOwner()
{
    return m_menuOwner ? m_menuOwner : GetTopLevel();
}

plat::LResult CQlView::WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam)
{
    switch (message) {
    case plat::kWmSize: {
        const plat::LResult r = DefWindowProc(message, wParam, lParam);
        if (plat::LoWord(static_cast<plat::WParam>(lParam)) && plat::HiWord(static_cast<plat::WParam>(lParam)) && m_doc)
            Rescale();
        return r;
    }
    case plat::kWmHScroll:
    case plat::kWmVScroll:
        OnScroll(message == plat::kWmHScroll ? plat::kSbHorz : plat::kSbVert, plat::LoWord(wParam),
                 static_cast<int>(plat::HiWord(wParam)));
        return 0;
    case plat::kWmMouseWheel:
        OnMouseWheel(plat::WheelDelta(wParam));
        return 0;
    default:
        return DefWindowProc(message, wParam, lParam);
    }
}

// ---- CDocView ----

plat::Window* CQlView::GetControlWindow()
{
    return m_controlWindow ? m_controlWindow : m_canvas.get();
}

void CQlView::RepaintCanvas()
{
    if (m_canvas) m_canvas->RequestRepaint();
}

void CQlView::ScrollToCaret()
{
    if (m_canvas) m_canvas->ScrollToCaret();
}

plat::Size CQlView::GetCanvasClientSize()
{
    return m_canvas ? RectSize(m_canvas->GetClientRect()) : plat::Size();
}

void CQlView::ScrollToPoint(plat::Point point)
{
    if (m_canvas) m_canvas->ScrollToPoint(point);
}

void CQlView::SetHitCursor(std::uint8_t hitCode)
{
    m_cursors->SetCursorFor(hitCode, false);
}

bool CQlView::OpenClipboard()
{
    return plat::OpenClipboard(this);
}

void CQlView::CloseClipboard()
{
    plat::CloseClipboard();
}

bool CQlView::IsClipboardFormatAvailable(plat::StringView formatName)
{
    return plat::IsClipboardFormatAvailable(plat::RegisterClipboardFormat(formatName));
}

bool CQlView::EmptyClipboard()
{
    return plat::EmptyClipboard();
}

bool CQlView::SetClipboardData(plat::StringView formatName, std::vector<std::uint8_t> bytes)
{
    return plat::SetClipboardData(plat::RegisterClipboardFormat(formatName), std::move(bytes));
}

std::optional<std::vector<std::uint8_t>> CQlView::GetClipboardData(plat::StringView formatName)
{
    return plat::GetClipboardData(plat::RegisterClipboardFormat(formatName));
}
