// What a document asks of the window that shows it: the page canvas (repaints, scrolling,
// the mouse cursor), the frame's revision tip, its timers and bars, and the clipboard the
// frame owns. The document reaches all of them through this one interface; the editor's
// view implements it, and a document without a window (a test, a headless host) uses
// CHeadlessDocWindow, which carries the requests out in memory and counts them.
#pragma once
#include <cstdint>
#include <functional>
#include <set>
#include <vector>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"

class CTextItem;
namespace plat {
class Window;
}

// The private clipboard formats of the document's blocks, by their registered names.
constexpr char16_t kPageClipboardFormat[] = u"QUILN-PAGE-CLIPBOARD";
constexpr char16_t kTextClipboardFormat[] = u"QUILN-TEXT-CLIPBOARD";
constexpr char16_t kBlockClipboardFormat[] = u"QUILN-BLOCK-CLIPBOARD";
constexpr char16_t kUnitClipboardFormat[] = u"QUILN-UNIT-CLIPBOARD";

class CDocWindow {
public:
    virtual ~CDocWindow() = default;

    // ---- windows ----
    // The control's window and the page canvas of the document's view; null when there is
    // no such window.
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
    // The frame shows the mouse cursor that goes with a hit code.
    virtual void SetHitCursor(std::uint8_t hitCode) = 0;
    // The frame's revision tip follows the item under the mouse (null: none) at the point
    // (body twips).
    virtual void UpdateRevisionTip(int x, int y, const CTextItem* item) = 0;

    // ---- the frame's timers ----
    // The idle timer drives the toolbars' update handlers.
    virtual void StopIdleTimer() = 0;
    virtual void StartIdleTimer() = 0;
    // Stops the autosave timer and switches autosave off (no path, no period).
    virtual void StopAutosave() = 0;
    // Starts the autosave timer again with the configured period (nothing when off).
    virtual void RestartAutosaveTimer() = 0;
    // Stops the autosave timer for a while, keeping autosave on.
    virtual void PauseAutosaveTimer() = 0;
    // The frame shows the wait cursor over a long operation, and takes it away.
    virtual void ShowWaitCursor(bool show) = 0;

    // ---- the frame's bars ----
    // Shows or hides the ruler, the format bar and the extension bar, then lays the frame
    // out again.
    virtual void ShowBars(bool show) = 0;
    // The ruler paints again.
    virtual void RepaintRuler() = 0;
    // The frame hides its reference pane when it shows one.
    virtual void HideReferencePane() = 0;

    // ---- the clipboard, opened for the frame's window ----
    // False when another window holds it open.
    virtual bool OpenClipboard() = 0;
    virtual void CloseClipboard() = 0;
    // Whether the clipboard holds data in the format registered under the name.
    virtual bool IsClipboardFormatAvailable(plat::StringView formatName) = 0;
    // Empties the open clipboard; false when it could not.
    virtual bool EmptyClipboard() = 0;
};

// A document's window without a screen: requests are counted, the cursor and the tip
// remembered, timers and bars kept as flags, and the clipboard is a set of format names.
class CHeadlessDocWindow : public CDocWindow {
public:
    CHeadlessDocWindow() = default;
    CHeadlessDocWindow(const CHeadlessDocWindow&) = delete;
    CHeadlessDocWindow& operator=(const CHeadlessDocWindow&) = delete;

    plat::Window* GetControlWindow() override { return nullptr; }
    plat::Window* GetCanvas() override { return nullptr; }
    void RepaintCanvas() override;
    void ScrollToCaret() override;
    plat::Size GetCanvasClientSize() override { return m_clientSize; }
    plat::Point GetScrollPosition() override { return m_scroll; }
    void ScrollToPoint(plat::Point point) override;
    void ResetScroll() override
    {
        ++m_scrollResets;
        m_scroll = plat::Point();
    }
    void ResetZoom() override { ++m_zoomResets; }
    void SetHitCursor(std::uint8_t hitCode) override;
    void UpdateRevisionTip(int x, int y, const CTextItem* item) override;
    void StopIdleTimer() override { m_idleTimer = false; }
    void StartIdleTimer() override { m_idleTimer = true; }
    void StopAutosave() override
    {
        m_autosaveTimer = false;
        m_autosaveOn = false;
    }
    void RestartAutosaveTimer() override { m_autosaveTimer = m_autosaveOn; }
    void PauseAutosaveTimer() override { m_autosaveTimer = false; }
    void ShowWaitCursor(bool show) override
    {
        m_waitCursor = show;
        if (show) ++m_waitCursorShows;
    }
    void ShowBars(bool show) override { m_barsShown = show; }
    void RepaintRuler() override { ++m_rulerRepaints; }
    void HideReferencePane() override { m_referencePaneShown = false; }
    bool OpenClipboard() override;
    void CloseClipboard() override { m_clipboardOpen = false; }
    bool IsClipboardFormatAvailable(plat::StringView formatName) override;
    bool EmptyClipboard() override;

    // What arrived.
    int m_repaints = 0;
    int m_caretScrolls = 0;
    // A canvas of 1024 x 768 pixels scrolled to the desk's top left, until a test says
    // otherwise; the points it was asked to show, oldest first.
    plat::Size m_clientSize{1024, 768};
    plat::Point m_scroll;
    std::vector<plat::Point> m_shownPoints;
    int m_cursorChanges = 0;
    std::uint8_t m_cursorCode = 0;
    int m_tipUpdates = 0;
    const CTextItem* m_tipItem = nullptr; // not owned; only compared
    bool m_idleTimer = true;
    bool m_autosaveTimer = false;
    bool m_autosaveOn = false;
    bool m_barsShown = true;
    int m_scrollResets = 0;
    int m_zoomResets = 0;
    bool m_waitCursor = false;
    int m_waitCursorShows = 0;
    int m_rulerRepaints = 0;
    bool m_referencePaneShown = false;
    // Observers of the two canvas requests, for tests that act on them.
    std::function<void()> m_onRepaint;
    std::function<void()> m_onScrollToCaret;

    // The clipboard: the formats it holds, whether it is open, and whether another
    // window holds it (OpenClipboard then fails).
    std::set<plat::String> m_clipboardFormats;
    bool m_clipboardOpen = false;
    bool m_clipboardHeldElsewhere = false;
};
