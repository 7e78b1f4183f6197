// The page body: the main text flow of a document, laid out on a column of up to 500
// pages around the floating objects it holds. This file covers its page frames (the text
// area of every page), the free regions the objects leave in them (the rectangles the line
// filler pours text into, in flow order), the page count, the object-list operations and
// the anchoring of objects to the paragraph they were placed beside.
//
// Body coordinates are twips from the top left of the desk: with W and H the paper size,
// page i occupies (200, i(H+200)+200) to (W+200, i(H+200)+200+H).
#pragma once
#include <array>
#include <cstdint>
#include <list>
#include <memory>

#include "document/text_flow.h"
#include "platform/base/geometry.h"

class CFloatObject;
class CPageObjectList;

// One rectangle of text area and the page it lies on (500: the overflow frame).
class CPageRegion {
public:
    CPageRegion() = default;
    CPageRegion(const plat::Rect& rect, std::int32_t page) : m_rect(rect), m_page(page) {}
    CPageRegion(const CPageRegion&) = default;
    CPageRegion& operator=(const CPageRegion&) = default;
    virtual ~CPageRegion() = default;

    plat::Rect m_rect;
    std::int32_t m_page = 0;
};

class CDocBody : public CTextFlow {
public:
    static constexpr int kMaxPages = 500;
    static constexpr int kOverflowFrame = kMaxPages;
    // Text inside a free region keeps this far from an object's side.
    static constexpr int kRegionGap = 105;
    // Fragments no wider or no taller than these cannot hold a line and are dropped.
    static constexpr int kMinRegionWidth = 420;
    static constexpr int kMinRegionHeight = 210;
    // The overflow frame reaches practically without end.
    static constexpr std::int32_t kOverflowBottom = 0x20000000;

    using RegionList = std::list<std::unique_ptr<CPageRegion>>;

    // A body with its one final paragraph end, the document's page geometry, its free
    // regions, laid out; it becomes the document's focus text.
    explicit CDocBody(CQlDoc* doc);
    // The free regions, then every object, then the rest.
    ~CDocBody() override;

    // ---- page frames and free regions ----
    // Margins and paper size in millimetres.
    void SetPageGeometry(int marginLeft, int marginTop, int marginRight, int marginBottom, int paperWidth,
                         int paperHeight);
    // Frame i (0-499) is the text area of page i; frame 500 the overflow frame.
    const CPageRegion& GetPageFrame(int i) const { return m_frames.at(static_cast<size_t>(i)); }
    // Rebuilds the free regions: a copy of every frame, cut around each object in stacking
    // order.
    void BuildPageRegions();
    // Keeps a fragment that can hold a line, its sides inset where they face an object,
    // and links it after the given region (null: appended); drops any other.
    void InsertRegion(CPageRegion* after, std::unique_ptr<CPageRegion> region);
    void ClearRegions();
    // The region cursor: to the head, and on; null past the end.
    CPageRegion* GetFirstRegion();
    CPageRegion* GetNextRegion();
    int GetRegionCount() const { return static_cast<int>(m_regions.size()); }

    // ---- pages ----
    int GetPageCount() const { return m_pageCount; }
    // True when the page count changed since the last call.
    bool PageCountChanged();
    // Pages used by the text (the frame holding the last item's line) and by the objects,
    // at most 500.
    void RecalcPageCount();
    // Below the last item (by 105 twips) or the lowest object, whichever is lower: where
    // pasted and appended objects go.
    int GetContentBottom() const;

    // ---- anchoring ----
    // After every layout: unanchored objects attach to the paragraph end above them, the
    // others check whether their paragraph moved.
    void UpdateAnchors();
    void AttachAnchor(CFloatObject& object);
    void CheckAnchor(CFloatObject& object);
    // Whether a span from a to b starts inside a page's text area and ends on that page.
    bool FitsOnPage(int a, int b) const;
    bool HasObjectToMove() const;
    // Moves every object that must move to its target top; true when there was one.
    bool MoveAnchoredObjects();

    // ---- the page objects ----
    CPageObjectList& GetObjectList() { return *m_objects; }
    int GetObjectCount() const;
    CFloatObject* GetObject(int index) const;
    // Appends at the top of the stacking order; the body owns the object from then on.
    CFloatObject* AddObject(std::unique_ptr<CFloatObject> object);
    // Unlinks the object and hands it back; null when it is not in the list.
    std::unique_ptr<CFloatObject> RemoveObject(CFloatObject* object);
    void DeleteAllObjects();
    int GetSelectedCount() const;
    CFloatObject* GetSelectedObject(int n) const;
    void DeselectAll();

    // Page i of the desk in the current geometry (what the document's GetPageRect gives).
    plat::Rect GetPageRect(int i) const;

private:
    struct ParaEndIndex;
    ParaEndIndex IndexParaEnds() const;
    void AttachAnchor(CFloatObject& object, const ParaEndIndex& index);
    void CheckAnchor(CFloatObject& object, const ParaEndIndex& index);
    void InsertRegion(RegionList::iterator after, std::unique_ptr<CPageRegion> region);

    std::array<CPageRegion, kMaxPages + 1> m_frames;
    std::int32_t m_paperWidth = 0; // twips
    std::int32_t m_paperHeight = 0;
    std::uint16_t m_pageCount = 1;
    std::uint16_t m_prevPageCount = 0;
    RegionList m_regions;
    RegionList::iterator m_regionCursor;
    std::unique_ptr<CPageObjectList> m_objects;
};
