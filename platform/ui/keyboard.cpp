#include "platform/ui/keyboard.h"

#include <bitset>

#include "platform/ui/focus.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/window.h"

namespace plat {

namespace {

// Punctuation keys of the US layout: the character without and with Shift, and with Ctrl.
struct Punctuation {
    int key;
    char16_t plain;
    char16_t shifted;
    char16_t control; // 0: none
};
constexpr Punctuation kPunctuation[] = {
    {kVkOem1, u';', u':', 0},      {kVkOemPlus, u'=', u'+', 0},   {kVkOemComma, u',', u'<', 0},
    {kVkOemMinus, u'-', u'_', 0},  {kVkOemPeriod, u'.', u'>', 0}, {kVkOem2, u'/', u'?', 0},
    {kVkOem3, u'`', u'~', 0},      {kVkOem4, u'[', u'{', 27},     {kVkOem5, u'\\', u'|', 28},
    {kVkOem6, u']', u'}', 29},     {kVkOem7, u'\'', u'"', 0},
};
constexpr char16_t kShiftedDigits[] = u")!@#$%^&*(";

// The keypad's operator keys.
struct KeypadKey {
    int key;
    char16_t ch;
};
constexpr KeypadKey kKeypad[] = {
    {kVkMultiply, u'*'}, {kVkAdd, u'+'}, {kVkSubtract, u'-'}, {kVkDecimal, u'.'}, {kVkDivide, u'/'},
};

std::bitset<256>& KeysDown()
{
    static std::bitset<256> keys;
    return keys;
}

constexpr LParam kKeyUpBits = LParam(0xC0000001); // repeat 1, previous state down, released

bool IsKeyMessage(unsigned message)
{
    return message == kWmKeyDown || message == kWmKeyUp || message == kWmSysKeyDown || message == kWmSysKeyUp;
}

} // namespace

std::optional<char16_t> CharForKey(int key, unsigned modifiers)
{
    const bool shift = (modifiers & kModShift) != 0;
    const bool ctrl = (modifiers & kModCtrl) != 0;
    if (modifiers & kModAlt) return std::nullopt;
    switch (key) {
    case kVkBack:
        return ctrl ? u'\x7f' : u'\b';
    case kVkTab:
        return ctrl ? std::nullopt : std::optional<char16_t>(u'\t');
    case kVkReturn:
        return ctrl ? u'\n' : u'\r';
    case kVkEscape:
        return u'\x1b';
    case kVkSpace:
        return u' ';
    default:
        break;
    }
    if (key >= 'A' && key <= 'Z') {
        if (ctrl) return static_cast<char16_t>(key - 'A' + 1);
        return static_cast<char16_t>(shift ? key : key - 'A' + 'a');
    }
    if (ctrl) {
        for (const Punctuation& p : kPunctuation)
            if (p.key == key && p.control) return p.control;
        return std::nullopt;
    }
    if (key >= '0' && key <= '9') return shift ? kShiftedDigits[key - '0'] : static_cast<char16_t>(key);
    if (key >= kVkNumpad0 && key <= kVkNumpad0 + 9) return static_cast<char16_t>(u'0' + (key - kVkNumpad0));
    for (const KeypadKey& k : kKeypad)
        if (k.key == key) return k.ch;
    for (const Punctuation& p : kPunctuation)
        if (p.key == key) return shift ? p.shifted : p.plain;
    return std::nullopt;
}

bool IsKeyDown(int key)
{
    return key >= 0 && key < 256 && KeysDown().test(static_cast<std::size_t>(key));
}

unsigned HeldModifiers()
{
    return (IsKeyDown(kVkShift) ? kModShift : 0u) | (IsKeyDown(kVkControl) ? kModCtrl : 0u) |
           (IsKeyDown(kVkMenu) ? kModAlt : 0u);
}

void NoteKeyMessage(const Message& message)
{
    if (!IsKeyMessage(message.message) || message.wParam >= 256) return;
    const bool down = message.message == kWmKeyDown || message.message == kWmSysKeyDown;
    KeysDown().set(message.wParam, down);
}

void ResetKeyState()
{
    KeysDown().reset();
}

bool TranslateMessage(const Message& message)
{
    if (message.message != kWmKeyDown && message.message != kWmSysKeyDown) return false;
    if (message.lParam & kKeyTextElsewhere) return false;
    const std::optional<char16_t> ch = CharForKey(static_cast<int>(message.wParam), HeldModifiers());
    if (!ch) return false;
    return PostMessage(message.window, kWmChar, *ch, message.lParam);
}

bool PressKey(int key, unsigned modifiers)
{
    Window* focus = GetFocus();
    if (!focus) return false;
    const bool system = (modifiers & kModAlt) && !(modifiers & kModCtrl);
    const unsigned down = system ? kWmSysKeyDown : kWmKeyDown;
    const unsigned up = system ? kWmSysKeyUp : kWmKeyUp;
    const std::pair<unsigned, int> mods[] = {{kModCtrl, kVkControl}, {kModShift, kVkShift}, {kModAlt, kVkMenu}};
    for (const auto& [bit, vk] : mods)
        if (modifiers & bit) PostInputMessage(focus, vk == kVkMenu ? kWmSysKeyDown : kWmKeyDown, vk, 1);
    PostInputMessage(focus, down, key, 1);
    PostInputMessage(focus, up, key, kKeyUpBits);
    for (const auto& [bit, vk] : mods)
        if (modifiers & bit) PostInputMessage(focus, vk == kVkMenu ? kWmSysKeyUp : kWmKeyUp, vk, kKeyUpBits);
    return true;
}

bool KeyInput(int key, bool down, bool textElsewhere)
{
    Window* focus = GetFocus();
    if (!focus) return false;
    const unsigned held = HeldModifiers();
    const bool system = key == kVkMenu || ((held & kModAlt) && !(held & kModCtrl));
    const unsigned message = down ? (system ? kWmSysKeyDown : kWmKeyDown) : (system ? kWmSysKeyUp : kWmKeyUp);
    LParam bits = down ? LParam(1) : kKeyUpBits;
    if (down && IsKeyDown(key)) bits |= LParam(0x40000000); // held: a repeat
    if (textElsewhere) bits |= kKeyTextElsewhere;
    return PostInputMessage(focus, message, key, bits);
}

bool TypeText(StringView text)
{
    Window* focus = GetFocus();
    if (!focus) return false;
    for (char16_t unit : text) PostInputMessage(focus, kWmChar, unit, 1);
    return true;
}

std::optional<unsigned> AcceleratorTable::Lookup(int key, unsigned modifiers) const
{
    for (const Accelerator& a : m_entries) {
        if (!(a.flags & kFVirtKey) || a.key != key) continue;
        const unsigned wanted = ((a.flags & kFShift) ? kModShift : 0u) | ((a.flags & kFControl) ? kModCtrl : 0u) |
                                ((a.flags & kFAlt) ? kModAlt : 0u);
        if (wanted == (modifiers & (kModShift | kModCtrl | kModAlt))) return a.command;
    }
    return std::nullopt;
}

bool AcceleratorTable::Translate(Window& target, const Message& message) const
{
    if (message.message != kWmKeyDown && message.message != kWmSysKeyDown) return false;
    const std::optional<unsigned> command = Lookup(static_cast<int>(message.wParam), HeldModifiers());
    if (!command) return false;
    SendMessage(&target, kWmCommand, MakeWParam(*command, 1));
    return true;
}

} // namespace plat
