#include "media/image_prop_dlg.h"

#include "document/plane_geometry.h"
#include "media/image_cache.h"
#include "platform/gfx/dc.h"
#include "platform/ui/button.h"
#include "platform/ui/data_exchange.h"
#include "platform/ui/edit.h"
#include "platform/ui/message_box.h"
#include "platform/ui/static_control.h"

namespace {

using plat::DialogItemTemplate;
using plat::Rect;

// Template positions are given as x, y, width, height in dialog units.
Rect At(int x, int y, int cx, int cy)
{
    return Rect(x, y, x + cx, y + cy);
}

DialogItemTemplate Item(plat::StringView cls, int id, plat::StringView text, Rect rect, unsigned style)
{
    return DialogItemTemplate{plat::String(cls), id, plat::String(text), rect, style, 0};
}

plat::DialogTemplate MakeTemplate()
{
    constexpr unsigned kTab = plat::kWsTabStop;
    constexpr unsigned kGroup = plat::kBsGroupBox;
    plat::DialogTemplate t{CImagePropDlg::kTemplateId, u"图象属性", plat::Size(414, 151), u"宋体", 10,
        {
            Item(plat::kButtonClass, CImagePropDlg::kIdcPreview, u"Preview", At(10, 12, 176, 132),
                 plat::kBsOwnerDraw | plat::kWsDisabled),
            Item(plat::kButtonClass, plat::kIdStatic, u"图片信息", At(334, 9, 69, 54), kGroup),
            Item(plat::kStaticClass, plat::kIdStatic, u"宽度:", At(338, 25, 20, 10), plat::kSsLeft),
            Item(plat::kStaticClass, plat::kIdStatic, u"高度:", At(338, 42, 20, 10), plat::kSsLeft),
            Item(plat::kEditClass, CImagePropDlg::kIdcWidth, u"", At(358, 23, 35, 12),
                 plat::kEsAutoHScroll | plat::kWsDisabled),
            Item(plat::kEditClass, CImagePropDlg::kIdcHeight, u"", At(358, 40, 35, 12),
                 plat::kEsAutoHScroll | plat::kWsDisabled),
            Item(plat::kButtonClass, plat::kIdOk, u"确定", At(343, 96, 50, 13), plat::kBsDefPushButton | kTab),
            Item(plat::kButtonClass, plat::kIdCancel, u"取消", At(343, 126, 50, 13), plat::kBsPushButton | kTab),
            Item(plat::kButtonClass, plat::kIdStatic, u"排版方式：", At(195, 9, 130, 54), kGroup),
        }};
    for (DialogItemTemplate& wrap : WrapButtonItems(CImagePropDlg::kIdcWrapNone, 202, 28, 31))
        t.items.push_back(std::move(wrap));
    t.items.push_back(Item(plat::kButtonClass, plat::kIdStatic, u"注释：", At(195, 68, 130, 75), kGroup));
    t.items.push_back(Item(plat::kEditClass, CImagePropDlg::kIdcNote, u"", At(201, 80, 116, 57),
                           plat::kEsMultiline | plat::kEsWantReturn | plat::kEsAutoVScroll | plat::kWsVScroll |
                               kTab));
    return t;
}

} // namespace

const plat::DialogTemplate& CImagePropDlg::Template()
{
    static const plat::DialogTemplate tpl = MakeTemplate();
    return tpl;
}

CImagePropDlg::CImagePropDlg(plat::Window* parent) : plat::Dialog(Template(), parent) {}

bool CImagePropDlg::OnInitDialog()
{
    plat::Dialog::OnInitDialog();
    SetDlgItemText(kIdcWidth, plat::Format(u"%d", m_naturalWidth));
    SetDlgItemText(kIdcHeight, plat::Format(u"%d", m_naturalHeight));
    return true;
}

void CImagePropDlg::DoDataExchange(plat::DataExchange& dx)
{
    plat::DdxText(dx, kIdcNote, m_note);
}

bool CImagePropDlg::OnCommand(unsigned id, unsigned code, plat::Window* control)
{
    if (m_wrapButtons.OnCommand(*this, static_cast<int>(id), m_wrapMode)) return true;
    return plat::Dialog::OnCommand(id, code, control);
}

void CImagePropDlg::OnDrawItem(plat::DrawItem& item)
{
    if (!item.dc) return;
    if (item.ctlId == kIdcPreview) {
        DrawPreview(*item.dc, item.rect);
        return;
    }
    m_wrapButtons.OnDrawItem(item, m_wrapMode);
}

plat::Rect CImagePropDlg::PreviewRect(const plat::Rect& box, int width, int height)
{
    plat::Point at(box.left, box.top);
    const plat::Size size = FitRect(width, height, box.Width(), box.Height(), at);
    return plat::Rect(at.x, at.y, at.x + size.cx, at.y + size.cy);
}

void CImagePropDlg::DrawPreview(plat::Dc& dc, const plat::Rect& rect) const
{
    dc.FillRect(rect, plat::Brush::Solid(0xFFFFFF));
    const plat::Rect box(rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1);
    CImageCache picture;
    if (picture.Load(m_picturePath) != 1) return;
    const plat::Size natural = picture.GetSize();
    const plat::Rect at = PreviewRect(box, natural.cx, natural.cy);
    picture.Draw(dc, at.left, at.top, at.Width(), at.Height());
}
