// Painting of the page body: the items and objects of a page or of the visible area, and
// the caret or selection over them.
#include <algorithm>

#include "document/doc_body.h"
#include "document/doc_context.h"
#include "document/float_object.h"
#include "document/format_state.h"
#include "document/page_object_list.h"
#include "document/render_context.h"
#include "document/text_item.h"
#include "document/text_paint.h"
#include "document/units.h"
#include "platform/gfx/dc.h"

namespace {

bool IsMarkableType(std::uint16_t t)
{
    return t >= kItemSpace && t <= kItemCjkClose && t != kItemUnused;
}

} // namespace

void CDocBody::DrawPage(plat::Dc& dc, double zoom, int x0, int y0, int mode, const plat::Rect& rect)
{
    CDocContext* doc = GetDoc();
    const bool showDeleted = RevisionsShown();
    // The annotation marks are drawn afresh with each page.
    if (doc) doc->GetAnnotations().ResetDrawn();
    // The screen checks the paragraphs it shows just before drawing them.
    if (doc && mode == 1 && doc->GetSpellMarks() && doc->GetSpellEngine()) SpellCheckRange(rect.top, rect.bottom);
    CRenderContext rc(doc, dc);
    rc.SetDocOrigin(plat::Point(x0, y0));
    const std::int64_t frameHeight = std::int64_t(m_frames[0].m_rect.bottom) - m_frames[0].m_rect.top;
    // Items run in flow order, not in y order (text beside an object runs down one side and
    // then the other), so the screen goes a frame further before it stops.
    const std::int64_t stopBelow = mode == 1 ? rect.bottom + frameHeight : rect.bottom;
    CWesternRun run(dc, zoom, x0, y0, rc);
    CScreenGlyphs glyphs(dc, zoom, x0, y0, rc);
    const int count = GetCount();
    // Pages follow each other in flow order: the items of pages more than one above the
    // rectangle are passed over at once (the page before may hold a line reaching down).
    const std::int64_t pitch = std::max<std::int64_t>(1, std::int64_t(m_paperHeight) + CDocContext::kDeskMargin);
    const std::int64_t firstSlot = std::int64_t(rect.top) / pitch - 1;
    int first = 0;
    for (int hi = count; first < hi;) {
        const int mid = first + (hi - first) / 2;
        if (std::int64_t(ItemAt(mid)->GetLineTop()) / pitch < firstSlot) first = mid + 1;
        else hi = mid;
    }
    for (int i = first; i < count; ++i) {
        const CTextItem* item = ItemAt(i);
        if (item->IsDeleted() && !showDeleted) continue;
        const std::int64_t top = item->GetTop();
        if (top > stopBelow) break;
        if (top + item->GetLineHeight() < rect.top) continue;
        if (mode == 1) {
            if (!glyphs.Add(*item)) item->Draw(dc, zoom, x0, y0, mode, rc, true);
            if (IsMarkableType(item->GetNodeType()) && HasItemMarks(*item, true)) {
                glyphs.Flush();
                DrawItemMarks(dc, zoom, x0, y0, *item, rc, true);
            }
            continue;
        }
        // Print and export write plain Western text a run at a time, so that it keeps its
        // own kerning; everything else draws itself.
        if (!run.Add(*item)) item->Draw(dc, zoom, x0, y0, mode, rc, true);
        if (IsMarkableType(item->GetNodeType())) DrawItemMarks(dc, zoom, x0, y0, *item, rc, false);
    }
    run.Flush();
    glyphs.Flush();
    m_objects->Draw(dc, zoom, x0, y0, mode, rect.top, rect.bottom, rc);
    rc.Restore(dc);
}

void CDocBody::DrawCaret(plat::Dc& dc, double zoom, int x0, int y0)
{
    m_caretRect = plat::Rect();
    CFormatState* state = GetDoc() ? GetDoc()->GetFormatState() : nullptr;
    if (state && state->GetCreationTracker()) {
        state->GetCreationTracker()->Draw(dc, zoom, x0, y0);
        return;
    }
    if (GetSelectedCount() > 0) {
        for (int k = 0; k < m_objects->GetCount(); ++k) {
            CFloatObject* object = m_objects->GetObject(k);
            if (object->IsSelected()) object->DrawSelection(dc, zoom, x0, y0);
        }
        return;
    }
    CTextFlow* focus = state ? state->GetFocusObject() : this;
    if (focus == this) {
        CTextFlow::DrawCaret(dc, zoom, x0, y0);
    } else if (focus) {
        focus->DrawCaret(dc, zoom, x0, y0);
        m_caretRect = focus->GetCaretRect();
    }
}
