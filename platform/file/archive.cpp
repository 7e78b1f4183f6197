#include "platform/file/archive.h"

#include <cstring>

namespace plat {

namespace {
std::string ArchiveCauseText(ArchiveException::Cause cause)
{
    switch (cause) {
    case ArchiveException::kReadOnly: return "archive: write while loading";
    case ArchiveException::kEndOfFile: return "archive: unexpected end of data";
    case ArchiveException::kWriteOnly: return "archive: read while storing";
    case ArchiveException::kBadIndex: return "archive: count or index out of range";
    case ArchiveException::kBadClass: return "archive: unknown type in the data";
    case ArchiveException::kBadSchema: return "archive: unknown record form";
    default: return "archive error";
    }
}
} // namespace

ArchiveException::ArchiveException(Cause cause, const std::string& what)
    : std::runtime_error(what.empty() ? ArchiveCauseText(cause) : ArchiveCauseText(cause) + ": " + what),
      m_cause(cause)
{
}

Archive::Archive(Stream& stream, Mode mode)
    : m_stream(stream), m_mode(mode), m_buffer(kBufferSize)
{
}

Archive::~Archive()
{
    if (m_mode == kStore && !m_closed) {
        try {
            Flush();
        } catch (...) {
            // A destructor cannot report; Close() is the way to learn of the failure.
        }
    }
}

void Archive::CheckLoading() const
{
    if (m_mode != kLoad) throw ArchiveException(ArchiveException::kWriteOnly);
}

void Archive::CheckStoring() const
{
    if (m_mode != kStore) throw ArchiveException(ArchiveException::kReadOnly);
}

void Archive::Flush()
{
    if (m_mode == kStore && m_cur > 0) {
        size_t n = m_cur;
        m_cur = 0;
        m_stream.Write(m_buffer.data(), n);
    }
}

void Archive::Close()
{
    if (m_closed) return;
    m_closed = true;
    if (m_mode == kStore) {
        Flush();
        m_stream.Flush();
    }
}

void Archive::FillBuffer()
{
    // Keep the unread tail at the front, then top up from the stream.
    size_t left = m_end - m_cur;
    if (left && m_cur) std::memmove(m_buffer.data(), m_buffer.data() + m_cur, left);
    m_cur = 0;
    m_end = left;
    m_end += m_stream.Read(m_buffer.data() + m_end, m_buffer.size() - m_end);
}

void Archive::ReadSlow(void* buffer, size_t n)
{
    // Most reads are a field of a few bytes that the buffer already holds.
    if (m_mode == kLoad && n <= m_end - m_cur) {
        if (n) std::memcpy(buffer, m_buffer.data() + m_cur, n);
        m_cur += n;
        return;
    }
    CheckLoading();
    auto* out = static_cast<std::uint8_t*>(buffer);
    while (n > 0) {
        if (m_cur == m_end) {
            if (n >= m_buffer.size()) {
                // Large reads go straight to the stream.
                size_t got = m_stream.Read(out, n);
                if (got < n) throw ArchiveException(ArchiveException::kEndOfFile);
                return;
            }
            FillBuffer();
            if (m_cur == m_end) throw ArchiveException(ArchiveException::kEndOfFile);
        }
        size_t take = std::min(n, m_end - m_cur);
        std::memcpy(out, m_buffer.data() + m_cur, take);
        m_cur += take;
        out += take;
        n -= take;
    }
}

void Archive::WriteSlow(const void* buffer, size_t n)
{
    CheckStoring();
    auto* in = static_cast<const std::uint8_t*>(buffer);
    while (n > 0) {
        if (m_cur == m_buffer.size()) Flush();
        if (m_cur == 0 && n >= m_buffer.size()) {
            m_stream.Write(in, n);
            return;
        }
        size_t take = std::min(n, m_buffer.size() - m_cur);
        std::memcpy(m_buffer.data() + m_cur, in, take);
        m_cur += take;
        in += take;
        n -= take;
    }
}

double Archive::ReadDouble()
{
    std::uint8_t b[8];
    Read(b, 8);
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | b[i];
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

float Archive::ReadFloat()
{
    std::uint32_t bits = ReadU32();
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

void Archive::WriteDouble(double v)
{
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof v);
    std::uint8_t b[8];
    for (int i = 0; i < 8; ++i) b[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    Write(b, 8);
}

void Archive::WriteFloat(float v)
{
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof v);
    WriteU32(bits);
}

std::uint64_t Archive::Remaining() const
{
    if (m_mode != kLoad) return 0;
    std::uint64_t len = m_stream.GetLength();
    std::uint64_t pos = m_stream.GetPosition();
    return (m_end - m_cur) + (len > pos ? len - pos : 0);
}

void Archive::Require(std::uint64_t n) const
{
    // What the buffer holds needs no question to the stream.
    if (m_mode == kLoad && n <= static_cast<std::uint64_t>(m_end - m_cur)) return;
    if (Remaining() < n) throw ArchiveException(ArchiveException::kEndOfFile);
}

String Archive::ReadString()
{
    bool unicode = false;
    std::uint64_t length = ReadU8();
    if (length == 0xFF) {
        length = ReadU16();
        if (length == 0xFFFE) {
            unicode = true;
            length = ReadU8();
            if (length == 0xFF) {
                length = ReadU16();
                if (length == 0xFFFE) throw ArchiveException(ArchiveException::kBadSchema, "string marker repeated");
                if (length == 0xFFFF) length = ReadU32();
            }
        } else if (length == 0xFFFF) {
            length = ReadU32();
        }
    }
    std::uint64_t bytes = unicode ? length * 2 : length;
    Require(bytes); // a length beyond the data is refused before anything is allocated
    if (unicode) {
        String s(static_cast<size_t>(length), u'\0');
        std::vector<std::uint8_t> raw(static_cast<size_t>(bytes));
        if (bytes) Read(raw.data(), raw.size());
        for (size_t i = 0; i < s.size(); ++i)
            s[i] = static_cast<char16_t>(raw[2 * i] | (raw[2 * i + 1] << 8));
        return s;
    }
    std::string raw(static_cast<size_t>(bytes), '\0');
    if (bytes) Read(raw.data(), raw.size());
    return Cp936ToUtf16(raw);
}

void Archive::WriteString(StringView s)
{
    WriteU8(0xFF);
    WriteU16(0xFFFE);
    std::uint64_t n = s.size();
    if (n < 0xFF) {
        WriteU8(static_cast<std::uint8_t>(n));
    } else if (n < 0xFFFE) {
        WriteU8(0xFF);
        WriteU16(static_cast<std::uint16_t>(n));
    } else {
        WriteU8(0xFF);
        WriteU16(0xFFFF);
        WriteU32(static_cast<std::uint32_t>(n));
    }
    std::vector<std::uint8_t> raw(s.size() * 2);
    for (size_t i = 0; i < s.size(); ++i) {
        raw[2 * i] = static_cast<std::uint8_t>(s[i]);
        raw[2 * i + 1] = static_cast<std::uint8_t>(s[i] >> 8);
    }
    if (!raw.empty()) Write(raw.data(), raw.size());
}

} // namespace plat
