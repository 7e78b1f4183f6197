// Tooltips: a small window over a top-level window that names the tool under the mouse.
// Mouse messages are relayed to it (RelayEvent); resting over a tool for the initial delay
// shows its text below the mouse; moving onto another tool switches the text, leaving the
// tools or pressing a button hides it.
#pragma once
#include <vector>

#include "platform/ui/control.h"

namespace plat {

constexpr int kToolTipInitialDelayMs = 500;

class ToolTip : public Control {
public:
    // Made hidden, as a child of the top-level window.
    bool CreateFor(Window& top);
    // A tool: a window (the whole client area, or a rectangle of it) and its text.
    void AddTool(Window* tool, StringView text, const Rect* rect = nullptr);
    void DelTool(Window* tool);
    void UpdateTipText(Window* tool, StringView text);
    int GetToolCount() const { return static_cast<int>(m_tools.size()); }
    void SetInitialDelay(int ms) { m_delay = ms; }
    void Activate(bool active);
    // Mouse messages for the top window's tree.
    void RelayEvent(const Message& message);
    // The tool the tip shows or waits to show, or null.
    Window* GetCurrentTool() const { return m_current >= 0 ? m_tools[m_current].window : nullptr; }
    bool IsShown() const { return IsWindowVisible(); }

protected:
    LResult WindowProc(unsigned message, WParam wParam, LParam lParam) override;
    void Paint(Dc& dc) override;

private:
    struct Tool {
        Window* window = nullptr;
        String text;
        bool wholeClient = true;
        Rect rect;
    };
    void Show();
    void Hide();

    std::vector<Tool> m_tools;
    int m_current = -1;
    Point m_screenPoint;
    int m_delay = kToolTipInitialDelayMs;
    bool m_active = true;
};

} // namespace plat
