#include "document/md5.h"

#include <cstring>

namespace {

constexpr std::uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

// Left rotations, four per round.
constexpr int kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

constexpr std::uint32_t Rotate(std::uint32_t x, int n)
{
    return (x << n) | (x >> (32 - n));
}

} // namespace

void CMD5::Reset()
{
    m_state[0] = 0x67452301;
    m_state[1] = 0xefcdab89;
    m_state[2] = 0x98badcfe;
    m_state[3] = 0x10325476;
    m_length = 0;
    std::memset(m_buffer, 0, sizeof m_buffer);
}

void CMD5::Transform(const std::uint8_t block[64])
{
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i) {
        x[i] = static_cast<std::uint32_t>(block[4 * i]) | (static_cast<std::uint32_t>(block[4 * i + 1]) << 8) |
               (static_cast<std::uint32_t>(block[4 * i + 2]) << 16) |
               (static_cast<std::uint32_t>(block[4 * i + 3]) << 24);
    }
    std::uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];
    for (int i = 0; i < 64; ++i) {
        const int round = i / 16;
        std::uint32_t f;
        int k;
        switch (round) {
        case 0: f = (b & c) | (~b & d); k = i; break;
        case 1: f = (d & b) | (~d & c); k = (5 * i + 1) % 16; break;
        case 2: f = b ^ c ^ d; k = (3 * i + 5) % 16; break;
        default: f = c ^ (b | ~d); k = (7 * i) % 16; break;
        }
        const std::uint32_t next = b + Rotate(a + f + kSine[i] + x[k], kShift[round][i % 4]);
        a = d;
        d = c;
        c = b;
        b = next;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
}

void CMD5::Update(const void* data, std::size_t length)
{
    const auto* in = static_cast<const std::uint8_t*>(data);
    std::size_t used = static_cast<std::size_t>(m_length % 64);
    m_length += length;
    if (used) {
        const std::size_t take = length < 64 - used ? length : 64 - used;
        std::memcpy(m_buffer + used, in, take);
        in += take;
        length -= take;
        used += take;
        if (used < 64) return;
        Transform(m_buffer);
    }
    for (; length >= 64; in += 64, length -= 64) Transform(in);
    if (length) std::memcpy(m_buffer, in, length);
}

CMD5::Digest CMD5::Final()
{
    const std::uint64_t bits = m_length * 8;
    // A one bit, zeros up to 56 bytes modulo 64, then the length in bits.
    std::uint8_t pad[72] = {0x80};
    const std::size_t used = static_cast<std::size_t>(m_length % 64);
    const std::size_t padLength = used < 56 ? 56 - used : 120 - used;
    for (int i = 0; i < 8; ++i) pad[padLength + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    Update(pad, padLength + 8);

    Digest out;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) out[static_cast<std::size_t>(4 * i + j)] = static_cast<std::uint8_t>(m_state[i] >> (8 * j));
    Reset();
    return out;
}

CMD5::Digest CMD5::Of(const void* data, std::size_t length)
{
    CMD5 md5;
    md5.Update(data, length);
    return md5.Final();
}
