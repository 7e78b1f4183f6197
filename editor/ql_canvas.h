// The page canvas of a pane: the window in which the document is seen and edited. The view
// places it over its client area; it paints the visible part of the desk with its pages
// through one off-screen bitmap, turns keys, characters and mouse messages into document
// operations, and builds the context menu of the right button. Every edit ends in
// RequestRepaint; caret moves end in ScrollToCaret.
#pragma once
#include <cstdint>
#include <memory>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"
#include "document/ql_doc.h"
#include "platform/ui/window.h"

class CQlDoc;
class CQlView;
namespace plat {
class Bitmap;
class Menu;
}

// Command ids of the canvas's context menu.
enum CanvasCommand : unsigned {
    kCmdSelectAll = 35011,
    kCmdRefCopy = 35012,
    kCmdRefSelectAll = 35013,
    kCmdMoveUpLayer = 35051,
    kCmdMoveDownLayer = 35052,
    kCmdMoveToTop = 35053,
    kCmdMoveToBottom = 35054,
    kCmdObjectProperties = 35055,
    kCmdMediaEdit = 35056,
    kCmdImageEditAdvanced = 35057,
    kCmdFont = 35060,
    kCmdTableInsertRow = 37801,
    kCmdTableInsertCol = 37802,
    kCmdTableDeleteRow = 37803,
    kCmdTableDeleteCol = 37804,
    kCmdTableMerge = 37807,
    kCmdTableSeparate = 37808,
    kCmdTableBorders = 37814,
    kCmdWordCount = 37920,
    kCmdCopy = 57634,
    kCmdCut = 57635,
    kCmdFind = 57636,
    kCmdPaste = 57637,
    kCmdReplace = 57641,
};

// What the outside media editors can open, by file extension. The binding to the editors
// comes with the media objects; until then nothing can be edited outside.
class CMediaEditorQuery {
public:
    virtual ~CMediaEditorQuery() = default;
    virtual bool CanEditImage(plat::StringView /*ext*/) const { return false; }
    virtual bool CanEditImageAdv(plat::StringView /*ext*/) const { return false; }
    virtual bool CanEditAudio(plat::StringView /*ext*/) const { return false; }
    virtual bool CanEditVideo(plat::StringView /*ext*/) const { return false; }
};

class CQlCanvas : public plat::Window {
public:
    static constexpr int kControlId = 301;
    // The desk around the pages and a read-only page (the desktop's tooltip colour).
    static constexpr plat::ColorRef kDeskColor = 0x808080;
    static constexpr plat::ColorRef kPageColor = 0xFFFFFF;
    static constexpr plat::ColorRef kReadOnlyPageColor = 0xE1FFFF;
    // A point is kept this far (pixels) from the left, top and bottom edges, and twice as
    // far from the right edge, when it is scrolled into view.
    static constexpr int kScrollMargin = 32;

    // The view and the document are not owned; the view outlives the canvas.
    CQlCanvas(CQlView* view, CQlDoc* doc);
    ~CQlCanvas() override;

    CQlDoc* GetDocument() const { return m_doc; }
    CQlView* GetView() const { return m_view; }

    // Stores the placement (the parent's coordinates) and moves the window there, on top.
    void Place(int x, int y, int w, int h);
    plat::Rect GetPlacement() const { return m_placement; }

    // The document pixel at the canvas's origin, and a client point on the desk.
    plat::Point GetScrollOffset() const;
    plat::Point ClientToDoc(plat::Point point) const;
    // The mouse capture as the creation tool's answer asks, then a repaint.
    void FollowCreate(CQlDoc::CreateMouse answer);

    // The view rescales first when the page count changed; then the whole canvas is
    // invalidated without erasing and a paint posted.
    void RequestRepaint();
    // Brings the focus text's caret into view; false without a focus text.
    bool ScrollToCaret();
    // Scrolls just enough for the desk point (document pixels) to stand the margins away
    // from the edges, then repaints.
    void ScrollToPoint(plat::Point point);
    // The first private format on the clipboard decides whether the document takes it.
    bool CanPaste() const;

    // The ruler's dotted guide line while an indent marker is dragged.
    void SetGuide(bool shown, int x);
    bool IsGuideShown() const { return m_guide != 0; }
    int GetGuideX() const { return m_guideX; }

    // The context menu for a right press at the client point, as OnRButtonDown tracks it.
    void BuildContextMenu(plat::Point client, plat::Menu& menu);

protected:
    plat::LResult WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam) override;

private:
    void OnPaint();
    void OnKeyDown(int key);
    void OnChar(char16_t code);
    void OnLButtonDown(plat::Point client, unsigned keyFlags);
    void OnMouseMove(plat::Point client);
    void OnLButtonUp(plat::Point client);
    void OnLButtonDblClk(plat::Point client);
    void OnRButtonDown(plat::Point client);
    bool IsEditable() const;
    // The vertical and horizontal scroll messages ScrollToPoint sends the view.
    void ScrollViewTo(unsigned message, int position);
    void ScrollViewToEnd(unsigned message, unsigned code);
    void AppendSelectionItems(plat::Menu& menu);

    CQlView* m_view; // not owned
    CQlDoc* m_doc;   // not owned
    plat::Rect m_placement;
    std::int32_t m_guide = 0;
    std::int32_t m_guideX = 0;
    std::unique_ptr<plat::Bitmap> m_offscreen;
};
