// Dialog templates: a dialog's title, its size in dialog units, its base font and its items
// (control class, id, text, rectangle in dialog units, style). Dialog units come from the
// font: a horizontal unit is a quarter of the font's average character width, a vertical
// unit an eighth of its height.
#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"

namespace plat {

class Control;
class Dc;
class Font;

// The control classes a template names.
inline constexpr char16_t kButtonClass[] = u"Button";
inline constexpr char16_t kEditClass[] = u"Edit";
inline constexpr char16_t kStaticClass[] = u"Static";
inline constexpr char16_t kComboBoxClass[] = u"ComboBox";
inline constexpr char16_t kListBoxClass[] = u"ListBox";
inline constexpr char16_t kListViewClass[] = u"SysListView32";

// The id of labels and frames that nothing refers to.
constexpr int kIdStatic = -1;

struct DialogItemTemplate {
    String className;
    int id = kIdStatic;
    String text;
    Rect rect;               // dialog units, in the dialog's client area
    unsigned style = 0;      // the control's own style bits; kWsChild and kWsVisible are added
    unsigned exStyle = 0;
};

struct DialogTemplate {
    int id = 0;
    String title;
    Size size;               // the client area, in dialog units
    String fontFace;
    int fontPoints = 9;
    std::vector<DialogItemTemplate> items;
};

// The dialog base units of a font: the average width of the Latin letters (rounded) and
// the font's height, in pixels.
Size DialogBaseUnits(const Font& font);
// A rectangle in dialog units, in pixels for the base units.
Rect MapDialogRect(const Rect& dialogUnits, Size baseUnits);
// The font a template asks for, sized for the screen (points at 96 pixels an inch).
Font DialogFont(const DialogTemplate& tpl);

// Makes the control of a template item's class; null for a class nobody registered. The
// standard classes above are registered from the start.
using ControlFactory = std::function<std::unique_ptr<Control>()>;
void RegisterControlClass(StringView className, ControlFactory factory);
std::unique_ptr<Control> MakeControl(StringView className);

} // namespace plat
