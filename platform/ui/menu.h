// Popup menus: items with a command id and text, checked or disabled, separators and
// submenus. Tracking a menu is a modal run (modal.h) of kind kPopupMenu: the answerer sees the
// menu and returns the command chosen; an answer that is not an enabled item's command, or no
// answer at all, is a cancelled menu.
#pragma once
#include <memory>
#include <optional>
#include <vector>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"

namespace plat {

class Bitmap;
class Window;

// Item flags, with their Windows values.
enum MenuFlag : unsigned {
    kMfString = 0x0000,
    kMfGrayed = 0x0001,
    kMfDisabled = 0x0002,
    kMfChecked = 0x0008,
    kMfPopup = 0x0010,
    kMfSeparator = 0x0800,
};

// TrackPopupMenu flags.
enum TrackPopupFlag : unsigned {
    kTpmLeftAlign = 0x0000,
    kTpmRightButton = 0x0002,
    kTpmVertical = 0x0040, // keep the given point's side clear (drop-down menus under a button)
    kTpmReturnCmd = 0x0100,
};

class Menu {
public:
    struct Item {
        unsigned flags = kMfString;
        unsigned id = 0;
        String text;
        std::unique_ptr<Menu> submenu; // with kMfPopup
        const Bitmap* bitmap = nullptr; // shown instead of the text when set; not owned
    };

    Menu() = default;
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    // Items at the end, or before the item at position (at the end when out of range).
    void AppendItem(unsigned flags, unsigned id, StringView text);
    void AppendSeparator() { AppendItem(kMfSeparator, 0, {}); }
    // A submenu under the text (its entry carrying the id, which sends no command); returns
    // it for filling.
    Menu& AppendSubmenu(StringView text, unsigned id = 0);
    // An item shown by a picture (not owned: it must outlive the menu) instead of text.
    void AppendBitmapItem(unsigned flags, unsigned id, const Bitmap* bitmap);
    void InsertItem(int position, unsigned flags, unsigned id, StringView text);
    bool RemoveItem(int position);

    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    const Item* GetItem(int position) const;
    // The position of the item with the command id (this menu only); -1 when none.
    int FindItem(unsigned id) const;

    // By command id, in this menu and its submenus; false when no item has the id.
    bool EnableItem(unsigned id, bool enable);
    bool CheckItem(unsigned id, bool check);
    bool SetItemText(unsigned id, StringView text);
    bool IsItemEnabled(unsigned id) const;
    bool IsItemChecked(unsigned id) const;

    // The command of the first enabled item with the text, searching submenus too.
    std::optional<unsigned> FindCommand(StringView text) const;
    // The commands of the enabled items, submenus included, in order.
    std::vector<unsigned> EnabledCommands() const;

private:
    Item* FindDeep(unsigned id);
    const Item* FindDeep(unsigned id) const;

    std::vector<Item> m_items;
};

// Shows the menu at the screen point for the owner and lets the user choose. The owner first
// gets WM_INITMENUPOPUP for the menu and each submenu (its update handlers run over the
// items). With kTpmReturnCmd the chosen command is returned (0: cancelled); otherwise the
// owner is posted WM_COMMAND with the command and the result is non-zero when one was chosen.
int TrackPopupMenu(Menu& menu, unsigned flags, Point screen, Window* owner);

} // namespace plat
