#include "objects/text_shape.h"

#include <algorithm>
#include <cmath>

#include "document/find_state.h"
#include "document/format_state.h"
#include "document/line_layout.h"
#include "document/render_context.h"
#include "document/sentence_checker.h"
#include "document/spell_engine.h"
#include "document/units.h"
#include "objects/object_prop_dlg.h"
#include "objects/point_list.h"
#include "platform/file/archive.h"

namespace {

constexpr int kReservedTail = 16; // zero bytes after the frame in a file record

std::unique_ptr<CFloatObject> MakeTextShape(CDocContext* doc, CDocNode* parent)
{
    return std::make_unique<CTextShapeObject>(doc, parent);
}

bool KindIn(std::uint8_t kind, std::initializer_list<int> kinds)
{
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

bool HasAdjustHandle(std::uint8_t kind)
{
    return KindIn(kind, {4, 5, 8, 9, 14, 15, 18, 19, 20, 21, 22});
}

bool HasSecondAdjust(std::uint8_t kind)
{
    return kind == 20 || kind == 21;
}

// A handle's square holds its left and top edges but not its right and bottom ones.
bool InSquare(int x, int y, int cx, int cy, int half)
{
    const std::int64_t dx = std::int64_t(x) - cx, dy = std::int64_t(y) - cy;
    return dx >= -half && dx < half && dy >= -half && dy < half;
}

} // namespace

void RegisterTextShapeKind()
{
    RegisterDocObject(kNodeTextShape, &MakeTextShape);
}

// ---- the inner frame ----

CTextShapeFrame::CTextShapeFrame(CDocContext* doc, CTextShapeObject* shape, int width, int height,
                                 std::uint8_t alignment)
    : CTextFrameObj(doc, shape, kNodeTextShape, width, height, alignment)
{
}

CTextShapeFrame::~CTextShapeFrame() = default;

CTextShapeObject* CTextShapeFrame::GetShape() const
{
    return dynamic_cast<CTextShapeObject*>(GetParent());
}

plat::Point CTextShapeFrame::GetPageOrigin() const
{
    const CTextShapeObject* shape = GetShape();
    if (!shape) return plat::Point();
    return plat::Point(shape->m_bounds.left + shape->m_textOrigin.x, shape->m_bounds.top + shape->m_textOrigin.y);
}

void CTextShapeFrame::FocusForSpellCheck()
{
    CTextShapeObject* shape = GetShape();
    if (!shape) return;
    if (CDocBody* body = shape->GetBody()) body->DeselectAll();
    shape->SetSelected(true);
    if (CFormatState* state = GetDoc() ? GetDoc()->GetFormatState() : nullptr) state->SetFocusObject(this);
}

// ---- the shape ----

CTextShapeObject::CTextShapeObject(CDocContext* doc, CDocNode* parent) : CFloatObject(doc, parent, kNodeTextShape) {}

CTextShapeObject::~CTextShapeObject()
{
    // The frame may be the focus text; the format state must not keep a dangling link.
    if (m_frame && m_doc)
        if (CFormatState* state = m_doc->GetFormatState(); state && state->GetFocusObject() == m_frame.get())
            state->SetFocusObject(nullptr);
}

CTextShapeFrame& CTextShapeObject::CreateFrame(int width, int height, std::uint8_t alignment)
{
    m_frame = std::make_unique<CTextShapeFrame>(m_doc, this, width, height, alignment);
    return *m_frame;
}

void CTextShapeObject::SetSize(int width, int height)
{
    m_width = width;
    m_height = height;
    m_bounds.right = m_bounds.left + width;
    m_bounds.bottom = m_bounds.top + height;
}

plat::Rect CTextShapeObject::GetTextRect() const
{
    const int w = m_width, h = m_height;
    const double root2 = std::sqrt(2.0);
    switch (m_borderKind) {
    case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 9:
    case 18: case 19: case 20: case 21:
        return plat::Rect(40, 0, w - 40, h);
    case 10: case 11: {
        // The square inscribed in the circle drawn in the box's top-left min(w, h) square.
        const int r = std::min(w, h) / 2;
        const int g = static_cast<int>(r * root2 * 0.5);
        return plat::Rect(r - g, r - g, r + g, r + g);
    }
    case 12: case 13: case 14: case 15: {
        const int a = w / 2, b = h / 2;
        const int gx = static_cast<int>(a * root2 * 0.5), gy = static_cast<int>(b * root2 * 0.5);
        return plat::Rect(a - gx, b - gy, a + gx, b + gy);
    }
    case 16:
        return plat::Rect(w / 2 - (w / 2) / 2, h / 2 - (h / 2) / 2, w / 2 + (w / 2) / 2, h / 2 + (h / 2) / 2);
    case 17:
        return plat::Rect(160, 0, w - 160, h);
    default:
        return plat::Rect(0, 0, w, h);
    }
}

void CTextShapeObject::FitTextFrame()
{
    if (!m_frame) return;
    const plat::Rect r = GetTextRect();
    if (r.Width() == m_frame->GetWidth() && r.Height() == m_frame->GetHeight()) return;
    m_frame->SetSize(r.Width(), r.Height());
    m_frame->RelayoutWhole();
}

void CTextShapeObject::AlignTextFrame()
{
    const plat::Rect r = GetTextRect();
    const int textHeight = m_frame ? m_frame->GetContentHeight() : 0;
    switch (m_verticalAlign) {
    case kAlignTop: m_textOrigin = plat::Point(r.left, r.top); break;
    case kAlignMiddle: m_textOrigin = plat::Point(r.left, r.top + (r.bottom - textHeight - r.top) / 2); break;
    case kAlignBottom: m_textOrigin = plat::Point(r.left, r.bottom - textHeight); break;
    default: break; // an unknown alignment leaves the text where it is
    }
}

void CTextShapeObject::ResetAdjustPoints()
{
    const int w = m_width, h = m_height;
    const int tip = (5 * h) / 4;
    m_adjust1 = plat::Point(0, 0);
    switch (m_borderKind) {
    case 4: case 8: case 14: m_adjust1 = plat::Point(w + 160, h + 160); break;
    case 5: case 9: case 15: case 19: case 22: m_adjust1 = plat::Point(0, tip); break;
    case 18: m_adjust1 = plat::Point(-160, 0); break;
    case 20: case 21:
        m_adjust1 = plat::Point(0, tip);
        m_adjust2 = plat::Point(-240, tip);
        break;
    default: break;
    }
}

void CTextShapeObject::SetBorderKind(std::uint8_t kind)
{
    m_borderKind = kind;
    FitTextFrame();
    AlignTextFrame();
    ResetAdjustPoints();
}

void CTextShapeObject::CompleteFromPixels(const plat::Rect& pixels)
{
    plat::Rect box = pixels;
    if (box.Width() < kLeastCreatePixels && box.Height() < kLeastCreatePixels) {
        box.right = box.left + kLeastCreatePixels;
        box.bottom = box.top + kLeastCreatePixels;
    }
    const plat::Rect twips = m_doc->PixelsToTwipsRect(box);
    m_bounds.left = twips.left;
    m_bounds.top = twips.top;
    SetSize(twips.Width(), twips.Height());
    const plat::Rect text = GetTextRect();
    CreateFrame(text.Width(), text.Height(), kAlignCentre);
    AlignTextFrame();
    RecalcLayout();
}

// ---- record ----

void CTextShapeObject::Load(plat::Archive& ar, int mode)
{
    LoadBase(ar, mode);
    const std::uint8_t kind = ar.ReadU8();
    const std::int32_t lineColor = ar.ReadI32();
    const std::uint8_t fillPattern = ar.ReadU8();
    const std::int32_t fillColor = ar.ReadI32();
    plat::Point values[3];
    for (plat::Point& p : values) {
        p.x = ar.ReadI32();
        p.y = ar.ReadI32();
        // Offsets from the box: kept in range so that sums with the box never overflow.
        if (p.x < -kMaxCoord || p.x > kMaxCoord || p.y < -kMaxCoord || p.y > kMaxCoord)
            throw plat::ArchiveException(plat::ArchiveException::kBadIndex, "text shape point");
    }
    const std::uint8_t align = ar.ReadU8();
    auto frame = std::make_unique<CTextShapeFrame>(m_doc, this, 0, 0, 1);
    frame->Load(ar, mode);
    if (mode == kArchiveFile || mode == kArchiveInsert)
        for (int i = 0; i < kReservedTail; ++i) ar.ReadU8();
    m_borderKind = kind;
    m_lineColor = lineColor;
    m_fillPattern = fillPattern;
    m_fillColor = fillColor;
    m_textOrigin = values[0];
    m_adjust1 = values[1];
    m_adjust2 = values[2];
    m_verticalAlign = align;
    m_frame = std::move(frame);
    m_frame->RelayoutWhole();
    RecalcLayout();
}

void CTextShapeObject::Save(plat::Archive& ar, int mode, int dx, int dy)
{
    if (!m_frame) throw plat::ArchiveException(plat::ArchiveException::kGeneric, "text shape without its text");
    SaveBase(ar, mode, dx, dy);
    ar.WriteU8(m_borderKind);
    ar.WriteI32(m_lineColor);
    ar.WriteU8(m_fillPattern);
    ar.WriteI32(m_fillColor);
    for (const plat::Point& p : {m_textOrigin, m_adjust1, m_adjust2}) {
        ar.WriteI32(p.x);
        ar.WriteI32(p.y);
    }
    ar.WriteU8(m_verticalAlign);
    m_frame->Save(ar, mode);
    if (mode == kArchiveFile)
        for (int i = 0; i < kReservedTail; ++i) ar.WriteU8(0);
}

void CTextShapeObject::PrepareItems()
{
    if (m_frame) m_frame->PrepareItems();
}

void CTextShapeObject::RelayoutContent()
{
    if (!m_frame) return;
    m_frame->RelayoutWhole();
    AlignTextFrame();
}

bool CTextShapeObject::TakeSource(const CNewObjectSource& /*source*/)
{
    return true; // the frame comes when the creation drag sizes the shape
}

bool CTextShapeObject::CompleteCreation(const CCreationGesture& gesture)
{
    const plat::Point first = gesture.points.GetCount() > 0 ? gesture.points.GetPoint(0) : gesture.start;
    const plat::Point current = gesture.current;
    CompleteFromPixels(plat::Rect(std::min(first.x, current.x), std::min(first.y, current.y),
                                  std::max(first.x, current.x), std::max(first.y, current.y)));
    return true;
}

void CTextShapeObject::OnPlaced()
{
    CFormatState* state = m_doc ? m_doc->GetFormatState() : nullptr;
    if (state && m_frame) state->SetFocusObject(m_frame.get());
}

// ---- painting ----

void CTextShapeObject::Draw(plat::Dc& dc, double zoom, int x0, int y0, int pass, CRenderContext& rc)
{
    DrawBorder(dc, zoom, x0, y0, rc);
    if (m_frame) {
        const plat::Point origin =
            TwipsToPixelsPoint(dc, zoom, m_bounds.left + m_textOrigin.x, m_bounds.top + m_textOrigin.y);
        m_frame->Draw(dc, zoom, x0 + origin.x, y0 + origin.y, pass, rc, true);
    }
    CFloatObject::Draw(dc, zoom, x0, y0, pass, rc);
}

void CTextShapeObject::DrawSelection(plat::Dc& dc, double zoom, int x0, int y0)
{
    CRenderContext rc(m_doc, dc);
    rc.SetSolidBrush(dc, static_cast<std::int32_t>(CColorRef::GetBlue()));
    rc.SetLinePen(dc, zoom, 2, static_cast<std::int32_t>(CColorRef::GetBlue()));
    CPointList handles;
    GetHandles(handles);
    for (int i = 0; i < handles.GetCount(); ++i) {
        const CPointNode h = handles.GetNodeAt(i);
        const int half = h.m_code == kTextShapeHitMove ? kMoveHandleSlop : kHandleSlop;
        plat::Rect r = TwipsToPixelsRect(dc, zoom, h.m_x - half, h.m_y - half, h.m_x + half, h.m_y + half);
        r.Offset(x0, y0);
        const int mx = (r.left + r.right) / 2, my = (r.top + r.bottom) / 2;
        if (h.m_code >= 33 && h.m_code <= 40) {
            dc.Rectangle(r.left, r.top, r.right, r.bottom);
        } else if (h.m_code == kTextShapeHitMove) {
            const plat::Point outline[] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom},
                                           {r.left, r.bottom}, {r.left, r.top}};
            dc.Polyline(outline);
            dc.MoveTo(mx, r.top);
            dc.LineTo(mx, r.bottom);
            dc.MoveTo(r.left, my);
            dc.LineTo(r.right, my);
        } else {
            const plat::Point diamond[] = {{mx, r.top}, {r.left, my}, {mx, r.bottom}, {r.right, my}, {mx, r.top}};
            dc.Polyline(diamond);
        }
    }
    rc.Restore(dc);
    if (HasTextFocus()) m_frame->DrawCaret(dc, zoom, x0, y0);
}

// ---- handles and drags ----

void CTextShapeObject::GetHandles(CPointList& handles)
{
    const int left = m_bounds.left, top = m_bounds.top;
    handles.AddNode(CPointNode(left, top, kTextShapeHitMove));
    handles.AddNode(CPointNode(left + m_width, top + m_height, kTextShapeHitSize));
    if (HasAdjustHandle(m_borderKind))
        handles.AddNode(CPointNode(left + m_adjust1.x, top + m_adjust1.y, kTextShapeHitAdjust1));
    if (HasSecondAdjust(m_borderKind))
        handles.AddNode(CPointNode(left + m_adjust2.x, top + m_adjust2.y, kTextShapeHitAdjust2));
}

std::uint8_t CTextShapeObject::HitTest(int x, int y, CPointList& handles)
{
    for (int i = 0; i < handles.GetCount(); ++i) {
        const CPointNode h = handles.GetNodeAt(i);
        const int half = h.m_code == kTextShapeHitMove ? kMoveHandleSlop : kHandleSlop;
        if (InSquare(x, y, h.m_x, h.m_y, half)) return static_cast<std::uint8_t>(h.m_code);
    }
    const std::int64_t rx = std::int64_t(x) - m_bounds.left, ry = std::int64_t(y) - m_bounds.top;
    if (rx >= 0 && ry >= 0 && rx < m_width && ry < m_height) return kTextShapeHitText;
    return 0;
}

plat::Point CTextShapeObject::ToFrame(int x, int y) const
{
    return plat::Point(x - m_bounds.left - m_textOrigin.x, y - m_bounds.top - m_textOrigin.y);
}

CTextItem* CTextShapeObject::TextItemAtPoint(int x, int y)
{
    const std::int64_t rx = std::int64_t(x) - m_bounds.left, ry = std::int64_t(y) - m_bounds.top;
    if (!m_frame || rx < 0 || ry < 0 || rx >= m_width || ry >= m_height) return nullptr;
    const plat::Point p = ToFrame(x, y);
    return m_frame->ItemAtPoint(p.x, p.y);
}

std::uint8_t CTextShapeObject::BeginTrack(int x, int y, bool /*shift*/, CPointList& handles)
{
    CFormatState* state = m_doc ? m_doc->GetFormatState() : nullptr;
    const std::uint8_t code = HitTest(x, y, handles);
    if (code == 0 || !state) return code;
    state->m_trackedObject = this;
    if (code != kTextShapeHitText) {
        if (code == kTextShapeHitMove && IsSelected() && state->GetFocusObject() == m_frame.get())
            state->SetFocusObject(nullptr);
        return code;
    }
    if (CDocBody* body = GetBody()) body->DeselectAll();
    SetSelected(true);
    if (m_frame) {
        const plat::Point p = ToFrame(x, y);
        m_frame->OnLButtonDown(p.x, p.y);
        state->SetFocusObject(m_frame.get());
    }
    return code;
}

void CTextShapeObject::TrackTo(int x, int y)
{
    const CFormatState* state = m_doc ? m_doc->GetFormatState() : nullptr;
    if (!state) return;
    switch (state->m_tableZone) {
    case kTextShapeHitSize: {
        const std::int64_t right = std::max<std::int64_t>(std::int64_t(m_bounds.left) + kLeastSize, x);
        const std::int64_t bottom = std::max<std::int64_t>(std::int64_t(m_bounds.top) + kLeastSize, y);
        SetSize(static_cast<int>(std::min<std::int64_t>(right - m_bounds.left, kMaxCoord)),
                static_cast<int>(std::min<std::int64_t>(bottom - m_bounds.top, kMaxCoord)));
        break;
    }
    case kTextShapeHitText:
        if (m_frame) {
            const plat::Point p = ToFrame(x, y);
            m_frame->OnMouseMove(p.x, p.y);
        }
        break;
    case kTextShapeHitAdjust1: m_adjust1 = plat::Point(x - m_bounds.left, y - m_bounds.top); break;
    case kTextShapeHitAdjust2: m_adjust2 = plat::Point(x - m_bounds.left, y - m_bounds.top); break;
    default: break;
    }
}

void CTextShapeObject::EndTrack(int x, int y)
{
    TrackTo(x, y);
    CFormatState* state = m_doc ? m_doc->GetFormatState() : nullptr;
    const std::uint8_t code = state ? state->m_tableZone : 0;
    if (code == kTextShapeHitSize) {
        // The frame follows the box once, when the drag ends.
        FitTextFrame();
        AlignTextFrame();
        RecalcLayout();
    } else if (code == kTextShapeHitText && m_frame) {
        const plat::Point p = ToFrame(x, y);
        m_frame->OnLButtonUp(p.x, p.y);
    } else if (code == kTextShapeHitAdjust1 || code == kTextShapeHitAdjust2) {
        RecalcLayout();
    }
    if (state) state->SyncToolbar();
}

// ---- keys: the caret in the text, or the base's stacking and nudging ----

void CTextShapeObject::OnKeyCtrlHome(bool shift)
{
    if (IsEditingText()) m_frame->MoveToStart(shift);
    else CFloatObject::OnKeyCtrlHome(shift);
}

void CTextShapeObject::OnKeyCtrlEnd(bool shift)
{
    if (IsEditingText()) m_frame->MoveToEnd(shift);
    else CFloatObject::OnKeyCtrlEnd(shift);
}

void CTextShapeObject::OnKeyHome(bool shift)
{
    if (IsEditingText()) m_frame->MoveToLineStart(shift);
    else CFloatObject::OnKeyHome(shift);
}

void CTextShapeObject::OnKeyEnd(bool shift)
{
    if (IsEditingText()) m_frame->MoveToLineEnd(shift);
    else CFloatObject::OnKeyEnd(shift);
}

void CTextShapeObject::OnKeyLeft(bool shift)
{
    if (IsEditingText()) m_frame->MoveLeft(shift);
    else CFloatObject::OnKeyLeft(shift);
}

void CTextShapeObject::OnKeyRight(bool shift)
{
    if (IsEditingText()) m_frame->MoveRight(shift);
    else CFloatObject::OnKeyRight(shift);
}

void CTextShapeObject::OnKeyUp(bool shift)
{
    if (IsEditingText()) m_frame->MoveUp(shift);
    else CFloatObject::OnKeyUp(shift);
}

void CTextShapeObject::OnKeyDown(bool shift)
{
    if (IsEditingText()) m_frame->MoveDown(shift);
    else CFloatObject::OnKeyDown(shift);
}

// ---- the text's clipboard, deletion, spelling, statistics and search ----

bool CTextShapeObject::HasTextFocus() const
{
    const CFormatState* state = m_doc ? m_doc->GetFormatState() : nullptr;
    return m_frame && state && state->GetFocusObject() == m_frame.get();
}

int CTextShapeObject::CanCopyText() const
{
    return HasTextFocus() ? (m_frame->HasSelection() ? 1 : 0) : 2;
}

int CTextShapeObject::CanDeleteText() const
{
    return HasTextFocus() ? (m_frame->CanDeleteForward() ? 1 : 0) : 2;
}

bool CTextShapeObject::CanDeleteBackward() const
{
    return HasTextFocus() && m_frame->CanDeleteBackward();
}

int CTextShapeObject::AddSpellingSuggestions(int x, int y, CSpellEngine& engine, const SpellSuggestionSink& sink,
                                             int position, CSpellError** error)
{
    if (!m_frame) return 0;
    const plat::Point p = ToFrame(x, y);
    return m_frame->AddSpellingSuggestions(p.x, p.y, engine, sink, position, error);
}

int CTextShapeObject::SpellCheck(CSpellEngine& engine, CSpellCheckUi& ui, plat::Point& dialogPos)
{
    return m_frame ? m_frame->SpellCheck(engine, ui, dialogPos) : 1;
}

int CTextShapeObject::SpellCheckWith(CSentenceChecker& checker, CSpellCheckUi& ui, plat::Point& dialogPos)
{
    return m_frame ? m_frame->SpellCheckWith(checker, ui, dialogPos) : 1;
}

void CTextShapeObject::ClearSpellMarks()
{
    if (m_frame) m_frame->ClearSpellMarks(0, 0);
}

void CTextShapeObject::MarkSpelling()
{
    CSpellEngine* engine = m_doc ? m_doc->GetSpellEngine() : nullptr;
    if (m_frame && engine) m_frame->MarkSpelling(*engine, 0, 0);
}

void CTextShapeObject::MarkSentenceErrors(CSentenceChecker& checker)
{
    if (m_frame) m_frame->MarkSentenceErrors(checker, 0, 0);
}

void CTextShapeObject::RemoveAnnotationMark(std::int16_t annotation)
{
    if (m_frame) m_frame->RemoveAnnotationMark(annotation);
}

void CTextShapeObject::ConvertCyrillic(int mode)
{
    if (m_frame) m_frame->ConvertCyrillic(mode, true);
}

void CTextShapeObject::CountStatistics(CStatistics& stats) const
{
    if (m_frame) m_frame->CountStatistics(stats, 0, -1);
}

bool CTextShapeObject::FindNext(CFindState& state)
{
    return m_frame && m_frame->FindNext(state);
}

bool CTextShapeObject::ReplaceAllText(CFindState& state)
{
    if (!m_frame || !m_frame->ReplaceAllInFlow(state)) return false;
    m_frame->RelayoutWhole();
    AlignTextFrame();
    return true;
}

int CTextShapeObject::ShowProperties()
{
    return ShowWrapProperties(*this);
}
