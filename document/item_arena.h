// Fixed-size blocks for text items. A document holds one item per character; the
// general allocator adds a header and rounds each block up, which would cost a third of
// a small item. The arena carves items out of large chunks and keeps freed blocks on one
// free list per size, so a closed document's blocks serve the next one.
//
// Chunks are cut from slabs mapped on a boundary of their own size and offered to the
// kernel for huge pages: a document of a million items then takes a few dozen page
// faults instead of tens of thousands, which on a virtual machine are the larger part of
// reading a long file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class CItemArena {
public:
    static constexpr std::size_t kGrain = 8;       // block sizes are multiples of this
    static constexpr std::size_t kMaxBlock = 128;  // larger requests go to the heap
    static constexpr std::size_t kChunkBytes = 64 * 1024;
    static constexpr std::size_t kSlabBytes = 2 * 1024 * 1024; // a huge page; a whole number of chunks

    // The arena text items come from; it lives until the process ends.
    static CItemArena& Instance();

    CItemArena() = default;
    ~CItemArena();
    CItemArena(const CItemArena&) = delete;
    CItemArena& operator=(const CItemArena&) = delete;

    void* Allocate(std::size_t n);
    // n must be the size the block was allocated with.
    void Free(void* p, std::size_t n);
    // Bytes of the chunks handed out.
    std::size_t ChunkBytes() const { return m_chunkCount * kChunkBytes; }
    // Bytes mapped for slabs: memory the general allocator's figures do not show.
    std::size_t SlabBytes() const { return m_slabs.size() * kSlabBytes; }

    // Makes a large block that is about to be filled (the item pointers of a long record)
    // present in one call, in huge pages where it spans them, rather than a fault a page.
    // Advice only: small blocks, and kernels without it, are left as they are.
    static void Prefault(void* p, std::size_t bytes);

private:
    struct FreeBlock {
        FreeBlock* next;
    };
    static constexpr std::size_t kClasses = kMaxBlock / kGrain;
    static std::size_t ClassOf(std::size_t n) { return (n + kGrain - 1) / kGrain - 1; }
    std::uint8_t* NewChunk();

    FreeBlock* m_free[kClasses] = {};
    std::vector<void*> m_slabs;
    std::uint8_t* m_slabCursor = nullptr; // chunks not yet handed out of the newest slab
    std::size_t m_slabLeft = 0;
    std::size_t m_chunkCount = 0;
    std::uint8_t* m_cursor = nullptr; // unused tail of the newest chunk
    std::size_t m_left = 0;
};
