// Builds native-file records byte by byte, independently of the archive writer, so that
// tests can pin the exact bytes of a record and craft damaged or hostile ones.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/strings.h"
#include "platform/file/archive.h"

namespace testsupport {

using Bytes = std::vector<std::uint8_t>;

class RecordBuilder {
public:
    RecordBuilder& U8(std::uint8_t v)
    {
        m_bytes.push_back(v);
        return *this;
    }
    RecordBuilder& I16(std::int16_t v) { return Le(static_cast<std::uint16_t>(v), 2); }
    RecordBuilder& I32(std::int32_t v) { return Le(static_cast<std::uint32_t>(v), 4); }
    RecordBuilder& U32(std::uint32_t v) { return Le(v, 4); }
    RecordBuilder& Zeros(size_t n)
    {
        m_bytes.insert(m_bytes.end(), n, 0);
        return *this;
    }
    RecordBuilder& Raw(const Bytes& b)
    {
        m_bytes.insert(m_bytes.end(), b.begin(), b.end());
        return *this;
    }
    RecordBuilder& Raw(const std::string& ascii)
    {
        // Byte by byte: gcc 12 warns falsely about the range insert of a string here.
        for (const char c : ascii) m_bytes.push_back(static_cast<std::uint8_t>(c));
        return *this;
    }
    // The Unicode counted form (strings shorter than 255 characters).
    RecordBuilder& Str(plat::StringView s)
    {
        U8(0xFF).Le(0xFFFE, 2).U8(static_cast<std::uint8_t>(s.size()));
        for (char16_t c : s) Le(c, 2);
        return *this;
    }
    const Bytes& Get() const { return m_bytes; }
    size_t Size() const { return m_bytes.size(); }

private:
    RecordBuilder& Le(std::uint32_t v, int n)
    {
        for (int i = 0; i < n; ++i) m_bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        return *this;
    }
    Bytes m_bytes;
};

// The bytes a writer puts into a storing archive.
inline Bytes WrittenBy(const std::function<void(plat::Archive&)>& write)
{
    plat::MemFile mem;
    plat::Archive ar(mem, plat::Archive::kStore);
    write(ar);
    ar.Close();
    return mem.Data();
}

// Runs a reader over the bytes; returns the number of bytes it left unread.
inline std::uint64_t ReadBy(const Bytes& bytes, const std::function<void(plat::Archive&)>& read)
{
    plat::MemFile mem(bytes);
    plat::Archive ar(mem, plat::Archive::kLoad);
    read(ar);
    return ar.Remaining();
}

} // namespace testsupport
