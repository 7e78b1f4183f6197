#include "platform/ui/data_exchange.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "platform/ui/button.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/dialog.h"
#include "platform/ui/edit.h"
#include "platform/ui/message_box.h"

namespace plat {

void DataExchange::Fail(int id, StringView message)
{
    m_failed = true;
    MessageBox(message, {}, kMbOk | kMbIconExclamation);
    if (Control* c = m_dialog.GetDlgItem(id)) {
        m_dialog.GotoDlgCtrl(c);
        if (auto* edit = dynamic_cast<Edit*>(c)) edit->SetSel(0, -1);
    }
}

void DdxText(DataExchange& dx, int id, String& value)
{
    if (dx.Failed()) return;
    if (dx.IsSaving()) value = dx.GetDialog().GetDlgItemText(id);
    else dx.GetDialog().SetDlgItemText(id, value);
}

namespace {

// A whole decimal number in the int range, blanks around it allowed.
std::optional<int> ParseInt(StringView text)
{
    std::string ascii;
    for (char16_t c : text) {
        if (c > 127) return std::nullopt;
        ascii.push_back(static_cast<char>(c));
    }
    const size_t first = ascii.find_first_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    const size_t last = ascii.find_last_not_of(" \t");
    const std::string core = ascii.substr(first, last - first + 1);
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(core.c_str(), &end, 10);
    if (end == core.c_str() || *end != 0 || errno == ERANGE || v < INT_MIN || v > INT_MAX) return std::nullopt;
    return static_cast<int>(v);
}

} // namespace

void DdxText(DataExchange& dx, int id, int& value)
{
    if (dx.Failed()) return;
    if (!dx.IsSaving()) {
        dx.GetDialog().SetDlgItemInt(id, value);
        return;
    }
    if (std::optional<int> v = ParseInt(dx.GetDialog().GetDlgItemText(id))) value = *v;
    else dx.Fail(id, kDdxIntegerMessage);
}

void DdxCheck(DataExchange& dx, int id, int& value)
{
    if (dx.Failed()) return;
    if (dx.IsSaving()) value = dx.GetDialog().IsDlgButtonChecked(id);
    else dx.GetDialog().CheckDlgButton(id, value);
}

void DdxRadio(DataExchange& dx, int firstId, int& value)
{
    if (dx.Failed()) return;
    auto* first = dx.GetDialog().GetItem<Button>(firstId);
    if (!first) return;
    const std::vector<Button*> group = RadioGroupOf(*first);
    if (dx.IsSaving()) value = -1;
    for (size_t i = 0; i < group.size(); ++i) {
        if (dx.IsSaving()) {
            if (group[i]->GetCheck() == kBstChecked) value = static_cast<int>(i);
        } else {
            group[i]->SetCheck(static_cast<int>(i) == value ? kBstChecked : kBstUnchecked);
        }
    }
}

void DdxCbIndex(DataExchange& dx, int id, int& value)
{
    if (dx.Failed()) return;
    auto* combo = dx.GetDialog().GetItem<ComboBox>(id);
    if (!combo) return;
    if (dx.IsSaving()) value = combo->GetCurSel();
    else combo->SetCurSel(value);
}

void DdvMaxChars(DataExchange& dx, int id, const String& value, int maxChars)
{
    if (dx.Failed()) return;
    if (!dx.IsSaving()) {
        if (auto* edit = dx.GetDialog().GetItem<Edit>(id)) edit->SetLimitText(maxChars);
        return;
    }
    if (static_cast<int>(value.size()) > maxChars) {
        const std::string n = std::to_string(maxChars);
        dx.Fail(id, u"请输入不超过 " + String(n.begin(), n.end()) + u" 个字符。");
    }
}

} // namespace plat
