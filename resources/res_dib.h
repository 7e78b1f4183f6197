// Pictures from the module's bitmap resources, drawn plain, stretched, AND-blended or with a
// transparent colour; and the painters of button faces and colour cells that the palettes,
// dialogs and flat buttons share.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "resources/res_bitmaps.h"

// A bitmap resource held as its own bytes (header, colour table, bits) and drawn straight
// from them. Every draw of an empty one draws nothing and returns false.
class CResDib {
public:
    CResDib();
    ~CResDib();
    CResDib(const CResDib&) = delete;
    CResDib& operator=(const CResDib&) = delete;

    // Takes a copy of the named bitmap resource. When it cannot be had, returns false and
    // keeps what was loaded before.
    bool Load(plat::StringView name);
    // The same from bytes in the bitmap resource form (res_bitmaps.h), kept under the name.
    bool Load(plat::StringView name, std::span<const std::uint8_t> bytes);
    void Free();

    bool IsEmpty() const { return m_bytes.empty(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    const plat::String& GetName() const { return m_name; }
    // The palette made from the colour table when the header counts the colours it uses;
    // empty otherwise (a header with 0 colours used has none, whatever its depth).
    const std::vector<plat::ColorRef>& GetPalette() const { return m_palette; }

    // The picture in (x, y, width, height): copied pixel for pixel at its own size, else
    // stretched taking the nearest pixel (colours are never blended).
    bool Draw(plat::Dc& dc, int x, int y, int width, int height) const;
    bool DrawInRect(plat::Dc& dc, int left, int top, int right, int bottom) const;
    bool DrawAt(plat::Dc& dc, int x, int y) const;
    bool DrawAtOrigin(plat::Dc& dc) const;
    // Stretched and ANDed with what is there: white pixels of the picture leave the
    // destination as it is, darker ones darken it (pictures on a face-coloured background).
    bool StretchDraw(plat::Dc& dc, int x, int y, int width, int height) const;
    // Stretched to width x height at (x, y), leaving out every pixel of exactly the
    // transparent colour.
    bool DrawTransparent(plat::Dc& dc, int x, int y, int width, int height, plat::ColorRef transparent) const;

    // The whole bitmap onto dc at (x, y) without its pixels of the transparent colour, by a
    // mask cut from it (1 where the colour is): the destination stays where the mask is 1.
    static bool BlitTransparent(plat::Dc& dc, plat::Bitmap& bitmap, int x, int y, plat::ColorRef transparent);

private:
    bool Copy(plat::Dc& dc, int x, int y, int width, int height, std::uint32_t rop) const;

    std::vector<std::uint8_t> m_bytes;
    DibLayout m_layout;
    std::vector<plat::ColorRef> m_palette;
    int m_width = 0;
    int m_height = 0;
    plat::String m_name;
};

// Face and cell painters. Rectangles exclude their right and bottom edges.

// The button face in the active-border system colour.
void FillButtonFace(plat::Dc& dc, const plat::Rect& rect);
// The face with white on the first column and row, grey 0x808080 on the second-to-last and
// black on the last.
void DrawRaisedButton(plat::Dc& dc, const plat::Rect& rect);
// The face of a pressed button: the "IDB_PATTERN_SELECT" pattern (aligned on the device's
// origin, as brushes are), black on the first column and row, grey 0x808080 on the second,
// light grey 0xC0C0C0 on the second-to-last and white on the last.
void DrawPressedButton(plat::Dc& dc, const plat::Rect& rect);
// A colour cell: light grey, a black ring inside it, the colour inside that.
void DrawColourCell(plat::Dc& dc, const plat::Rect& rect, plat::ColorRef color);
// The selected colour cell: a white ring, a ring in the inverse of the colour, the colour.
void DrawSelectedCell(plat::Dc& dc, const plat::Rect& rect, plat::ColorRef color);
// A one-pixel outline along the rectangle's edges; the rectangle then shrinks by 1 a side.
void DrawFrameRect(plat::Dc& dc, plat::Rect& rect, plat::ColorRef color);
