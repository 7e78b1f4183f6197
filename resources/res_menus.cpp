#include "resources/res_menus.h"

#include <vector>

namespace {

struct MenuItemText {
    unsigned id;
    const char16_t* text;
};

struct MenuResource {
    int id;
    const char16_t* title;
    std::vector<MenuItemText> items;
};

// The underline items' texts are the module's own choice: single, double, dotted.
const MenuResource kMenus[] = {
    {kIdrMenuAlign, u"版式", {{35081, u"撑满(&F)"}, {35082, u"居左(&L)"}, {35083, u"居中(&N)"}, {35084, u"居右(R)"}}},
    {kIdrMenuLineSpacing,
     u"行距",
     {{35086, u"1/4行距"}, {35087, u"1/2行距"}, {35088, u"3/4行距"}, {35089, u"单倍行距"}, {35090, u"1.5倍行距"}}},
    {kIdrMenuCellAlign, u"文字上下版式", {{37811, u"居上"}, {37812, u"居中"}, {37813, u"居下"}}},
    {kIdrMenuUnderline, u"下划线", {{35068, u"单下划线"}, {35069, u"双下划线"}, {35070, u"点下划线"}}},
};

} // namespace

std::unique_ptr<plat::Menu> LoadMenuResource(int id)
{
    for (const MenuResource& resource : kMenus) {
        if (resource.id != id) continue;
        auto menu = std::make_unique<plat::Menu>();
        plat::Menu& popup = menu->AppendSubmenu(resource.title);
        for (const MenuItemText& item : resource.items) popup.AppendItem(plat::kMfString, item.id, item.text);
        return menu;
    }
    return nullptr;
}
