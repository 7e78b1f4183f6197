// The boxes of the notes in the right page margin, as painting places them, and the
// opening of a note from its box.
#include <algorithm>
#include <cstdio>
#include <ctime>

#include "document/annotation.h"
#include "document/author_list.h"
#include "document/char_format.h"
#include "document/doc_context.h"
#include "document/doc_node.h"
#include "document/render_context.h"
#include "document/text_frame.h"
#include "document/text_item.h"
#include "document/units.h"
#include "platform/base/saturate.h"
#include "platform/gfx/dc.h"
#include "platform/gfx/sys_colors.h"

namespace {

// Geometry of a note's box, in twips.
constexpr int kBoxMarginGap = 100; // the box's text is this much narrower than the right margin
constexpr int kBoxPadding = 50;    // text inset from the box's left edge, and added below it
constexpr int kBoxProbe = 45;      // how far inside a box's top and bottom the overlap test looks
constexpr int kBoxGap = 90;        // between boxes pushed one below the other
constexpr int kLeaderDrop = 50;    // the leader goes this far down from the anchor first
constexpr int kBoxTextSize = 180;
constexpr plat::ColorRef kHighlight = 0x00FFFF; // yellow

std::tm LocalTime(std::int32_t seconds)
{
    const std::time_t t = seconds;
    std::tm local{};
    localtime_r(&t, &local);
    return local;
}

// The text of a note's box: the author's name, the date, then the note.
plat::String BoxText(const plat::String& author, const CAnnotation& note)
{
    const std::tm t = LocalTime(note.m_time);
    char date[48];
    std::snprintf(date, sizeof date, "\n%d:%d:%d\n", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    return author + plat::Utf8ToUtf16(date) + note.m_text;
}

// The note's text laid out in a frame as wide as the right margin less 100 twips, in the
// author's colour; its items carry the note's author.
std::unique_ptr<CTextFrameObj> MakeBoxFrame(CDocContext& doc, const CAnnotation& note, int width)
{
    auto frame = std::make_unique<CTextFrameObj>(&doc, kNodeTextShape, width, 0);
    const CAuthorList& authors = doc.GetAuthors();
    const CAuthor* author = authors.GetAt(note.m_author);
    CCharFormat f;
    f.m_size = kBoxTextSize;
    f.m_color = static_cast<std::int32_t>(authors.GetAuthorColor(note.m_author));
    int at = 0;
    frame->InsertString(at, BoxText(author ? author->m_name : plat::String(), note), f);
    const auto by = static_cast<std::int16_t>(note.m_author);
    for (int i = 0; i < frame->GetCount(); ++i) frame->GetItem(i)->SetInsertedBy(by);
    frame->Relayout(1, 0);
    return frame;
}

} // namespace

int CAnnotation::Edit(CDocContext& doc)
{
    const CAuthorList& authors = doc.GetAuthors();
    const CAuthor* author = authors.GetAt(m_author);
    CAnnotationDlgValues values;
    values.authorName = author ? author->m_name : plat::String();
    values.time = m_time;
    values.text = m_text;
    values.editable = authors.IsSameAuthorFrom(m_author) && !doc.IsReadOnly() && !doc.IsReferencePane();
    if (CAnnotationList::RunDialog(values) != 1 || !values.editable) return 0;
    if (values.deleteRequested) return 1;
    if (values.text != m_text) {
        m_text = std::move(values.text);
        doc.SetModified();
    }
    doc.RequestRepaint();
    return 0;
}

bool CAnnotationList::OpenAt(std::int32_t x, std::int32_t y, int& deleted)
{
    deleted = 0;
    for (int i = 0; i < GetCount(); ++i) {
        CAnnotation& note = *m_list[static_cast<size_t>(i)];
        if (!note.m_drawn || !note.m_box.Contains(plat::Point(x, y))) continue;
        if (m_owner && note.Edit(*m_owner) == 1) deleted = i + 1;
        return true;
    }
    return false;
}

plat::Rect CAnnotationList::PlaceBox(plat::Rect box) const
{
    // Each push moves the box below a drawn one, so at most one push per drawn box.
    for (int pushes = 0; pushes <= GetCount(); ++pushes) {
        const int centre = plat::SaturateI32((std::int64_t(box.left) + box.right) / 2);
        const plat::Point top(centre, plat::SaturateI32(std::int64_t(box.top) + kBoxProbe));
        const plat::Point bottom(centre, plat::SaturateI32(std::int64_t(box.bottom) - kBoxProbe));
        const CAnnotation* under = nullptr;
        for (const auto& a : m_list)
            if (a->m_drawn && (a->m_box.Contains(top) || a->m_box.Contains(bottom))) {
                under = a.get();
                break;
            }
        if (!under) break;
        const std::int64_t height = std::int64_t(box.bottom) - box.top;
        box.top = plat::SaturateI32(std::int64_t(under->m_box.bottom) + kBoxGap);
        box.bottom = plat::SaturateI32(box.top + height);
    }
    return box;
}

void CAnnotationList::DrawAnnotation(plat::Dc& dc, double zoom, const plat::Rect& cell, plat::Point anchor, int mode,
                                     CRenderContext& rc, int number)
{
    CAnnotation* note = FromNumber(number);
    if (!note || !m_owner) return;
    CDocContext& doc = *m_owner;
    const bool shown = doc.IsAnnotationsShown();
    if (mode == 1 || shown) {
        rc.SetPen(dc, plat::kPenSolid, 1, static_cast<std::int32_t>(kHighlight));
        rc.SetSolidBrush(dc, static_cast<std::int32_t>(kHighlight));
        dc.Rectangle(cell.left, cell.top, cell.right, cell.bottom);
    }
    if (note->m_drawn || (!shown && !note->m_hovered)) return;

    // Page 0's right margin holds the box; pages all stand at the same x on the desk.
    const plat::Rect margins = doc.GetMargins();
    const std::int64_t paperWidth = MmToTwips(doc.GetPaperSize().cx);
    const std::int64_t textRight = paperWidth - MmToTwips(margins.right);
    const int frameWidth = plat::SaturateI32(std::max<std::int64_t>(paperWidth - textRight - kBoxMarginGap, 1));
    const std::unique_ptr<CTextFrameObj> frame = MakeBoxFrame(doc, *note, frameWidth);

    const plat::Point origin = rc.GetDocOrigin();
    const std::int64_t top = PixelsToTwips(dc, zoom, cell.top - origin.y);
    plat::Rect box(plat::SaturateI32(CDocContext::kDeskMargin + textRight), plat::SaturateI32(top),
                   plat::SaturateI32(CDocContext::kDeskMargin + paperWidth),
                   plat::SaturateI32(top + frame->GetContentHeight() + kBoxPadding));
    box = PlaceBox(box);
    note->m_box = box;

    const plat::Rect px = TwipsToPixelsRect(dc, zoom, box.left, box.top, box.right, box.bottom);
    const int left = origin.x + px.left;
    const int boxTop = origin.y + px.top;
    const int color = static_cast<std::int32_t>(doc.GetAuthors().GetAuthorColor(note->m_author));
    rc.SetPen(dc, plat::kPenSolid, 1, color);
    rc.SetSolidBrush(dc, static_cast<std::int32_t>(plat::GetSysColor(plat::kColorInfoBk)));
    const int drop = TwipsToPixels(dc, zoom, kLeaderDrop);
    const plat::Point leader[] = {anchor, plat::Point(anchor.x, anchor.y + drop), plat::Point(left, boxTop + drop)};
    dc.Polyline(leader);
    dc.Rectangle(left, boxTop, origin.x + px.right, origin.y + px.bottom);
    frame->Draw(dc, zoom, left + TwipsToPixels(dc, zoom, kBoxPadding), boxTop, mode, rc, false);
    note->m_drawn = 1;
}

