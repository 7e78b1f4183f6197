// What a document asks of the view that shows it: the control's window and the page
// canvas (repaints, scrolling, the caret brought into view, the canvas's size, the mouse
// cursor over it) and the clipboard, opened for the view's window. The editor's view
// implements it; a document without a screen (a test, a headless host) uses
// CHeadlessDocView, which carries the requests out in memory and counts them.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"

namespace plat {
class Window;
}

// The private clipboard formats of the document's blocks, by their registered names.
constexpr char16_t kPageClipboardFormat[] = u"QUILN-PAGE-CLIPBOARD";
constexpr char16_t kTextClipboardFormat[] = u"QUILN-TEXT-CLIPBOARD";
constexpr char16_t kBlockClipboardFormat[] = u"QUILN-BLOCK-CLIPBOARD";
constexpr char16_t kUnitClipboardFormat[] = u"QUILN-UNIT-CLIPBOARD";
// Plain text for other programs: UTF-16 code units, NUL-terminated.
constexpr char16_t kUnicodeTextClipboardFormat[] = u"CF_UNICODETEXT";
// RTF in code page 936, written on copy and read on paste.
constexpr char16_t kRtfClipboardFormat[] = u"Rich Text Format";
// A bitmap from another program: a device-independent bitmap (information header, colour
// table, rows), pasted as a picture.
constexpr char16_t kBitmapClipboardFormat[] = u"CF_BITMAP";

class CDocView {
public:
    virtual ~CDocView() = default;

    // ---- windows ----
    // The control's window and the page canvas; null when there is no such window.
    virtual plat::Window* GetControlWindow() = 0;
    virtual plat::Window* GetCanvas() = 0;
    // The canvas paints again.
    virtual void RepaintCanvas() = 0;
    // The canvas scrolls the focus text's caret into view (and repaints).
    virtual void ScrollToCaret() = 0;
    // The canvas's client area and its scroll position, in pixels.
    virtual plat::Size GetCanvasClientSize() = 0;
    virtual plat::Point GetScrollPosition() = 0;
    // The canvas scrolls just enough for the point (pixels on the desk) to be visible.
    virtual void ScrollToPoint(plat::Point point) = 0;
    // A document just opened: the view scrolls back to the desk's top left, and takes zoom
    // 1.0 as its zoom command does.
    virtual void ResetScroll() = 0;
    virtual void ResetZoom() = 0;
    // The canvas shows the mouse cursor that goes with a hit code.
    virtual void SetHitCursor(std::uint8_t hitCode) = 0;

    // ---- the clipboard ----
    // False when another window holds it open.
    virtual bool OpenClipboard() = 0;
    virtual void CloseClipboard() = 0;
    // Whether the clipboard holds data in the format registered under the name.
    virtual bool IsClipboardFormatAvailable(plat::StringView formatName) = 0;
    // Empties the open clipboard; false when it could not.
    virtual bool EmptyClipboard() = 0;
    // Puts the bytes on the open clipboard under the format's name, replacing what the
    // format held; false when the clipboard is not open or refused them.
    virtual bool SetClipboardData(plat::StringView formatName, std::vector<std::uint8_t> bytes) = 0;
    // The bytes held under the format's name on the open clipboard; nothing when the
    // clipboard is not open or holds no such format.
    virtual std::optional<std::vector<std::uint8_t>> GetClipboardData(plat::StringView formatName) = 0;
};

// A view without a screen: requests are counted, the cursor remembered, the canvas has a
// fixed size, and the clipboard is a map from format names to bytes.
class CHeadlessDocView : public CDocView {
public:
    CHeadlessDocView() = default;
    CHeadlessDocView(const CHeadlessDocView&) = delete;
    CHeadlessDocView& operator=(const CHeadlessDocView&) = delete;

    plat::Window* GetControlWindow() override { return nullptr; }
    plat::Window* GetCanvas() override { return nullptr; }
    void RepaintCanvas() override;
    void ScrollToCaret() override;
    plat::Size GetCanvasClientSize() override { return m_clientSize; }
    plat::Point GetScrollPosition() override { return m_scroll; }
    void ScrollToPoint(plat::Point point) override { m_shownPoints.push_back(point); }
    void ResetScroll() override
    {
        ++m_scrollResets;
        m_scroll = plat::Point();
    }
    void ResetZoom() override { ++m_zoomResets; }
    void SetHitCursor(std::uint8_t hitCode) override;
    bool OpenClipboard() override;
    void CloseClipboard() override { m_clipboardOpen = false; }
    bool IsClipboardFormatAvailable(plat::StringView formatName) override;
    bool EmptyClipboard() override;
    bool SetClipboardData(plat::StringView formatName, std::vector<std::uint8_t> bytes) override;
    std::optional<std::vector<std::uint8_t>> GetClipboardData(plat::StringView formatName) override;

    // What arrived.
    int m_repaints = 0;
    int m_caretScrolls = 0;
    // A canvas of 1024 x 768 pixels scrolled to the desk's top left, until a test says
    // otherwise; the points it was asked to show, oldest first.
    plat::Size m_clientSize{1024, 768};
    plat::Point m_scroll;
    std::vector<plat::Point> m_shownPoints;
    int m_scrollResets = 0;
    int m_zoomResets = 0;
    int m_cursorChanges = 0;
    std::uint8_t m_cursorCode = 0;
    // Observers of the two canvas requests, for tests that act on them.
    std::function<void()> m_onRepaint;
    std::function<void()> m_onScrollToCaret;

    // The clipboard: its data by format name, whether it is open, and whether another
    // window holds it (OpenClipboard then fails).
    std::map<plat::String, std::vector<std::uint8_t>> m_clipboard;
    bool m_clipboardOpen = false;
    bool m_clipboardHeldElsewhere = false;
};
