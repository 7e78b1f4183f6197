// Helpers the fuzz targets share.
#pragma once
#include <cstdint>
#include <vector>

#include "document/doc_body.h"
#include "document/ql_doc.h"
#include "document/text_flow.h"
#include "document/text_item.h"
#include "objects/object_kinds.h"
#include "objects/table_grid.h"
#include "platform/file/archive.h"
#include "platform/file/file.h"
#include "tests/document/test_object.h"

namespace fuzzsupport {

// Object records are read through the factory: every kind is registered as the control
// registers them, with the tests' own kind beside them, once for the process.
inline void RegisterKinds()
{
    static const bool once = [] {
        RegisterObjectKinds();
        objtest::RegisterTestObjectKind();
        return true;
    }();
    (void)once;
}

// A document for the whole run, with its format state, shown in no window.
inline CQlDoc& PlainDoc()
{
    static CQlDoc* doc = [] {
        auto* d = new CQlDoc;
        d->ResetFormatState();
        return d;
    }();
    return *doc;
}

// The body's record in the archive mode, as bytes.
inline std::vector<std::uint8_t> BodyRecord(CDocBody& body, int mode = kArchiveFile)
{
    plat::MemFile mem;
    plat::Archive ar(mem, plat::Archive::kStore);
    body.Save(ar, mode);
    ar.Close();
    return mem.Detach();
}

// A flow ends with its one final paragraph end, and its caret and anchor lie inside it.
inline void CheckSoundFlow(const CTextFlow& flow)
{
    const int count = flow.GetCount();
    if (count == 0 || flow.GetItem(count - 1)->GetNodeType() != kItemFinalParaEnd) __builtin_trap();
    for (int i = 0; i + 1 < count; ++i)
        if (flow.GetItem(i)->GetNodeType() == kItemFinalParaEnd) __builtin_trap();
    CTextPos caret, anchor;
    flow.GetSelectionPositions(caret, anchor);
    if (caret.m_index < 0 || caret.m_index >= count || anchor.m_index < 0 || anchor.m_index >= count)
        __builtin_trap();
}

// A document for the whole run whose author table holds an anonymous record and two
// named authors, the last one current, so that loaded author indices 0-2 mean something.
inline CQlDoc* NewThreeAuthorDoc()
{
    auto* d = new CQlDoc;
    d->GetAuthors().Append(0, u"");
    d->GetAuthors().Append(5, u"甲");
    d->GetAuthors().Append(7, u"乙");
    d->SetCurAuthorIndex(2);
    return d;
}

// Traps unless the grid's counts are within its limits, every slot is covered by one
// rectangular cell inside the grid, and every cell's text is sound.
inline void CheckGridCovered(const CTableGrid& g)
{
    if (g.GetRows() < 1 || g.GetRows() > kMaxTableRows || g.GetColumns() < 1 || g.GetColumns() > kMaxTableColumns)
        __builtin_trap();
    for (int r = 0; r < g.GetRows(); ++r)
        for (int c = 0; c < g.GetColumns(); ++c) {
            const CTableCell* q = g.GetCell(r, c);
            if (!q || q->m_endRow >= g.GetRows() || q->m_endCol >= g.GetColumns()) __builtin_trap();
            for (int sr = q->m_startRow; sr <= q->m_endRow; ++sr)
                for (int sc = q->m_startCol; sc <= q->m_endCol; ++sc)
                    if (g.GetCell(sr, sc) != q) __builtin_trap();
            CheckSoundFlow(*q);
        }
}

} // namespace fuzzsupport
