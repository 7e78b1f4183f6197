// Arithmetic on coordinates and sizes that come from files or settings saturates instead
// of wrapping: one clamp for every such place, with the range the place needs.
#pragma once
#include <cstdint>

namespace plat {

// v held within [lo, hi], by default the whole int32 range.
constexpr std::int32_t SaturateI32(std::int64_t v, std::int64_t lo = INT32_MIN, std::int64_t hi = INT32_MAX)
{
    return static_cast<std::int32_t>(v < lo ? lo : v > hi ? hi : v);
}

} // namespace plat
