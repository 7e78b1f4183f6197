#include "media/image_stream.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

namespace {
constexpr std::int64_t kMaxMemoryBytes = INT32_MAX;
}

CRasterImageFile::CRasterImageFile(std::FILE* file)
    : m_file(file), m_kind(kFile), m_borrowed(true), m_open(file != nullptr)
{
}

CRasterImageFile::CRasterImageFile(Kind kind)
    : m_kind(kind), m_open(kind == kMemory)
{
}

CRasterImageFile::CRasterImageFile(const std::uint8_t* data, std::size_t size)
    : m_kind(kMemory), m_open(true)
{
    if (size > 0 && Write(data, 1, size) == size) m_position = 0;
    else if (size > 0) m_open = false; // could not hold the data: every read fails
}

CRasterImageFile::CRasterImageFile(CRasterImageFile&& other) noexcept
{
    MoveFrom(other);
}

CRasterImageFile& CRasterImageFile::operator=(CRasterImageFile&& other) noexcept
{
    if (this != &other) {
        Close();
        MoveFrom(other);
    }
    return *this;
}

CRasterImageFile::~CRasterImageFile()
{
    Close();
}

void CRasterImageFile::MoveFrom(CRasterImageFile& other) noexcept
{
    m_file = std::exchange(other.m_file, nullptr);
    m_block = std::move(other.m_block);
    m_kind = other.m_kind;
    m_position = other.m_position;
    m_size = other.m_size;
    m_capacity = other.m_capacity;
    m_borrowed = other.m_borrowed;
    m_open = std::exchange(other.m_open, false);
}

std::size_t CRasterImageFile::Read(void* destination, std::size_t itemSize, std::size_t count)
{
    if (!m_open || itemSize == 0 || count == 0) return 0;
    if (count > SIZE_MAX / itemSize) return 0;
    if (m_kind == kFile) return std::fread(destination, itemSize, count, m_file);
    if (m_kind != kMemory || m_position >= m_size) return 0;
    std::size_t bytes = itemSize * count;
    std::size_t left = static_cast<std::size_t>(m_size - m_position);
    if (bytes > left) bytes = left;
    std::memcpy(destination, m_block.get() + m_position, bytes);
    m_position += static_cast<std::int32_t>(bytes);
    return bytes / itemSize;
}

std::size_t CRasterImageFile::Write(const void* source, std::size_t itemSize, std::size_t count)
{
    if (!m_open || itemSize == 0 || count == 0) return 0;
    if (count > SIZE_MAX / itemSize) return 0;
    if (m_kind == kFile) return std::fwrite(source, itemSize, count, m_file);
    if (m_kind != kMemory) return 0;
    std::size_t bytes = itemSize * count;
    if (bytes > static_cast<std::size_t>(kMaxMemoryBytes - m_position)) return 0;
    std::int64_t end = static_cast<std::int64_t>(m_position) + static_cast<std::int64_t>(bytes);
    if (m_capacity < end && !Reserve(end)) return 0;
    std::memcpy(m_block.get() + m_position, source, bytes);
    m_position = static_cast<std::int32_t>(end);
    if (m_size < m_position) m_size = m_position;
    return count;
}

int CRasterImageFile::Seek(std::int64_t offset, int origin)
{
    if (!m_open) return -1;
    if (m_kind == kFile) {
        if (offset < LONG_MIN || offset > LONG_MAX) return -1;
        return std::fseek(m_file, static_cast<long>(offset), origin) == 0 ? 0 : -1;
    }
    if (m_kind != kMemory) return -1;
    std::int64_t base;
    switch (origin) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = m_position; break;
    case SEEK_END: base = m_size; break;
    default: return -1;
    }
    if (offset > kMaxMemoryBytes || offset < -kMaxMemoryBytes) return -1;
    std::int64_t target = base + offset;
    if (target < 0 || target > kMaxMemoryBytes) return -1;
    m_position = static_cast<std::int32_t>(target);
    return 0;
}

std::int64_t CRasterImageFile::Tell() const
{
    if (!m_open) return -1;
    if (m_kind == kFile) return std::ftell(m_file);
    if (m_kind != kMemory) return -1;
    return m_position;
}

int CRasterImageFile::Flush()
{
    if (!m_open) return -1;
    if (m_kind == kFile) return std::fflush(m_file);
    return m_kind == kMemory ? 0 : -1;
}

bool CRasterImageFile::AtEnd() const
{
    if (!m_open) return true;
    if (m_kind == kFile) return std::feof(m_file) != 0;
    return m_position >= m_size;
}

bool CRasterImageFile::HasError() const
{
    if (!m_open) return true;
    if (m_kind == kFile) return std::ferror(m_file) != 0;
    return m_kind != kMemory;
}

int CRasterImageFile::PutByte(int c)
{
    if (!m_open) return -1;
    if (m_kind == kFile) return std::fputc(c, m_file);
    std::uint8_t byte = static_cast<std::uint8_t>(c);
    return Write(&byte, 1, 1) == 1 ? byte : -1;
}

void* CRasterImageFile::Reserve(std::int64_t n)
{
    if (!m_open) return nullptr;
    if (m_kind == kFile) return m_file;
    if (m_kind != kMemory || n > kMaxMemoryBytes) return nullptr;
    if (m_capacity >= n) return m_block.get();
    // Whole steps of 4096 bytes, and at least half as much again as the block holds, so
    // that a codec writing 4 KiB at a time does not copy the block at every write.
    std::int64_t wanted = std::max<std::int64_t>(n, std::int64_t(m_capacity) + m_capacity / 2);
    std::int64_t steps = (wanted - m_capacity + kGrowStep - 1) / kGrowStep;
    std::int64_t capacity = std::min<std::int64_t>(m_capacity + steps * kGrowStep, kMaxMemoryBytes);
    auto* grown = static_cast<std::uint8_t*>(std::realloc(m_block.get(), static_cast<std::size_t>(capacity)));
    if (!grown) return nullptr; // the old block stays whole
    (void)m_block.release();
    m_block.reset(grown);
    // Bytes a seek past the end leaves behind read back as zeros, never as stale memory.
    std::memset(grown + m_capacity, 0, static_cast<std::size_t>(capacity - m_capacity));
    m_capacity = static_cast<std::int32_t>(capacity);
    return grown;
}

int CRasterImageFile::Close()
{
    if (!m_open) return -1;
    if (m_borrowed) return -1;
    m_open = false;
    if (m_kind == kFile) {
        int rc = std::fclose(m_file);
        m_file = nullptr;
        return rc;
    }
    m_block.reset();
    m_position = m_size = m_capacity = 0;
    return 0;
}
