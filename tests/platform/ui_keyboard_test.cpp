// The keyboard: which character message each key makes, key presses and typed text as the
// focus window gets them through the loop, and accelerators with exact modifiers.
#include "tests/platform/ui_test_window.h"

namespace {

using plat::Rect;
using uitest::TestWindow;

TEST(KeyTranslation, KeysMakeTheCharactersOfTheUsLayout)
{
    struct Row {
        int key;
        unsigned modifiers;
        int expected; // -1: no character
    };
    const unsigned shift = plat::kModShift, ctrl = plat::kModCtrl, alt = plat::kModAlt;
    const Row rows[] = {
        {plat::kVkTab, 0, 9},          {plat::kVkTab, shift, 9},       {plat::kVkTab, ctrl, -1},
        {plat::kVkReturn, 0, 13},      {plat::kVkReturn, ctrl, 10},    {plat::kVkEscape, 0, 27},
        {plat::kVkBack, 0, 8},         {plat::kVkBack, shift, 8},      {plat::kVkBack, ctrl, 127},
        {plat::kVkSpace, 0, ' '},      {plat::kVkSpace, ctrl, ' '},
        {'A', 0, 'a'},                 {'A', shift, 'A'},              {'Z', 0, 'z'},
        {'A', ctrl, 1},                {'Z', ctrl, 26},                {'M', ctrl | shift, 13},
        {'C', alt, -1},                {'C', ctrl | alt, -1},
        {'0', 0, '0'},                 {'9', 0, '9'},                  {'1', shift, '!'},
        {'0', shift, ')'},             {'2', ctrl, -1},
        {plat::kVkNumpad0 + 7, 0, '7'}, {plat::kVkMultiply, 0, '*'},   {plat::kVkDivide, 0, '/'},
        {plat::kVkOem1, 0, ';'},       {plat::kVkOem1, shift, ':'},    {plat::kVkOem7, shift, '"'},
        {plat::kVkOem4, ctrl, 27},     {plat::kVkOem5, ctrl, 28},      {plat::kVkOem6, ctrl, 29},
        {plat::kVkOemMinus, ctrl, -1},
        {plat::kVkLeft, 0, -1},        {plat::kVkDelete, 0, -1},       {plat::kVkF1, 0, -1},
        {plat::kVkShift, shift, -1},   {plat::kVkPrior, 0, -1},
    };
    for (const Row& r : rows) {
        const std::optional<char16_t> ch = plat::CharForKey(r.key, r.modifiers);
        EXPECT_EQ(ch ? int(*ch) : -1, r.expected) << "key " << r.key << " modifiers " << r.modifiers;
    }
}

class Keyboard : public uitest::ThreeWindows {
protected:
    void SetUp() override
    {
        ThreeWindows::SetUp();
        for (TestWindow* w : {&m_top, &m_edit}) w->m_quiet = {plat::kWmPaint, plat::kWmSetFocus};
        plat::SetFocus(&m_edit);
        m_log.clear();
    }
    // The characters the window got, as text.
    std::u16string Typed() const
    {
        std::u16string out;
        for (const uitest::Logged& l : m_log)
            if (l.message == plat::kWmChar) out += static_cast<char16_t>(l.wParam);
        return out;
    }
    TestWindow& m_edit = m_a;
};

TEST_F(Keyboard, APressGoesThroughDownCharUpWithTheModifiersHeldMeanwhile)
{
    bool ctrlSeen = false;
    m_edit.m_handlers[plat::kWmKeyDown] = [&](plat::WParam key, plat::LParam) {
        if (key == 'A') ctrlSeen = plat::IsKeyDown(plat::kVkControl);
        return std::optional<plat::LResult>();
    };
    ASSERT_TRUE(plat::PressKey('A', plat::kModCtrl));
    plat::PumpMessages();
    EXPECT_EQ(Trace(), (std::vector<std::string>{"a:keydown", "a:keydown", "a:char", "a:keyup",
                                                 "a:keyup"}));
    EXPECT_EQ(m_log[0].wParam, plat::WParam(plat::kVkControl));
    EXPECT_EQ(m_log[2].wParam, 1u) << "Ctrl+A is character 1";
    EXPECT_TRUE(ctrlSeen) << "Ctrl reads as held while the key is handled";
    EXPECT_FALSE(plat::IsKeyDown(plat::kVkControl)) << "and released afterwards";
    EXPECT_NE(m_log[3].lParam & (plat::LParam(1) << 31), 0) << "the key-up bit";

    m_log.clear();
    plat::PressKey(plat::kVkF1 + 3, plat::kModAlt);
    plat::PumpMessages();
    EXPECT_EQ(Trace(), (std::vector<std::string>{"a:syskeydown", "a:syskeydown", "a:syskeyup",
                                                 "a:syskeyup"}))
        << "Alt makes system keys and no character";
}

TEST_F(Keyboard, TypedTextGivesOneCharacterMessagePerUtf16Unit)
{
    const std::u16string text = u"a中\U0001F600\t";
    ASSERT_EQ(text.size(), 5u);
    ASSERT_TRUE(plat::TypeText(text));
    plat::PumpMessages();
    EXPECT_EQ(Typed(), text);
    EXPECT_EQ(m_log.size(), 5u);
    EXPECT_EQ(m_log[2].wParam, 0xD83Du) << "the high surrogate first";
    EXPECT_EQ(m_log[3].wParam, 0xDE00u);

    plat::SetFocus(nullptr);
    EXPECT_FALSE(plat::TypeText(u"x")) << "nobody to type into";
    EXPECT_FALSE(plat::PressKey('X'));
}

TEST_F(Keyboard, KeysTypedInARowArriveInOrder)
{
    plat::PressKey('H', plat::kModShift);
    plat::PressKey('I');
    plat::PressKey(plat::kVkReturn);
    plat::PressKey(plat::kVkBack);
    plat::PressKey(plat::kVkEscape);
    plat::PressKey(plat::kVkLeft);
    plat::PumpMessages();
    EXPECT_EQ(Typed(), u"Hi\r\b\x1b");
}

TEST_F(Keyboard, AcceleratorsNeedExactlyTheirModifiers)
{
    const plat::AcceleratorTable table = {
        {plat::kFVirtKey | plat::kFControl, 'C', 57634},
        {plat::kFVirtKey | plat::kFControl, plat::kVkInsert, 57634},
        {plat::kFVirtKey | plat::kFShift, plat::kVkInsert, 57637},
        {plat::kFVirtKey | plat::kFShift, plat::kVkDelete, 57635},
    };
    struct Row {
        int key;
        unsigned modifiers;
        unsigned command; // 0: none
    };
    const Row rows[] = {
        {'C', plat::kModCtrl, 57634},
        {'C', plat::kModCtrl | plat::kModShift, 0},
        {'C', 0, 0},
        {plat::kVkInsert, plat::kModCtrl, 57634},
        {plat::kVkInsert, plat::kModShift, 57637},
        {plat::kVkDelete, plat::kModShift, 57635},
        {plat::kVkDelete, 0, 0},
    };
    for (const Row& r : rows) EXPECT_EQ(table.Lookup(r.key, r.modifiers).value_or(0), r.command) << r.key;

    // In the loop: the frame translates accelerators in its pre-translate hook; the key-down
    // then goes no further, and no character is made of it.
    m_top.m_preTranslate = [&](plat::Message& m) { return table.Translate(m_top, m); };
    std::vector<unsigned> commands;
    m_top.OnCommandRange(57600, 57699, [&](unsigned id) { commands.push_back(id); });
    plat::PressKey('C', plat::kModCtrl);
    plat::PressKey('C');
    plat::PumpMessages();
    EXPECT_EQ(commands, std::vector<unsigned>{57634});
    EXPECT_EQ(Typed(), u"c");
}

} // namespace
