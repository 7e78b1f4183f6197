#include "document/plane_geometry.h"

#include <cmath>
#include <cstdint>

#include "document/units.h"

namespace {
double Normalize(double angle)
{
    if (angle < 0) angle += kTwoPi;
    else if (angle > kTwoPi) angle -= kTwoPi;
    return angle;
}
} // namespace

double SinAngle(double angle)
{
    return -std::sin(Normalize(angle));
}

double CosAngle(double angle)
{
    return std::cos(Normalize(angle));
}

double Distance(int x1, int y1, int x2, int y2)
{
    double dx = static_cast<double>(x2) - x1;
    double dy = static_cast<double>(y2) - y1;
    return std::sqrt(dx * dx + dy * dy);
}

double LineAngle(int x1, int y1, int x2, int y2)
{
    if (y1 == y2) return x1 < x2 ? 0.0 : kPi;
    if (x1 == x2) return y2 < y1 ? kHalfPi : kThreeHalfPi;
    double a = std::atan(std::fabs(static_cast<double>(y2) - y1) / std::fabs(static_cast<double>(x2) - x1));
    if (y2 < y1) return x2 < x1 ? kPi - a : a;
    return x2 < x1 ? kPi + a : kTwoPi - a;
}

plat::Point OffsetPointOnLine(int x1, int y1, int x2, int y2, int dx, int dy)
{
    double angle = LineAngle(x1, y1, x2, y2);
    if (angle == 0.0) return {x2 + dx, y2 + dy};
    if (angle == kPi) return {x2 - dx, y2 - dy};
    int d = TruncToInt(Distance(x1, y1, x2, y2));
    int r = TruncToInt(Distance(0, 0, dx + d, dy));
    double theta = Normalize(LineAngle(0, 0, dx + d, dy) + angle);
    return {x1 + TruncToInt(r * CosAngle(theta)), y1 + TruncToInt(r * SinAngle(theta))};
}

plat::Point PointAtDistance(int x1, int y1, int x2, int y2, int x3, int y3)
{
    double d = Distance(x1, y1, x2, y2);
    if (x1 != x3) {
        double k = (static_cast<double>(y1) - y3) / (static_cast<double>(x1) - x3);
        double t = std::sqrt(d * d / (k * k + 1));
        int x = x3 < x1 ? x1 - TruncToInt(t) : x1 + TruncToInt(t);
        int y = TruncToInt(k * (static_cast<double>(x) - x1) + y1);
        return {x, y};
    }
    return {x3, y3 < y1 ? y1 - TruncToInt(d) : y1 + TruncToInt(d)};
}

plat::Point LineIntersection(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    bool firstVertical = x1 == x2;
    bool secondVertical = x3 == x4;
    if (firstVertical && secondVertical) return {x1, y1};
    double k1 = firstVertical ? 0 : (static_cast<double>(y2) - y1) / (static_cast<double>(x2) - x1);
    double b1 = y1 - k1 * x1;
    double k2 = secondVertical ? 0 : (static_cast<double>(y4) - y3) / (static_cast<double>(x4) - x3);
    double b2 = y3 - k2 * x3;
    if (firstVertical) return {x1, TruncToInt(b2 + k2 * x1)};
    if (secondVertical) return {x3, TruncToInt(b1 + k1 * x3)};
    if (k1 == k2) return {x1, y1}; // parallel: no single meeting point
    int x = TruncToInt((b2 - b1) / (k1 - k2));
    int y = std::fabs(k2) > std::fabs(k1) ? TruncToInt(b1 + k1 * x) : TruncToInt(x * k2 + b2);
    return {x, y};
}

plat::Size FitRect(int w, int h, int boxW, int boxH, plat::Point& position)
{
    std::int64_t hW = static_cast<std::int64_t>(h) * boxW;
    std::int64_t wH = static_cast<std::int64_t>(w) * boxH;
    if ((w <= boxW && h <= boxH) || w <= 0 || h <= 0) {
        position.x += (boxW - w) / 2;
        position.y += (boxH - h) / 2;
        return {w, h};
    }
    if (hW == wH) return {boxW, boxH};
    if (hW < wH) {
        int fittedH = static_cast<int>(hW / w);
        position.y += (boxH - fittedH) / 2;
        return {boxW, fittedH};
    }
    int fittedW = static_cast<int>(wH / h);
    position.x += (boxW - fittedW) / 2;
    return {fittedW, boxH};
}
