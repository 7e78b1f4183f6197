// The command strings, sorted by id for the lookup.
#include "resources/res_strings.h"

#include <algorithm>
#include <iterator>

namespace {

struct ResString {
    unsigned id;
    const char16_t* text;
};

constexpr ResString kStrings[] = {
    {32770, u"修订与批注\n修订与批注"},
    {32771, u"显示/隐藏留痕\n显示/隐藏留痕"},
    {32774, u"关于《Quiln》版本信息\n《Quiln》版本信息"},
    {32783, u"常用符号\n常用符号"},
    {32784, u"插入当前日期\n插入当前日期"},
    {32787, u"查找/替换指定的正文\n查找/替换"},
    {32800, u"常用图形\n常用图形"},
    {32802, u"直线\n直线"},
    {32803, u"箭头\n箭头"},
    {32841, u"矩形\n矩形"},
    {32849, u"椭圆\n椭圆"},
    {33271, u"插入文本\n插入文本"},
    {33274, u"线条颜色\n线条颜色"},
    {33276, u"填充方式与颜色\n填充方式与颜色"},
    {33300, u"设置文本边框\n文本边框"},
    {33330, u"设置线型\n线型"},
    {33370, u"设置线端点\n线端点"},
    {35020, u"显示或隐藏标尺、工具栏、参考文档、拼写检查\n显隐标尺、工具栏、参考文档、拼写检查"},
    {35022, u"显示或隐藏标尺\n显隐标尺"},
    {35023, u"显示或隐藏扩展工具栏\n显隐扩展工具栏"},
    {35037, u"显示比例\n显示比例"},
    {35041, u"插入图片\n插入图片"},
    {35042, u"插入影片\n插入影片"},
    {35043, u"插入声音\n插入声音"},
    {35044, u"插入表格\n插入表格"},
    {35046, u"插入图表\n插入图表"},
    {35055, u"设置图片、影片、声音、图形、表格排版属性\n对象属性"},
    {35061, u"中文字体\n中文字体"},
    {35062, u"英文字体\n英文字体"},
    {35063, u"字号\n字号"},
    {35065, u"粗体\n粗体"},
    {35066, u"斜体\n斜体"},
    {35067, u"下划线\n下划线"},
    {35071, u"字符颜色\n字符颜色"},
    {35080, u"版式\n版式"},
    {35085, u"行距\n行距"},
    {35092, u"增加缩进\n增加缩进"},
    {35093, u"减少缩进\n减少缩进"},
    {37801, u"插入行\n插入行"},
    {37802, u"插入列\n插入列"},
    {37803, u"删除行\n删除行"},
    {37804, u"删除列\n删除列"},
    {37807, u"合并表格单元\n合并表格单元"},
    {37808, u"拆分表格单元\n拆分表格单元"},
    {37810, u"文字上下版式\n文字上下版式"},
    {37814, u"边框线\n设置表格边框线"},
    {37900, u"拼写检查\n拼写检查"},
    {57607, u"打印当前文档\n打印"},
    {57609, u"显示整页\n打印预览"},
    {57634, u"复制被选对象并将其置于剪贴板上\n复制"},
    {57635, u"剪切被选对象并将其置于剪贴板上\n剪切"},
    {57636, u"查找指定的正文\n查找"},
    {57637, u"插入剪贴板内容\n粘贴"},
    {57643, u"撤消最后一步操作\n撤消"},
    {57644, u"重新执行先前已撤消的操作\n重新执行"},
};

static_assert(std::is_sorted(std::begin(kStrings), std::end(kStrings),
                             [](const ResString& a, const ResString& b) { return a.id < b.id; }),
              "the string table is looked up by binary search");

} // namespace

plat::String LoadResString(unsigned id)
{
    const auto* found = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                         [](const ResString& entry, unsigned key) { return entry.id < key; });
    if (found == std::end(kStrings) || found->id != id) return {};
    return plat::String(found->text);
}

plat::String GetTooltipText(plat::StringView text)
{
    const size_t cut = text.find(u'\n');
    return plat::String(cut == plat::StringView::npos ? text : text.substr(cut + 1));
}

plat::String LoadTooltip(unsigned id)
{
    return GetTooltipText(LoadResString(id));
}
