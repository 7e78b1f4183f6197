// Feeds arbitrary bytes to the table grid's record in one of three archive modes (the
// first byte's low bits pick it). Anything may be refused with the archive's error, which
// must leave the grid empty. A grid that loads has every slot covered by one rectangular
// cell, survives a full relayout and the structural edits from its first and last cells,
// saves bytes that load back to the same bytes, and keeps every slot covered after each
// edit.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/format_state.h"
#include "document/ql_doc.h"
#include "objects/table_grid.h"
#include "platform/file/archive.h"
#include "platform/file/file.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

CQlDoc& Doc()
{
    return fuzzsupport::PlainDoc();
}

std::vector<std::uint8_t> Record(CTableGrid& grid, int mode)
{
    plat::MemFile mem;
    plat::Archive ar(mem, plat::Archive::kStore);
    grid.Save(ar, mode);
    ar.Close();
    return mem.Detach();
}

void CheckCovered(const CTableGrid& g)
{
    fuzzsupport::CheckGridCovered(g);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::RegisterKinds();
    if (size == 0) return 0;
    const int mode = 1 + (data[0] % 3);
    const std::vector<std::uint8_t> rest(data + 1, data + size);
    CFormatState& state = *Doc().GetFormatState();
    state.SetFocusObject(nullptr);

    CTableGrid grid(&Doc(), nullptr);
    try {
        plat::MemFile mem(rest);
        plat::Archive ar(mem, plat::Archive::kLoad);
        grid.Load(ar, mode);
    } catch (const plat::ArchiveException&) {
        if (grid.GetRows() != 0 || grid.GetCell(0, 0) != nullptr) __builtin_trap();
        return 0;
    }
    CheckCovered(grid);
    if (mode != kArchiveClipboard) {
        const std::vector<std::uint8_t> first = Record(grid, mode);
        CTableGrid again(&Doc(), nullptr);
        plat::MemFile mem(first);
        plat::Archive in(mem, plat::Archive::kLoad);
        again.Load(in, mode); // must not throw: what we write, we read
        if (Record(again, mode) != first) __builtin_trap();
    }

    grid.RelayoutAll(0);
    CheckCovered(grid);
    // The edits from the first and from the last slot.
    for (const CCellPos& at : {CCellPos(0, 0), CCellPos(grid.GetRows() - 1, grid.GetColumns() - 1)}) {
        state.m_currentCell = state.m_rangeEndCell = at;
        if (grid.GetRows() + 1 < kMaxTableRows) grid.InsertRow();
        CheckCovered(grid);
        if (grid.GetColumns() + 1 < kMaxTableColumns) grid.InsertColumn();
        CheckCovered(grid);
        if (grid.CanSplit()) grid.SplitCurrentCell(1, 1 + (grid.GetColumns() < kMaxTableColumns ? 1 : 0));
        CheckCovered(grid);
        state.m_rangeEndCell = CCellPos(0, 0);
        if (grid.CanMerge()) grid.MergeCells();
        CheckCovered(grid);
        state.m_rangeEndCell = state.m_currentCell;
        if (grid.GetRows() > 1) grid.DeleteRow();
        CheckCovered(grid);
        if (grid.GetColumns() > 1) grid.DeleteColumn();
        CheckCovered(grid);
    }
    state.SetFocusObject(nullptr);
    return 0;
}
