// The clipboard, in process and shared with the desktop's while a screen is open: data in
// formats, each format a number (the standard ones with their Windows values, others
// registered by name from 0xC000 up), bytes under each. A window opens it, empties it (and
// so becomes its owner), puts data on it, reads, and closes it.
//
// For tests the clipboard can be made to refuse opening or emptying, as a clipboard held by
// another program does.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/base/strings.h"

namespace plat {

class Window;

enum ClipboardFormat : unsigned {
    kCfText = 1,
    kCfBitmap = 2,
    kCfUnicodeText = 13,
};
// The first number a registered format gets.
constexpr unsigned kFirstRegisteredFormat = 0xC000;

// The same number for the same name (names compare without regard to ASCII case); 0 for an
// empty name. The names of the standard formats ("CF_TEXT", "CF_BITMAP", "CF_UNICODETEXT")
// give their standard numbers.
unsigned RegisterClipboardFormat(StringView name);
// The name of a format (the standard names for the standard formats); nothing when unknown.
std::optional<String> GetClipboardFormatName(unsigned format);

// False when the clipboard is open already (for another window or for this one) or refuses.
bool OpenClipboard(Window* window);
// False when it was not open.
bool CloseClipboard();
// Drops all data; the window that opened it becomes the owner. False when the clipboard is
// not open or refuses.
bool EmptyClipboard();
// Puts the bytes under the format, replacing what it held; false when not open or format 0.
bool SetClipboardData(unsigned format, std::vector<std::uint8_t> bytes);
// The bytes under the format; nothing when the clipboard is not open or lacks the format.
std::optional<std::vector<std::uint8_t>> GetClipboardData(unsigned format);
// Whether the format is on the clipboard (it need not be open).
bool IsClipboardFormatAvailable(unsigned format);
// The formats on the clipboard, in the order they were put there.
std::vector<unsigned> GetClipboardFormats();
Window* GetClipboardOwner();
Window* GetOpenClipboardWindow();
bool IsClipboardOpen();

// Makes OpenClipboard and EmptyClipboard fail (or work again).
struct ClipboardFailures {
    bool refuseOpen = false;
    bool refuseEmpty = false;
};
void SetClipboardFailures(ClipboardFailures failures);

// CF_UNICODETEXT's data: UTF-16 code units, little-endian, ended by a NUL. Reading stops
// at the first NUL and drops a last odd byte.
std::vector<std::uint8_t> UnicodeTextToBytes(StringView text);
String UnicodeTextFromBytes(const std::vector<std::uint8_t>& bytes);

// The desktop's clipboard, shared with other programs while the process shows its windows
// on a real screen. Unicode text is the one format exchanged: what a window leaves on our
// clipboard goes out when it closes the clipboard, and text another program put on the
// desktop's clipboard since then replaces ours when our clipboard is next looked at.
class DesktopClipboard {
public:
    virtual ~DesktopClipboard() = default;
    // Offers the text to other programs.
    virtual void Export(StringView text) = 0;
    // The text the desktop's clipboard holds now; nothing when it holds none.
    virtual std::optional<String> Import() = 0;
};
// Null: the clipboard is the process's own (headless).
void SetDesktopClipboard(DesktopClipboard* desktop);

// An empty, closed clipboard without owner or failures; registered formats are kept.
void ResetClipboard();
// A window that goes closes the clipboard it held open and stops being its owner.
void ForgetClipboardWindow(const Window* window);

} // namespace plat
