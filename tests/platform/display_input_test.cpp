// The screen's input translation, without a screen: SDL's key, text, mouse and window
// events as the display's own events.
#include <gtest/gtest.h>

#include "platform/display/display_input.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/message.h"

namespace {

using plat::DisplayEvent;
using plat::DisplayEventKind;
using plat::DisplayInput;

SDL_Event KeyEvent(bool down, SDL_Keycode sym, SDL_Scancode scan, Uint16 mod)
{
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.keysym.sym = sym;
    e.key.keysym.scancode = scan;
    e.key.keysym.mod = mod;
    return e;
}

SDL_Event TextEvent(const char* utf8)
{
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    std::snprintf(e.text.text, sizeof e.text.text, "%s", utf8);
    return e;
}

SDL_Event ButtonEvent(bool down, Uint8 button, Uint8 clicks, int x, int y)
{
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = button;
    e.button.clicks = clicks;
    e.button.x = x;
    e.button.y = y;
    return e;
}

SDL_Event MotionEvent(int x, int y)
{
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    return e;
}

SDL_Event WheelEvent(int y, float preciseY, Uint32 direction)
{
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = y;
    e.wheel.preciseY = preciseY;
    e.wheel.direction = direction;
    return e;
}

SDL_Event WindowEvent(Uint8 which, int data1 = 0, int data2 = 0)
{
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = which;
    e.window.data1 = data1;
    e.window.data2 = data2;
    return e;
}

TEST(DisplayInput, KeysGetTheirVirtualKeyAndSayWhetherTheirTextComesApart)
{
    struct Row {
        const char* what;
        SDL_Keycode sym;
        SDL_Scancode scan;
        Uint16 mod;
        int vk; // 0: no key event at all
        bool textElsewhere;
    };
    const Row rows[] = {
        {"letter", SDLK_a, SDL_SCANCODE_A, KMOD_NONE, 'A', true},
        {"shifted letter", SDLK_z, SDL_SCANCODE_Z, KMOD_LSHIFT, 'Z', true},
        {"Caps Lock does not stop the text", SDLK_q, SDL_SCANCODE_Q, KMOD_CAPS, 'Q', true},
        {"Ctrl+letter is a command", SDLK_c, SDL_SCANCODE_C, KMOD_LCTRL, 'C', false},
        {"Alt+letter is a command", SDLK_f, SDL_SCANCODE_F, KMOD_RALT, 'F', false},
        {"shifted digit", SDLK_1, SDL_SCANCODE_1, KMOD_RSHIFT, '1', true},
        {"space", SDLK_SPACE, SDL_SCANCODE_SPACE, KMOD_NONE, plat::kVkSpace, true},
        {"Ctrl+space", SDLK_SPACE, SDL_SCANCODE_SPACE, KMOD_LCTRL, plat::kVkSpace, false},
        {"punctuation", SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, KMOD_NONE, plat::kVkOem1, true},
        {"apostrophe", SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE, KMOD_LSHIFT, plat::kVkOem7, true},
        {"Enter makes its own character", SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_NONE, plat::kVkReturn, false},
        {"keypad Enter", SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, KMOD_NONE, plat::kVkReturn, false},
        {"Tab", SDLK_TAB, SDL_SCANCODE_TAB, KMOD_NONE, plat::kVkTab, false},
        {"Backspace", SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, KMOD_NONE, plat::kVkBack, false},
        {"Escape", SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, KMOD_NONE, plat::kVkEscape, false},
        {"Delete", SDLK_DELETE, SDL_SCANCODE_DELETE, KMOD_NONE, plat::kVkDelete, false},
        {"arrow", SDLK_LEFT, SDL_SCANCODE_LEFT, KMOD_LSHIFT, plat::kVkLeft, false},
        {"Page Down", SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, KMOD_NONE, plat::kVkNext, false},
        {"F5", SDLK_F5, SDL_SCANCODE_F5, KMOD_NONE, plat::kVkF1 + 4, false},
        {"F12", SDLK_F12, SDL_SCANCODE_F12, KMOD_NONE, plat::kVkF1 + 11, false},
        {"right Ctrl", SDLK_RCTRL, SDL_SCANCODE_RCTRL, KMOD_RCTRL, plat::kVkControl, false},
        {"left Shift", SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, KMOD_LSHIFT, plat::kVkShift, false},
        {"Alt", SDLK_LALT, SDL_SCANCODE_LALT, KMOD_LALT, plat::kVkMenu, false},
        {"keypad digit with Num Lock", SDLK_KP_7, SDL_SCANCODE_KP_7, KMOD_NUM, plat::kVkNumpad0 + 7, true},
        {"keypad digit without Num Lock", SDLK_KP_7, SDL_SCANCODE_KP_7, KMOD_NONE, plat::kVkHome, false},
        {"keypad 5 without Num Lock", SDLK_KP_5, SDL_SCANCODE_KP_5, KMOD_NONE, plat::kVkClear, false},
        {"keypad point with Num Lock", SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, KMOD_NUM, plat::kVkDecimal, true},
        {"keypad point without Num Lock", SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, KMOD_NONE, plat::kVkDelete, false},
        {"keypad operator types either way", SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, KMOD_NONE, plat::kVkAdd, true},
        {"another layout's digit row", '&', SDL_SCANCODE_1, KMOD_NONE, '1', true},
        {"another layout's letter", 0xE9 /* é */, SDL_SCANCODE_2, KMOD_NONE, '2', true},
        {"a key we have no counterpart of", SDLK_VOLUMEUP, SDL_SCANCODE_VOLUMEUP, KMOD_NONE, 0, false},
    };
    for (const Row& r : rows) {
        DisplayInput input;
        const std::optional<DisplayEvent> down = input.Translate(KeyEvent(true, r.sym, r.scan, r.mod));
        const std::optional<DisplayEvent> up = input.Translate(KeyEvent(false, r.sym, r.scan, r.mod));
        if (!r.vk) {
            EXPECT_FALSE(down) << r.what;
            EXPECT_FALSE(up) << r.what;
            continue;
        }
        ASSERT_TRUE(down && up) << r.what;
        EXPECT_EQ(down->kind, DisplayEventKind::kKey) << r.what;
        EXPECT_EQ(down->virtualKey, r.vk) << r.what;
        EXPECT_TRUE(down->down) << r.what;
        EXPECT_EQ(down->textElsewhere, r.textElsewhere) << r.what;
        EXPECT_EQ(up->virtualKey, r.vk) << r.what;
        EXPECT_FALSE(up->down) << r.what;
        EXPECT_FALSE(up->textElsewhere) << r.what;
    }
}

// Scripted keys are made from the virtual key and must come back as the same key, and a
// key whose character SDL reports as text must be one we mark so (or it would type twice).
TEST(DisplayInput, EveryKeyWeCanMakeTranslatesBackToItself)
{
    int made = 0;
    for (int vk = 1; vk < 0xFF; ++vk) {
        const std::optional<SDL_Keysym> key = plat::KeysymFor(vk);
        if (!key) continue;
        ++made;
        EXPECT_EQ(plat::VirtualKeyFor(*key), vk) << "virtual key " << vk;
    }
    // Letters, digits, F1-F12, the keypad and the named keys all have a counterpart.
    for (const int vk : std::initializer_list<int>{'A', 'Z', '0', '9', plat::kVkF1, plat::kVkF1 + 11, plat::kVkNumpad0,
                         plat::kVkDecimal, plat::kVkReturn, plat::kVkOem7, plat::kVkDelete, plat::kVkMenu})
        EXPECT_TRUE(plat::KeysymFor(vk)) << "virtual key " << vk;
    EXPECT_FALSE(plat::KeysymFor(0x07)) << "an unassigned code";
    EXPECT_GT(made, 26 + 10 + 12);
}

TEST(DisplayInput, TextIsUtf16AndTextTypedWithCtrlOrAltIsDropped)
{
    DisplayInput input;
    std::optional<DisplayEvent> text = input.Translate(TextEvent("a\xE4\xB8\xAD\xF0\x9F\x98\x80")); // a中😀
    ASSERT_TRUE(text);
    EXPECT_EQ(text->kind, DisplayEventKind::kText);
    EXPECT_EQ(text->text, u"a中😀");
    EXPECT_EQ(text->text.size(), 4u) << "the character beyond the basic plane is a surrogate pair";

    input.Translate(KeyEvent(true, SDLK_LCTRL, SDL_SCANCODE_LCTRL, KMOD_LCTRL));
    EXPECT_FALSE(input.Translate(TextEvent("c"))) << "Ctrl+C is a command";
    input.Translate(KeyEvent(false, SDLK_LCTRL, SDL_SCANCODE_LCTRL, KMOD_NONE));
    EXPECT_TRUE(input.Translate(TextEvent("c")));
    input.Translate(KeyEvent(true, SDLK_LALT, SDL_SCANCODE_LALT, KMOD_LALT));
    EXPECT_FALSE(input.Translate(TextEvent("f"))) << "Alt+F is a command";
    input.Translate(KeyEvent(false, SDLK_LALT, SDL_SCANCODE_LALT, KMOD_NONE));
    input.Translate(KeyEvent(true, SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, KMOD_LSHIFT));
    EXPECT_TRUE(input.Translate(TextEvent("C"))) << "Shift only changes the character";
    EXPECT_FALSE(input.Translate(TextEvent(""))) << "nothing typed, nothing to say";

    SDL_Event composing{};
    composing.type = SDL_TEXTEDITING;
    std::snprintf(composing.edit.text, sizeof composing.edit.text, "%s", "zhong");
    const std::optional<DisplayEvent> composition = input.Translate(composing);
    ASSERT_TRUE(composition);
    EXPECT_EQ(composition->kind, DisplayEventKind::kComposition);
    EXPECT_EQ(composition->text, u"zhong");
}

TEST(DisplayInput, MouseButtonsAndWheelBecomeMouseMessagesWithTheirKeyFlags)
{
    struct Row {
        const char* what;
        SDL_Event event;
        unsigned message; // 0: nothing
        plat::Point point;
        unsigned keyFlags;
        int wheelDelta;
    };
    // One sequence, each row seeing what the rows before it left held.
    const Row rows[] = {
        {"move", MotionEvent(10, 20), plat::kWmMouseMove, {10, 20}, 0, 0},
        {"left down", ButtonEvent(true, SDL_BUTTON_LEFT, 1, 11, 21), plat::kWmLButtonDown, {11, 21}, plat::kMkLButton, 0},
        {"drag holds the button", MotionEvent(30, 40), plat::kWmMouseMove, {30, 40}, plat::kMkLButton, 0},
        {"left up", ButtonEvent(false, SDL_BUTTON_LEFT, 1, 30, 40), plat::kWmLButtonUp, {30, 40}, 0, 0},
        {"second press", ButtonEvent(true, SDL_BUTTON_LEFT, 2, 30, 40), plat::kWmLButtonDblClk, {30, 40},
         plat::kMkLButton, 0},
        {"up after it", ButtonEvent(false, SDL_BUTTON_LEFT, 2, 30, 40), plat::kWmLButtonUp, {30, 40}, 0, 0},
        {"middle button", ButtonEvent(true, SDL_BUTTON_MIDDLE, 1, 30, 40), 0, {}, 0, 0},
        {"Shift goes down", KeyEvent(true, SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, KMOD_LSHIFT), 0, {}, 0, 0},
        {"right down with Shift", ButtonEvent(true, SDL_BUTTON_RIGHT, 1, 5, 6), plat::kWmRButtonDown, {5, 6},
         plat::kMkRButton | plat::kMkShift, 0},
        {"right double", ButtonEvent(true, SDL_BUTTON_RIGHT, 2, 5, 6), plat::kWmRButtonDblClk, {5, 6},
         plat::kMkRButton | plat::kMkShift, 0},
        {"right up", ButtonEvent(false, SDL_BUTTON_RIGHT, 2, 5, 6), plat::kWmRButtonUp, {5, 6}, plat::kMkShift, 0},
        {"Ctrl too", KeyEvent(true, SDLK_RCTRL, SDL_SCANCODE_RCTRL, KMOD_LSHIFT | KMOD_RCTRL), 0, {}, 0, 0},
        {"wheel away, at the pointer", WheelEvent(1, 1.0f, SDL_MOUSEWHEEL_NORMAL), plat::kWmMouseWheel, {5, 6},
         plat::kMkShift | plat::kMkControl, 120},
        {"two notches back", WheelEvent(-2, -2.0f, SDL_MOUSEWHEEL_NORMAL), plat::kWmMouseWheel, {5, 6},
         plat::kMkShift | plat::kMkControl, -240},
        {"flipped wheel", WheelEvent(1, 1.0f, SDL_MOUSEWHEEL_FLIPPED), plat::kWmMouseWheel, {5, 6},
         plat::kMkShift | plat::kMkControl, -120},
        {"half a notch of a touchpad", WheelEvent(0, 0.5f, SDL_MOUSEWHEEL_NORMAL), plat::kWmMouseWheel, {5, 6},
         plat::kMkShift | plat::kMkControl, 60},
        {"sideways only", WheelEvent(0, 0.0f, SDL_MOUSEWHEEL_NORMAL), 0, {}, 0, 0},
    };
    DisplayInput input;
    for (const Row& r : rows) {
        const std::optional<DisplayEvent> out = input.Translate(r.event);
        if (r.event.type == SDL_KEYDOWN) continue;
        if (!r.message) {
            EXPECT_FALSE(out) << r.what;
            continue;
        }
        ASSERT_TRUE(out) << r.what;
        EXPECT_EQ(out->kind, DisplayEventKind::kMouse) << r.what;
        EXPECT_EQ(out->message, r.message) << r.what;
        EXPECT_EQ(out->point, r.point) << r.what;
        EXPECT_EQ(out->keyFlags, r.keyFlags) << r.what;
        EXPECT_EQ(out->wheelDelta, r.wheelDelta) << r.what;
    }
}

TEST(DisplayInput, WindowEventsSayResizeShowAgainAndClose)
{
    DisplayInput input;
    const std::optional<DisplayEvent> resized = input.Translate(WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 640, 480));
    ASSERT_TRUE(resized);
    EXPECT_EQ(resized->kind, DisplayEventKind::kResize);
    EXPECT_EQ(resized->size, plat::Size(640, 480));
    EXPECT_EQ(input.Translate(WindowEvent(SDL_WINDOWEVENT_EXPOSED))->kind, DisplayEventKind::kExposed);
    EXPECT_EQ(input.Translate(WindowEvent(SDL_WINDOWEVENT_CLOSE))->kind, DisplayEventKind::kClose);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_EQ(input.Translate(quit)->kind, DisplayEventKind::kClose);
    EXPECT_FALSE(input.Translate(WindowEvent(SDL_WINDOWEVENT_MOVED, 5, 5)));

    // Keys released while another window had the focus never come back: nothing stays held.
    input.Translate(KeyEvent(true, SDLK_LCTRL, SDL_SCANCODE_LCTRL, KMOD_LCTRL));
    input.Translate(ButtonEvent(true, SDL_BUTTON_LEFT, 1, 1, 1));
    input.Translate(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_EQ(input.Translate(MotionEvent(2, 2))->keyFlags, 0u);
    EXPECT_TRUE(input.Translate(TextEvent("x")));
}

} // namespace
