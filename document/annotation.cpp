#include "document/annotation.h"

#include "document/author_list.h"
#include "document/doc_context.h"
#include "platform/file/archive_records.h"
#include "platform/ui/modal.h"

namespace {

AnnotationDialog& Dialog()
{
    static AnnotationDialog dialog;
    return dialog;
}

// The smallest record: author, time, an empty 8-bit string.
constexpr std::uint64_t kMinAnnotationRecord = 4 + 4 + 1;

} // namespace

CAnnotation::CAnnotation(std::int32_t author, std::int32_t time, plat::String text)
    : m_author(author), m_time(time), m_text(std::move(text))
{
}

void CAnnotation::Load(plat::Archive& ar)
{
    m_author = ar.ReadI32();
    m_time = ar.ReadI32();
    m_text = ar.ReadString();
}

void CAnnotation::Save(plat::Archive& ar) const
{
    ar.WriteI32(m_author);
    ar.WriteI32(m_time);
    ar.WriteString(m_text);
}

CAnnotation* CAnnotationList::GetAt(int index) const
{
    return index >= 0 && index < GetCount() ? m_list[static_cast<size_t>(index)].get() : nullptr;
}

int CAnnotationList::Add(std::int32_t author, std::int32_t time, plat::String text)
{
    m_list.push_back(std::make_unique<CAnnotation>(author, time, std::move(text)));
    return GetCount();
}

int CAnnotationList::InsertAnnotation(std::int32_t author, const plat::String& authorName, std::int32_t time,
                                      const plat::String& text)
{
    if (!text.empty()) return Add(author, time, text);
    CAnnotationDlgValues values;
    values.isNew = true;
    values.authorName = authorName;
    values.time = time;
    if (RunDialog(values) != 1) return 0;
    return Add(author, time, std::move(values.text));
}

void CAnnotationList::SetAnnotationDialog(AnnotationDialog dialog)
{
    Dialog() = std::move(dialog);
}

int CAnnotationList::RunDialog(CAnnotationDlgValues& values)
{
    return Dialog() ? Dialog()(values) : plat::RunOkCancelDialog(u"编辑批注");
}

bool CAnnotationList::HitTestMark(std::int32_t x, std::int32_t y) const
{
    for (const auto& a : m_list)
        if (a->m_drawn && a->m_box.Contains(plat::Point(x, y))) return true;
    return false;
}

bool CAnnotationList::SetHover(int index)
{
    if (!GetAt(index)) return false;
    for (int i = 0; i < GetCount(); ++i) m_list[static_cast<size_t>(i)]->m_hovered = i == index ? 1 : 0;
    return true;
}

void CAnnotationList::ResetDrawn()
{
    // Only marks that are set are written: pages painted side by side (the PDF export)
    // all reset the list, and must not write over each other.
    for (auto& a : m_list)
        if (a->m_drawn != 0) a->m_drawn = 0;
}

void CAnnotationList::Load(plat::Archive& ar)
{
    auto loaded = plat::ReadOwnedRecords<CAnnotation>(ar, kMinAnnotationRecord, "annotation count",
                                                      [] { return std::make_unique<CAnnotation>(); });
    // An author index outside the document's table (read before the notes) names nobody:
    // such a note becomes the first author's, as index 0 may stand in any table.
    const int authors = m_owner ? m_owner->GetAuthors().GetCount() : -1;
    for (auto& a : loaded) {
        if (!CAuthorList::IsReadableIndex(a->m_author, authors)) a->m_author = 0;
        m_list.push_back(std::move(a));
    }
}

void CAnnotationList::Save(plat::Archive& ar) const
{
    ar.WriteI32(GetCount());
    for (const auto& a : m_list) a->Save(ar);
}
