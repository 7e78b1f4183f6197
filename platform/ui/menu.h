// Popup menus: items with a command id and text, checked or disabled, separators and
// submenus. Owner-drawn items carry item data; their owner window measures and draws them
// (WM_MEASUREITEM, WM_DRAWITEM), and an item with kMfMenuBreak starts a new column. Tracking a menu is a modal run (modal.h) of kind kPopupMenu: the answerer sees the
// menu and returns the command chosen; an answer that is not an enabled item's command, or no
// answer at all, is a cancelled menu.
#pragma once
#include <memory>
#include <optional>
#include <vector>

#include <cstdint>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"

namespace plat {

class Bitmap;
class Menu;
class Window;
struct DrawItem;

// WM_MEASUREITEM's lParam for a menu item: the owner fills in width and height.
constexpr unsigned kWmMeasureItem = 0x002C;
struct MeasureItem {
    Menu* menu = nullptr; // the menu that holds the item
    unsigned itemId = 0;
    int width = 0;
    int height = 0;
    std::uintptr_t itemData = 0;
};

// What draws the owner-drawn items of a menu: the owner window's default handling of
// WM_MEASUREITEM and WM_DRAWITEM hands a menu item's request to its menu's drawer.
class MenuDrawer {
public:
    virtual ~MenuDrawer() = default;
    virtual void MeasureItem(MeasureItem& item) = 0;
    virtual void DrawItem(DrawItem& item) = 0;
};

// Item flags, with their Windows values.
enum MenuFlag : unsigned {
    kMfString = 0x0000,
    kMfGrayed = 0x0001,
    kMfDisabled = 0x0002,
    kMfChecked = 0x0008,
    kMfPopup = 0x0010,
    kMfMenuBreak = 0x0040,
    kMfOwnerDraw = 0x0100,
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
        Menu* linkedSubmenu = nullptr;  // with kMfPopup, a submenu this menu does not own
        std::uintptr_t data = 0;        // the item data of an owner-drawn item

        Menu* GetSubmenu() const { return submenu ? submenu.get() : linkedSubmenu; }
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
    // An owner-drawn item (kMfOwnerDraw is added) with its item data.
    void AppendOwnerDrawn(unsigned flags, unsigned id, std::uintptr_t data);
    // An owner-drawn entry of a submenu that is not owned (it must outlive this menu); the id
    // is carried without becoming a command.
    void AppendOwnerDrawnPopup(unsigned flags, Menu& submenu, unsigned id, std::uintptr_t data);
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

    void SetDrawer(MenuDrawer* drawer) { m_drawer = drawer; }
    MenuDrawer* GetDrawer() const { return m_drawer; }

private:
    Item* FindDeep(unsigned id);
    const Item* FindDeep(unsigned id) const;

    std::vector<Item> m_items;
    MenuDrawer* m_drawer = nullptr;
};

// Where the items of a popup menu lie: one rectangle per position, in the menu's picture
// (inside its frame). Owner-drawn items are measured by the owner (the system adds the
// check-mark width less one to what it answers); an item with kMfMenuBreak starts a new
// column to the right.
struct MenuLayout {
    Size size;                // the whole picture, frame included
    std::vector<Rect> items;  // by position
};
MenuLayout LayoutPopupMenu(Menu& menu, Window* owner);
// The menu as it shows, with the item at position `hot` selected (-1: none). Owner-drawn
// items are drawn by the owner (WM_DRAWITEM with the item's state).
std::unique_ptr<Bitmap> RenderPopupMenu(Menu& menu, Window* owner, int hot = -1);

// System metrics of our desktop theme that menus use, by their Windows indexes.
enum SystemMetric : int {
    kSmCxMenuCheck = 71,
    kSmCyMenuCheck = 72,
};
int GetSystemMetrics(int index);

// Shows the menu at the screen point for the owner and lets the user choose. The owner first
// gets WM_INITMENUPOPUP for the menu and each submenu (its update handlers run over the
// items). With kTpmReturnCmd the chosen command is returned (0: cancelled); otherwise the
// owner is posted WM_COMMAND with the command and the result is non-zero when one was chosen.
int TrackPopupMenu(Menu& menu, unsigned flags, Point screen, Window* owner);

} // namespace plat
