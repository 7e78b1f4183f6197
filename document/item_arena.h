// Fixed-size blocks for text items. A document holds one item per character; the
// general allocator adds a header and rounds each block up, which would cost a third of
// a small item. The arena carves items out of large chunks and keeps freed blocks on one
// free list per size, so a closed document's blocks serve the next one.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class CItemArena {
public:
    static constexpr std::size_t kGrain = 8;       // block sizes are multiples of this
    static constexpr std::size_t kMaxBlock = 128;  // larger requests go to the heap
    static constexpr std::size_t kChunkBytes = 64 * 1024;

    // The arena text items come from; it lives until the process ends.
    static CItemArena& Instance();

    CItemArena() = default;
    CItemArena(const CItemArena&) = delete;
    CItemArena& operator=(const CItemArena&) = delete;

    void* Allocate(std::size_t n);
    // n must be the size the block was allocated with.
    void Free(void* p, std::size_t n);
    // Bytes taken from the heap for chunks.
    std::size_t ChunkBytes() const { return m_chunks.size() * kChunkBytes; }

private:
    struct FreeBlock {
        FreeBlock* next;
    };
    static constexpr std::size_t kClasses = kMaxBlock / kGrain;
    static std::size_t ClassOf(std::size_t n) { return (n + kGrain - 1) / kGrain - 1; }

    FreeBlock* m_free[kClasses] = {};
    std::vector<std::unique_ptr<std::uint8_t[]>> m_chunks;
    std::uint8_t* m_cursor = nullptr; // unused tail of the newest chunk
    std::size_t m_left = 0;
};
