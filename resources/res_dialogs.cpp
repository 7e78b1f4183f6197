#include "resources/res_dialogs.h"

#include <map>

#include "platform/ui/button.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/list_box.h"
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

// The border dialog: the style list on the left, the seven previews laid out as the six
// lines of a table, the twelve targets in two columns, the colour button.
DialogTemplate MakeTableBorderTemplate()
{
    constexpr unsigned kOwnerButton = plat::kBsOwnerDraw | kTab;
    constexpr unsigned kTarget = plat::kBsRadioButton | kTab;
    DialogTemplate t{kIddTableBorder, u"设置表格边框线", plat::Size(276, 226), kFace, 9,
        {
            Item(plat::kButtonClass, plat::kIdStatic, u"边框类型", Rect(7, 7, 92, 184), plat::kBsGroupBox),
            Item(plat::kListBoxClass, kIdcBorderStyleList, u"",  Rect(13, 19, 86, 178),
                 plat::kLbsOwnerDrawFixed | plat::kLbsNotify | plat::kWsVScroll | plat::kWsBorder | kTab),
            Item(plat::kButtonClass, plat::kIdStatic, u"预览", Rect(99, 7, 221, 104), plat::kBsGroupBox),
            Item(plat::kButtonClass, kIdcBorderPreviewTop, u"Top", Rect(120, 18, 200, 28), kOwnerButton),
            Item(plat::kButtonClass, kIdcBorderPreviewTop + 1, u"Horz", Rect(120, 50, 200, 60), kOwnerButton),
            Item(plat::kButtonClass, kIdcBorderPreviewTop + 2, u"Bottom", Rect(120, 82, 200, 92), kOwnerButton),
            Item(plat::kButtonClass, kIdcBorderPreviewTop + 3, u"Left", Rect(106, 30, 116, 80), kOwnerButton),
            Item(plat::kButtonClass, kIdcBorderPreviewTop + 4, u"Right", Rect(204, 30, 214, 80), kOwnerButton),
            Item(plat::kButtonClass, kIdcBorderPreviewTop + 5, u"Vert", Rect(155, 30, 165, 48), kOwnerButton),
            Item(plat::kButtonClass, kIdcBorderPreviewTop + 6, u"Vert", Rect(155, 62, 165, 80), kOwnerButton),
            Item(plat::kButtonClass, plat::kIdStatic, u"边框选择", Rect(99, 110, 221, 219), plat::kBsGroupBox),
            Item(plat::kButtonClass, kIdcBorderAll, u"全部", Rect(106, 122, 160, 134), kTarget),
            Item(plat::kButtonClass, kIdcBorderFrame, u"边框", Rect(106, 138, 160, 150), kTarget),
            Item(plat::kButtonClass, kIdcBorderAllHorizontal, u"全部横线", Rect(106, 154, 160, 166), kTarget),
            Item(plat::kButtonClass, kIdcBorderTopBottom, u"上下边框", Rect(106, 170, 160, 182), kTarget),
            Item(plat::kButtonClass, kIdcBorderAllVertical, u"全部竖线", Rect(106, 186, 160, 198), kTarget),
            Item(plat::kButtonClass, kIdcBorderLeftRight, u"左右边框", Rect(106, 202, 160, 214), kTarget),
            Item(plat::kButtonClass, kIdcBorderTop, u"上边框", Rect(164, 122, 216, 134), kTarget),
            Item(plat::kButtonClass, kIdcBorderInnerHorizontal, u"横线", Rect(164, 138, 216, 150), kTarget),
            Item(plat::kButtonClass, kIdcBorderBottom, u"下边框", Rect(164, 154, 216, 166), kTarget),
            Item(plat::kButtonClass, kIdcBorderLeft, u"左边框", Rect(164, 170, 216, 182), kTarget),
            Item(plat::kButtonClass, kIdcBorderInnerVertical, u"竖线", Rect(164, 186, 216, 198), kTarget),
            Item(plat::kButtonClass, kIdcBorderRight, u"右边框", Rect(164, 202, 216, 214), kTarget),
            Item(plat::kButtonClass, plat::kIdStatic, u"边框颜色", Rect(7, 190, 92, 219), plat::kBsGroupBox),
            Item(plat::kButtonClass, kIdcBorderColor, u"Color", Rect(13, 201, 86, 213), kOwnerButton),
            Item(plat::kButtonClass, plat::kIdOk, u"确认", Rect(228, 10, 268, 24), plat::kBsDefPushButton | kTab),
            Item(plat::kButtonClass, plat::kIdCancel, u"取消", Rect(228, 30, 268, 44), plat::kBsPushButton | kTab),
        }};
    return t;
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
    constexpr unsigned kDropList = plat::kCbsDropDownList | plat::kWsVScroll | kTab;
    t[kIddSplitCell] = DialogTemplate{kIddSplitCell, u"拆分单元", plat::Size(150, 66), kFace, 9,
        {
            Label(u"行数:", Rect(10, 12, 40, 22)),
            Item(plat::kComboBoxClass, kIdcSplitRows, u"", Rect(42, 10, 90, 90), kDropList),
            Label(u"列数:", Rect(10, 32, 40, 42)),
            Item(plat::kComboBoxClass, kIdcSplitColumns, u"", Rect(42, 30, 90, 110), kDropList),
            Item(plat::kButtonClass, plat::kIdOk, u"确认", Rect(100, 10, 140, 24), plat::kBsDefPushButton | kTab),
            Item(plat::kButtonClass, plat::kIdCancel, u"取消", Rect(100, 30, 140, 44), plat::kBsPushButton | kTab),
        }};
    t[kIddTableBorder] = MakeTableBorderTemplate();
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
