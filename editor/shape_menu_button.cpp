#include "editor/shape_menu_button.h"

#include <array>
#include <span>

#include "editor/ql_main.h"
#include "editor/toolbar_ex.h"
#include "platform/gfx/font.h"
#include "platform/gfx/pen_brush.h"
#include "platform/gfx/sys_colors.h"
#include "resources/res_strings.h"

namespace {

constexpr char16_t kCaption[] = u"常用图形";

// The tools of each submenu, a column after the other, each column from the top.
constexpr unsigned kLineTools[] = {32802, 32805, 32808, 32803, 32806, 32809, 32804, 32807, 32810};
constexpr unsigned kBasicShapeTools[] = {
    32841, 32845, 32849, 32853, 32857, 32861, 32865, // column 1
    32842, 32846, 32850, 32854, 32858, 32862, 32866, // column 2
    32843, 32847, 32851, 32855, 32859, 32863, 32867, // column 3
    32844, 32848, 32852, 32856, 32860, 32864,        // column 4
};
constexpr unsigned kArrowTools[] = {
    32871, 32875, 32879, 32883, 32887, 32891, 32895, 32899, // column 1
    32872, 32876, 32880, 32884, 32888, 32892, 32896, 32900, // column 2
    32873, 32877, 32881, 32885, 32889, 32893, 32897, 32901, // column 3
    32874, 32878, 32882, 32886, 32890, 32894, 32898, 32902, // column 4
};
constexpr unsigned kPolygonTools[] = {
    32821, 32827, 32831, 32822, 32828, 32832, 32823, 32829, 32833, 32824, 32830, 32834, 32825, 32826,
};
constexpr unsigned kFlowChartTools[] = {
    32841, 32911, 32915, 32849, 32922, 32926, 32930, // column 1
    32845, 32912, 32916, 32919, 32923, 32927, 32854, // column 2
    32844, 32913, 32917, 32920, 32924, 32928, 32931, // column 3
    32842, 32914, 32918, 32921, 32925, 32929, 32932, // column 4
};

struct Submenu {
    const char16_t* title;
    unsigned entry;
    std::span<const unsigned> tools;
};
constexpr Submenu kSubmenus[] = {
    {u"线条", CShapeMenuButton::kLinesEntry, kLineTools},
    {u"基本形状", CShapeMenuButton::kBasicShapesEntry, kBasicShapeTools},
    {u"箭头总汇", CShapeMenuButton::kArrowsEntry, kArrowTools},
    {u"规则多边形", CShapeMenuButton::kPolygonsEntry, kPolygonTools},
    {u"流程图", CShapeMenuButton::kFlowChartEntry, kFlowChartTools},
};

// Names for the tools the string table gives no tooltip; ours, short and plain, until the
// items show their pictures.
struct ToolName {
    unsigned command;
    const char16_t* name;
};
constexpr ToolName kToolNames[] = {
    {32804, u"双箭头"},     {32805, u"折线"},       {32806, u"多边形"},     {32807, u"双线"},
    {32808, u"曲线"},       {32809, u"多段曲线"},   {32810, u"闭合曲线"},   {32842, u"平行四边形"},
    {32843, u"梯形"},       {32844, u"菱形"},       {32845, u"圆角矩形"},   {32846, u"等腰三角形"},
    {32847, u"直角三角形"}, {32848, u"左直角三角形"}, {32850, u"六边形"},   {32851, u"八边形"},
    {32852, u"十边形"},     {32853, u"五边形"},     {32854, u"圆柱"},       {32855, u"立方体"},
    {32856, u"棱台"},       {32857, u"同心圆"},     {32858, u"缺角矩形"},   {32859, u"左中括号"},
    {32860, u"右中括号"},   {32861, u"左小括号"},   {32862, u"右小括号"},   {32863, u"左大括号"},
    {32864, u"右大括号"},   {32865, u"双中括号"},   {32866, u"双小括号"},   {32867, u"双大括号"},
    {32871, u"右箭头"},     {32872, u"下箭头"},     {32873, u"左箭头"},     {32874, u"上箭头"},
    {32875, u"左右箭头"},   {32876, u"上下箭头"},   {32877, u"空心左右箭头"}, {32878, u"空心上下箭头"},
    {32879, u"三向箭头"},   {32880, u"竖三向箭头"}, {32881, u"直角箭头"},   {32882, u"竖直角箭头"},
    {32883, u"虚尾箭头"},   {32884, u"虚尾下箭头"}, {32885, u"燕尾箭头"},   {32886, u"燕尾下箭头"},
    {32887, u"燕尾左箭头"}, {32888, u"燕尾上箭头"}, {32889, u"燕尾双向箭头"}, {32890, u"燕尾竖双向箭头"},
    {32891, u"右箭头标注"}, {32892, u"下箭头标注"}, {32893, u"左右箭头标注"}, {32894, u"上下箭头标注"},
    {32895, u"十字箭头"},   {32896, u"十字箭头标注"}, {32897, u"左弧形箭头"}, {32898, u"下弧形箭头"},
    {32899, u"上弧形箭头"}, {32900, u"右弧形箭头"}, {32901, u"折角箭头"},   {32902, u"曲线箭头"},
    {32821, u"三角形"},     {32822, u"正方形"},     {32823, u"正五边形"},   {32824, u"正六边形"},
    {32825, u"正八边形"},   {32826, u"正十边形"},   {32827, u"五角星"},     {32828, u"六角星"},
    {32829, u"八角星"},     {32830, u"十角星"},     {32831, u"尖五角星"},   {32832, u"尖六角星"},
    {32833, u"尖八角星"},   {32834, u"尖十角星"},   {32911, u"预定义过程"}, {32912, u"内部贮存"},
    {32913, u"文档"},       {32914, u"多文档"},     {32915, u"终止"},       {32916, u"准备"},
    {32917, u"数据"},       {32918, u"手动操作"},   {32919, u"离页连接符"}, {32920, u"卡片"},
    {32921, u"资料带"},     {32922, u"汇总连接"},   {32923, u"或者"},       {32924, u"对照"},
    {32925, u"排序"},       {32926, u"摘录"},       {32927, u"合并"},       {32928, u"存储数据"},
    {32929, u"延期"},       {32930, u"顺序访问存储器"}, {32931, u"直接访问存储器"}, {32932, u"显示"},
};

const plat::Font& CaptionFont()
{
    static const plat::Font font(
        plat::FontDesc{.face = u"宋体", .height = -12, .weight = plat::kFwNormal, .charSet = 1});
    return font;
}

} // namespace

CShapeMenuButton::CShapeMenuButton()
{
    m_menu.AppendSeparator();
    for (const Submenu& s : kSubmenus) {
        plat::Menu& submenu = m_menu.AppendSubmenu(s.title, s.entry);
        for (unsigned command : s.tools) submenu.AppendItem(plat::kMfString, command, ItemText(command));
        m_menu.AppendSeparator();
    }
}

CShapeMenuButton::~CShapeMenuButton()
{
    if (IsCreated()) Destroy();
}

plat::String CShapeMenuButton::ItemText(unsigned command)
{
    plat::String tip = LoadTooltip(command);
    if (!tip.empty()) return tip;
    for (const ToolName& t : kToolNames)
        if (t.command == command) return t.name;
    return {};
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
    plat::TrackPopupMenu(m_menu, 0, MenuPoint(), m_frame);
}

plat::LResult CShapeMenuButton::WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam)
{
    switch (message) {
    case plat::kWmPaint: OnPaint(); return 0;
    case plat::kWmLButtonDown: OnLButtonDown(); return 0;
    default: return plat::Window::WindowProc(message, wParam, lParam);
    }
}
