// Data exchange between a dialog's controls and its fields: loading (saveAndValidate false)
// puts the fields into the controls, saving takes them back and validates. A field that does
// not parse shows its message, takes the focus, and the exchange fails (the later fields are
// then left as they are).
#pragma once
#include "platform/base/strings.h"

namespace plat {

class Dialog;

// The message of a number field that does not hold an integer.
inline constexpr char16_t kDdxIntegerMessage[] = u"请输入一个整数。";

class DataExchange {
public:
    DataExchange(Dialog& dialog, bool saveAndValidate) : m_dialog(dialog), m_saveAndValidate(saveAndValidate) {}
    Dialog& GetDialog() const { return m_dialog; }
    bool IsSaving() const { return m_saveAndValidate; }
    bool Failed() const { return m_failed; }
    // Shows the message, gives the control the focus and marks the exchange failed.
    void Fail(int id, StringView message);

private:
    Dialog& m_dialog;
    bool m_saveAndValidate;
    bool m_failed = false;
};

// An edit's (or any control's) text.
void DdxText(DataExchange& dx, int id, String& value);
// An integer in an edit; blanks around it are allowed; anything else fails with
// kDdxIntegerMessage.
void DdxText(DataExchange& dx, int id, int& value);
// A check box's state (0, 1, 2).
void DdxCheck(DataExchange& dx, int id, int& value);
// The index of the checked radio button in the group that starts at the id; -1: none.
void DdxRadio(DataExchange& dx, int firstId, int& value);
// A combo box's selected index (-1: none).
void DdxCbIndex(DataExchange& dx, int id, int& value);
// Loading sets the edit's length limit; saving refuses a longer text.
void DdvMaxChars(DataExchange& dx, int id, const String& value, int maxChars);

} // namespace plat
