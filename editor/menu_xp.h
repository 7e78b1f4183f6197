// Owner-drawn popup menus with a flat look: coloured backgrounds, a square icon band at the
// left, items that show only a 16 x 16 picture resource, text items, and several columns.
// Every item carries a record the menu owns; submenus built from CMenuXP are owned by the
// menu they are appended to. The owner window's default handling of WM_MEASUREITEM and
// WM_DRAWITEM reaches MeasureItem and DrawItem.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/strings.h"
#include "platform/gfx/font.h"
#include "platform/ui/control.h"
#include "platform/ui/menu.h"

// An item's record, found through the item data.
class CMenuXPItem {
public:
    // The mark by which a menu knows its own records in the item data.
    static constexpr std::uint32_t kSignature = 0x0505A0A0;
    static constexpr int kIconSize = 16;

    virtual ~CMenuXPItem() = default;

    std::uint32_t m_signature = kSignature;
    unsigned m_id = 0;
    bool m_separator = false;
    bool m_bitmapOnly = false;
    plat::String m_text;
    plat::String m_bitmapName;
    int m_iconSize = kIconSize;

protected:
    CMenuXPItem(unsigned id, plat::StringView text, plat::StringView bitmapName)
        : m_id(id), m_text(text), m_bitmapName(bitmapName) {}
};

class CMenuXPTextItem : public CMenuXPItem {
public:
    CMenuXPTextItem(unsigned id, plat::StringView text, plat::StringView bitmapName = {})
        : CMenuXPItem(id, text, bitmapName) {}
};

// Shows only its picture, which fills the item.
class CMenuXPBitmapItem : public CMenuXPItem {
public:
    CMenuXPBitmapItem(unsigned id, plat::StringView bitmapName) : CMenuXPItem(id, {}, bitmapName)
    {
        m_bitmapOnly = true;
    }
};

class CMenuXPSeparator : public CMenuXPItem {
public:
    CMenuXPSeparator() : CMenuXPItem(0, {}, {}) { m_separator = true; }
};

class CMenuXP : public plat::MenuDrawer {
public:
    CMenuXP();
    ~CMenuXP() override;
    CMenuXP(const CMenuXP&) = delete;
    CMenuXP& operator=(const CMenuXP&) = delete;

    plat::Menu& GetMenu() { return m_menu; }

    // The record goes to the menu; the item starts a new column after BreakColumn.
    void AppendItem(std::unique_ptr<CMenuXPItem> item);
    // The submenu and the record of its entry go to the menu.
    void AppendPopup(std::unique_ptr<CMenuXP> submenu, std::unique_ptr<CMenuXPItem> item);
    void AppendSeparator();
    void BreakColumn() { m_breakColumn = true; }

    void MeasureItem(plat::MeasureItem& item) override;
    void DrawItem(plat::DrawItem& item) override;

    // The record of an item's data when it is one of this menu's; null otherwise.
    CMenuXPItem* RecordOf(std::uintptr_t data) const;
    // Frees the records of the menu's items and the CMenuXP submenus it owns.
    void DeleteItems();

    // The colours; the owner may change them after construction.
    plat::ColorRef m_background;
    plat::ColorRef m_selection;
    plat::ColorRef m_text;
    plat::ColorRef m_selectedText;
    plat::ColorRef m_grayText;
    plat::ColorRef m_iconBand;

protected:
    virtual void DrawBackground(plat::Dc& dc, const plat::Rect& rect, bool selected, bool greyed);
    virtual void DrawCheckFrame(plat::Dc& dc, const plat::Rect& rect, bool selected, bool greyed, bool checked);
    virtual void DrawBitmap(plat::Dc& dc, const plat::Rect& rect, plat::StringView name);
    virtual void DrawItemText(plat::Dc& dc, const plat::Rect& rect, plat::StringView text, bool isDefault,
                              bool selected, bool greyed);
    virtual void DrawTextColored(plat::Dc& dc, const plat::Rect& rect, plat::StringView text, plat::ColorRef color);
    virtual void DrawIconBackground(plat::Dc& dc, const plat::Rect& rect, bool selected, bool greyed);

private:
    unsigned TakeBreak();

    plat::Menu m_menu;
    plat::Font m_font;
    bool m_breakColumn = false;
    std::vector<std::unique_ptr<CMenuXPItem>> m_records;
    std::vector<std::unique_ptr<CMenuXP>> m_submenus;
};

// A solid rectangle of the colour.
void FillRectColor(plat::Dc& dc, const plat::Rect& rect, plat::ColorRef color);
