// Feeds arbitrary bytes to the page-object list record in its four archive modes (the
// first byte's low bits pick the mode), loaded into a page body, with the tests' object
// kind registered under node type 22, or the drawn shapes when the first byte's bit 2 is set. Anything may be refused with the archive's error;
// a refused record must leave the body's objects and the paste offset as they were.
// Whatever loads must then survive the body's region building, page count and anchoring
// with every region inside its frame, and a record loaded in mode 1 or 2 must save bytes
// that load back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/doc_body.h"
#include "document/page_object_list.h"
#include "document/ql_doc.h"
#include "platform/file/archive.h"
#include "objects/shape_object.h"
#include "tests/document/test_object.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

CQlDoc& Doc()
{
    return fuzzsupport::PlainDoc();
}

std::vector<std::uint8_t> SaveList(CPageObjectList& list, int mode)
{
    plat::MemFile mem;
    plat::Archive ar(mem, plat::Archive::kStore);
    list.Save(ar, mode);
    ar.Close();
    return mem.Detach();
}

void CheckRegions(CDocBody& body)
{
    for (const CPageRegion* r = body.GetFirstRegion(); r; r = body.GetNextRegion()) {
        if (r->m_page < 0 || r->m_page > CDocBody::kMaxPages) __builtin_trap();
        const plat::Rect& f = body.GetPageFrame(r->m_page).m_rect;
        const plat::Rect& g = r->m_rect;
        if (g.left < f.left || g.right > f.right || g.top < f.top || g.bottom > f.bottom) __builtin_trap();
        if (g.right <= g.left || g.bottom <= g.top) __builtin_trap();
    }
    if (body.GetPageCount() < 1 || body.GetPageCount() > CDocBody::kMaxPages) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::RegisterKinds();
    if (size == 0) return 0;
    const int mode = 1 + (data[0] & 3);
    const bool shapes = (data[0] & 4) != 0;
    std::vector<std::uint8_t> rest(data + 1, data + size);

    CDocBody body(&Doc());
    if (shapes) {
        RegisterShapeKind();
        auto line = std::make_unique<CShapeObject>(&Doc(), nullptr, 0x1101);
        line->m_bounds = plat::Rect(3000, 4000, 5000, 5000);
        line->m_width = 2000;
        line->m_height = 1000;
        line->GetPoints().AddPoint(0, 0);
        line->GetPoints().AddPoint(2000, 1000);
        body.AddObject(std::move(line));
    } else {
        objtest::RegisterTestObjectKind();
        body.AddObject(objtest::NewObject(&Doc(), 3000, 4000, 2000, 1000));
    }
    body.GetObject(0)->SetSelected(true);
    CPageObjectList::SetPasteOffset(plat::Point(200, 200));
    try {
        plat::MemFile mem(rest);
        plat::Archive ar(mem, plat::Archive::kLoad);
        body.GetObjectList().Load(ar, mode, 150, 9000);
    } catch (const plat::ArchiveException&) {
        if (body.GetObjectCount() != 1 || body.GetSelectedCount() != 1 ||
            CPageObjectList::GetPasteOffset() != plat::Point(200, 200))
            __builtin_trap();
        return 0;
    }

    body.BuildPageRegions();
    body.RecalcPageCount();
    body.UpdateAnchors();
    body.MoveAnchoredObjects();
    body.BuildPageRegions();
    CheckRegions(body);
    (void)body.GetContentBottom();

    if (mode == kArchiveFile || mode == kArchiveUndo) {
        const std::vector<std::uint8_t> first = SaveList(body.GetObjectList(), mode);
        CPageObjectList again(&Doc(), nullptr);
        plat::MemFile mem(first);
        plat::Archive in(mem, plat::Archive::kLoad);
        again.Load(in, mode, 0, 0); // must not throw: what we write, we read
        if (SaveList(again, mode) != first) __builtin_trap();
    }
    CPageObjectList::SetPasteOffset(plat::Point(200, 200));
    return 0;
}
