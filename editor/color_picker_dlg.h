// The colour picker: the standard colours and the document palette's custom row, "文本" and
// "填充" for the automatic colours and, after "颜色", a hue and saturation field, a
// luminance bar and edits of red, green, blue, hue, saturation and luminance (0-240 scale).
// The colour chosen with "添加" joins the document's custom row, so it travels with the
// document. Compact, it holds the mouse so the first click decides; expanded, its controls
// work by themselves.
#pragma once
#include <cstdint>

#include "document/ql_doc.h"
#include "editor/color_palette_dlg.h"

class CColorPickerDlg : public CColorPopupDlg {
public:
    // The size of the compact picker, in pixels.
    static constexpr plat::Size kCompactSize{620, 110};
    // The hue and saturation field and the luminance bar, in pixels.
    static constexpr int kFieldWidth = 176;
    static constexpr int kFieldHeight = 172;
    static constexpr int kBarStripWidth = 9;

    enum class DragMode : int { kNone = 0, kLuminance = 1, kHueSaturation = 2 };

    CColorPickerDlg(CColorPalette& palette, ColorPickerAutomatic automatic, plat::Window* parent = nullptr);

    // Hue, saturation and luminance from red, green and blue; a grey keeps the hue.
    void UpdateHslFromRgb();
    // The colour of hue, saturation and luminance.
    plat::ColorRef HslToColor() const;
    // The marker of the field at the current hue and saturation, in the field's pixels.
    plat::Rect GetMarkerRect() const;

    int m_blue = 0;
    int m_green = 0;
    int m_red = 0;
    int m_hue = 0;
    int m_luminance = 0;
    int m_saturation = 0;
    CColorPalette& m_palette;
    plat::Rect m_fullRect;
    bool m_expanded = false;
    DragMode m_drag = DragMode::kNone;
    ColorPickerAutomatic m_automatic;
    std::int32_t m_color = 0;

protected:
    bool OnInitDialog() override;
    bool OnCommand(unsigned id, unsigned code, plat::Window* control) override;
    void OnDrawItem(plat::DrawItem& item) override;
    plat::LResult WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam) override;

private:
    void OnLButtonDown(plat::Point client);
    // Applies a drag position (the dialog's client point); ends the drag on release.
    void OnDrag(plat::Point client, bool release);
    void OnEditChange(unsigned id);
    void Expand();
    // Red, green and blue from the colour (automatic colours give black).
    void SetRgbFromColor(plat::ColorRef color);
    void TakeHslColor();
    void FillEdits();
    void Repaint(int id);
    plat::Point ControlPoint(int id, plat::Point client) const;
    void DrawField(plat::Dc& dc, plat::Rect rect) const;
    void DrawLuminanceBar(plat::Dc& dc, const plat::Rect& rect) const;
    void DrawCell(plat::DrawItem& item) const;

    bool m_filling = false; // the edits are being refreshed: their changes are ours
};

// Makes the document's colour picker hook run CColorPickerDlg.
void InstallColorPickerDialog();
