// The named container: a node list of text items with a GUID name, which the text flows,
// the page body, text frames and table cells build on.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "document/doc_node.h"
#include "document/text_item.h"

class CCharFormat;
class CCharItem;
class CParaEndItem;
class CStatistics;
class CRenderContext;
namespace plat {
class Dc;
}

// A node list of text items with a GUID name: the base of text flows, the page body,
// text frames and table cells. Every child is a CTextItem.
class CNamedContainer : public CNodeList {
public:
    CNamedContainer(CDocContext* doc, CDocNode* parent, std::uint16_t type = kNodePlain);
    ~CNamedContainer() override;

    const String& GetName() const { return m_name; }
    CTextItem* GetItem(int index) const
    {
        return index >= 0 && index < GetCount() ? ItemAt(index) : nullptr;
    }
    int AddItem(std::unique_ptr<CTextItem> item);
    void InsertItem(int index, std::unique_ptr<CTextItem> item);
    // The items in order at the index, in one insertion.
    void InsertItems(int index, std::vector<std::unique_ptr<CTextItem>> items);

    // The container record: name, count, then each item's type and record, every record
    // against the running format (which ends as the format of the last item).
    virtual void Load(plat::Archive& ar, CCharFormat& running, int mode);
    virtual void Save(plat::Archive& ar, CCharFormat& running, int mode);
    // Gives every item its preparation hook before a save.
    virtual void PrepareItems();
    // Sets one format field (ids 1-8) of every item to its value in `values`.
    virtual void SetCharFormat(int fieldId, const CCharFormat& values);
    // Counts the items from..to-1 (to = -1: to the end) into the record.
    virtual void CountStatistics(CStatistics& stats, int from, int to) const;
    // Paints the laid-out items with (x0, y0) the pixel position of the container's origin;
    // pass 1 is the interactive screen pass (text_paint.cpp).
    virtual void Draw(plat::Dc& dc, double zoom, int x0, int y0, int pass, CRenderContext& rc, bool marks);
    // Measures every item on its own, without the neighbour rules of a flow's layout
    // (line_layout.cpp).
    virtual void MeasureAll();

    // This container when the position names it; no item holds a container of its own.
    CNamedContainer* FindContainer(const CTextPos& pos);
    // The first item whose box holds the point (an anchor uses its height as its width).
    CTextItem* ItemAtPoint(int x, int y) const;
    // Always true: the item under the point (the next index in its right half, except for
    // the last item), else the nearest item.
    bool HitTestPos(int x, int y, CTextPos& pos) const;
    bool NearestPos(int x, int y, CTextPos& pos) const;

    // A character item for a typed or inserted code, classified, stamped with the
    // document's current author and the time.
    std::unique_ptr<CCharItem> NewCharItem(char16_t code, const CCharFormat& format);
    // Tab becomes four spaces, CR or LF a paragraph end, other control codes nothing.
    void InsertCharAt(int& index, char16_t code, const CCharFormat& format);
    // Up to the first zero; CR LF makes one paragraph end.
    void InsertString(int& index, plat::StringView text, const CCharFormat& format);
    // The items InsertString would insert, appended to `out` and not yet in the container,
    // so that a reader can gather runs of several formats and insert them at once.
    void MakeStringItems(std::vector<std::unique_ptr<CDocNode>>& out, plat::StringView text,
                         const CCharFormat& format);
    // Inserts made items at the index, which ends after them; `items` is left empty.
    void InsertMadeItems(int& index, std::vector<std::unique_ptr<CDocNode>>& items);
    // Moves the other container's items here from its front; a final paragraph end stays
    // with its own container. Returns how many items the other held.
    int MoveItemsFrom(CNamedContainer& other, int index);

    // Which items give text: those the document shows, or live text only (what leaves for
    // another program never holds text marked deleted).
    enum class CTextScope { kAsShown, kLiveOnly };
    // The text of items from..to-1: paragraph ends give "\n"; deleted items count only
    // while the document shows revisions, and never for live text.
    String GetText(int from, int to, CTextScope scope = CTextScope::kAsShown) const;
    String GetFirstParagraphText() const;

    // A range of items for copying (always in the clipboard form): count, default format,
    // then the items with the floating objects anchored to their paragraph ends.
    void WriteTextBlock(plat::Archive& ar, int from, int to, bool withObjects);
    // A text block read whole before any of it goes in, so that a block from outside is
    // checked as a file is before anything changes: its items in order, and the floating
    // objects each with the paragraph end it follows (an index into the items) and its
    // offset below that paragraph end.
    struct CTextBlock {
        struct Object {
            std::unique_ptr<CDocNode> object;
            std::int32_t anchorOffset = 0;
            std::size_t afterItem = 0;
        };
        std::vector<std::unique_ptr<CTextItem>> items;
        std::vector<Object> objects;
    };
    // Reads a text block, changing nothing; a bad block raises the archive's error.
    CTextBlock ParseTextBlock(plat::Archive& ar, int mode);
    // Inserts a read block at the index, which ends after what was inserted; each object
    // goes in once the paragraph end it follows is in place.
    void InsertTextBlock(CTextBlock block, int& index);
    // Both: a block that fails to read leaves the container as it was.
    void ReadTextBlock(plat::Archive& ar, int mode, int& index);

protected:
    // Every child of a text container is a text item; layout and painting call this for
    // each item, so it stays inline.
    CTextItem* ItemAt(int index) const
    {
        return static_cast<CTextItem*>(m_children[static_cast<size_t>(index)].get());
    }
    bool RevisionsShown() const;
    // Sets one format field of the items from..to-1.
    void SetItemsField(int from, int to, int fieldId, const CCharFormat& values);
    // Floating objects travel with copied text after the paragraph end they anchor to. A
    // plain container has none; the page body supplies and takes them.
    virtual std::int32_t CountBlockObjects(const CParaEndItem& end) const;
    virtual void SaveBlockObjects(plat::Archive& ar, const CParaEndItem& end);
    // An entry of a text block that is not a text item: the object of that node type read
    // with its anchor offset, not yet placed. A plain container refuses it.
    virtual std::unique_ptr<CDocNode> LoadBlockObject(plat::Archive& ar, std::uint16_t type, int mode,
                                                      std::int32_t& anchorOffset);
    // Places a read object below the paragraph end just inserted before it; only a
    // container that reads objects is given one.
    virtual void PlaceBlockObject(std::unique_ptr<CDocNode> object, std::int32_t anchorOffset,
                                  const CParaEndItem& end);

    String m_name;
};
