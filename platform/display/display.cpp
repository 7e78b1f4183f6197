// The screen on SDL2. Pictures go to the window's own surface (the window system's
// framebuffer, no GPU), so what the display server holds is exactly the picture's pixels.
#include "platform/display/display.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <deque>
#include <map>

#include "platform/display/display_input.h"
#include "platform/display/screen_capture.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/window.h"

namespace plat {

namespace {

constexpr std::uint32_t kBackground = 0x00808080; // where the picture does not reach

// What SDL_TEXTINPUT holds at most, less its terminating zero.
constexpr std::size_t kTextChunkBytes = sizeof(SDL_TextInputEvent::text) - 1;

SDL_SystemCursor SdlCursorFor(int cursorId)
{
    switch (cursorId) {
    case kIdcIBeam: return SDL_SYSTEM_CURSOR_IBEAM;
    case kIdcWait: return SDL_SYSTEM_CURSOR_WAIT;
    case kIdcCross: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case kIdcSizeNwse: return SDL_SYSTEM_CURSOR_SIZENWSE;
    case kIdcSizeNesw: return SDL_SYSTEM_CURSOR_SIZENESW;
    case kIdcSizeWe: return SDL_SYSTEM_CURSOR_SIZEWE;
    case kIdcSizeNs: return SDL_SYSTEM_CURSOR_SIZENS;
    case kIdcSizeAll: return SDL_SYSTEM_CURSOR_SIZEALL;
    case kIdcNo: return SDL_SYSTEM_CURSOR_NO;
    case kIdcHand: return SDL_SYSTEM_CURSOR_HAND;
    default: return SDL_SYSTEM_CURSOR_ARROW;
    }
}

// The character's key on the US layout and whether it needs Shift; nullopt for a character
// no single key types.
std::optional<std::pair<int, unsigned>> KeyForCharacter(char16_t ch)
{
    if (ch <= u' ' || ch >= 0x7F) return ch == u' ' ? std::optional(std::pair(int(kVkSpace), 0u)) : std::nullopt;
    for (int vk = 1; vk < 0xFF; ++vk) {
        if (vk >= kVkNumpad0 && vk <= kVkDivide) continue; // the main keys, as one types
        for (const unsigned shift : {0u, unsigned(kModShift)})
            if (CharForKey(vk, shift) == ch) return std::pair(vk, shift);
    }
    return std::nullopt;
}

// The text cut into pieces that fit one SDL_TEXTINPUT, never inside a character.
std::vector<std::string> TextChunks(const std::string& utf8)
{
    std::vector<std::string> chunks;
    std::size_t start = 0;
    while (start < utf8.size()) {
        std::size_t end = std::min(utf8.size(), start + kTextChunkBytes);
        while (end < utf8.size() && end > start && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) --end;
        chunks.push_back(utf8.substr(start, end - start));
        start = end;
    }
    return chunks;
}

// The desktop's clipboard through SDL: Unicode text as UTF-8. SDL answers other programs'
// requests for it while the window's events are pumped.
class SdlDesktopClipboard final : public DesktopClipboard {
public:
    void Export(StringView text) override { SDL_SetClipboardText(Utf16ToUtf8(text).c_str()); }
    std::optional<String> Import() override
    {
        if (!SDL_HasClipboardText()) return std::nullopt;
        char* utf8 = SDL_GetClipboardText();
        if (!utf8) return std::nullopt;
        String text = Utf8ToUtf16(utf8);
        SDL_free(utf8);
        return text;
    }
};

// SDL has one queue for all its windows: the events of a window other than the one whose
// WaitEvents took them wait here for it, by window id. Events of no open window (SDL_QUIT)
// go to the first window opened.
class EventRouter {
public:
    void Opened(std::uint32_t id) { m_open.push_back(id); }
    void Closed(std::uint32_t id)
    {
        m_open.erase(std::remove(m_open.begin(), m_open.end(), id), m_open.end());
        m_held.erase(id);
    }
    bool AnyOpen() const { return !m_open.empty(); }

    // The event goes to its window's queue; true when that is the window `waiting`.
    bool Route(const SDL_Event& event, std::uint32_t waiting)
    {
        std::uint32_t target = WindowOf(event);
        if (std::find(m_open.begin(), m_open.end(), target) == m_open.end())
            target = m_open.empty() ? waiting : m_open.front();
        if (target == waiting) return true;
        m_held[target].push_back(event);
        return false;
    }
    std::deque<SDL_Event> TakeHeld(std::uint32_t id)
    {
        std::deque<SDL_Event> held;
        if (auto it = m_held.find(id); it != m_held.end()) held.swap(it->second);
        return held;
    }

private:
    static std::uint32_t WindowOf(const SDL_Event& event)
    {
        switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: return event.key.windowID;
        case SDL_TEXTINPUT: return event.text.windowID;
        case SDL_TEXTEDITING: return event.edit.windowID;
        case SDL_MOUSEMOTION: return event.motion.windowID;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: return event.button.windowID;
        case SDL_MOUSEWHEEL: return event.wheel.windowID;
        case SDL_WINDOWEVENT: return event.window.windowID;
        default: return 0;
        }
    }

    std::vector<std::uint32_t> m_open; // oldest first
    std::map<std::uint32_t, std::deque<SDL_Event>> m_held;
};

EventRouter& Router()
{
    static EventRouter router;
    return router;
}

SDL_MessageBoxFlags SdlIconFor(ScreenMessageBox::Icon icon)
{
    switch (icon) {
    case ScreenMessageBox::Icon::kError: return SDL_MESSAGEBOX_ERROR;
    case ScreenMessageBox::Icon::kWarning: return SDL_MESSAGEBOX_WARNING;
    case ScreenMessageBox::Icon::kInformation: return SDL_MESSAGEBOX_INFORMATION;
    case ScreenMessageBox::Icon::kNone: break;
    }
    return SDL_MessageBoxFlags(0);
}

class SdlDisplay final : public Display {
public:
    SdlDisplay(SDL_Window* window) : m_window(window), m_windowId(SDL_GetWindowID(window))
    {
        Router().Opened(m_windowId);
    }
    ~SdlDisplay() override
    {
        Router().Closed(m_windowId);
        // Text input is SDL's, not a window's: it stays on while another window is open.
        if (!Router().AnyOpen()) SDL_StopTextInput();
        for (auto& [id, cursor] : m_cursors) SDL_FreeCursor(cursor);
        SDL_DestroyWindow(m_window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    Size ClientSize() const override
    {
        int w = 0, h = 0;
        SDL_GetWindowSize(m_window, &w, &h);
        return Size(w, h);
    }

    bool Show(const Bitmap& picture) override;
    std::vector<DisplayEvent> WaitEvents(int timeoutMs) override;

    void SetTextInputRect(const Rect& caret) override
    {
        SDL_Rect rect{caret.left, caret.top, caret.Width(), caret.Height()};
        SDL_SetTextInputRect(&rect);
    }

    void SetCursor(int cursorId) override
    {
        const SDL_SystemCursor which = SdlCursorFor(cursorId);
        SDL_Cursor*& cursor = m_cursors[which];
        if (!cursor) cursor = SDL_CreateSystemCursor(which);
        if (cursor && cursor != SDL_GetCursor()) SDL_SetCursor(cursor);
    }

    bool InjectText(StringView text) override;
    bool InjectKey(int virtualKey, unsigned modifiers) override;
    bool InjectClick(bool right, bool twice, Point at) override;
    bool InjectClose() override
    {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = m_windowId;
        event.window.event = SDL_WINDOWEVENT_CLOSE;
        return SDL_PushEvent(&event) == 1;
    }

    std::unique_ptr<Bitmap> Screenshot(std::string* error) override;
    DesktopClipboard& GetDesktopClipboard() override { return m_desktop; }
    std::optional<int> ShowMessageBox(const ScreenMessageBox& box, std::string* error) override;

private:
    bool PushKey(const SDL_Keysym& key, bool down);
    bool PushText(const std::string& utf8);
    void ShowComposition(const String& text);

    SDL_Window* m_window;
    std::uint32_t m_windowId;
    DisplayInput m_input;
    std::map<SDL_SystemCursor, SDL_Cursor*> m_cursors;
    std::string m_title;
    SdlDesktopClipboard m_desktop;
};

bool SdlDisplay::Show(const Bitmap& picture)
{
    SDL_Surface* surface = SDL_GetWindowSurface(m_window);
    if (!surface) return false;
    const int width = std::min(picture.Width(), surface->w);
    const int height = std::min(picture.Height(), surface->h);
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, (kBackground >> 16) & 0xFF, (kBackground >> 8) & 0xFF,
                                              kBackground & 0xFF));
    if (width > 0 && height > 0) {
        if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
        auto* target = static_cast<std::uint8_t*>(surface->pixels);
        for (int y = 0; y < height; ++y)
            SDL_ConvertPixels(width, 1, SDL_PIXELFORMAT_RGB888, picture.Row(y), width * 4, surface->format->format,
                              target + std::ptrdiff_t(y) * surface->pitch, surface->pitch);
        if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    }
    return SDL_UpdateWindowSurface(m_window) == 0;
}

std::vector<DisplayEvent> SdlDisplay::WaitEvents(int timeoutMs)
{
    std::deque<SDL_Event> mine = Router().TakeHeld(m_windowId);
    SDL_Event event;
    if (mine.empty()) {
        const int got = timeoutMs < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, timeoutMs);
        if (got && Router().Route(event, m_windowId)) mine.push_back(event);
    }
    while (SDL_PollEvent(&event))
        if (Router().Route(event, m_windowId)) mine.push_back(event);

    std::vector<DisplayEvent> events;
    for (const SDL_Event& e : mine) {
        std::optional<DisplayEvent> ours = m_input.Translate(e);
        if (!ours) continue;
        if (ours->kind == DisplayEventKind::kComposition) ShowComposition(ours->text);
        events.push_back(std::move(*ours));
    }
    return events;
}

std::optional<int> SdlDisplay::ShowMessageBox(const ScreenMessageBox& box, std::string* error)
{
    if (box.buttons.empty()) {
        if (error) *error = "a message box needs a button";
        return std::nullopt;
    }
    std::vector<std::string> labels;
    for (const ScreenMessageBox::Button& b : box.buttons) labels.push_back(Utf16ToUtf8(b.label));
    std::vector<SDL_MessageBoxButtonData> buttons;
    for (std::size_t i = 0; i < box.buttons.size(); ++i) {
        Uint32 flags = 0;
        if (box.buttons[i].id == box.defaultButton) flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        if (box.buttons[i].id == box.escapeButton) flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        buttons.push_back(SDL_MessageBoxButtonData{flags, box.buttons[i].id, labels[i].c_str()});
    }
    const std::string caption = Utf16ToUtf8(box.caption);
    const std::string text = Utf16ToUtf8(box.text);
    SDL_MessageBoxData data{};
    data.flags = SdlIconFor(box.icon) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    data.window = m_window;
    data.title = caption.c_str();
    data.message = text.c_str();
    data.numbuttons = static_cast<int>(buttons.size());
    data.buttons = buttons.data();
    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) != 0) {
        if (error) *error = std::string("the message box could not be shown: ") + SDL_GetError();
        return std::nullopt;
    }
    // Closed without a button: as Esc, else as Enter.
    if (pressed < 0) return box.escapeButton ? box.escapeButton : box.defaultButton;
    return pressed;
}

// The input method's own window shows the composition where it can (SDL_HINT_IME_SHOW_UI);
// where it hands the text to us instead, the title shows it.
void SdlDisplay::ShowComposition(const String& text)
{
    if (m_title.empty()) m_title = SDL_GetWindowTitle(m_window);
    const std::string shown = text.empty() ? m_title : m_title + " — " + Utf16ToUtf8(text);
    SDL_SetWindowTitle(m_window, shown.c_str());
}

bool SdlDisplay::PushKey(const SDL_Keysym& key, bool down)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = m_windowId;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym = key;
    return SDL_PushEvent(&event) == 1;
}

bool SdlDisplay::PushText(const std::string& utf8)
{
    for (const std::string& chunk : TextChunks(utf8)) {
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        event.text.windowID = m_windowId;
        std::copy(chunk.begin(), chunk.end(), event.text.text);
        if (SDL_PushEvent(&event) != 1) return false;
    }
    return true;
}

bool SdlDisplay::InjectKey(int virtualKey, unsigned modifiers)
{
    std::optional<SDL_Keysym> key = KeysymFor(virtualKey);
    if (!key || (modifiers & ~unsigned(kModShift | kModCtrl | kModAlt))) return false;
    // The modifiers go down first and come up last, as the keyboard reports them; each
    // event carries the modifier state it leaves.
    struct Modifier {
        unsigned bit;
        int vk;
        SDL_Keymod mod;
    };
    const Modifier mods[] = {{kModCtrl, kVkControl, KMOD_LCTRL}, {kModShift, kVkShift, KMOD_LSHIFT},
                             {kModAlt, kVkMenu, KMOD_LALT}};
    Uint16 held = key->mod;
    bool ok = true;
    for (const Modifier& m : mods) {
        if (!(modifiers & m.bit)) continue;
        SDL_Keysym modKey = *KeysymFor(m.vk);
        held |= m.mod;
        modKey.mod = held;
        ok = PushKey(modKey, true) && ok;
    }
    key->mod = held;
    ok = PushKey(*key, true) && ok;
    if (KeyMakesText(virtualKey, static_cast<SDL_Keymod>(held))) {
        const char16_t ch = *CharForKey(virtualKey, modifiers);
        ok = PushText(Utf16ToUtf8(StringView(&ch, 1))) && ok;
    }
    ok = PushKey(*key, false) && ok;
    for (auto m = std::rbegin(mods); m != std::rend(mods); ++m) {
        if (!(modifiers & m->bit)) continue;
        SDL_Keysym modKey = *KeysymFor(m->vk);
        held &= ~m->mod;
        modKey.mod = held;
        ok = PushKey(modKey, false) && ok;
    }
    return ok;
}

bool SdlDisplay::InjectText(StringView text)
{
    // Runs of characters without a key of their own go as one committed text, as an input
    // method gives them.
    std::u16string pending;
    auto commit = [&] {
        const bool ok = pending.empty() || PushText(Utf16ToUtf8(pending));
        pending.clear();
        return ok;
    };
    for (const char16_t ch : text) {
        const std::optional<std::pair<int, unsigned>> key = KeyForCharacter(ch);
        if (!key) {
            pending.push_back(ch);
            continue;
        }
        if (!commit() || !InjectKey(key->first, key->second)) return false;
    }
    return commit();
}

bool SdlDisplay::InjectClick(bool right, bool twice, Point at)
{
    SDL_Event move{};
    move.type = SDL_MOUSEMOTION;
    move.motion.windowID = m_windowId;
    move.motion.x = at.x;
    move.motion.y = at.y;
    bool ok = SDL_PushEvent(&move) == 1;
    for (Uint8 clicks = 1; clicks <= (twice ? 2 : 1); ++clicks) {
        for (const bool down : {true, false}) {
            SDL_Event button{};
            button.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
            button.button.windowID = m_windowId;
            button.button.button = right ? SDL_BUTTON_RIGHT : SDL_BUTTON_LEFT;
            button.button.state = down ? SDL_PRESSED : SDL_RELEASED;
            button.button.clicks = clicks;
            button.button.x = at.x;
            button.button.y = at.y;
            ok = SDL_PushEvent(&button) == 1 && ok;
        }
    }
    return ok;
}

std::unique_ptr<Bitmap> SdlDisplay::Screenshot(std::string* error)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(m_window, &info)) {
        if (error) *error = std::string("the window system does not say which window this is: ") + SDL_GetError();
        return nullptr;
    }
    if (info.subsystem != SDL_SYSWM_X11) {
        if (error) *error = "a screenshot needs an X display";
        return nullptr;
    }
    return CaptureX11Window(info.info.x11.display, info.info.x11.window, error);
}

} // namespace

std::unique_ptr<Display> Display::Open(const std::string& title, Size clientSize, std::string* error)
{
    auto refuse = [error](const std::string& why) -> std::unique_ptr<Display> {
        if (error) *error = why;
        return nullptr;
    };
    if (clientSize.cx <= 0 || clientSize.cy <= 0) return refuse("the window's size must be positive");
    // The window system's framebuffer rather than a GPU texture, so that the pixels shown
    // are the picture's; the input method draws its own composition and candidates.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_IME_SHOW_UI, "1");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return refuse(std::string("no screen to show the window on: ") + SDL_GetError());
    // Without a display server SDL falls back to drivers that show nothing (offscreen,
    // dummy); a window nobody can see or close would run for ever.
    const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    if (driver != "x11" && driver != "wayland") {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return refuse("no display server to show the window on (DISPLAY is not set; Xvfb will do)");
    }
    SDL_Window* window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, clientSize.cx,
                                          clientSize.cy, SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
    if (!window) {
        const std::string why = std::string("the window could not be made: ") + SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return refuse(why);
    }
    SDL_StartTextInput();
    return std::make_unique<SdlDisplay>(window);
}

} // namespace plat
