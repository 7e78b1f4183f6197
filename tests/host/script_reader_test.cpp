// The host's script lines as it reads them, the strings it writes back, and key names.
#include <gtest/gtest.h>

#include "host/action_runner.h"
#include "host/script_reader.h"
#include "platform/ui/keyboard.h"

namespace {

using host::ScriptArg;
using host::ScriptLine;

// One argument as the test writes it: s:TEXT for a string, n:NUMBER, w:WORD.
std::string Show(const ScriptArg& arg)
{
    switch (arg.kind) {
    case ScriptArg::Kind::kString: return "s:" + plat::Utf16ToUtf8(arg.text);
    case ScriptArg::Kind::kNumber: return "n:" + std::to_string(arg.number);
    case ScriptArg::Kind::kWord: break;
    }
    return "w:" + plat::Utf16ToUtf8(arg.text);
}

TEST(HostScriptReader, ReadsCallsActionsAndTheirArguments)
{
    const struct {
        const char* text;
        ScriptLine::Kind kind;
        const char* name;
        std::vector<std::string> args;
    } cases[] = {
        {"", ScriptLine::Kind::kNothing, "", {}},
        {"   # only a comment", ScriptLine::Kind::kNothing, "", {}},
        {"FileNew", ScriptLine::Kind::kCall, "FileNew", {}},
        {"  FileOpen \"a b.qln\" 0  # read-write", ScriptLine::Kind::kCall, "FileOpen", {"s:a b.qln", "n:0"}},
        {"SetCharColor -16777216\r", ScriptLine::Kind::kCall, "SetCharColor", {"n:-16777216"}},
        {"InsertString \"say \\\"hi\\\"\\\\ \\n#\"", ScriptLine::Kind::kCall, "InsertString", {"s:say \"hi\"\\ \n#"}},
        {"InsertString \"\\u4F60\\u597d 好 \\uD83D\\uDE00\"", ScriptLine::Kind::kCall, "InsertString",
         {"s:你好 好 \xF0\x9F\x98\x80"}},
        {"InsertString \"\"", ScriptLine::Kind::kCall, "InsertString", {"s:"}},
        {"!key Ctrl+B 7 Enter", ScriptLine::Kind::kAction, "key", {"w:Ctrl+B", "n:7", "w:Enter"}},
        {"!png out/page-1.png", ScriptLine::Kind::kAction, "png", {"w:out/page-1.png"}},
        {"!answer ok \"a\" \"b\"#x", ScriptLine::Kind::kAction, "answer", {"w:ok", "s:a", "s:b"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ScriptLine line;
        std::string reason;
        ASSERT_TRUE(host::ReadScriptLine(c.text, &line, &reason)) << reason;
        EXPECT_EQ(line.kind, c.kind);
        EXPECT_EQ(line.name, c.name);
        std::vector<std::string> args;
        for (const ScriptArg& arg : line.args) args.push_back(Show(arg));
        EXPECT_EQ(args, c.args);
    }
}

TEST(HostScriptReader, RefusesLinesItCannotReadAndSaysWhy)
{
    const struct {
        const char* text;
        const char* reason;
    } cases[] = {
        {"InsertString \"open", "a string without its closing quote"},
        {"InsertString \"ends in \\", "a string without its closing quote"},
        {"InsertString \"\\t\"", "unknown escape \\t in a string"},
        {"InsertString \"\\u12\"", "\\u needs four hexadecimal digits"},
        {"InsertString \"a\"\"b\"", "argument 1: no space after it"},
        {"InsertString ab\"c\"", "a quote inside the word ab"},
        {"InsertString \"\xC3\x28\"", "a string that is not UTF-8 text"},
        {"SetFontSize 99999999999999", "the number 99999999999999 is out of range"},
        {"3D", "a line must start with a member name"},
        {"File-New", "a line must start with a member name"},
        {"! key A", "an action name must follow '!'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ScriptLine line;
        std::string reason;
        EXPECT_FALSE(host::ReadScriptLine(c.text, &line, &reason));
        EXPECT_EQ(reason, c.reason);
    }
}

TEST(HostScriptReader, WritesStringsTheWayItReadsThemBack)
{
    const struct {
        plat::String text;
        const char* written;
    } cases[] = {
        {u"plain", "\"plain\""},
        {u"a \"b\" \\c", "\"a \\\"b\\\" \\\\c\""},
        {u"line\nnext\rend\t", "\"line\\nnext\\u000Dend\\u0009\""},
        {u"宋体 \U0001F600", "\"宋体 \xF0\x9F\x98\x80\""},
        {plat::String(u"lone \xD800 x"), "\"lone \\uD800 x\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        EXPECT_EQ(host::QuoteString(c.text), c.written);
        ScriptLine line;
        std::string reason;
        ASSERT_TRUE(host::ReadScriptLine("InsertString " + host::QuoteString(c.text), &line, &reason)) << reason;
        ASSERT_EQ(line.args.size(), 1u);
        EXPECT_EQ(line.args[0].text, c.text);
    }
}

TEST(HostKeyNames, NamesKeysWithTheirModifiers)
{
    const struct {
        const char* name;
        bool known;
        int key;
        unsigned modifiers;
    } cases[] = {
        {"Ctrl+B", true, 'B', plat::kModCtrl},
        {"ctrl+shift+end", true, plat::kVkEnd, plat::kModCtrl | plat::kModShift},
        {"Alt+F4", true, plat::kVkF1 + 3, plat::kModAlt},
        {"F12", true, plat::kVkF1 + 11, 0},
        {"a", true, 'A', 0},
        {"7", true, '7', 0},
        {"Enter", true, plat::kVkReturn, 0},
        {"Esc", true, plat::kVkEscape, 0},
        {"Backspace", true, plat::kVkBack, 0},
        {"PageDown", true, plat::kVkNext, 0},
        {"F13", false, 0, 0},
        {"F0", false, 0, 0},
        {"Ctrl+", false, 0, 0},
        {"Ctrl+Ctrl+A", false, 0, 0},
        {"Hyper+A", false, 0, 0},
        {"AB", false, 0, 0},
        {"", false, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host::KeyStroke key;
        ASSERT_EQ(host::ReadKeyName(c.name, &key), c.known);
        if (!c.known) continue;
        EXPECT_EQ(key.virtualKey, c.key);
        EXPECT_EQ(key.modifiers, c.modifiers);
    }
}

} // namespace
