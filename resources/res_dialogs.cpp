#include "resources/res_dialogs.h"

#include <map>

#include "platform/ui/button.h"
#include "platform/ui/edit.h"
#include "platform/ui/list_view.h"
#include "platform/ui/message_box.h"
#include "platform/ui/static_control.h"
#include "platform/ui/window.h"
#include "resources/res_wrap_buttons.h"
#include "resources/res_palette_dialogs.h"

namespace {

using plat::DialogItemTemplate;
using plat::DialogTemplate;
using plat::Rect;

constexpr char16_t kFace[] = u"宋体";
constexpr unsigned kTab = plat::kWsTabStop;
constexpr unsigned kPasswordEdit = plat::kEsPassword | plat::kEsAutoHScroll | plat::kWsTabStop;

DialogItemTemplate Label(plat::StringView text, Rect rect)
{
    return DialogItemTemplate{plat::kStaticClass, plat::kIdStatic, plat::String(text), rect, plat::kSsLeft, 0};
}

DialogItemTemplate Item(plat::StringView cls, int id, plat::StringView text, Rect rect, unsigned style)
{
    return DialogItemTemplate{plat::String(cls), id, plat::String(text), rect, style, 0};
}

std::map<int, DialogTemplate> MakeTemplates()
{
    std::map<int, DialogTemplate> t;
    t[kIddPassword] = DialogTemplate{kIddPassword, u"文件口令", plat::Size(160, 58), kFace, 9,
        {
            Label(u"请输入口令:", Rect(10, 12, 60, 22)),
            Item(plat::kEditClass, kIdcPassword, u"", Rect(62, 10, 150, 24), kPasswordEdit),
            Item(plat::kButtonClass, plat::kIdOk, u"确认", Rect(55, 34, 105, 48), plat::kBsDefPushButton | kTab),
        }};
    t[kIddProtect] = DialogTemplate{kIddProtect, u"文件保护", plat::Size(170, 78), kFace, 9,
        {
            Label(u"口令:", Rect(10, 12, 60, 22)),
            Item(plat::kEditClass, kIdcProtectPassword, u"", Rect(62, 10, 160, 24), kPasswordEdit),
            Label(u"确认口令:", Rect(10, 32, 60, 42)),
            Item(plat::kEditClass, kIdcProtectConfirm, u"", Rect(62, 30, 160, 44), kPasswordEdit),
            Item(plat::kButtonClass, plat::kIdOk, u"确认", Rect(30, 54, 80, 68), plat::kBsDefPushButton | kTab),
            Item(plat::kButtonClass, plat::kIdCancel, u"取消", Rect(95, 54, 145, 68), plat::kBsPushButton | kTab),
        }};
    t[kIddUnprotect] = DialogTemplate{kIddUnprotect, u"解除文件保护", plat::Size(170, 58), kFace, 9,
        {
            Label(u"请输入口令:", Rect(10, 12, 60, 22)),
            Item(plat::kEditClass, kIdcUnprotectPassword, u"", Rect(62, 10, 160, 24), kPasswordEdit),
            Item(plat::kButtonClass, plat::kIdOk, u"确认", Rect(30, 34, 80, 48), plat::kBsDefPushButton | kTab),
            Item(plat::kButtonClass, plat::kIdCancel, u"取消", Rect(95, 34, 145, 48), plat::kBsPushButton | kTab),
        }};
    t[kIddAuthorList] = DialogTemplate{kIddAuthorList, u"作者信息", plat::Size(200, 150), kFace, 9,
        {
            Item(plat::kListViewClass, kIdcAuthorList, u"", Rect(7, 7, 193, 120),
                 plat::kLvsReport | plat::kLvsSingleSel | plat::kLvsShowSelAlways | kTab),
            Item(plat::kButtonClass, plat::kIdOk, u"返回", Rect(75, 128, 125, 142), plat::kBsDefPushButton | kTab),
        }};
    constexpr unsigned kShownOnly = plat::kEsAutoHScroll | plat::kWsDisabled;
    t[kIddAnnotation] = DialogTemplate{kIddAnnotation, u"编辑批注", plat::Size(220, 150), kFace, 9,
        {
            Label(u"批注者：", Rect(7, 9, 50, 19)),
            Item(plat::kEditClass, kIdcAnnotationAuthor, u"", Rect(52, 7, 213, 21), kShownOnly),
            Label(u"批注时间：", Rect(7, 27, 50, 37)),
            Item(plat::kEditClass, kIdcAnnotationTime, u"", Rect(52, 25, 213, 39), kShownOnly),
            Label(u"批注内容：", Rect(7, 45, 60, 55)),
            Item(plat::kEditClass, kIdcAnnotationText, u"", Rect(7, 57, 213, 122),
                 plat::kEsMultiline | plat::kEsWantReturn | plat::kEsAutoVScroll | plat::kWsVScroll | kTab),
            Item(plat::kButtonClass, plat::kIdOk, u"确认", Rect(20, 129, 70, 143), plat::kBsDefPushButton | kTab),
            Item(plat::kButtonClass, plat::kIdCancel, u"取消", Rect(85, 129, 135, 143), plat::kBsPushButton | kTab),
            Item(plat::kButtonClass, kIdcAnnotationDelete, u"删除批注", Rect(150, 129, 200, 143),
                 plat::kBsPushButton | kTab),
        }};
    constexpr unsigned kCountList = plat::kLvsReport | plat::kLvsSingleSel | plat::kLvsShowSelAlways | kTab;
    t[kIddTextCount] = DialogTemplate{kIddTextCount, u"字数统计", plat::Size(300, 100), kFace, 9,
        {
            Item(plat::kListViewClass, kIdcTextCountList, u"", Rect(7, 7, 293, 70), kCountList),
            Item(plat::kButtonClass, plat::kIdOk, u"返回", Rect(125, 78, 175, 92), plat::kBsDefPushButton | kTab),
        }};
    t[kIddObjectCount] = DialogTemplate{kIddObjectCount, u"字数统计", plat::Size(150, 200), kFace, 9,
        {
            Item(plat::kListViewClass, kIdcObjectCountList, u"", Rect(7, 7, 143, 170), kCountList),
            Item(plat::kButtonClass, plat::kIdOk, u"返回", Rect(50, 178, 100, 192), plat::kBsDefPushButton | kTab),
        }};
    // The property dialogs of page objects: four wrap buttons and the note.
    constexpr unsigned kNoteEdit = plat::kEsAutoHScroll | kTab;
    t[kIddObjectProp] = DialogTemplate{kIddObjectProp, u"对象属性", plat::Size(143, 122), kFace, 10,
        {
            Item(plat::kButtonClass, plat::kIdOk, u"确认", Rect(20, 98, 60, 112), plat::kBsDefPushButton | kTab),
            Item(plat::kButtonClass, plat::kIdCancel, u"取消", Rect(83, 98, 123, 112), plat::kBsPushButton | kTab),
            Item(plat::kButtonClass, plat::kIdStatic, u"排版方式：", Rect(7, 7, 135, 48), plat::kBsGroupBox),
            Item(plat::kButtonClass, plat::kIdStatic, u"注释：", Rect(7, 52, 135, 85), plat::kBsGroupBox),
            Item(plat::kEditClass, kIdcObjectNote, u"", Rect(13, 65, 129, 77), kNoteEdit),
        }};
    for (auto& item : WrapButtonItems(kIdcObjectWrapNone, 16, 19, 29)) t[kIddObjectProp].items.push_back(item);
    t[kIddTableProp] = DialogTemplate{kIddTableProp, u"表格属性", plat::Size(183, 95), kFace, 10,
        {
            Item(plat::kButtonClass, plat::kIdOk, u"确认", Rect(135, 10, 175, 24), plat::kBsDefPushButton | kTab),
            Item(plat::kButtonClass, plat::kIdCancel, u"取消", Rect(135, 33, 175, 47), plat::kBsPushButton | kTab),
            Item(plat::kButtonClass, plat::kIdStatic, u"排版方式：", Rect(7, 7, 127, 48), plat::kBsGroupBox),
            Item(plat::kButtonClass, plat::kIdStatic, u"注释：", Rect(7, 55, 127, 88), plat::kBsGroupBox),
            Item(plat::kEditClass, kIdcTableNote, u"", Rect(13, 68, 121, 80), kNoteEdit),
        }};
    for (auto& item : WrapButtonItems(kIdcTableWrapNone, 13, 19, 29)) t[kIddTableProp].items.push_back(item);
    AddPaletteDialogTemplates(t);
    return t;
}

} // namespace

const plat::DialogTemplate* FindDialogTemplate(int id)
{
    static const std::map<int, DialogTemplate> templates = MakeTemplates();
    auto it = templates.find(id);
    return it == templates.end() ? nullptr : &it->second;
}

const plat::DialogTemplate& DialogTemplateOf(int id)
{
    static const DialogTemplate kEmpty;
    const DialogTemplate* t = FindDialogTemplate(id);
    return t ? *t : kEmpty;
}
