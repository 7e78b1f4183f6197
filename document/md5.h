// The MD5 message digest (RFC 1321), as the document password digest uses it.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

class CMD5 {
public:
    using Digest = std::array<std::uint8_t, 16>;

    CMD5() { Reset(); }
    void Reset();
    void Update(const void* data, std::size_t length);
    // The digest of everything given since the last reset; the object is reset after.
    Digest Final();

    // The digest of one block of data.
    static Digest Of(const void* data, std::size_t length);

private:
    void Transform(const std::uint8_t block[64]);

    std::uint32_t m_state[4];
    std::uint64_t m_length; // bytes given so far
    std::uint8_t m_buffer[64];
};
