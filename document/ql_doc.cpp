#include "document/ql_doc.h"

#include <atomic>
#include <optional>
#include <utility>
#include <vector>

#include "document/doc_body.h"
#include "document/doc_frame.h"
#include "document/doc_view.h"
#include "document/float_object.h"
#include "document/render_context.h"
#include "document/text_item.h"
#include "document/text_flow.h"
#include "platform/base/saturate.h"

namespace {

// Where the rules and the running head sit: this far above the text area, and the head
// this far above its upper rule.
constexpr int kHeaderGap = 52;
// Page paint: the page's top edge lies this far (1/96 inch) below the given y.
constexpr int kPageTopOffset = 8;
// Thickness of the lower and the upper rule (1/96 inch) and their least pixel counts.
constexpr int kLowerRule = 2;
constexpr int kUpperRule = 4;

std::atomic<bool> g_annotationHovered{false};

// Takes the object block off the open clipboard and keeps the rest. The clipboard offers
// no way to remove one format, so what the document knows is read, the clipboard emptied
// and the rest put back.
void DropObjectBlock(CDocView& view)
{
    static constexpr const char16_t* kKept[] = {kPageClipboardFormat,        kTextClipboardFormat,
                                                kUnitClipboardFormat,        kRtfClipboardFormat,
                                                kUnicodeTextClipboardFormat, kBitmapClipboardFormat};
    std::vector<std::pair<const char16_t*, std::vector<std::uint8_t>>> kept;
    for (const char16_t* format : kKept)
        if (std::optional<std::vector<std::uint8_t>> data = view.GetClipboardData(format))
            kept.emplace_back(format, std::move(*data));
    if (!view.EmptyClipboard()) return;
    for (auto& [format, data] : kept) view.SetClipboardData(format, std::move(data));
}

} // namespace

CQlDoc::CQlDoc(CDocView* view, CDocFrame* frame) : m_view(view), m_frame(frame)
{
    DesktopDpiX();
}

CQlDoc::~CQlDoc()
{
    m_spellErrors.RemoveAll();
    DeleteFormatState();
    m_header.reset();
    m_body.reset();
}

void CQlDoc::Reset()
{
    // New and every Open start with nothing to undo.
    ClearUndo();
    // The spelling records point into the body about to go.
    m_spellErrors.RemoveAll();
    DeleteFormatState();
    m_header.reset();
    m_body.reset();

    // An object block refers to this document's media stores, about to be emptied: it
    // goes. The RTF and the text the same copy left stand on their own and stay, so what
    // was copied still pastes into the next document (objects as their RTF: tables as
    // tables, the others as pictures).
    if (m_view && m_view->OpenClipboard()) {
        if (m_view->IsClipboardFormatAvailable(kBlockClipboardFormat)) DropObjectBlock(*m_view);
        m_view->CloseClipboard();
    }

    m_imageStore.RemoveAll();
    m_videoStore.RemoveAll();
    m_audioStore.RemoveAll();
    m_authors.RemoveAll();
    m_annotations.RemoveAll();

    m_revisionsPresent = 0;
    m_revisionsShown = 0;
    m_curAuthor = 0;
    m_annotationsShown = 1;
    m_referencePastes = 0;
    m_readOnly = 0;
    m_modified = 0;

    // In this order: the body makes itself the focus text of the new state and reads the
    // new header's page settings.
    MakeFormatState();
    m_header = std::make_unique<CDocHeader>(this);
    m_body = std::make_unique<CDocBody>(this);
}

CFormatState& CQlDoc::ResetFormatState()
{
    DeleteFormatState();
    return MakeFormatState();
}

void CQlDoc::DeleteFormatState()
{
    m_formatState = nullptr;
    m_ownFormatState.reset();
}

CFormatState& CQlDoc::MakeFormatState()
{
    auto state = std::make_unique<CFormatState>(this);
    m_formatState = state.get();
    m_ownFormatState = std::move(state);
    return *m_formatState;
}

// ---- selection ----

bool CQlDoc::SelectionAcceptsText() const
{
    const CFloatObject* first = m_body ? m_body->GetSelectedObject(0) : nullptr;
    return !first || first->IsEditingText();
}

bool CQlDoc::SelectionAcceptsFormat() const
{
    const CFloatObject* first = m_body ? m_body->GetSelectedObject(0) : nullptr;
    return !first || first->HasTextFocus();
}

void CQlDoc::RefreshFocusContainer(CTextFlow* text)
{
    if (!text) return;
    const std::uint16_t type = text->GetNodeType();
    if (type != kNodeTableCell && type != kNodeTextShape) return;
    // The object that holds the text: the nearest floating object above it.
    CFloatObject* object = nullptr;
    for (CDocNode* node = text->GetParent(); node && !object; node = node->GetParent())
        object = dynamic_cast<CFloatObject*>(node);
    auto* host = dynamic_cast<CTextHostObject*>(object);
    if (!host) return;
    if (type == kNodeTextShape) {
        host->RealignText();
        return;
    }
    const plat::Size grid = host->RelayoutGrid();
    if (grid.cx == object->m_width && grid.cy == object->m_height) return;
    object->m_width = grid.cx;
    object->m_height = grid.cy;
    object->RecalcLayout();
    if (CDocBody* body = object->GetBody()) {
        body->BuildPageRegions();
        body->RelayoutWhole();
    }
}

// ---- the view and the frame ----

plat::Window* CQlDoc::GetControlWindow() const
{
    return m_view ? m_view->GetControlWindow() : nullptr;
}

plat::Window* CQlDoc::GetCanvas() const
{
    return m_view ? m_view->GetCanvas() : nullptr;
}

void CQlDoc::ScrollToCaret() const
{
    if (m_view) m_view->ScrollToCaret();
}

void CQlDoc::RequestRepaint() const
{
    if (m_view) m_view->RepaintCanvas();
}

CHeadlessDocView& CQlDoc::OwnView()
{
    if (!m_ownView) m_ownView = std::make_unique<CHeadlessDocView>();
    if (!m_view) m_view = m_ownView.get();
    return *m_ownView;
}

void CQlDoc::SetScrollToCaret(std::function<void()> request)
{
    OwnView().m_onScrollToCaret = std::move(request);
}

void CQlDoc::SetRepaintRequest(std::function<void()> request)
{
    OwnView().m_onRepaint = std::move(request);
}

// ---- page settings ----

const CDocHeader& CQlDoc::SettingsHeader() const
{
    return m_header ? *m_header : CDocHeader::NewDocument();
}

CDocHeader& CQlDoc::WritableHeader()
{
    if (!m_header) m_header = std::make_unique<CDocHeader>(this);
    return *m_header;
}

CPageSettings CQlDoc::GetPageSettings() const
{
    const CDocHeader& h = SettingsHeader();
    CPageSettings s;
    GetPageGeometry(s.margins, s.paper);
    s.pageNumberFace = h.m_pageNumberFace;
    s.pageNumberSize = h.m_pageNumberSize;
    s.pageNumberStyle = h.m_pageNumberStyle;
    s.pageNumberOnFirst = h.m_pageNumberOnFirst;
    s.headerText = h.m_headerText;
    s.headerFace = h.m_headerFace;
    s.headerSize = h.m_headerSize;
    s.headerRule = h.m_headerRule;
    s.headerOnFirst = h.m_headerOnFirst;
    return s;
}

void CQlDoc::GetPageGeometry(plat::Rect& margins, plat::Size& paper) const
{
    margins = GetMargins();
    paper = GetPaperSize();
}

plat::Rect CQlDoc::GetMargins() const
{
    return SettingsHeader().GetMargins();
}

plat::Size CQlDoc::GetPaperSize() const
{
    return SettingsHeader().GetPaperSize();
}

void CQlDoc::SetPageSettings(const plat::Rect& margins, plat::Size paper)
{
    CDocHeader& h = WritableHeader();
    h.m_marginLeft = margins.left;
    h.m_marginTop = margins.top;
    h.m_marginRight = margins.right;
    h.m_marginBottom = margins.bottom;
    h.m_paperWidth = paper.cx;
    h.m_paperHeight = paper.cy;
}

void CQlDoc::SetDefaultTextColor(plat::ColorRef c)
{
    WritableHeader().m_defaultTextColor = c & 0xFFFFFF;
}

void CQlDoc::SetDefaultFillColor(plat::ColorRef c)
{
    WritableHeader().m_defaultFillColor = c & 0xFFFFFF;
}

// ---- geometry ----

int CQlDoc::GetPageCount() const
{
    return m_body ? m_body->GetPageCount() : 0;
}

plat::Size CQlDoc::GetPaperSizeTwips() const
{
    const plat::Size p = GetPaperSize();
    return plat::Size(MmToTwips(p.cx), MmToTwips(p.cy));
}

plat::Size CQlDoc::GetTotalExtent() const
{
    const plat::Size p = GetPaperSizeTwips();
    return plat::Size(plat::SaturateI32(std::int64_t(p.cx) + 2 * kDeskMargin),
                      plat::SaturateI32(std::int64_t(GetPageCount()) * (std::int64_t(p.cy) + kDeskMargin) + kDeskMargin));
}

plat::Rect CQlDoc::GetPageRect(int i) const
{
    const plat::Size p = GetPaperSizeTwips();
    const std::int64_t top = std::int64_t(i) * (p.cy + kDeskMargin) + kDeskMargin;
    return plat::Rect(kDeskMargin, plat::SaturateI32(top), plat::SaturateI32(std::int64_t(p.cx) + kDeskMargin),
                      plat::SaturateI32(top + p.cy));
}

plat::Rect CQlDoc::GetPageTextRect(int i) const
{
    const plat::Rect page = GetPageRect(i);
    const plat::Rect area = GetTextAreaRect();
    return plat::Rect(plat::SaturateI32(std::int64_t(page.left) + area.left), plat::SaturateI32(std::int64_t(page.top) + area.top),
                      plat::SaturateI32(std::int64_t(page.left) + area.right),
                      plat::SaturateI32(std::int64_t(page.top) + area.bottom));
}

plat::Rect CQlDoc::GetTextAreaRect() const
{
    const plat::Size p = GetPaperSizeTwips();
    const plat::Rect m = GetMargins();
    return plat::Rect(MmToTwips(m.left), MmToTwips(m.top), plat::SaturateI32(std::int64_t(p.cx) - MmToTwips(m.right)),
                      plat::SaturateI32(std::int64_t(p.cy) - MmToTwips(m.bottom)));
}

plat::Size CQlDoc::GetTextAreaSize() const
{
    const plat::Rect a = GetTextAreaRect();
    return plat::Size(plat::SaturateI32(std::int64_t(a.right) - a.left), plat::SaturateI32(std::int64_t(a.bottom) - a.top));
}

plat::Rect CQlDoc::PageRectFromPoint(plat::Point point) const
{
    const std::int64_t pitch = std::int64_t(GetPaperSizeTwips().cy) + kDeskMargin;
    const std::int64_t last = std::max(GetPageCount(), 1) - 1;
    std::int64_t i = 0;
    if (pitch > 0 && point.y > 0) i = std::min<std::int64_t>(point.y / pitch, last);
    return GetPageRect(static_cast<int>(i));
}

// ---- painting ----

void CQlDoc::DrawPageDecorations(plat::Dc& dc, int page, double zoom, int x, int y) const
{
    const CPageSettings s = GetPageSettings();
    const plat::Rect t = GetTextAreaRect();
    plat::Rect area = ::TwipsToPixelsRect(dc, zoom, t.left, t.top, t.right, t.bottom);
    area.Offset(x, y);
    const bool firstPage = page == 0;
    const CCharFormat plain;

    CRenderContext rc(this, dc);
    rc.SetTextAlign(dc, plat::kTaLeft | plat::kTaTop);
    // Text centred over the text area, its top at the given row.
    auto centred = [&](const plat::String& text, int top) {
        const plat::Size extent = dc.GetTextExtent(text);
        dc.TextOut(area.left + (area.Width() - extent.cx) / 2, top, text);
    };

    plat::String number;
    if (s.pageNumberStyle == CDocHeader::kPageOfPages) number = plat::Format(u"共 %d 页·第 %d 页", GetPageCount(), page + 1);
    else if (s.pageNumberStyle == CDocHeader::kPageOnly) number = plat::Format(u"第 %d 页", page + 1);
    if (!number.empty() && (!firstPage || s.pageNumberOnFirst)) {
        rc.SetFont(dc, zoom, s.pageNumberFace, s.pageNumberSize, false, false, false, false);
        rc.SetTextColor(dc, plain, kAutoTextColor);
        const int height = dc.GetTextMetrics().height;
        centred(number, area.bottom + height / 4);
    }

    if (s.headerRule != CDocHeader::kNoHeader && (!firstPage || s.headerOnFirst)) {
        // The rules are drawn a pixel row at a time upward from their position, so each
        // keeps its thickness at every zoom; the automatic colour is resolved like text's.
        rc.SetPen(dc, plat::kPenSolid, 1, kAutoTextColor);
        auto rule = [&](int position, int thickness) {
            for (int k = 1; k <= thickness; ++k) {
                dc.MoveTo(area.left, position - k);
                dc.LineTo(area.right, position - k);
            }
        };
        int position = area.top - ::TwipsToPixels(dc, zoom, kHeaderGap);
        int thickness = std::max(1, Px96ToPixels(dc, zoom, kLowerRule));
        rule(position, thickness);
        if (s.headerRule == CDocHeader::kDoubleRule) {
            position -= 2 * thickness;
            thickness = std::max(2, Px96ToPixels(dc, zoom, kUpperRule));
            rule(position, thickness);
        }
        if (!s.headerText.empty()) {
            rc.SetFont(dc, zoom, s.headerFace, s.headerSize, false, false, false, false);
            rc.SetTextColor(dc, plain, kAutoTextColor);
            const int height = dc.GetTextMetrics().height;
            centred(s.headerText, position - thickness - ::TwipsToPixels(dc, zoom, kHeaderGap) - height);
        }
    }
    rc.Restore(dc);
}

void CQlDoc::DrawPage(plat::Dc& dc, double zoom, int x, int y, int page, int mode)
{
    if (!m_body || page < 0 || page >= CDocBody::kMaxPages) return;
    const plat::Rect rect = GetPageRect(page);
    const int top = y + Px96ToPixels(dc, zoom, kPageTopOffset);
    DrawPageDecorations(dc, page, zoom, x, top);
    // The body paints in desk coordinates: its origin lies up and left of the page.
    m_body->DrawPage(dc, zoom, x - ::TwipsToPixels(dc, zoom, rect.left), top - ::TwipsToPixels(dc, zoom, rect.top),
                     mode, rect);
}

// ---- the mouse ----

void CQlDoc::OnLButtonDown(plat::Point point, unsigned keyFlags)
{
    if (!m_body || !m_formatState) return;
    const plat::Point t = PixelsToTwipsPoint(point.x, point.y);
    m_formatState->m_dragPoint = t;
    m_formatState->m_tableZone = m_body->OnLButtonDown(t.x, t.y, (keyFlags & kMouseShift) != 0);
    if (m_view) m_view->SetHitCursor(m_formatState->m_tableZone);
    RequestRepaint();
}

void CQlDoc::OnMouseMove(plat::Point point)
{
    if (!m_body || !m_formatState) return;
    const plat::Point t = PixelsToTwipsPoint(point.x, point.y);
    if (m_formatState->m_dragActive) {
        m_body->OnMouseDrag(t.x, t.y);
        return;
    }
    const std::uint8_t code = m_body->HitTest(t.x, t.y);
    if (m_view) m_view->SetHitCursor(code);
    if (IsReferencePane() || IsReadOnly()) return;
    const CTextItem* item = m_body->ItemAtPoint(t.x, t.y);
    if (m_frame) m_frame->UpdateRevisionTip(t.x, t.y, item);
    if (IsAnnotationsShown()) return;
    // The annotation of the text under the mouse is highlighted; moving off it takes the
    // highlight away (SetHover leaves the list alone for an index outside it).
    const int index = item ? item->GetFormat().m_annotation - 1 : -1;
    if (m_annotations.SetHover(index)) {
        g_annotationHovered = true;
        RequestRepaint();
        return;
    }
    for (int i = 0; i < m_annotations.GetCount(); ++i) m_annotations.GetAt(i)->m_hovered = 0;
    if (g_annotationHovered.exchange(false)) RequestRepaint();
}

void CQlDoc::OnLButtonUp(plat::Point point)
{
    if (!m_body) return;
    const plat::Point t = PixelsToTwipsPoint(point.x, point.y);
    m_body->OnLButtonUp(t.x, t.y);
}

void CQlDoc::OnLButtonDblClk(plat::Point point)
{
    if (!m_body) return;
    const plat::Point t = PixelsToTwipsPoint(point.x, point.y);
    m_body->OnLButtonDblClk(t.x, t.y);
}

int CQlDoc::OnRButtonDown(plat::Point point, int position, const SpellSuggestionSink& sink)
{
    m_menuSpellError = nullptr;
    CSpellEngine* engine = GetSpellEngine();
    if (!m_body || !engine) return 0;
    const plat::Point t = PixelsToTwipsPoint(point.x, point.y);
    CSpellError* error = nullptr;
    const int next = m_body->OnRButtonDown(t.x, t.y, position, *engine, sink, &error);
    m_menuSpellError = error;
    return next;
}

bool CQlDoc::IsAnnotationHovered()
{
    return g_annotationHovered;
}
