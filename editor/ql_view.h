// The scroll view of a pane. It owns the pane's document, page canvas and ruler; it paints
// nothing itself but the grey desk behind them, supplies the scroll bars, lays the canvas
// and the ruler over its client area as its siblings (children of its parent), and carries
// the zoom commands and the printing flag.
//
// Three coordinate spaces: twips (the layout's), document pixels (twips at the zoom on the
// screen; the whole desk spans the document's total extent) and scroll units, which the
// scroll bars hold. Horizontal scroll units are document pixels; vertical ones are document
// pixels divided by the divisor, which keeps the vertical range within 30000 (a scroll
// message carries its position in 16 bits).
#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "document/doc_view.h"
#include "editor/cursor_set.h"
#include "editor/ql_canvas.h"
#include "editor/ql_ruler.h"
#include "platform/ui/window.h"

class CCharWidthCache;
class CDocFrame;
class CQlDoc;

// Zoom commands, from 2.0 down to 0.25.
enum ZoomCommand : unsigned {
    kCmdZoomFirst = 35030,
    kCmdZoom100 = 35033,
    kCmdZoomLast = 35036,
};

// The size of a rectangle.
inline plat::Size RectSize(const plat::Rect& r)
{
    return plat::Size(r.Width(), r.Height());
}

class CQlView : public plat::Window, public CDocView {
public:
    static constexpr int kMaxVerticalRange = 30000;
    static constexpr plat::ColorRef kBackground = 0x808080;

    // The frame and the width cache (not owned) go to the document the view makes.
    explicit CQlView(CDocFrame* frame = nullptr, CCharWidthCache* widthCache = nullptr);
    // The canvas and the ruler go before the document they show.
    ~CQlView() override;

    // Creates the view as a child of the pane's parent (the splitter) and runs the initial
    // update: the document, the canvas and the ruler.
    bool CreateView(plat::Window* parent, const plat::Rect& rect, int id);
    void OnInitialUpdate();

    CQlDoc* GetDocument() const { return m_doc.get(); }
    CQlCanvas* GetCanvas() override { return m_canvas.get(); }
    CQlRuler* GetRuler() const { return m_ruler.get(); }

    bool IsRulerShown() const { return m_rulerShown != 0; }
    int GetRulerHeight() const { return m_rulerShown ? CQlRuler::kHeight : 0; }
    void ShowRuler(bool show);
    bool IsPrinting() const { return m_printing != 0; }
    void SetPrinting(bool on) { m_printing = on ? 1 : 0; }
    int GetDivisor() const { return m_divisor; }

    // Scroll sizes back to 100 x 100, position (0, 0), divisor 1, children laid out.
    void ResetScroll() override;
    // Scroll sizes from the document's extent; the canvas centred or under the ruler, the
    // ruler along the top.
    void LayoutChildren();
    // Lays out again keeping the same relative scroll position.
    void Rescale();

    // (x, y x divisor): the document pixel at the canvas's origin.
    plat::Point GetScrollPosition() override;
    // (cx, cy x divisor).
    plat::Size GetTotalSize() const;
    plat::Point ToScrollUnits(plat::Point docPixels) const;
    // Scrolls to the document pixel (the vertical coordinate divided once).
    void ScrollToDocPosition(plat::Point docPixels);
    // Scroll units.
    plat::Point GetScrollUnitPosition() const;
    void ScrollToPosition(plat::Point scrollUnits);
    plat::Size GetScrollTotal() const { return m_total; }
    plat::Size GetScrollPage() const { return m_page; }

    // The zoom of command 35030-35036; the zoom combo's index follows every command.
    static double ZoomForCommand(unsigned id);
    void OnZoom(unsigned id);
    // The frame's zoom combo; the main frame installs it.
    void SetZoomComboSelect(std::function<void(int index)> select) { m_zoomComboSelect = std::move(select); }

    // The control's window, which takes the keyboard focus on clicks and scrolls; the
    // canvas itself until one is given.
    void SetControlWindow(plat::Window* window) { m_controlWindow = window; }
    // The window that owns the context menus and gets their commands; the top-level window
    // until one is given.
    void SetMenuOwner(plat::Window* window) { m_menuOwner = window; }
    plat::Window* GetMenuOwner();
    // The cursor set of the frame; the view's own until one is given.
    void SetCursorSet(CCursorSet* cursors) { m_cursors = cursors; }
    CCursorSet& GetCursorSet() { return *m_cursors; }
    void SetMediaEditorQuery(const CMediaEditorQuery* query) { m_mediaEditors = query ? query : &m_noMediaEditors; }
    const CMediaEditorQuery& GetMediaEditorQuery() const { return *m_mediaEditors; }

    // The wheel of the view and of its canvas.
    void OnMouseWheel(int delta);

    // ---- CDocView ----
    plat::Window* GetControlWindow() override;
    void RepaintCanvas() override;
    void ScrollToCaret() override;
    plat::Size GetCanvasClientSize() override;
    void ScrollToPoint(plat::Point point) override;
    void ResetZoom() override;
    void SetHitCursor(std::uint8_t hitCode) override;
    bool OpenClipboard() override;
    void CloseClipboard() override;
    bool IsClipboardFormatAvailable(plat::StringView formatName) override;
    bool EmptyClipboard() override;
    bool SetClipboardData(plat::StringView formatName, std::vector<std::uint8_t> bytes) override;
    std::optional<std::vector<std::uint8_t>> GetClipboardData(plat::StringView formatName) override;

protected:
    plat::LResult WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam) override;
    // The desk's size in document pixels.
    virtual plat::Size GetDocExtent() const;

private:
    void UpdateScrollSizes();
    void SetScrollSizes(plat::Size total, plat::Size page);
    void OnScroll(int bar, unsigned code, int thumbPos);
    // The view's client point in its parent's client coordinates.
    plat::Point ToParent(plat::Point client) const;

    CDocFrame* m_frame;              // not owned
    CCharWidthCache* m_widthCache;   // not owned
    std::unique_ptr<CQlDoc> m_doc;
    std::unique_ptr<CQlCanvas> m_canvas;
    std::unique_ptr<CQlRuler> m_ruler;
    std::int32_t m_divisor = 1;
    std::int32_t m_rulerShown = 0;
    std::int32_t m_printing = 0;
    // Scroll sizes: total, page and line, in scroll units.
    plat::Size m_total{100, 100};
    plat::Size m_page;
    plat::Size m_line{10, 10};

    plat::Window* m_controlWindow = nullptr; // not owned
    plat::Window* m_menuOwner = nullptr;     // not owned
    CCursorSet m_ownCursors;
    CCursorSet* m_cursors = &m_ownCursors;
    CMediaEditorQuery m_noMediaEditors;
    const CMediaEditorQuery* m_mediaEditors = &m_noMediaEditors;
    std::function<void(int)> m_zoomComboSelect;
};
