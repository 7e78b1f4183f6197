// The main frame's commands: string table and tooltips.
#include <gtest/gtest.h>

#include "resources/res_strings.h"

namespace {

TEST(CommandStrings, TextsAndTooltips)
{
    struct Row {
        unsigned id;
        const char16_t* text;
        const char16_t* tooltip;
    } const rows[] = {
        {32770, u"修订与批注\n修订与批注", u"修订与批注"},
        {32774, u"关于《Quiln》版本信息\n《Quiln》版本信息", u"《Quiln》版本信息"},
        {32787, u"查找/替换指定的正文\n查找/替换", u"查找/替换"},
        {35020, u"显示或隐藏标尺、工具栏、参考文档、拼写检查\n显隐标尺、工具栏、参考文档、拼写检查",
         u"显隐标尺、工具栏、参考文档、拼写检查"},
        {35055, u"设置图片、影片、声音、图形、表格排版属性\n对象属性", u"对象属性"},
        {37814, u"边框线\n设置表格边框线", u"设置表格边框线"},
        {57609, u"显示整页\n打印预览", u"打印预览"},
        {57643, u"撤消最后一步操作\n撤消", u"撤消"},
        {57644, u"重新执行先前已撤消的操作\n重新执行", u"重新执行"},
        // Ids without a string: between two that have one, below and above the table,
        // and a command that has handlers but no string.
        {32772, u"", u""},
        {0, u"", u""},
        {99999, u"", u""},
        {35011, u"", u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        EXPECT_EQ(LoadResString(row.id), row.text);
        EXPECT_EQ(LoadTooltip(row.id), row.tooltip);
    }
}

TEST(CommandStrings, TooltipIsTheTextAfterTheFirstLineBreak)
{
    EXPECT_EQ(GetTooltipText(u"status\ntip"), u"tip");
    EXPECT_EQ(GetTooltipText(u"no break"), u"no break");
    EXPECT_EQ(GetTooltipText(u"a\nb\nc"), u"b\nc");
    EXPECT_EQ(GetTooltipText(u"trailing\n"), u"");
}

} // namespace
