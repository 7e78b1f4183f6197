// Sequential bytes of an image stream, read through a buffer of its own so that codecs
// decoding byte by byte do not pay for a stream call each; reports the end instead of
// reading past it.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "media/image_stream.h"

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
