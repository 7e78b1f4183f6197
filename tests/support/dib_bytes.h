// Bitmap resource bytes written by hand for tests: either header form, any bit depth, a
// colour table and the rows of pixel indices (or 0x00RRGGBB for 24 bits), top row first.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/base/byte_order.h"
#include "platform/base/geometry.h"

namespace test_support {

struct DibSpec {
    int headerSize = 40;  // 40 or 12
    int width = 0;
    int height = 0;
    int bitCount = 8;
    std::uint32_t colorsUsed = 0;              // written into a 40-byte header
    std::vector<plat::ColorRef> table;         // written as it is (any length)
    std::vector<std::vector<std::uint32_t>> rows; // top row first
};

inline std::vector<std::uint8_t> MakeDib(const DibSpec& s)
{
    std::vector<std::uint8_t> out(static_cast<std::size_t>(s.headerSize), 0);
    plat::StoreU32(&out[0], static_cast<std::uint32_t>(s.headerSize));
    if (s.headerSize == 40) {
        plat::StoreU32(&out[4], static_cast<std::uint32_t>(s.width));
        plat::StoreU32(&out[8], static_cast<std::uint32_t>(s.height));
        plat::StoreU16(&out[12], 1);
        plat::StoreU16(&out[14], static_cast<std::uint16_t>(s.bitCount));
        plat::StoreU32(&out[32], s.colorsUsed);
    } else {
        plat::StoreU16(&out[4], static_cast<std::uint16_t>(s.width));
        plat::StoreU16(&out[6], static_cast<std::uint16_t>(s.height));
        plat::StoreU16(&out[8], 1);
        plat::StoreU16(&out[10], static_cast<std::uint16_t>(s.bitCount));
    }
    for (plat::ColorRef c : s.table) {
        out.push_back(static_cast<std::uint8_t>(plat::BValue(c)));
        out.push_back(static_cast<std::uint8_t>(plat::GValue(c)));
        out.push_back(static_cast<std::uint8_t>(plat::RValue(c)));
        if (s.headerSize == 40) out.push_back(0);
    }
    const std::size_t rowBytes = ((static_cast<std::size_t>(s.width) * s.bitCount + 31) / 32) * 4;
    for (auto row = s.rows.rbegin(); row != s.rows.rend(); ++row) { // bottom row first
        std::vector<std::uint8_t> bytes(rowBytes, 0);
        for (std::size_t x = 0; x < row->size(); ++x) {
            const std::uint32_t v = (*row)[x];
            switch (s.bitCount) {
            case 1: bytes[x / 8] |= static_cast<std::uint8_t>((v & 1) << (7 - x % 8)); break;
            case 4: bytes[x / 2] |= static_cast<std::uint8_t>((v & 15) << (x % 2 ? 0 : 4)); break;
            case 8: bytes[x] = static_cast<std::uint8_t>(v); break;
            case 24:
                bytes[x * 3] = static_cast<std::uint8_t>(v);
                bytes[x * 3 + 1] = static_cast<std::uint8_t>(v >> 8);
                bytes[x * 3 + 2] = static_cast<std::uint8_t>(v >> 16);
                break;
            }
        }
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

} // namespace test_support
