#include "document/page_object_list.h"

#include <algorithm>
#include <vector>

#include "document/float_object.h"
#include "platform/file/archive.h"

namespace {

using plat::ArchiveException;

// The smallest entry: node type, wrap mode, layer, box, size and an empty caption.
constexpr std::uint64_t kMinEntryBytes = 2 + 1 + 1 + 16 + 8 + 1;

plat::Point& PasteOffset()
{
    static plat::Point offset(200, 200);
    return offset;
}

bool MeetsBand(const plat::Rect& r, int top, int bottom)
{
    return (r.top >= top && r.top <= bottom) || (r.bottom >= top && r.bottom <= bottom) ||
           (r.top < top && r.bottom > bottom);
}

} // namespace

CPageObjectList::CPageObjectList(CDocContext* doc, CDocNode* body) : CNodeList(doc, body, kNodePlain)
{
}

CPageObjectList::~CPageObjectList() = default;

CFloatObject* CPageObjectList::GetObject(int index) const
{
    return static_cast<CFloatObject*>(GetAt(index));
}

CFloatObject* CPageObjectList::AddObject(std::unique_ptr<CFloatObject> object)
{
    CFloatObject* raw = object.get();
    if (!raw) return nullptr;
    raw->SetParent(this);
    Add(std::move(object));
    return raw;
}

int CPageObjectList::CountSelected() const
{
    int n = 0;
    for (int i = 0; i < GetCount(); ++i)
        if (GetObject(i)->IsSelected()) ++n;
    return n;
}

CFloatObject* CPageObjectList::GetSelected(int n) const
{
    for (int i = 0; i < GetCount(); ++i) {
        CFloatObject* object = GetObject(i);
        if (object->IsSelected() && n-- == 0) return object;
    }
    return nullptr;
}

void CPageObjectList::ClearSelection()
{
    for (int i = 0; i < GetCount(); ++i) GetObject(i)->SetSelected(false);
}

void CPageObjectList::Save(plat::Archive& ar, int mode, CGroupPlacement placement)
{
    const bool selectedOnly = mode == kArchiveClipboard && CountSelected() > 0;
    std::vector<CFloatObject*> objects;
    for (int i = 0; i < GetCount(); ++i) {
        CFloatObject* object = GetObject(i);
        if (!selectedOnly || object->IsSelected()) objects.push_back(object);
    }
    plat::Point shift;
    if (placement == kGroupAtOrigin && !objects.empty()) {
        shift = plat::Point(objects.front()->m_bounds.left, objects.front()->m_bounds.top);
        for (const CFloatObject* object : objects) {
            shift.x = std::min(shift.x, object->m_bounds.left);
            shift.y = std::min(shift.y, object->m_bounds.top);
        }
    }
    ar.WriteI32(static_cast<std::int32_t>(objects.size()));
    for (CFloatObject* object : objects) {
        ar.WriteU16(object->GetNodeType());
        object->Save(ar, mode, -shift.x, -shift.y);
    }
}

void CPageObjectList::Load(plat::Archive& ar, int mode, int dx, int dy)
{
    AddLoaded(ReadObjects(ar, mode), mode, dx, dy);
}

CPageObjectList::LoadedObjects CPageObjectList::ReadObjects(plat::Archive& ar, int mode)
{
    const std::int32_t count = ar.ReadI32();
    if (count < 0) throw ArchiveException(ArchiveException::kBadIndex, "object count");
    ar.Require(static_cast<std::uint64_t>(count) * kMinEntryBytes);

    // Everything is read before anything changes, so a refused record leaves the list
    // whole.
    LoadedObjects loaded;
    for (std::int32_t i = 0; i < count; ++i) {
        const std::uint16_t type = ar.ReadU16();
        // An object of an unknown type cannot be skipped: its record's length is not
        // stored, and reading on would take the rest of the stream out of step.
        std::unique_ptr<CFloatObject> object = CreateDocObject(m_doc, type, this);
        if (!object) throw ArchiveException(ArchiveException::kBadClass, "object type");
        object->Load(ar, mode);
        object->OnLoaded();
        loaded.push_back(std::move(object));
    }
    return loaded;
}

void CPageObjectList::AddLoaded(LoadedObjects loaded, int mode, int dx, int dy)
{
    if (mode == kArchiveClipboard) ClearSelection(); // the pasted objects become the selection
    if (mode == kArchiveInsert) SetPasteOffset(plat::Point(dx, dy));
    const plat::Point offset = GetPasteOffset();
    for (std::unique_ptr<CFloatObject>& object : loaded) {
        if (mode == kArchiveClipboard || mode == kArchiveInsert) object->Offset(offset.x, offset.y);
        if (mode == kArchiveClipboard) object->SetSelected(true);
        AddObject(std::move(object));
    }
}

void CPageObjectList::Draw(plat::Dc& dc, double zoom, int x0, int y0, int pass, int visibleTop, int visibleBottom,
                           CRenderContext& rc)
{
    for (int layer = 0; layer < kLayerCount; ++layer) {
        for (int i = 0; i < GetCount(); ++i) {
            CFloatObject* object = GetObject(i);
            if (object->m_layer != layer || !MeetsBand(object->m_bounds, visibleTop, visibleBottom)) continue;
            object->Draw(dc, zoom, x0, y0, pass, rc);
        }
    }
}

plat::Point CPageObjectList::GetPasteOffset()
{
    return PasteOffset();
}

void CPageObjectList::SetPasteOffset(plat::Point offset)
{
    PasteOffset() = offset;
}
