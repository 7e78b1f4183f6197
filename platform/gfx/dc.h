// The device context: what the control draws on and measures with.
#pragma once

namespace plat {

// Indices of GetDeviceCaps, with the values callers of the drawing layer know them by.
enum DeviceCap {
    kLogPixelsX = 88,
    kLogPixelsY = 90,
};

// The screen and the desktop are 96-dpi devices; printers and page images may differ.
constexpr int kScreenDpi = 96;

class Dc {
public:
    explicit Dc(int dpiX = kScreenDpi, int dpiY = kScreenDpi) : m_dpiX(dpiX), m_dpiY(dpiY) {}
    virtual ~Dc() = default;
    Dc(const Dc&) = delete;
    Dc& operator=(const Dc&) = delete;

    int GetDeviceCaps(int index) const;
    int LogPixelsY() const { return m_dpiY; }

private:
    int m_dpiX;
    int m_dpiY;
};

} // namespace plat
