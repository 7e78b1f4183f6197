// The keyboard: virtual-key codes (Windows values), the state of the keys as the messages
// taken so far left it, translation of key-downs into character messages, typing into the
// focus window, and accelerator tables.
#pragma once
#include <initializer_list>
#include <optional>
#include <vector>

#include "platform/base/strings.h"
#include "platform/ui/message.h"

namespace plat {

enum VirtualKey : int {
    kVkBack = 0x08,
    kVkTab = 0x09,
    kVkClear = 0x0C, // keypad 5 without Num Lock
    kVkReturn = 0x0D,
    kVkShift = 0x10,
    kVkControl = 0x11,
    kVkMenu = 0x12, // Alt
    kVkPause = 0x13,
    kVkCapital = 0x14, // Caps Lock
    kVkEscape = 0x1B,
    kVkSpace = 0x20,
    kVkPrior = 0x21, // Page Up
    kVkNext = 0x22,  // Page Down
    kVkEnd = 0x23,
    kVkHome = 0x24,
    kVkLeft = 0x25,
    kVkUp = 0x26,
    kVkRight = 0x27,
    kVkDown = 0x28,
    kVkSnapshot = 0x2C, // Print Screen
    kVkInsert = 0x2D,
    kVkDelete = 0x2E,
    // '0'..'9' and 'A'..'Z' are their own codes.
    kVkLWin = 0x5B,
    kVkRWin = 0x5C,
    kVkApps = 0x5D, // the context-menu key
    kVkNumpad0 = 0x60, // .. kVkNumpad0 + 9
    kVkMultiply = 0x6A,
    kVkAdd = 0x6B,
    kVkSubtract = 0x6D,
    kVkDecimal = 0x6E,
    kVkDivide = 0x6F,
    kVkF1 = 0x70, // .. kVkF1 + 11
    kVkNumLock = 0x90,
    kVkScroll = 0x91,
    kVkOem1 = 0xBA,      // ;:
    kVkOemPlus = 0xBB,   // =+
    kVkOemComma = 0xBC,  // ,<
    kVkOemMinus = 0xBD,  // -_
    kVkOemPeriod = 0xBE, // .>
    kVkOem2 = 0xBF,      // /?
    kVkOem3 = 0xC0,      // `~
    kVkOem4 = 0xDB,      // [{
    kVkOem5 = 0xDC,      // \|
    kVkOem6 = 0xDD,      // ]}
    kVkOem7 = 0xDE,      // '"
};

// Modifier keys held with a key.
enum KeyModifier : unsigned {
    kModShift = 0x1,
    kModCtrl = 0x2,
    kModAlt = 0x4,
};

// The character message a key-down makes on the US layout, as the system's translation
// does: letters and digits with and without Shift, punctuation, the keypad, Tab 9, Enter 13
// (Ctrl+Enter 10), Esc 27, Backspace 8 (Ctrl+Backspace 127), Space, Ctrl+letter 1-26 and
// Ctrl+[ \ ] 27-29. Nothing for other keys, for Alt combinations and for Ctrl with others.
std::optional<char16_t> CharForKey(int virtualKey, unsigned modifiers);

// Whether the key is down, as the key messages taken by the loop so far left it.
bool IsKeyDown(int virtualKey);
// The modifiers held now (kModShift | kModCtrl | kModAlt).
unsigned HeldModifiers();
// The key state follows a key message as the loop takes it.
void NoteKeyMessage(const Message& message);
// Forgets the state of every key.
void ResetKeyState();

// For WM_KEYDOWN (and WM_SYSKEYDOWN): posts to the same window the character message the
// key makes with the modifiers held now. True when it posted one.
bool TranslateMessage(const Message& message);

// The user presses and releases a key with the modifiers: the focus window's queue gets the
// modifiers' key-downs, the key's down and up, then the modifiers' ups (WM_SYSKEYDOWN and
// WM_SYSKEYUP while Alt is held without Ctrl). False when no window has the focus.
bool PressKey(int virtualKey, unsigned modifiers = 0);
// A key goes down or up as the screen reports it, for the focus window (WM_SYSKEYDOWN and
// WM_SYSKEYUP for Alt itself and while Alt is held without Ctrl). When the key's character
// comes as typed text instead (a host with text input or an input method), translation
// makes no character from the key-down (kKeyTextElsewhere is set in its lParam). False when
// no window has the focus.
constexpr LParam kKeyTextElsewhere = LParam(0x02000000);
bool KeyInput(int virtualKey, bool down, bool textElsewhere = false);
// Typed text (from an input method or the host's text input): one WM_CHAR per UTF-16 unit
// for the focus window, so a character beyond the basic plane gives two. False when no
// window has the focus.
bool TypeText(StringView text);

// An accelerator: a virtual key with exactly the modifiers its flags name gives a command.
enum AcceleratorFlag : unsigned {
    kFVirtKey = 0x01,
    kFShift = 0x04,
    kFControl = 0x08,
    kFAlt = 0x10,
};
struct Accelerator {
    unsigned flags = kFVirtKey;
    int key = 0;
    unsigned command = 0;
};

class AcceleratorTable {
public:
    AcceleratorTable() = default;
    AcceleratorTable(std::initializer_list<Accelerator> entries) : m_entries(entries) {}
    void Add(const Accelerator& entry) { m_entries.push_back(entry); }
    const std::vector<Accelerator>& Entries() const { return m_entries; }

    // The command of the first entry for the key with exactly these modifiers.
    std::optional<unsigned> Lookup(int virtualKey, unsigned modifiers) const;
    // For a key-down with a command: sends the target WM_COMMAND (id, notification 1) and
    // returns true; the key-down is then not dispatched.
    bool Translate(Window& target, const Message& message) const;

private:
    std::vector<Accelerator> m_entries;
};

} // namespace plat
