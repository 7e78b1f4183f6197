// Sequential bytes of an image stream, read through a buffer of its own so that codecs
// decoding byte by byte do not pay for a stream call each; reports the end instead of
// reading past it.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "media/image_stream.h"

// How many bytes are left from the stream's position; the largest number when that cannot
// be told (the position stays where it was). Codecs compare it with the least a picture's
// declared size needs, so that a short file claiming a huge picture is refused before
// its pixels are allocated.
inline std::uint64_t StreamBytesLeft(CRasterImageFile& stream)
{
    const std::int64_t at = stream.Tell();
    if (at < 0 || stream.Seek(0, SEEK_END) != 0) return UINT64_MAX;
    const std::int64_t end = stream.Tell();
    if (stream.Seek(at, SEEK_SET) != 0 || end < at) return UINT64_MAX;
    return static_cast<std::uint64_t>(end - at);
}

class CStreamBytes {
public:
    explicit CStreamBytes(CRasterImageFile& stream) : m_stream(stream) {}
    CStreamBytes(const CStreamBytes&) = delete;
    CStreamBytes& operator=(const CStreamBytes&) = delete;

    bool Next(std::uint8_t& b)
    {
        if (m_pos == m_end && !Refill()) return false;
        b = m_buffer[m_pos++];
        return true;
    }
    // Up to n bytes into out; how many there were.
    std::size_t Take(std::uint8_t* out, std::size_t n)
    {
        std::size_t done = 0;
        while (done < n) {
            if (m_pos == m_end && !Refill()) break;
            const std::size_t chunk = std::min(n - done, m_end - m_pos);
            std::memcpy(out + done, m_buffer + m_pos, chunk);
            m_pos += chunk;
            done += chunk;
        }
        return done;
    }
    // Whether nothing is left to read.
    bool AtEnd() { return m_pos == m_end && !Refill(); }

private:
    bool Refill()
    {
        m_end = m_stream.Read(m_buffer, 1, sizeof m_buffer);
        m_pos = 0;
        return m_end != 0;
    }

    CRasterImageFile& m_stream;
    std::uint8_t m_buffer[8192];
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
};
