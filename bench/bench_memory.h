// Memory the benchmarks weigh documents by: the general allocator's blocks in use, and the
// slabs the item arena maps beside it (which the allocator's figures do not show).
#pragma once
#include <malloc.h>

#include <cstddef>

#include "document/item_arena.h"

namespace benchmem {

inline std::size_t HeapInUse()
{
    struct mallinfo2 mi = mallinfo2();
    return mi.uordblks + mi.hblkhd + CItemArena::Instance().SlabBytes();
}

} // namespace benchmem
