// The "常用图形" drop-down of the full extension bar: a small window laid over the bar's
// button 32800. A click opens the shape menu above the bar; the tool chosen reaches the
// owner frame as WM_COMMAND. The menu is owner-drawn: five submenus of shape tools, each
// shown by its 16 x 16 picture, in columns.
#pragma once
#include <memory>

#include "editor/menu_xp.h"
#include "platform/ui/window.h"

class CQlMain;

class CShapeMenuButton : public plat::Window {
public:
    static constexpr int kCommand = 32800;
    // The caption's left edge, and how far above the button's top the menu opens.
    static constexpr int kCaptionX = 5;
    static constexpr int kMenuRise = 124;
    // The five submenu entries of the top menu, in order.
    static constexpr unsigned kLinesEntry = 32801;
    static constexpr unsigned kBasicShapesEntry = 32840;
    static constexpr unsigned kArrowsEntry = 32870;
    static constexpr unsigned kPolygonsEntry = 32820;
    static constexpr unsigned kFlowChartEntry = 32910;

    CShapeMenuButton();
    ~CShapeMenuButton() override;

    void SetOwnerFrame(CQlMain* frame) { m_frame = frame; }
    CQlMain* GetOwnerFrame() const { return m_frame; }
    plat::Menu& GetMenu() { return m_topMenu->GetMenu(); }
    CMenuXP& GetTopMenu() { return *m_topMenu; }
    // Where the menu opens: above the full extension bar's button 32800 on the screen, or
    // the screen's origin while that bar is hidden.
    plat::Point MenuPoint() const;

protected:
    plat::LResult WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam) override;

private:
    void OnPaint();
    void OnLButtonDown();

    CQlMain* m_frame = nullptr;
    std::unique_ptr<CMenuXP> m_topMenu;
};
