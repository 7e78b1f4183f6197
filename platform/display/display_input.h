// Translation between SDL's events and the display's own: the Windows virtual-key code of
// a key, whether its character comes as text input, mouse buttons and wheel as mouse
// messages with their key flags. It needs SDL's headers but no screen, so tests run it
// without one.
#pragma once
#include <SDL.h>

#include <optional>

#include "platform/display/display.h"

namespace plat {

// The virtual key of a key as SDL reports it: by the character the layout gives it, else
// by its place on the keyboard; the keypad follows Num Lock (digits with it, the cursor
// keys without). 0 for a key with no counterpart.
int VirtualKeyFor(const SDL_Keysym& key);
// Whether the key, with these modifiers, types a character (so that SDL reports it as text
// input): a printable character without Ctrl or Alt.
bool KeyMakesText(int virtualKey, SDL_Keymod modifiers);
// The key SDL would report for the virtual key (keycode, scancode, and KMOD_NUM for the
// keypad's digits); nullopt for one it has no counterpart of.
std::optional<SDL_Keysym> KeysymFor(int virtualKey);
// The modifier bits (kModShift | kModCtrl | kModAlt) of SDL's modifier state.
unsigned ModifiersOf(SDL_Keymod modifiers);

// Turns SDL's events into the display's. It keeps what the events so far left held (the
// modifiers, the mouse buttons, the pointer's place), for the key flags of mouse messages
// and so that text typed with Ctrl or Alt held (a command, not typing) is dropped.
class DisplayInput {
public:
    std::optional<DisplayEvent> Translate(const SDL_Event& event);

private:
    std::optional<DisplayEvent> Key(const SDL_KeyboardEvent& key);
    std::optional<DisplayEvent> Text(const char* utf8);
    std::optional<DisplayEvent> Button(const SDL_MouseButtonEvent& button);
    std::optional<DisplayEvent> Window(const SDL_WindowEvent& window);
    DisplayEvent Mouse(unsigned message, Point point, int wheelDelta = 0) const;

    SDL_Keymod m_modifiers = KMOD_NONE;
    unsigned m_buttons = 0; // kMkLButton | kMkRButton
    Point m_pointer;
};

} // namespace plat
