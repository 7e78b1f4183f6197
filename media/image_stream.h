// The byte stream every image codec reads and writes: either an open stdio file that the
// caller owns, or a growable memory block. Operations are shaped like the stdio ones so
// that the codecs and the libraries' callbacks see one interface for both.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

class CRasterImageFile {
public:
    enum Kind : std::uint32_t { kFile = 0, kMemory = 1 };
    // Memory blocks grow in whole steps of this many bytes.
    static constexpr std::int32_t kGrowStep = 4096;

    // Over an open file; the stream borrows it and never closes it.
    explicit CRasterImageFile(std::FILE* file);
    // Empty, of a kind; an empty memory stream allocates on its first write.
    explicit CRasterImageFile(Kind kind);
    // A memory stream holding a copy of the bytes, positioned at the start.
    CRasterImageFile(const std::uint8_t* data, std::size_t size);
    // Takes every field of the other, which is left without a handle.
    CRasterImageFile(CRasterImageFile&& other) noexcept;
    CRasterImageFile& operator=(CRasterImageFile&& other) noexcept;
    CRasterImageFile(const CRasterImageFile&) = delete;
    CRasterImageFile& operator=(const CRasterImageFile&) = delete;
    ~CRasterImageFile();

    // Items read; with the memory kind a partial last item is consumed but not counted.
    std::size_t Read(void* destination, std::size_t itemSize, std::size_t count);
    // Items written; 0 when the memory block cannot grow that far.
    std::size_t Write(const void* source, std::size_t itemSize, std::size_t count);
    // origin 0 from the start, 1 from the position, 2 from the end; 0 or -1.
    int Seek(std::int64_t offset, int origin);
    std::int64_t Tell() const;
    int Flush();
    bool AtEnd() const;
    bool HasError() const;
    // The byte as 0-255, or -1.
    int PutByte(int c);
    // Memory kind: grows the block to hold at least n bytes; the block, or none when it
    // cannot grow. File kind: no effect.
    void* Reserve(std::int64_t n);
    // 0 when closed; -1 for a borrowed handle (left alone) or no handle.
    int Close();

    Kind GetKind() const { return m_kind; }
    bool IsOpen() const { return m_open; }
    // Memory kind: the bytes written so far.
    const std::uint8_t* Data() const { return m_block.get(); }
    std::int32_t Size() const { return m_size; }
    std::int32_t Capacity() const { return m_capacity; }

private:
    struct FreeBlock {
        void operator()(std::uint8_t* p) const { std::free(p); }
    };
    void MoveFrom(CRasterImageFile& other) noexcept;

    std::FILE* m_file = nullptr;                       // file kind
    std::unique_ptr<std::uint8_t, FreeBlock> m_block;  // memory kind
    Kind m_kind = kFile;
    std::int32_t m_position = 0;
    std::int32_t m_size = 0;
    std::int32_t m_capacity = 0;
    bool m_borrowed = false;
    // Usable: from construction over a file or as a memory stream until closed or moved
    // away (a memory stream is open before its block exists).
    bool m_open = false;
};
