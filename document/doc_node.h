// The document node tree: nodes, owning node lists and the text position that names a
// place in any container of text items (named_container.h).
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/base/strings.h"
#include "platform/file/archive.h"

class CDocContext;

using plat::String;

// What a Load or Save is for. Every record states its own rule per mode.
enum ArchiveMode : int {
    kArchiveFile = 1,      // native file: everything persistent
    kArchiveUndo = 2,      // undo snapshot: everything plus editing state
    kArchiveClipboard = 3, // clipboard: no revision fields, fresh names, re-stamped items
    kArchiveInsert = 4,    // reading another native file into this one; never saved
};

// Node type ids, one table for the whole system.
enum NodeType : std::uint16_t {
    kNodePlain = 0,
    kNodeBody = 2,
    kNodeTableGrid = 3,
    kNodeAudio = 17,
    kNodeImage = 18,
    kNodeVideo = 19,
    kNodeTable = 21,
    kNodeShape = 22,
    kNodeRealMedia = 23,
    kNodeTableCell = 25,
    kNodeTextShape = 26,
    kNodeWmv = 27,
    kNodeFlash = 28,
    kNodeChart = 29,
    kNodeCaption = 29,
};

// Root of every document node. The owning document is reached through GetDoc(): nodes
// that may stand alone keep it themselves, while text items (a million to a document)
// reach it through their container, so the base stores no owner of its own.
class CDocNode {
public:
    explicit CDocNode(CDocNode* parent = nullptr, std::uint16_t type = kNodePlain)
        : m_parent(parent), m_type(type) {}
    virtual ~CDocNode() = default;
    CDocNode(const CDocNode&) = delete;
    CDocNode& operator=(const CDocNode&) = delete;

    virtual CDocContext* GetDoc() const { return m_parent ? m_parent->GetDoc() : nullptr; }
    CDocNode* GetParent() const { return m_parent; }
    void SetParent(CDocNode* parent) { m_parent = parent; }
    std::uint16_t GetNodeType() const { return m_type; }
    void SetNodeType(std::uint16_t type) { m_type = type; }

protected:
    CDocNode* m_parent;   // not owned
    std::uint16_t m_type; // kept last: text items pack their own fields behind it
};

// A node that owns an ordered list of child nodes and deletes them with itself.
class CNodeList : public CDocNode {
public:
    CNodeList(CDocContext* doc, CDocNode* parent, std::uint16_t type = kNodePlain)
        : CDocNode(parent, type), m_doc(doc) {}
    ~CNodeList() override = default;

    CDocContext* GetDoc() const override { return m_doc; }

    int GetCount() const { return static_cast<int>(m_children.size()); }
    // Null for an index outside the list (and for a gap left by SetAtGrow).
    CDocNode* GetAt(int index) const;
    int Add(std::unique_ptr<CDocNode> node);
    // 0 <= index <= count; anything else is a caller's error (std::out_of_range).
    void InsertAt(int index, std::unique_ptr<CDocNode> node);
    // Puts the node at the index, growing the list with empty slots as needed; a node
    // already there is deleted.
    void SetAtGrow(int index, std::unique_ptr<CDocNode> node);
    // Removes and deletes the child at the index; false when there is none.
    bool RemoveAt(int index);
    // Removes and deletes the children from..to-1 (clamped to the list) in one pass, so
    // that a long run costs one move of the children after it, not one per child.
    void RemoveRange(int from, int to);
    // Removes and deletes, in one pass, the children of from..to-1 for which `remove`
    // (called on each in order) is true; returns how many went.
    int RemoveIf(int from, int to, const std::function<bool(CDocNode&)>& remove);
    // Removes the child at the index without deleting it and hands it to the caller.
    std::unique_ptr<CDocNode> Detach(int index);
    // Removes the given child without deleting it; null when it is not in the list.
    std::unique_ptr<CDocNode> Remove(const CDocNode* node);
    // Deletes every child, then empties the list.
    void RemoveAll();

    // Changes whenever a paragraph end (node types 0xFF10-0xFF12, which end the paragraphs
    // of a text container) comes into or leaves the list, and whenever the list is filled
    // afresh: an index of the paragraph ends holds while this stays the same.
    std::uint64_t GetParaEndEdits() const { return m_paraEndEdits; }
    // The last of those changes: the paragraph end that came in (and the index it came in
    // at) or went out (only its address, to be compared); no node when the list was filled
    // afresh.
    struct ParaEndEdit {
        const CDocNode* node = nullptr;
        int index = -1;
        bool added = false;
    };
    const ParaEndEdit& GetLastParaEndEdit() const { return m_lastParaEndEdit; }

protected:
    static constexpr std::uint16_t kFirstParaEndType = 0xFF10;
    static constexpr std::uint16_t kLastParaEndType = 0xFF12;
    // Code that edits m_children directly notes the children that come in (at index on)
    // or go out, or that the list was filled afresh.
    void NoteAdded(const CDocNode* node, int index) { Note(node, index, true); }
    void NoteRemoved(const CDocNode* node) { Note(node, -1, false); }
    template <class Iterator>
    void NoteAddedRun(Iterator first, Iterator last, int index)
    {
        for (; first != last; ++first, ++index) NoteAdded(first->get(), index);
    }
    template <class Iterator>
    void NoteRemovedRun(Iterator first, Iterator last)
    {
        for (; first != last; ++first) NoteRemoved(first->get());
    }
    void NoteRefilled()
    {
        ++m_paraEndEdits;
        m_lastParaEndEdit = ParaEndEdit();
    }

    CDocContext* m_doc; // not owned
    std::vector<std::unique_ptr<CDocNode>> m_children;

private:
    void Note(const CDocNode* node, int index, bool added)
    {
        if (!node || node->GetNodeType() < kFirstParaEndType || node->GetNodeType() > kLastParaEndType) return;
        ++m_paraEndEdits;
        m_lastParaEndEdit = ParaEndEdit{node, index, added};
    }

    std::uint64_t m_paraEndEdits = 0;
    ParaEndEdit m_lastParaEndEdit;
};

// A place in a container: an item index and the GUID name of the container it counts in.
class CTextPos {
public:
    CTextPos() = default;
    CTextPos(std::int32_t index, String name) : m_index(index), m_name(std::move(name)) {}
    bool operator==(const CTextPos&) const = default;

    // Saved in modes 1 and 2, loaded in modes 1, 2 and 4; mode 3 carries no position.
    void Load(plat::Archive& ar, int mode);
    void Save(plat::Archive& ar, int mode) const;

    std::int32_t m_index = 0;
    String m_name;
};
