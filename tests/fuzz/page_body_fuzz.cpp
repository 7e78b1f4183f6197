// Feeds arbitrary bytes to the page body's record in its four archive modes (the first
// byte's low bits pick the mode), read into a body that holds text and an object, with the
// tests' object kind registered under one node type. Anything may be refused with the
// archive's error, and a refused record must leave the body exactly as it was. Whatever
// loads is laid out on loading: the page count must be within 1 to 500 and every free
// region inside its frame. Unless objects are still waiting to follow their paragraphs
// (after the last anchor retry), laying the body out again must give the same layout, and
// a record loaded in mode 1 or 2 must save bytes that load back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/doc_body.h"
#include "document/layout_dump.h"
#include "document/page_object_list.h"
#include "document/ql_doc.h"
#include "platform/file/archive.h"
#include "platform/ui/modal.h"
#include "tests/document/test_object.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

CQlDoc& Doc()
{
    static CQlDoc* doc = [] {
        auto* d = new CQlDoc;
        d->Reset();
        // Small pages: what loads fills many of them quickly.
        d->SetPageSettings(plat::Rect(5, 5, 5, 5), plat::Size(40, 30));
        // "内容溢出!" is answered at once.
        plat::SetModalHandler([](const plat::ModalRecord&) { return std::optional<int>(1); });
        return d;
    }();
    return *doc;
}

std::vector<std::uint8_t> Save(CDocBody& body, int mode)
{
    return fuzzsupport::BodyRecord(body, mode);
}

void CheckLaidOut(CDocBody& body)
{
    if (body.GetPageCount() < 1 || body.GetPageCount() > CDocBody::kMaxPages) __builtin_trap();
    for (const CPageRegion* r = body.GetFirstRegion(); r; r = body.GetNextRegion()) {
        const plat::Rect& f = body.GetPageFrame(r->m_page).m_rect;
        const plat::Rect& g = r->m_rect;
        if (g.left < f.left || g.right > f.right || g.top < f.top || g.bottom > f.bottom) __builtin_trap();
    }
    if (body.HasObjectToMove()) return;
    const CLayoutSnapshot once = TakeLayoutSnapshot(body);
    body.RelayoutWhole();
    if (!(TakeLayoutSnapshot(body) == once)) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::RegisterKinds();
    if (size == 0) return 0;
    const int mode = 1 + (data[0] & 3);
    const std::vector<std::uint8_t> rest(data + 1, data + size);

    CDocBody body(&Doc());
    body.InsertItemsAtCaret(u"正文\r第二段 text");
    body.AddObject(objtest::NewObject(&Doc(), 1000, 1200, 600, 400));
    body.BuildPageRegions();
    body.RelayoutWhole();
    CPageObjectList::SetPasteOffset(plat::Point(200, 200));
    const std::vector<std::uint8_t> before = Save(body, kArchiveUndo);
    try {
        plat::MemFile mem(rest);
        plat::Archive ar(mem, plat::Archive::kLoad);
        body.Load(ar, mode, 150, 9000);
    } catch (const plat::ArchiveException&) {
        if (Save(body, kArchiveUndo) != before) __builtin_trap();
        return 0;
    }
    CheckLaidOut(body);

    if ((mode == kArchiveFile || mode == kArchiveUndo) && !body.HasObjectToMove()) {
        const std::vector<std::uint8_t> first = Save(body, mode);
        CDocBody again(&Doc());
        plat::MemFile mem(first);
        plat::Archive in(mem, plat::Archive::kLoad);
        again.Load(in, mode); // must not throw: what we write, we read
        if (Save(again, mode) != first) __builtin_trap();
    }
    CPageObjectList::SetPasteOffset(plat::Point(200, 200));
    return 0;
}
