// Buttons: push and default push buttons, check boxes and radio buttons (plain and
// automatic, radio buttons grouped from a kWsGroup control to the next), group boxes and
// owner-drawn buttons. A click (mouse press and release over the button, Space, BM_CLICK or
// Click) notifies the parent BN_CLICKED; a disabled button ignores it.
#pragma once
#include "platform/ui/control.h"

namespace plat {

// Button styles, with their Windows values.
constexpr unsigned kBsPushButton = 0x0;
constexpr unsigned kBsDefPushButton = 0x1;
constexpr unsigned kBsCheckBox = 0x2;
constexpr unsigned kBsAutoCheckBox = 0x3;
constexpr unsigned kBsRadioButton = 0x4;
constexpr unsigned kBs3State = 0x5;
constexpr unsigned kBsAuto3State = 0x6;
constexpr unsigned kBsGroupBox = 0x7;
constexpr unsigned kBsAutoRadioButton = 0x9;
constexpr unsigned kBsOwnerDraw = 0xB;
constexpr unsigned kBsTypeMask = 0xF;
enum ButtonMessage : unsigned {
    kBmGetCheck = 0x00F0,
    kBmSetCheck = 0x00F1, // wParam: kBstUnchecked, kBstChecked or kBstIndeterminate
    kBmClick = 0x00F5,
};
enum ButtonCheck : int { kBstUnchecked = 0, kBstChecked = 1, kBstIndeterminate = 2 };
constexpr unsigned kBnClicked = 0;

class Button : public Control {
public:
    unsigned GetButtonType() const { return GetStyle() & kBsTypeMask; }
    bool IsPushButton() const;
    bool IsRadio() const;
    bool IsCheckBox() const;
    int GetCheck() const { return m_check; }
    void SetCheck(int check);
    bool IsPushed() const { return m_pushed; }
    // What the user's click does: an automatic check box toggles (three states in turn for
    // kBsAuto3State), an automatic radio button is checked and the others of its group
    // cleared; then BN_CLICKED. False, and nothing done, when the button is disabled.
    bool Click();
    // Makes a push button the default one (kBsDefPushButton) or a plain one.
    void SetDefault(bool on);

protected:
    LResult WindowProc(unsigned message, WParam wParam, LParam lParam) override;
    void Paint(Dc& dc) override;
    unsigned DlgCode(int virtualKey) const override;

private:
    int m_check = kBstUnchecked;
    bool m_pushed = false;
};

// The buttons of the radio group the button is in (itself included), in the parent's
// creation order: from the nearest kWsGroup control at or before it to the next one.
std::vector<Button*> RadioGroupOf(const Button& button);

} // namespace plat
