// A stream that writes line ends the way a stdio file opened in text mode does on the
// system the file formats come from: every line feed goes out as carriage return and line
// feed. The 8-bit exports (HTML in code page 936, RTF) write through it; a line feed byte
// never occurs inside a code page 936 character, so the translation is safe on bytes.
#pragma once
#include "platform/file/file.h"

namespace plat {

class TextModeStream : public Stream {
public:
    explicit TextModeStream(Stream& inner) : m_inner(inner) {}
    // Writing only: an export never reads back what it writes.
    size_t Read(void*, size_t) override { return 0; }
    void Write(const void* buffer, size_t n) override;
    std::uint64_t Seek(std::int64_t offset, SeekFrom from) override { return m_inner.Seek(offset, from); }
    std::uint64_t GetPosition() const override { return m_inner.GetPosition(); }
    std::uint64_t GetLength() const override { return m_inner.GetLength(); }
    void Flush() override { m_inner.Flush(); }

private:
    Stream& m_inner;
};

} // namespace plat
