// Feeds arbitrary bytes to a table as a cell block from the clipboard, at the slot the
// first byte picks in a 4 x 4 table. A block the check refuses must change nothing (the
// grid's record stays byte for byte); one it accepts must paste without an archive error
// and leave every slot covered by one rectangular cell.
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

std::vector<std::uint8_t> Record(CTableGrid& grid)
{
    plat::MemFile mem;
    plat::Archive ar(mem, plat::Archive::kStore);
    grid.Save(ar, kArchiveUndo);
    ar.Close();
    return mem.Detach();
}

// A paste inserts rows and columns only while they stay below the limits.
void CheckCovered(const CTableGrid& g)
{
    fuzzsupport::CheckGridCovered(g);
    if (g.GetRows() >= kMaxTableRows || g.GetColumns() >= kMaxTableColumns) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::RegisterKinds();
    if (size == 0) return 0;
    CQlDoc& doc = fuzzsupport::PlainDoc();
    CFormatState& state = *doc.GetFormatState();
    state.SetFocusObject(nullptr);
    const std::vector<std::uint8_t> block(data + 1, data + size);

    CTableGrid grid(&doc, nullptr);
    grid.Create(4, 4);
    state.m_currentCell = state.m_rangeEndCell = CCellPos((data[0] >> 2) % 4, data[0] % 4);
    const std::vector<std::uint8_t> before = Record(grid);
    const bool valid = CTableGrid::IsCellBlockValid(&doc, block);
    bool pasted = false;
    try {
        pasted = grid.PasteCellBlock(block);
    } catch (...) {
        __builtin_trap(); // a checked block reads again without an error
    }
    if (pasted != valid) __builtin_trap();
    if (!pasted && Record(grid) != before) __builtin_trap();
    CheckCovered(grid);
    state.SetFocusObject(nullptr);
    return 0;
}
