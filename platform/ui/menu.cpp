#include "platform/ui/menu.h"

#include "platform/ui/message_queue.h"
#include "platform/ui/modal.h"
#include "platform/ui/window.h"

namespace plat {

namespace {

constexpr unsigned kInactive = kMfGrayed | kMfDisabled;

bool IsCommandItem(const Menu::Item& item)
{
    return !(item.flags & (kMfSeparator | kMfPopup));
}

// The owner hears of the menu and of each submenu before they open.
void InitPopups(Menu& menu, Window* owner)
{
    SendMessage(owner, kWmInitMenuPopup, reinterpret_cast<WParam>(&menu));
    for (int i = 0; i < menu.GetItemCount(); ++i)
        if (Menu* sub = menu.GetItem(i)->GetSubmenu()) InitPopups(*sub, owner);
}

} // namespace

void Menu::AppendItem(unsigned flags, unsigned id, StringView text)
{
    InsertItem(GetItemCount(), flags, id, text);
}

void Menu::AppendBitmapItem(unsigned flags, unsigned id, const Bitmap* bitmap)
{
    AppendItem(flags & ~kMfSeparator, id, {});
    m_items.back().bitmap = bitmap;
}

Menu& Menu::AppendSubmenu(StringView text, unsigned id)
{
    Item item;
    item.flags = kMfPopup;
    item.id = id;
    item.text = String(text);
    item.submenu = std::make_unique<Menu>();
    m_items.push_back(std::move(item));
    return *m_items.back().submenu;
}

void Menu::AppendOwnerDrawn(unsigned flags, unsigned id, std::uintptr_t data)
{
    Item item;
    item.flags = (flags & ~kMfPopup) | kMfOwnerDraw;
    item.id = (flags & kMfSeparator) ? 0 : id;
    item.data = data;
    m_items.push_back(std::move(item));
}

void Menu::AppendOwnerDrawnPopup(unsigned flags, Menu& submenu, unsigned id, std::uintptr_t data)
{
    Item item;
    item.flags = flags | kMfPopup | kMfOwnerDraw;
    item.id = id;
    item.data = data;
    item.linkedSubmenu = &submenu;
    m_items.push_back(std::move(item));
}

void Menu::InsertItem(int position, unsigned flags, unsigned id, StringView text)
{
    Item item;
    item.flags = flags & ~kMfPopup;
    item.id = (flags & kMfSeparator) ? 0 : id;
    if (!(flags & kMfSeparator)) item.text = String(text);
    const std::size_t at = position < 0 || position > GetItemCount() ? m_items.size() : static_cast<std::size_t>(position);
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
}

bool Menu::RemoveItem(int position)
{
    if (position < 0 || position >= GetItemCount()) return false;
    m_items.erase(m_items.begin() + position);
    return true;
}

const Menu::Item* Menu::GetItem(int position) const
{
    return position >= 0 && position < GetItemCount() ? &m_items[static_cast<std::size_t>(position)] : nullptr;
}

int Menu::FindItem(unsigned id) const
{
    for (int i = 0; i < GetItemCount(); ++i)
        if (IsCommandItem(m_items[static_cast<std::size_t>(i)]) && m_items[static_cast<std::size_t>(i)].id == id)
            return i;
    return -1;
}

const Menu::Item* Menu::FindDeep(unsigned id) const
{
    for (const Item& item : m_items) {
        if (IsCommandItem(item) && item.id == id) return &item;
        if (const Menu* sub = item.GetSubmenu())
            if (const Item* inner = sub->FindDeep(id)) return inner;
    }
    return nullptr;
}

Menu::Item* Menu::FindDeep(unsigned id)
{
    return const_cast<Item*>(static_cast<const Menu*>(this)->FindDeep(id));
}

bool Menu::EnableItem(unsigned id, bool enable)
{
    Item* item = FindDeep(id);
    if (!item) return false;
    item->flags = enable ? (item->flags & ~kInactive) : (item->flags | kMfGrayed);
    return true;
}

bool Menu::CheckItem(unsigned id, bool check)
{
    Item* item = FindDeep(id);
    if (!item) return false;
    item->flags = check ? (item->flags | kMfChecked) : (item->flags & ~kMfChecked);
    return true;
}

bool Menu::SetItemText(unsigned id, StringView text)
{
    Item* item = FindDeep(id);
    if (!item) return false;
    item->text = String(text);
    return true;
}

bool Menu::IsItemEnabled(unsigned id) const
{
    const Item* item = FindDeep(id);
    return item && !(item->flags & kInactive);
}

bool Menu::IsItemChecked(unsigned id) const
{
    const Item* item = FindDeep(id);
    return item && (item->flags & kMfChecked);
}

std::optional<unsigned> Menu::FindCommand(StringView text) const
{
    for (const Item& item : m_items) {
        if (IsCommandItem(item) && !(item.flags & kInactive) && item.text == text) return item.id;
        if (item.GetSubmenu() && !(item.flags & kInactive))
            if (std::optional<unsigned> inner = item.GetSubmenu()->FindCommand(text)) return inner;
    }
    return std::nullopt;
}

std::vector<unsigned> Menu::EnabledCommands() const
{
    std::vector<unsigned> ids;
    for (const Item& item : m_items) {
        if (item.flags & kInactive) continue;
        if (IsCommandItem(item)) ids.push_back(item.id);
        if (const Menu* sub = item.GetSubmenu()) {
            const std::vector<unsigned> inner = sub->EnabledCommands();
            ids.insert(ids.end(), inner.begin(), inner.end());
        }
    }
    return ids;
}

int TrackPopupMenu(Menu& menu, unsigned flags, Point screen, Window* owner)
{
    if (owner) InitPopups(menu, owner);
    ModalRecord run;
    run.kind = ModalKind::kPopupMenu;
    run.menu = &menu;
    run.window = owner; // measures and draws owner-drawn items
    run.point = screen;
    for (unsigned id : menu.EnabledCommands()) run.buttons.push_back(static_cast<int>(id));
    run.defaultAnswer = 0;
    // A menu without an enabled command can only be dismissed.
    if (run.buttons.empty()) run.buttons.push_back(0);
    int chosen = RunModal(std::move(run));
    if (chosen == kModalFailed) chosen = 0;
    if (flags & kTpmReturnCmd) return chosen;
    if (chosen != 0 && owner) PostMessage(owner, kWmCommand, MakeWParam(static_cast<unsigned>(chosen), 0));
    return chosen != 0 ? 1 : 0;
}

} // namespace plat
