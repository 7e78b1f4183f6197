#include "document/item_arena.h"

#include <new>

CItemArena& CItemArena::Instance()
{
    // Never destroyed: items of static documents may outlive every other static object.
    static CItemArena* arena = new CItemArena;
    return *arena;
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
        m_chunks.push_back(std::make_unique<std::uint8_t[]>(kChunkBytes));
        m_cursor = m_chunks.back().get();
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
