#include "platform/ui/dialog.h"

#include <algorithm>
#include <string>

#include "platform/ui/button.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/data_exchange.h"
#include "platform/ui/edit.h"
#include "platform/ui/focus.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/list_box.h"
#include "platform/ui/message_box.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/tooltip.h"

namespace plat {

Dialog::Dialog(const DialogTemplate& tpl, Window* parent)
    : m_template(tpl), m_owner(parent), m_font(DialogFont(tpl)), m_baseUnits(DialogBaseUnits(m_font))
{
    SetBackground(look::kFace);
}

Dialog::~Dialog()
{
    m_toolTip.reset();
    Destroy();
    m_controls.clear();
}

bool Dialog::CreateDialog()
{
    if (IsCreated()) return false;
    m_ended = false;
    m_result = 0;
    const Rect client = MapDialogRect(Rect(0, 0, m_template.size.cx, m_template.size.cy));
    Point origin(0, 0);
    if (m_owner && m_owner->IsCreated()) {
        const Rect o = m_owner->GetWindowRect();
        origin = Point(o.left + (o.Width() - client.Width()) / 2, o.top + (o.Height() - client.Height()) / 2);
    }
    if (!Create(nullptr, Rect(origin.x, origin.y, origin.x + client.Width(), origin.y + client.Height()),
                kWsPopup | kWsVisible))
        return false;
    SetWindowText(m_template.title);
    for (const DialogItemTemplate& item : m_template.items) {
        std::unique_ptr<Control> control = MakeControl(item.className);
        if (!control) {
            Destroy();
            m_controls.clear();
            m_order.clear();
            return false;
        }
        control->SetFont(&m_font);
        // The text is there before WM_CREATE, as a template gives it.
        control->SetWindowText(item.text);
        if (!control->Create(this, MapDialogRect(item.rect), item.style | kWsChild | kWsVisible, item.id, item.exStyle)) {
            Destroy();
            m_controls.clear();
            m_order.clear();
            return false;
        }
        m_order.push_back(control.get());
        m_controls.push_back(std::move(control));
    }
    if (SendMessage(this, kWmInitDialog) != 0) {
        const std::vector<Control*> stops = TabStops();
        if (!stops.empty()) GotoDlgCtrl(stops.front());
    }
    return true;
}

int Dialog::DoModal()
{
    if (!CreateDialog()) return kModalFailed;
    const bool disableOwner = m_owner && m_owner->IsCreated() && m_owner->IsWindowEnabled();
    if (disableOwner) m_owner->EnableWindow(false);
    ModalRecord run;
    run.kind = ModalKind::kDialog;
    run.caption = m_template.title;
    int result = RunModalLoop(*this, std::move(run));
    // An answer given without pressing anything: the button of that id is pressed now.
    if (!m_ended && result != kModalFailed) {
        if (GetDlgItem(result)) PressButton(result);
        else SendMessage(this, kWmCommand, MakeWParam(static_cast<unsigned>(result), kBnClicked), 0);
        PumpMessages();
        result = m_ended ? m_result : kModalFailed;
    } else if (m_ended) {
        result = m_result;
    }
    if (disableOwner) m_owner->EnableWindow(true);
    m_toolTip.reset();
    Destroy();
    m_order.clear();
    m_controls.clear();
    return result;
}

void Dialog::EndDialog(int result)
{
    m_ended = true;
    m_result = result;
    EndModalLoop(*this, result);
}

Control* Dialog::GetDlgItem(int id) const
{
    for (Control* c : m_order)
        if (c->GetId() == id) return c;
    return nullptr;
}

String Dialog::GetDlgItemText(int id) const
{
    const Control* c = GetDlgItem(id);
    return c ? c->GetWindowText() : String();
}

void Dialog::SetDlgItemText(int id, StringView text)
{
    if (Control* c = GetDlgItem(id)) c->SetText(text);
}

std::optional<int> Dialog::GetDlgItemInt(int id) const
{
    const String text = GetDlgItemText(id);
    if (text.empty()) return std::nullopt;
    long long v = 0;
    size_t i = 0;
    const bool negative = text[0] == u'-';
    if (negative) ++i;
    if (i == text.size()) return std::nullopt;
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9') return std::nullopt;
        v = v * 10 + (text[i] - u'0');
        if (v > 0x80000000LL) return std::nullopt;
    }
    v = negative ? -v : v;
    if (v > 0x7FFFFFFFLL) return std::nullopt;
    return static_cast<int>(v);
}

void Dialog::SetDlgItemInt(int id, int value)
{
    const std::string s = std::to_string(value);
    SetDlgItemText(id, String(s.begin(), s.end()));
}

int Dialog::IsDlgButtonChecked(int id) const
{
    const auto* b = GetItem<Button>(id);
    return b ? b->GetCheck() : kBstUnchecked;
}

void Dialog::CheckDlgButton(int id, int check)
{
    if (auto* b = GetItem<Button>(id)) b->SetCheck(check);
}

void Dialog::CheckRadioButton(int first, int last, int check)
{
    for (Control* c : m_order)
        if (auto* b = dynamic_cast<Button*>(c); b && c->GetId() >= first && c->GetId() <= last)
            b->SetCheck(c->GetId() == check ? kBstChecked : kBstUnchecked);
}

bool Dialog::PressButton(int id)
{
    auto* b = GetItem<Button>(id);
    if (!b || !b->IsWindowVisible() || !b->IsWindowEnabled()) return false;
    return b->Click();
}

bool Dialog::TypeInto(int id, StringView text)
{
    Control* c = GetDlgItem(id);
    if (!c || !c->IsWindowEnabled() || !c->IsWindowVisible()) return false;
    GotoDlgCtrl(c);
    Window* target = GetFocus();
    if (auto* edit = dynamic_cast<Edit*>(target)) edit->SetSel(0, -1);
    for (char16_t ch : text) SendMessage(target, kWmChar, ch);
    return true;
}

bool Dialog::ChooseRow(int id, StringView text)
{
    Control* c = GetDlgItem(id);
    if (!c || !c->IsWindowEnabled() || !c->IsWindowVisible()) return false;
    auto* rows = dynamic_cast<RowsControl*>(c);
    const int index = rows ? rows->FindStringExact(text) : kLbErr;
    if (index == kLbErr) return false;
    GotoDlgCtrl(c);
    const bool changed = index != rows->GetCurSel();
    if (auto* combo = dynamic_cast<ComboBox*>(c)) {
        combo->SetCurSel(index);
        if (changed) combo->NotifyParent(kCbnSelChange);
    } else if (auto* list = dynamic_cast<ListBox*>(c)) {
        list->SetCurSel(index);
        if (changed && (list->GetStyle() & kLbsNotify)) list->NotifyParent(kLbnSelChange);
    }
    return true;
}

bool Dialog::IsDlgItemEnabled(int id) const
{
    const Control* c = GetDlgItem(id);
    return c && c->IsWindowEnabled();
}

void Dialog::GotoDlgCtrl(Window* control)
{
    if (!control) return;
    // A combo box's field takes the focus for it.
    Window* target = control;
    if (Window* field = control->GetChild(kComboEditId); field && dynamic_cast<Edit*>(field)) target = field;
    SetFocus(target);
    if (SendMessage(control, kWmGetDlgCode) & kDlgcHasSetSel)
        if (auto* edit = dynamic_cast<Edit*>(target)) edit->SetSel(0, -1);
}

std::vector<Control*> Dialog::TabStops() const
{
    std::vector<Control*> stops;
    for (Control* c : m_order)
        if ((c->GetStyle() & kWsTabStop) && c->IsWindowEnabled() && c->IsWindowVisible()) stops.push_back(c);
    return stops;
}

void Dialog::NextDlgCtrl(bool previous)
{
    const std::vector<Control*> stops = TabStops();
    if (stops.empty()) return;
    Window* focus = GetFocus();
    int at = -1;
    for (size_t i = 0; i < stops.size(); ++i)
        if (focus && (focus == stops[i] || focus->IsDescendantOf(stops[i]))) at = static_cast<int>(i);
    const int n = static_cast<int>(stops.size());
    const int next = at < 0 ? (previous ? n - 1 : 0) : (at + (previous ? n - 1 : 1)) % n;
    GotoDlgCtrl(stops[next]);
}

int Dialog::GetDefID() const
{
    for (Control* c : m_order)
        if (auto* b = dynamic_cast<Button*>(c); b && b->GetButtonType() == kBsDefPushButton) return c->GetId();
    return kIdOk;
}

void Dialog::SetDefID(int id)
{
    for (Control* c : m_order)
        if (auto* b = dynamic_cast<Button*>(c); b && b->IsPushButton()) b->SetDefault(c->GetId() == id);
}

bool Dialog::UpdateData(bool saveAndValidate)
{
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

ToolTip& Dialog::GetToolTip()
{
    if (!m_toolTip) {
        m_toolTip = std::make_unique<ToolTip>();
        m_toolTip->SetFont(&m_font);
        if (IsCreated()) m_toolTip->CreateFor(*this);
    }
    return *m_toolTip;
}

bool Dialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void Dialog::DoDataExchange(DataExchange&) {}

void Dialog::OnOK()
{
    if (UpdateData(true)) EndDialog(kIdOk);
}

void Dialog::OnCancel() { EndDialog(kIdCancel); }

bool Dialog::OnCommand(unsigned, unsigned, Window*) { return false; }

LResult Dialog::WindowProc(unsigned message, WParam wParam, LParam lParam)
{
    switch (message) {
    case kWmInitDialog:
        return OnInitDialog() ? 1 : 0;
    case kWmCommand: {
        const unsigned id = LoWord(wParam), code = HiWord(wParam);
        if (OnCommand(id, code, reinterpret_cast<Window*>(lParam))) return 0;
        if (code == kBnClicked && id == static_cast<unsigned>(kIdOk)) OnOK();
        else if (code == kBnClicked && id == static_cast<unsigned>(kIdCancel)) OnCancel();
        return 0;
    }
    case kWmDrawItem:
        if (lParam) OnDrawItem(*reinterpret_cast<DrawItem*>(lParam));
        return 1;
    case kWmNextDlgCtl:
        NextDlgCtrl(wParam != 0);
        return 0;
    case kWmClose:
        // Closing the window is Cancel.
        SendMessage(this, kWmCommand, MakeWParam(static_cast<unsigned>(kIdCancel), kBnClicked), 0);
        return 0;
    default:
        return DefWindowProc(message, wParam, lParam);
    }
}

bool Dialog::Wants(Window* control, int virtualKey, unsigned code) const
{
    return control && (SendMessage(control, kWmGetDlgCode, static_cast<WParam>(virtualKey)) & code) != 0;
}

bool Dialog::HandleDialogKey(const Message& message)
{
    if (message.message != kWmKeyDown) return false;
    const int key = static_cast<int>(message.wParam);
    Window* focus = GetFocus();
    // The control the focus window belongs to (a combo box for its field).
    Window* control = focus;
    while (control && control->GetParent() && control->GetParent() != this) control = control->GetParent();
    auto pressOrCommand = [this](int id) {
        Control* c = GetDlgItem(id);
        if (dynamic_cast<Button*>(c)) {
            PressButton(id);
            return;
        }
        if (c && !c->IsWindowEnabled()) return;
        SendMessage(this, kWmCommand, MakeWParam(static_cast<unsigned>(id), kBnClicked), 0);
    };
    switch (key) {
    case kVkTab:
        if (Wants(control, key, kDlgcWantTab | kDlgcWantAllKeys)) return false;
        NextDlgCtrl((HeldModifiers() & kModShift) != 0);
        return true;
    case kVkReturn:
        if (Wants(control, key, kDlgcWantAllKeys)) return false;
        if (auto* b = dynamic_cast<Button*>(control); b && b->IsPushButton()) {
            PressButton(b->GetId());
            return true;
        }
        pressOrCommand(GetDefID());
        return true;
    case kVkEscape:
        if (Wants(control, key, kDlgcWantAllKeys)) return false;
        pressOrCommand(kIdCancel);
        return true;
    case kVkLeft:
    case kVkUp:
    case kVkRight:
    case kVkDown: {
        // The arrows move through a radio group, checking the button they reach.
        auto* radio = dynamic_cast<Button*>(control);
        if (!radio || !radio->IsRadio()) return false;
        std::vector<Button*> group = RadioGroupOf(*radio);
        std::erase_if(group, [radio](Button* b) { return b != radio && (!b->IsWindowEnabled() || !b->IsWindowVisible()); });
        const int n = static_cast<int>(group.size());
        const int at = static_cast<int>(std::find(group.begin(), group.end(), radio) - group.begin());
        Button* next = group[(at + ((key == kVkRight || key == kVkDown) ? 1 : n - 1)) % n];
        SetFocus(next);
        if (next->GetButtonType() == kBsAutoRadioButton) next->Click();
        return true;
    }
    default:
        return false;
    }
}

bool Dialog::PreTranslateMessage(Message& message)
{
    if (m_toolTip && m_toolTip->IsCreated() && message.message >= kWmMouseFirst && message.message <= kWmMouseLast)
        m_toolTip->RelayEvent(message);
    return HandleDialogKey(message);
}

Dialog* DialogOf(const ModalRecord& run) { return run.kind == ModalKind::kDialog ? dynamic_cast<Dialog*>(run.window) : nullptr; }

} // namespace plat
