#include "platform/ui/dialog_template.h"

#include <map>
#include <mutex>

#include "platform/gfx/dc.h"
#include "platform/ui/button.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/edit.h"
#include "platform/ui/list_box.h"
#include "platform/ui/list_view.h"
#include "platform/ui/static_control.h"

namespace plat {

Size DialogBaseUnits(const Font& font)
{
    MemoryDc dc;
    dc.Select(&font);
    const int letters = dc.GetTextExtent(u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz").cx;
    return Size((letters / 26 + 1) / 2, dc.GetTextMetrics().height);
}

Rect MapDialogRect(const Rect& du, Size base)
{
    auto x = [&](int v) { return v * base.cx / 4; };
    auto y = [&](int v) { return v * base.cy / 8; };
    return Rect(x(du.left), y(du.top), x(du.right), y(du.bottom));
}

Font DialogFont(const DialogTemplate& tpl)
{
    FontDesc desc;
    desc.face = tpl.fontFace;
    desc.height = -(tpl.fontPoints * 96 + 36) / 72;
    return Font(desc);
}

namespace {

struct Registry {
    std::mutex lock;
    std::map<String, ControlFactory> factories;
    Registry()
    {
        factories[kButtonClass] = [] { return std::make_unique<Button>(); };
        factories[kEditClass] = [] { return std::make_unique<Edit>(); };
        factories[kStaticClass] = [] { return std::make_unique<StaticControl>(); };
        factories[kComboBoxClass] = [] { return std::make_unique<ComboBox>(); };
        factories[kListBoxClass] = [] { return std::make_unique<ListBox>(); };
        factories[kListViewClass] = [] { return std::make_unique<ListView>(); };
    }
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

} // namespace

void RegisterControlClass(StringView className, ControlFactory factory)
{
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> l(r.lock);
    if (factory) r.factories[String(className)] = std::move(factory);
    else r.factories.erase(String(className));
}

std::unique_ptr<Control> MakeControl(StringView className)
{
    ControlFactory factory;
    {
        Registry& r = TheRegistry();
        std::lock_guard<std::mutex> l(r.lock);
        auto it = r.factories.find(String(className));
        if (it == r.factories.end()) return nullptr;
        factory = it->second;
    }
    return factory();
}

} // namespace plat
