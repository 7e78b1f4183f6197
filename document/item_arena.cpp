#include "document/item_arena.h"

#include <sys/mman.h>
#include <unistd.h>

#include <new>

namespace {

static_assert(CItemArena::kSlabBytes % CItemArena::kChunkBytes == 0);

// Anonymous memory of `bytes` (a power of two) starting on a multiple of itself: twice
// as much is mapped and the ends cut off.
void* MapAligned(std::size_t bytes)
{
    void* raw = mmap(nullptr, 2 * bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + bytes - 1) & ~(std::uintptr_t(bytes) - 1);
    if (aligned > start) munmap(raw, aligned - start);
    const std::uintptr_t end = start + 2 * bytes;
    if (end > aligned + bytes) munmap(reinterpret_cast<void*>(aligned + bytes), end - (aligned + bytes));
    return reinterpret_cast<void*>(aligned);
}

} // namespace

CItemArena& CItemArena::Instance()
{
    // Never destroyed: items of static documents may outlive every other static object.
    static CItemArena* arena = new CItemArena;
    return *arena;
}

CItemArena::~CItemArena()
{
    for (void* slab : m_slabs) munmap(slab, kSlabBytes);
}

void CItemArena::Prefault(void* p, std::size_t bytes)
{
    if (!p || bytes < kSlabBytes) return;
    // Huge pages for the whole slabs inside the block; the whole block, its page-aligned
    // part, made present.
    const auto start = reinterpret_cast<std::uintptr_t>(p);
    const std::uintptr_t end = start + bytes;
    const std::uintptr_t hugeStart = (start + kSlabBytes - 1) & ~std::uintptr_t(kSlabBytes - 1);
    const std::uintptr_t hugeEnd = end & ~std::uintptr_t(kSlabBytes - 1);
    if (hugeEnd > hugeStart) madvise(reinterpret_cast<void*>(hugeStart), hugeEnd - hugeStart, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
    const std::uintptr_t page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const std::uintptr_t first = (start + page - 1) & ~(page - 1);
    const std::uintptr_t last = end & ~(page - 1);
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
#endif
}

std::uint8_t* CItemArena::NewChunk()
{
    if (m_slabLeft < kChunkBytes) {
        void* slab = MapAligned(kSlabBytes);
        m_slabs.push_back(slab);
        // Both are advice: without huge pages the slab is still made present in one call
        // rather than a fault a page; a kernel that knows neither faults page by page.
        madvise(slab, kSlabBytes, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
        madvise(slab, kSlabBytes, MADV_POPULATE_WRITE);
#endif
        m_slabCursor = static_cast<std::uint8_t*>(slab);
        m_slabLeft = kSlabBytes;
    }
    std::uint8_t* chunk = m_slabCursor;
    m_slabCursor += kChunkBytes;
    m_slabLeft -= kChunkBytes;
    ++m_chunkCount;
    return chunk;
}

void* CItemArena::Allocate(std::size_t n)
{
    if (n == 0) n = 1;
    if (n > kMaxBlock) return ::operator new(n);
    std::size_t cls = ClassOf(n);
    if (FreeBlock* b = m_free[cls]) {
        m_free[cls] = b->next;
        return b;
    }
    std::size_t size = (cls + 1) * kGrain;
    if (m_left < size) {
        // The tail of the old chunk is too small for this class; give it to the free list
        // of the largest class it fits, so nothing is wasted.
        if (m_left >= kGrain) Free(m_cursor, m_left - m_left % kGrain);
        m_cursor = NewChunk();
        m_left = kChunkBytes;
    }
    void* p = m_cursor;
    m_cursor += size;
    m_left -= size;
    return p;
}

void CItemArena::Free(void* p, std::size_t n)
{
    if (!p) return;
    if (n == 0) n = 1;
    if (n > kMaxBlock) {
        ::operator delete(p);
        return;
    }
    std::size_t cls = ClassOf(n);
    auto* b = static_cast<FreeBlock*>(p);
    b->next = m_free[cls];
    m_free[cls] = b;
}
