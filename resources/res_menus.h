// The module's menu resources: the popup menus the toolbars' drop-down arrows show.
#pragma once
#include <memory>

#include "platform/ui/menu.h"

// Menu ids.
enum ResMenuId : int {
    kIdrMenuAlign = 7001,       // paragraph alignment (button 35080)
    kIdrMenuLineSpacing = 7003, // line spacing (button 35085)
    kIdrMenuCellAlign = 7005,   // vertical alignment in a cell or text shape (button 37810)
    kIdrMenuUnderline = 7006,   // underline kind (button 35067)
    kIdrMenuLineColour = 7008,  // the colour buttons' arrows open a palette, not a menu
    kIdrMenuFillColour = 7009,
    kIdrMenuCharColour = 7010,
};

// A new copy of the menu resource, its items in its first submenu; null for an id the
// module holds no menu for.
std::unique_ptr<plat::Menu> LoadMenuResource(int id);
