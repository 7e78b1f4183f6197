// Points, sizes, rectangles and colour values shared by the whole control.
#pragma once
#include <algorithm>
#include <cstdint>

namespace plat {

// 0x00BBGGRR, as colour values travel in files and clipboards.
using ColorRef = std::uint32_t;

constexpr ColorRef Rgb(int r, int g, int b)
{
    return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RValue(ColorRef c) { return static_cast<int>(c & 0xFF); }
constexpr int GValue(ColorRef c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BValue(ColorRef c) { return static_cast<int>((c >> 16) & 0xFF); }

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    constexpr Point() = default;
    constexpr Point(std::int32_t px, std::int32_t py) : x(px), y(py) {}
    constexpr bool operator==(const Point&) const = default;
    constexpr Point operator+(const Point& o) const { return {x + o.x, y + o.y}; }
    constexpr Point operator-(const Point& o) const { return {x - o.x, y - o.y}; }
};

struct Size {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    constexpr Size() = default;
    constexpr Size(std::int32_t w, std::int32_t h) : cx(w), cy(h) {}
    constexpr bool operator==(const Size&) const = default;
};

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    constexpr Rect() = default;
    constexpr Rect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b)
        : left(l), top(t), right(r), bottom(b) {}
    constexpr bool operator==(const Rect&) const = default;

    constexpr std::int32_t Width() const { return right - left; }
    constexpr std::int32_t Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    // Half-open, as the platform's own hit tests are: the right and bottom edges are outside.
    constexpr bool Contains(Point p) const
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    constexpr void Offset(std::int32_t dx, std::int32_t dy)
    {
        left += dx; right += dx; top += dy; bottom += dy;
    }
    constexpr void Inflate(std::int32_t dx, std::int32_t dy)
    {
        left -= dx; right += dx; top -= dy; bottom += dy;
    }
    constexpr void Normalize()
    {
        if (left > right) std::swap(left, right);
        if (top > bottom) std::swap(top, bottom);
    }
    // Empty when the two do not overlap.
    constexpr Rect Intersect(const Rect& o) const
    {
        Rect r(std::max(left, o.left), std::max(top, o.top),
               std::min(right, o.right), std::min(bottom, o.bottom));
        return r.IsEmpty() ? Rect() : r;
    }
    constexpr Rect Union(const Rect& o) const
    {
        if (IsEmpty()) return o;
        if (o.IsEmpty()) return *this;
        return Rect(std::min(left, o.left), std::min(top, o.top),
                    std::max(right, o.right), std::max(bottom, o.bottom));
    }
};

} // namespace plat
