// The colour pop-ups of the frame's colour commands: the palette of the standard colours
// with "自动颜色" (line colour), and the same with the eight fill patterns (fill). Each
// appears at a screen point (centred on its parent when the point is 0, 0), holds the
// mouse so that the first click anywhere decides, and ends with OK (a choice was made) or
// cancel. The colour picker (color_picker_dlg.h) shares their cells and placement.
#pragma once
#include <array>
#include <cstdint>

#include "document/color_palette.h"
#include "platform/ui/dialog.h"

// The automatic colours a pop-up can give instead of a colour.
constexpr std::int32_t kAutomaticTextColor = static_cast<std::int32_t>(0x80000001);
constexpr std::int32_t kAutomaticFillColor = static_cast<std::int32_t>(0x80000002);

// What the three colour pop-ups share: the screen point, placement and the cells.
class CColorPopupDlg : public plat::Dialog {
public:
    int m_x = 0;
    int m_y = 0;

protected:
    CColorPopupDlg(int templateId, plat::Window* parent);
    // Moves the window to (m_x, m_y) with the size, or centres it on the parent (else keeps
    // its centre) when both are 0.
    void PlaceAt(plat::Size size);
    // The id of the visible control under a client point inside the window; 0 for none.
    int ControlAt(plat::Point client) const;
    static bool IsCell(int id);
    static int CellIndex(int id);
    // The client point of a mouse message's lParam.
    static plat::Point ClientPoint(plat::LParam lParam);
    // Lets go of the mouse and ends the pop-up with the result.
    void Finish(int result);

    plat::Window* m_parent;
};

class CColorPaletteDlg : public CColorPopupDlg {
public:
    explicit CColorPaletteDlg(plat::Window* parent = nullptr);

    std::int32_t m_color = 0xFF0000;
    std::array<std::int32_t, CColorPalette::kStandardCount> m_colors;

protected:
    CColorPaletteDlg(int templateId, std::int32_t color, plat::Window* parent);
    bool OnInitDialog() override;
    void OnDrawItem(plat::DrawItem& item) override;
    plat::LResult WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam) override;
    // A click that no cell or the automatic button took: false cancels.
    virtual bool OnOtherClick(int /*id*/) { return false; }
    virtual std::int32_t AutomaticColor() const { return kAutomaticTextColor; }
};

class CColorPatternPaletteDlg : public CColorPaletteDlg {
public:
    // Fill patterns 1 none, 2 solid, 3 horizontal, 4 vertical, 5 cross, 6 forward
    // diagonal, 7 backward diagonal, 8 diagonal cross.
    static constexpr int kPatternCount = 8;

    explicit CColorPatternPaletteDlg(plat::Window* parent = nullptr);

    int m_pattern = 2;

protected:
    void OnDrawItem(plat::DrawItem& item) override;
    bool OnOtherClick(int id) override;
    std::int32_t AutomaticColor() const override { return kAutomaticFillColor; }

private:
    void DrawPatternButton(plat::DrawItem& item, int pattern) const;
};
