#include "editor/shape_menu_button.h"

#include <array>
#include <span>

#include "editor/ql_main.h"
#include "editor/toolbar_ex.h"
#include "platform/gfx/font.h"
#include "platform/gfx/pen_brush.h"
#include "platform/gfx/sys_colors.h"

namespace {

constexpr char16_t kCaption[] = u"常用图形";

// The tools of each submenu with their 16 x 16 pictures, a column after the other, each
// column from the top.
struct ShapeTool {
    const char16_t* bitmap; // null: the next column starts here
    unsigned command;
};
constexpr ShapeTool kColumnBreak{nullptr, 0};

constexpr ShapeTool kLineTools[] = {
    {u"IDB_BGLINE_LINE", 32802}, {u"IDB_BGLINE_POLYLINE", 32805}, {u"IDB_BGLINE_BEZIER", 32808},
    kColumnBreak,
    {u"IDB_BGLINE_LINESA", 32803}, {u"IDB_BGLINE_POLYGON", 32806}, {u"IDB_BGLINE_POLYBEZIER", 32809},
    kColumnBreak,
    {u"IDB_BGLINE_LINEDA", 32804}, {u"IDB_BGLINE_DLINE", 32807}, {u"IDB_BGLINE_POLYGONBEZIER", 32810},
};
constexpr ShapeTool kBasicShapeTools[] = {
    {u"IDB_BGBASE_RECT", 32841}, {u"IDB_BGBASE_ROUND", 32845}, {u"IDB_BGBASE_ELLIPSE", 32849}, {u"IDB_BGBASE_POLY5", 32853}, {u"IDB_BGBASE_TXY", 32857}, {u"IDB_BGBASE_BKLB", 32861}, {u"IDB_BGBASE_DBKLA", 32865},
    kColumnBreak,
    {u"IDB_BGBASE_PX4BX", 32842}, {u"IDB_BGBASE_DY3JX", 32846}, {u"IDB_BGBASE_POLY6", 32850}, {u"IDB_BGBASE_YZHU", 32854}, {u"IDB_BGBASE_QJJX", 32858}, {u"IDB_BGBASE_BKLB2", 32862}, {u"IDB_BGBASE_DBKLB", 32866},
    kColumnBreak,
    {u"IDB_BGBASE_TX", 32843}, {u"IDB_BGBASE_R3JX", 32847}, {u"IDB_BGBASE_POLY8", 32851}, {u"IDB_BGBASE_LFT", 32855}, {u"IDB_BGBASE_BKLA", 32859}, {u"IDB_BGBASE_BKLC", 32863}, {u"IDB_BGBASE_DBKLC", 32867},
    kColumnBreak,
    {u"IDB_BGBASE_DIAMOND", 32844}, {u"IDB_BGBASE_L3JX", 32848}, {u"IDB_BGBASE_POLY10", 32852}, {u"IDB_BGBASE_ZLT", 32856}, {u"IDB_BGBASE_BKLA2", 32860}, {u"IDB_BGBASE_BKLC2", 32864},
};
constexpr ShapeTool kArrowTools[] = {
    {u"IDB_BGARROW_DLINE", 32871}, {u"IDB_BGARROW_LR", 32875}, {u"IDB_BGARROW_TLR", 32879}, {u"IDB_BGARROW_DOTLR", 32883}, {u"IDB_BGARROW_YWLR2", 32887}, {u"IDB_BGARROW_MLR", 32891}, {u"IDB_BGARROW_CROSS", 32895}, {u"IDB_BGARROW_LDROUND", 32899},
    kColumnBreak,
    {u"IDB_BGARROW_DLINE2", 32872}, {u"IDB_BGARROW_UD", 32876}, {u"IDB_BGARROW_TUD", 32880}, {u"IDB_BGARROW_DOTUD", 32884}, {u"IDB_BGARROW_YWUD2", 32888}, {u"IDB_BGARROW_MUD", 32892}, {u"IDB_BGARROW_MCROSS", 32896}, {u"IDB_BGARROW_RRROUND", 32900},
    kColumnBreak,
    {u"IDB_BGARROW_NULL", 32873}, {u"IDB_BGARROW_LR2", 32877}, {u"IDB_BGARROW_LU", 32881}, {u"IDB_BGARROW_YWLR", 32885}, {u"IDB_BGARROW_YWLR3", 32889}, {u"IDB_BGARROW_MLR2", 32893}, {u"IDB_BGARROW_LRROUND", 32897}, {u"IDB_BGARROW_XLINE", 32901},
    kColumnBreak,
    {u"IDB_BGARROW_NULL2", 32874}, {u"IDB_BGARROW_UD2", 32878}, {u"IDB_BGARROW_LU2", 32882}, {u"IDB_BGARROW_YWUD", 32886}, {u"IDB_BGARROW_YWUD3", 32890}, {u"IDB_BGARROW_MUD2", 32894}, {u"IDB_BGARROW_DDROUND", 32898}, {u"IDB_BGARROW_YLINE", 32902},
};
constexpr ShapeTool kPolygonTools[] = {
    {u"IDB_BGPOLY_POLY3", 32821}, {u"IDB_BGPOLY_POLYBORDER5", 32827}, {u"IDB_BGPOLY_POLYBORDERANY5", 32831},
    kColumnBreak,
    {u"IDB_BGPOLY_POLY4", 32822}, {u"IDB_BGPOLY_POLYBORDER6", 32828}, {u"IDB_BGPOLY_POLYBORDERANY6", 32832},
    kColumnBreak,
    {u"IDB_BGPOLY_POLY5", 32823}, {u"IDB_BGPOLY_POLYBORDER8", 32829}, {u"IDB_BGPOLY_POLYBORDERANY8", 32833},
    kColumnBreak,
    {u"IDB_BGPOLY_POLY6", 32824}, {u"IDB_BGPOLY_POLYBORDER10", 32830}, {u"IDB_BGPOLY_POLYBORDERANY10", 32834},
    kColumnBreak,
    {u"IDB_BGPOLY_POLY8", 32825},
    kColumnBreak,
    {u"IDB_BGPOLY_POLY10", 32826},
};
constexpr ShapeTool kFlowChartTools[] = {
    {u"IDB_BGBASE_RECT", 32841}, {u"IDB_BGFLOW_PREDEF", 32911}, {u"IDB_BGFLOW_STOP", 32915}, {u"IDB_BGFLOW_LINK", 32849}, {u"IDB_BGFLOW_SUM", 32922}, {u"IDB_BGFLOW_ABSTRACT", 32926}, {u"IDB_BGFLOW_SEQUENCE", 32930},
    kColumnBreak,
    {u"IDB_BGBASE_ROUND", 32845}, {u"IDB_BGFLOW_INSTORE", 32912}, {u"IDB_BGFLOW_PREPARE", 32916}, {u"IDB_BGFLOW_LINK2", 32919}, {u"IDB_BGFLOW_OR", 32923}, {u"IDB_BGFLOW_MERGE", 32927}, {u"IDB_BGBASE_YZHU", 32854},
    kColumnBreak,
    {u"IDB_BGBASE_DIAMOND", 32844}, {u"IDB_BGFLOW_DOC", 32913}, {u"IDB_BGFLOW_INPUT", 32917}, {u"IDB_BGFLOW_CARD", 32920}, {u"IDB_BGFLOW_CONTRAST", 32924}, {u"IDB_BGFLOW_STOREDATA", 32928}, {u"IDB_BGFLOW_DIRECT", 32931},
    kColumnBreak,
    {u"IDB_BGBASE_PX4BX", 32842}, {u"IDB_BGFLOW_MDOC", 32914}, {u"IDB_BGBASE_TX", 32918}, {u"IDB_BGFLOW_TAPE", 32921}, {u"IDB_BGFLOW_SORT", 32925}, {u"IDB_BGFLOW_DELAY", 32929}, {u"IDB_BGFLOW_DISPLAY", 32932},
};

struct Submenu {
    const char16_t* title;
    unsigned entry;
    std::span<const ShapeTool> tools;
};
constexpr Submenu kSubmenus[] = {
    {u"线条", CShapeMenuButton::kLinesEntry, kLineTools},
    {u"基本形状", CShapeMenuButton::kBasicShapesEntry, kBasicShapeTools},
    {u"箭头总汇", CShapeMenuButton::kArrowsEntry, kArrowTools},
    {u"规则多边形", CShapeMenuButton::kPolygonsEntry, kPolygonTools},
    {u"流程图", CShapeMenuButton::kFlowChartEntry, kFlowChartTools},
};

// The submenus' own colours.
constexpr plat::ColorRef kSubmenuBackground = 0xF2F2F2;
constexpr plat::ColorRef kSelection = 0xCCCC00;

const plat::Font& CaptionFont()
{
    static const plat::Font font(
        plat::FontDesc{.face = u"宋体", .height = -12, .weight = plat::kFwNormal, .charSet = 1});
    return font;
}

} // namespace

CShapeMenuButton::CShapeMenuButton() : m_topMenu(std::make_unique<CMenuXP>())
{
    const plat::ColorRef face = plat::GetSysColor(plat::kColorActiveBorder);
    m_topMenu->m_background = face;
    m_topMenu->m_iconBand = face;
    m_topMenu->m_selection = kSelection;
    m_topMenu->AppendSeparator();
    for (const Submenu& s : kSubmenus) {
        auto submenu = std::make_unique<CMenuXP>();
        submenu->m_background = kSubmenuBackground;
        submenu->m_iconBand = kSubmenuBackground;
        submenu->m_selection = kSelection;
        for (const ShapeTool& tool : s.tools) {
            if (!tool.bitmap) submenu->BreakColumn();
            else submenu->AppendItem(std::make_unique<CMenuXPBitmapItem>(tool.command, tool.bitmap));
        }
        m_topMenu->AppendPopup(std::move(submenu), std::make_unique<CMenuXPTextItem>(s.entry, s.title));
        m_topMenu->AppendSeparator();
    }
}

CShapeMenuButton::~CShapeMenuButton()
{
    if (IsCreated()) Destroy();
}

plat::Point CShapeMenuButton::MenuPoint() const
{
    CToolBarEx* bar = m_frame ? m_frame->GetFullExtensionBar() : nullptr;
    if (!bar || !bar->IsWindowVisible()) return plat::Point(0, 0);
    const int index = bar->CommandToIndex(kCommand);
    if (index < 0) return plat::Point(0, 0);
    plat::Rect rect;
    bar->GetItemRect(index, rect);
    const plat::Point topLeft = bar->ClientToScreen(plat::Point(rect.left, rect.top));
    return plat::Point(topLeft.x, topLeft.y - kMenuRise);
}

void CShapeMenuButton::OnPaint()
{
    plat::PaintDc dc(*this);
    const plat::Rect client = GetClientRect();
    dc.FillRect(client, plat::Brush::Solid(plat::GetSysColor(plat::kColorActiveBorder)));
    const plat::Font* oldFont = dc.Select(&CaptionFont());
    const int oldMode = dc.SetBkMode(plat::kTransparent);
    const plat::Size text = dc.GetTextExtent(kCaption);
    dc.TextOut(kCaptionX, (client.Height() - text.cy) / 2, kCaption);
    dc.SetBkMode(oldMode);
    dc.Select(oldFont);

    const plat::Pen pen(plat::kPenSolid, 1, plat::Rgb(0, 0, 0));
    const plat::Pen* oldPen = dc.Select(&pen);
    const plat::Brush* oldBrush = dc.Select(plat::StockBrush(plat::StockObject::kBlackBrush));
    const int d = client.Height() / 2;
    const std::array<plat::Point, 3> triangle = {plat::Point(text.cx + 9, d - 2), plat::Point(text.cx + 11, d + 2),
                                                 plat::Point(text.cx + 13, d - 2)};
    dc.Polygon(triangle);
    dc.Select(oldBrush);
    dc.Select(oldPen);
}

void CShapeMenuButton::OnLButtonDown()
{
    plat::TrackPopupMenu(m_topMenu->GetMenu(), 0, MenuPoint(), m_frame);
}

plat::LResult CShapeMenuButton::WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam)
{
    switch (message) {
    case plat::kWmPaint: OnPaint(); return 0;
    case plat::kWmLButtonDown: OnLButtonDown(); return 0;
    default: return plat::Window::WindowProc(message, wParam, lParam);
    }
}
