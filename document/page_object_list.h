// The page body's floating objects in stacking order. Objects are drawn in five passes,
// one per layer from 0 (back) to 4 (front), and within a layer in list order, so the
// object appended last is drawn on top of its layer. The list owns its objects, writes and
// reads them as one record, places pasted and inserted objects at an offset and tracks
// which objects are selected.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "document/doc_node.h"
#include "platform/base/geometry.h"

class CFloatObject;
class CRenderContext;
namespace plat {
class Dc;
}

class CPageObjectList : public CNodeList {
public:
    CPageObjectList(CDocContext* doc, CDocNode* body);
    ~CPageObjectList() override;

    // Null outside the list.
    CFloatObject* GetObject(int index) const;
    // Appends the object at the top of its layer; the list owns it from then on.
    CFloatObject* AddObject(std::unique_ptr<CFloatObject> object);

    int CountSelected() const;
    // The n-th selected object in list order, or null.
    CFloatObject* GetSelected(int n) const;
    void ClearSelection();

    // Where a record puts the objects it writes: where they stand, or moved together so
    // that the group's top-left corner is at (0, 0) (a clipboard block of objects).
    enum CGroupPlacement { kKeepPlace, kGroupAtOrigin };
    // The record: int32 count, then each object's uint16 node type and its record. Mode 3
    // with a selection writes only the selected objects.
    void Save(plat::Archive& ar, int mode, CGroupPlacement placement = kKeepPlace);
    // Appends the objects of a record. Modes 3 and 4 move them by the paste offset (mode
    // 4 first makes (dx, dy) the offset); mode 3 makes them the selection. A record that
    // does not read (an unknown node type among them) is refused as a whole with the
    // archive's error and leaves the list, its selection and the offset as they were.
    void Load(plat::Archive& ar, int mode, int dx, int dy);
    // Load in two steps: the record read whole, changing nothing (a bad record raises the
    // archive's error), then the objects read added as Load adds them.
    using LoadedObjects = std::vector<std::unique_ptr<CFloatObject>>;
    LoadedObjects ReadObjects(plat::Archive& ar, int mode);
    void AddLoaded(LoadedObjects loaded, int mode, int dx, int dy);

    // Draws, layer by layer, every object whose vertical extent meets the band from
    // visibleTop to visibleBottom (twips).
    void Draw(plat::Dc& dc, double zoom, int x0, int y0, int pass, int visibleTop, int visibleBottom,
              CRenderContext& rc);

    // The process-wide offset of pasted objects, (200, 200) twips until an inserted file
    // sets its own.
    static plat::Point GetPasteOffset();
    static void SetPasteOffset(plat::Point offset);

    static constexpr int kLayerCount = 5;

private:
    // Every child is a floating object: they enter through AddObject and Load only.
    using CNodeList::Add;
    using CNodeList::InsertAt;
    using CNodeList::SetAtGrow;
};
