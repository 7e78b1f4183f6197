// The serialisation archive: a buffered reader or writer of little-endian integers,
// doubles and counted strings over a stream. Reading past the end raises the archive's
// end-of-file error; nothing is ever read outside the data.
#pragma once
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/base/strings.h"
#include "platform/file/file.h"

namespace plat {

class ArchiveException : public std::runtime_error {
public:
    enum Cause {
        kGeneric = 1,
        kReadOnly,   // a write on a loading archive
        kEndOfFile,  // the data ended inside a record
        kWriteOnly,  // a read on a storing archive
        kBadIndex,   // a count, length or index in the data is out of range
        kBadClass,   // an unknown type code in the data
        kBadSchema,  // a record of a version or form this reader does not know
    };
    explicit ArchiveException(Cause cause, const std::string& what = std::string());
    Cause GetCause() const { return m_cause; }

private:
    Cause m_cause;
};

class Archive {
public:
    enum Mode { kLoad, kStore };
    static constexpr size_t kBufferSize = 4096;

    Archive(Stream& stream, Mode mode);
    // A storing archive flushes what it buffered; errors there are lost, so callers that
    // care call Close() first.
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    bool IsLoading() const { return m_mode == kLoad; }
    bool IsStoring() const { return m_mode == kStore; }
    Stream& GetStream() { return m_stream; }

    // Writes the buffer out (storing) and flushes the stream to its medium.
    void Close();
    // Writes the buffer out without flushing the medium.
    void Flush();

    // Small reads and writes that fit the buffer are copied here; the rest (and a wrong
    // mode) go the long way.
    void Read(void* buffer, size_t n)
    {
        if (m_mode == kLoad && n <= m_end - m_cur) {
            if (n) std::memcpy(buffer, m_buffer.data() + m_cur, n);
            m_cur += n;
            return;
        }
        ReadSlow(buffer, n);
    }
    void Write(const void* buffer, size_t n)
    {
        if (m_mode == kStore && n <= m_buffer.size() - m_cur) {
            if (n) std::memcpy(m_buffer.data() + m_cur, buffer, n);
            m_cur += n;
            return;
        }
        WriteSlow(buffer, n);
    }

    std::uint8_t ReadU8()
    {
        std::uint8_t b;
        Read(&b, 1);
        return b;
    }
    std::int8_t ReadI8() { return static_cast<std::int8_t>(ReadU8()); }
    std::uint16_t ReadU16()
    {
        std::uint8_t b[2];
        Read(b, 2);
        return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    }
    std::int16_t ReadI16() { return static_cast<std::int16_t>(ReadU16()); }
    std::uint32_t ReadU32()
    {
        std::uint8_t b[4];
        Read(b, 4);
        return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
               (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    }
    std::int32_t ReadI32() { return static_cast<std::int32_t>(ReadU32()); }
    double ReadDouble();
    float ReadFloat();
    // The counted form: an optional Unicode marker (0xFF, then uint16 0xFFFE), a length
    // (uint8 below 255; else 0xFF + uint16 below 0xFFFF; else 0xFF + 0xFFFF + uint32),
    // then UTF-16LE characters, or code page 936 bytes when the marker is absent.
    String ReadString();

    void WriteU8(std::uint8_t v) { Write(&v, 1); }
    void WriteI8(std::int8_t v) { WriteU8(static_cast<std::uint8_t>(v)); }
    void WriteU16(std::uint16_t v)
    {
        const std::uint8_t b[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
        Write(b, 2);
    }
    void WriteI16(std::int16_t v) { WriteU16(static_cast<std::uint16_t>(v)); }
    void WriteU32(std::uint32_t v)
    {
        const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                   static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
        Write(b, 4);
    }
    void WriteI32(std::int32_t v) { WriteU32(static_cast<std::uint32_t>(v)); }
    void WriteDouble(double v);
    void WriteFloat(float v);
    // Always the Unicode form.
    void WriteString(StringView s);

    // Bytes left to read: what the buffer holds plus what the stream still has.
    std::uint64_t Remaining() const;
    // Raises end-of-file unless at least n bytes are left; for checking a count read from
    // the data before anything is allocated for it.
    void Require(std::uint64_t n) const;

    Archive& operator<<(std::uint8_t v) { WriteU8(v); return *this; }
    Archive& operator<<(std::int8_t v) { WriteI8(v); return *this; }
    Archive& operator<<(std::uint16_t v) { WriteU16(v); return *this; }
    Archive& operator<<(std::int16_t v) { WriteI16(v); return *this; }
    Archive& operator<<(std::uint32_t v) { WriteU32(v); return *this; }
    Archive& operator<<(std::int32_t v) { WriteI32(v); return *this; }
    Archive& operator<<(double v) { WriteDouble(v); return *this; }
    Archive& operator<<(float v) { WriteFloat(v); return *this; }
    Archive& operator<<(const String& v) { WriteString(v); return *this; }

    Archive& operator>>(std::uint8_t& v) { v = ReadU8(); return *this; }
    Archive& operator>>(std::int8_t& v) { v = ReadI8(); return *this; }
    Archive& operator>>(std::uint16_t& v) { v = ReadU16(); return *this; }
    Archive& operator>>(std::int16_t& v) { v = ReadI16(); return *this; }
    Archive& operator>>(std::uint32_t& v) { v = ReadU32(); return *this; }
    Archive& operator>>(std::int32_t& v) { v = ReadI32(); return *this; }
    Archive& operator>>(double& v) { v = ReadDouble(); return *this; }
    Archive& operator>>(float& v) { v = ReadFloat(); return *this; }
    Archive& operator>>(String& v) { v = ReadString(); return *this; }

private:
    void ReadSlow(void* buffer, size_t n);
    void WriteSlow(const void* buffer, size_t n);
    void FillBuffer();
    void CheckLoading() const;
    void CheckStoring() const;

    Stream& m_stream;
    Mode m_mode;
    std::vector<std::uint8_t> m_buffer;
    size_t m_cur = 0; // next byte to read or write
    size_t m_end = 0; // end of the valid bytes (loading)
    bool m_closed = false;
};

} // namespace plat
