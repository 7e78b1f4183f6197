#include "platform/display/display_input.h"

#include <cmath>

#include "platform/ui/keyboard.h"
#include "platform/ui/message.h"

namespace plat {

namespace {

// Keys that are not letters or digits, both ways: SDL's keycode and scancode, our key.
struct KeyEntry {
    SDL_Keycode key;
    SDL_Scancode scan;
    int vk;
};
constexpr KeyEntry kKeys[] = {
    {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, kVkBack},
    {SDLK_TAB, SDL_SCANCODE_TAB, kVkTab},
    {SDLK_RETURN, SDL_SCANCODE_RETURN, kVkReturn},
    {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, kVkReturn},
    {SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, kVkShift},
    {SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, kVkShift},
    {SDLK_LCTRL, SDL_SCANCODE_LCTRL, kVkControl},
    {SDLK_RCTRL, SDL_SCANCODE_RCTRL, kVkControl},
    {SDLK_LALT, SDL_SCANCODE_LALT, kVkMenu},
    {SDLK_RALT, SDL_SCANCODE_RALT, kVkMenu},
    {SDLK_PAUSE, SDL_SCANCODE_PAUSE, kVkPause},
    {SDLK_CAPSLOCK, SDL_SCANCODE_CAPSLOCK, kVkCapital},
    {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, kVkEscape},
    {SDLK_SPACE, SDL_SCANCODE_SPACE, kVkSpace},
    {SDLK_PAGEUP, SDL_SCANCODE_PAGEUP, kVkPrior},
    {SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, kVkNext},
    {SDLK_END, SDL_SCANCODE_END, kVkEnd},
    {SDLK_HOME, SDL_SCANCODE_HOME, kVkHome},
    {SDLK_LEFT, SDL_SCANCODE_LEFT, kVkLeft},
    {SDLK_UP, SDL_SCANCODE_UP, kVkUp},
    {SDLK_RIGHT, SDL_SCANCODE_RIGHT, kVkRight},
    {SDLK_DOWN, SDL_SCANCODE_DOWN, kVkDown},
    {SDLK_PRINTSCREEN, SDL_SCANCODE_PRINTSCREEN, kVkSnapshot},
    {SDLK_INSERT, SDL_SCANCODE_INSERT, kVkInsert},
    {SDLK_DELETE, SDL_SCANCODE_DELETE, kVkDelete},
    {SDLK_LGUI, SDL_SCANCODE_LGUI, kVkLWin},
    {SDLK_RGUI, SDL_SCANCODE_RGUI, kVkRWin},
    {SDLK_APPLICATION, SDL_SCANCODE_APPLICATION, kVkApps},
    {SDLK_KP_MULTIPLY, SDL_SCANCODE_KP_MULTIPLY, kVkMultiply},
    {SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, kVkAdd},
    {SDLK_KP_MINUS, SDL_SCANCODE_KP_MINUS, kVkSubtract},
    {SDLK_KP_DIVIDE, SDL_SCANCODE_KP_DIVIDE, kVkDivide},
    {SDLK_NUMLOCKCLEAR, SDL_SCANCODE_NUMLOCKCLEAR, kVkNumLock},
    {SDLK_SCROLLLOCK, SDL_SCANCODE_SCROLLLOCK, kVkScroll},
    {SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, kVkOem1},
    {SDLK_EQUALS, SDL_SCANCODE_EQUALS, kVkOemPlus},
    {SDLK_COMMA, SDL_SCANCODE_COMMA, kVkOemComma},
    {SDLK_MINUS, SDL_SCANCODE_MINUS, kVkOemMinus},
    {SDLK_PERIOD, SDL_SCANCODE_PERIOD, kVkOemPeriod},
    {SDLK_SLASH, SDL_SCANCODE_SLASH, kVkOem2},
    {SDLK_BACKQUOTE, SDL_SCANCODE_GRAVE, kVkOem3},
    {SDLK_LEFTBRACKET, SDL_SCANCODE_LEFTBRACKET, kVkOem4},
    {SDLK_BACKSLASH, SDL_SCANCODE_BACKSLASH, kVkOem5},
    {SDLK_RIGHTBRACKET, SDL_SCANCODE_RIGHTBRACKET, kVkOem6},
    {SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE, kVkOem7},
};

// The keypad's digit keys and its decimal point: with Num Lock on they type, without it
// they are the cursor keys printed under the digits (5 then clears).
struct KeypadEntry {
    SDL_Scancode scan;
    int withNumLock;
    int withoutNumLock;
};
constexpr KeypadEntry kKeypadKeys[] = {
    {SDL_SCANCODE_KP_0, kVkNumpad0 + 0, kVkInsert}, {SDL_SCANCODE_KP_1, kVkNumpad0 + 1, kVkEnd},
    {SDL_SCANCODE_KP_2, kVkNumpad0 + 2, kVkDown},   {SDL_SCANCODE_KP_3, kVkNumpad0 + 3, kVkNext},
    {SDL_SCANCODE_KP_4, kVkNumpad0 + 4, kVkLeft},   {SDL_SCANCODE_KP_5, kVkNumpad0 + 5, kVkClear},
    {SDL_SCANCODE_KP_6, kVkNumpad0 + 6, kVkRight},  {SDL_SCANCODE_KP_7, kVkNumpad0 + 7, kVkHome},
    {SDL_SCANCODE_KP_8, kVkNumpad0 + 8, kVkUp},     {SDL_SCANCODE_KP_9, kVkNumpad0 + 9, kVkPrior},
    {SDL_SCANCODE_KP_PERIOD, kVkDecimal, kVkDelete},
};

int VirtualKeyForKeycode(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return kVkF1 + (key - SDLK_F1);
    for (const KeyEntry& e : kKeys)
        if (e.key == key) return e.vk;
    return 0;
}

// A layout whose keys give other characters (é, &) still has letters, digits and
// punctuation at the places of the US layout's.
int VirtualKeyForScancode(SDL_Scancode scan)
{
    if (scan >= SDL_SCANCODE_A && scan <= SDL_SCANCODE_Z) return 'A' + (scan - SDL_SCANCODE_A);
    if (scan >= SDL_SCANCODE_1 && scan <= SDL_SCANCODE_9) return '1' + (scan - SDL_SCANCODE_1);
    if (scan == SDL_SCANCODE_0) return '0';
    for (const KeyEntry& e : kKeys)
        if (e.scan == scan) return e.vk;
    return 0;
}

} // namespace

int VirtualKeyFor(const SDL_Keysym& key)
{
    for (const KeypadEntry& e : kKeypadKeys)
        if (e.scan == key.scancode) return (key.mod & KMOD_NUM) ? e.withNumLock : e.withoutNumLock;
    if (const int vk = VirtualKeyForKeycode(key.sym)) return vk;
    return VirtualKeyForScancode(key.scancode);
}

bool KeyMakesText(int virtualKey, SDL_Keymod modifiers)
{
    const unsigned held = ModifiersOf(modifiers);
    if (held & (kModCtrl | kModAlt)) return false;
    const std::optional<char16_t> ch = CharForKey(virtualKey, held);
    return ch && *ch >= u' ' && *ch != u'\x7f';
}

std::optional<SDL_Keysym> KeysymFor(int virtualKey)
{
    SDL_Keysym key{};
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        key.sym = SDLK_a + (virtualKey - 'A');
        key.scancode = static_cast<SDL_Scancode>(SDL_SCANCODE_A + (virtualKey - 'A'));
        return key;
    }
    if (virtualKey >= '0' && virtualKey <= '9') {
        key.sym = SDLK_0 + (virtualKey - '0');
        key.scancode = virtualKey == '0' ? SDL_SCANCODE_0 : static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (virtualKey - '1'));
        return key;
    }
    if (virtualKey >= kVkF1 && virtualKey < kVkF1 + 12) {
        key.sym = SDLK_F1 + (virtualKey - kVkF1);
        key.scancode = static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + (virtualKey - kVkF1));
        return key;
    }
    for (const KeypadEntry& e : kKeypadKeys) {
        if (e.withNumLock != virtualKey) continue;
        key.scancode = e.scan;
        key.sym = SDL_SCANCODE_TO_KEYCODE(e.scan);
        key.mod = KMOD_NUM;
        return key;
    }
    for (const KeyEntry& e : kKeys) {
        if (e.vk != virtualKey) continue;
        key.sym = e.key;
        key.scancode = e.scan;
        return key;
    }
    return std::nullopt;
}

unsigned ModifiersOf(SDL_Keymod modifiers)
{
    return ((modifiers & KMOD_SHIFT) ? kModShift : 0u) | ((modifiers & KMOD_CTRL) ? kModCtrl : 0u) |
           ((modifiers & KMOD_ALT) ? kModAlt : 0u);
}

// ---- DisplayInput ----

std::optional<DisplayEvent> DisplayInput::Translate(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return Key(event.key);
    case SDL_TEXTINPUT:
        return Text(event.text.text);
    case SDL_TEXTEDITING: {
        DisplayEvent composing;
        composing.kind = DisplayEventKind::kComposition;
        composing.text = Utf8ToUtf16(event.edit.text);
        return composing;
    }
    case SDL_MOUSEMOTION:
        m_pointer = Point(event.motion.x, event.motion.y);
        return Mouse(kWmMouseMove, m_pointer);
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return Button(event.button);
    case SDL_MOUSEWHEEL: {
        int notches120 = event.wheel.y * 120;
        if (notches120 == 0) notches120 = static_cast<int>(std::lround(event.wheel.preciseY * 120.0f));
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches120 = -notches120;
        if (notches120 == 0) return std::nullopt;
        return Mouse(kWmMouseWheel, m_pointer, notches120);
    }
    case SDL_WINDOWEVENT:
        return Window(event.window);
    case SDL_QUIT: {
        DisplayEvent close;
        close.kind = DisplayEventKind::kClose;
        return close;
    }
    default:
        return std::nullopt;
    }
}

std::optional<DisplayEvent> DisplayInput::Key(const SDL_KeyboardEvent& key)
{
    m_modifiers = static_cast<SDL_Keymod>(key.keysym.mod);
    DisplayEvent out;
    out.kind = DisplayEventKind::kKey;
    out.virtualKey = VirtualKeyFor(key.keysym);
    if (!out.virtualKey) return std::nullopt;
    out.down = key.type == SDL_KEYDOWN;
    out.textElsewhere = out.down && KeyMakesText(out.virtualKey, m_modifiers);
    return out;
}

std::optional<DisplayEvent> DisplayInput::Text(const char* utf8)
{
    // The window system may still report the character of Ctrl+key or Alt+key; the key
    // itself went to the control as a command.
    if (ModifiersOf(m_modifiers) & (kModCtrl | kModAlt)) return std::nullopt;
    DisplayEvent out;
    out.kind = DisplayEventKind::kText;
    out.text = Utf8ToUtf16(utf8);
    if (out.text.empty()) return std::nullopt;
    return out;
}

std::optional<DisplayEvent> DisplayInput::Button(const SDL_MouseButtonEvent& button)
{
    const bool left = button.button == SDL_BUTTON_LEFT;
    if (!left && button.button != SDL_BUTTON_RIGHT) return std::nullopt;
    const bool down = button.type == SDL_MOUSEBUTTONDOWN;
    const unsigned bit = left ? kMkLButton : kMkRButton;
    m_buttons = down ? (m_buttons | bit) : (m_buttons & ~bit);
    m_pointer = Point(button.x, button.y);
    unsigned message = 0;
    if (!down)
        message = left ? kWmLButtonUp : kWmRButtonUp;
    else if (button.clicks == 2)
        message = left ? kWmLButtonDblClk : kWmRButtonDblClk;
    else
        message = left ? kWmLButtonDown : kWmRButtonDown;
    return Mouse(message, m_pointer);
}

std::optional<DisplayEvent> DisplayInput::Window(const SDL_WindowEvent& window)
{
    DisplayEvent out;
    switch (window.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        out.kind = DisplayEventKind::kResize;
        out.size = Size(window.data1, window.data2);
        return out;
    case SDL_WINDOWEVENT_EXPOSED:
        out.kind = DisplayEventKind::kExposed;
        return out;
    case SDL_WINDOWEVENT_CLOSE:
        out.kind = DisplayEventKind::kClose;
        return out;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        // Keys released elsewhere never come back to us.
        m_modifiers = KMOD_NONE;
        m_buttons = 0;
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

DisplayEvent DisplayInput::Mouse(unsigned message, Point point, int wheelDelta) const
{
    DisplayEvent out;
    out.kind = DisplayEventKind::kMouse;
    out.message = message;
    out.point = point;
    const unsigned held = ModifiersOf(m_modifiers);
    out.keyFlags = m_buttons | ((held & kModShift) ? kMkShift : 0u) | ((held & kModCtrl) ? kMkControl : 0u);
    out.wheelDelta = wheelDelta;
    return out;
}

} // namespace plat
