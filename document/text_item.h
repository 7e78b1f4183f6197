// Text items: one per character, paragraph end or annotation anchor. An item's node type
// is its item type; it carries its own character format (a shared, immutable pooled
// value), a time stamp, its measured size and its placed position.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "document/char_format.h"
#include "document/doc_node.h"
#include "document/format_pool.h"
#include "platform/base/geometry.h"

class CNamedContainer;
class CSpellError;
class CCharWidthCache;
class CRenderContext;
class CStatistics;
namespace plat {
class Dc;
}

// Item types (node types of text items).
enum ItemType : std::uint16_t {
    kItemParaPageBreak = 0xFF10, // paragraph end followed by a page break
    kItemFinalParaEnd = 0xFF11,  // the last item of every flow
    kItemParaEnd = 0xFF12,
    kItemSpace = 0xFF13,
    kItemWestern = 0xFF14,       // Western letter or other code up to U+04FF
    kItemWesternClose = 0xFF15,
    kItemWesternOpen = 0xFF16,
    kItemDigit = 0xFF17,
    kItemFullStop = 0xFF18,
    kItemUnused = 0xFF19,        // refused by the factory
    kItemCjk = 0xFF1A,           // Chinese character or other code above U+04FF
    kItemCjkSymbol = 0xFF1B,
    kItemCurrency = 0xFF1C,
    kItemCjkOpen = 0xFF1D,
    kItemCjkClose = 0xFF1E,
    kItemAnchor = 0xFF1F,        // annotation anchor
};

constexpr bool IsItemType(std::uint16_t t) { return t >= 0xFF10 && t <= 0xFF1F; }
constexpr bool IsParaEndType(std::uint16_t t) { return t >= kItemParaPageBreak && t <= kItemParaEnd; }
// Paragraph ends that close a paragraph in the middle of a flow (not the final one).
constexpr bool IsParaBreakType(std::uint16_t t) { return t == kItemParaPageBreak || t == kItemParaEnd; }

// The item type of a typed or inserted character code.
std::uint16_t ClassifyChar(char16_t code);

// Base of all items. Layout values are kept compactly: widths and heights in 16 bits
// (saturating at 65535 twips) and the line top as a distance above the item's top.
class CTextItem : public CDocNode {
public:
    ~CTextItem() override;
    // Items come from the item arena (plain heap blocks under the address sanitizer, so
    // that its checks see every item).
    static void* operator new(std::size_t n);
    static void operator delete(void* p, std::size_t n);

    virtual bool IsChar() const { return false; }

    // The item record against a running format (which becomes this item's format).
    void Load(plat::Archive& ar, CCharFormat& running, int mode);
    void Save(plat::Archive& ar, CCharFormat& running, int mode) const;
    // Hook called before a save; no item class needs it yet.
    virtual void PrepareItem() {}
    virtual void SetPos(int x, int y);
    // Sets one format field (ids 1-8) of this item only.
    virtual void SetFormatField(int fieldId, const CCharFormat& values);
    // No item holds a container of its own.
    virtual CNamedContainer* FindContainer(const CTextPos&) { return nullptr; }
    virtual bool HitTestPos(int, int, CTextPos&) const { return false; }
    // Adds this item to the statistics; atParaStart is the container's paragraph-start flag.
    virtual void CountStatistics(CStatistics& stats, int& atParaStart) const;
    // Sets width, height and ascent (char_width_cache.cpp); the base item measures nothing.
    virtual void Measure(CCharWidthCache&) {}
    // Paints the placed item at the pixel origin of its container (text_paint.cpp); the
    // base item paints nothing.
    virtual void Draw(plat::Dc&, double /*zoom*/, int /*x0*/, int /*y0*/, int /*pass*/, CRenderContext&,
                      bool /*marks*/) const {}

    plat::Rect GetRect() const;
    plat::Point GetCentre() const;
    bool HitTest(plat::Point p) const { return GetRect().Contains(p); }

    // The format behaves as the item's own: setting it never touches another item. The
    // reference lives until this item's format changes.
    const CCharFormat& GetFormat() const { return CFormatPool::Instance().Get(FormatHandle()); }
    void SetFormat(const CCharFormat& f);
    CFormatPool::Handle FormatHandle() const { return m_bits & kHandleMask; }
    void SetFormatHandle(CFormatPool::Handle h);
    bool IsDeleted() const { return GetFormat().m_deletedBy != 0; }
    void SetInsertedBy(std::int16_t author);
    void SetDeletedBy(std::int16_t author);
    void SetAnnotation(std::int16_t number);

    std::int32_t GetTime() const { return m_time; }
    void SetTime(std::int32_t t) { m_time = t; }
    // The character of a character item; 0 for the other items.
    char16_t GetCode() const { return m_code; }

    int GetLeft() const { return m_left; }
    int GetTop() const { return m_top; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetAscent() const { return m_ascent; }
    int GetLineTop() const { return m_top - m_lineRise; }
    int GetLineHeight() const { return m_lineHeight; }
    int GetDrawnWidth() const { return m_drawnWidth; }
    bool GetBreakBefore() const { return (m_bits & kBreakBefore) != 0; }
    void SetWidth(int w) { m_width = Clamp16(w); }
    void SetMetrics(int width, int height, int ascent);
    void SetDrawnWidth(int w) { m_drawnWidth = Clamp16(w); }
    void SetBreakBefore(bool on) { m_bits = on ? m_bits | kBreakBefore : m_bits & ~kBreakBefore; }
    // Places the item's box and its line box together.
    void Place(int left, int top, int lineTop, int lineHeight);
    // Keeps the item's top; moves the line box.
    void SetLineBox(int lineTop, int lineHeight);
    // Moves the item and its line box down by dy (up when negative).
    void MoveDown(int dy) { m_top += dy; }
    // Set on the first item of a line the page body joined from runs that each fitted, in
    // a region as wide as the frame: such a line breaks the same way wherever it lands.
    bool GetJoinedLine() const { return (m_bits & kJoinedLine) != 0; }
    void SetJoinedLine(bool on) { m_bits = on ? m_bits | kJoinedLine : m_bits & ~kJoinedLine; }

    // The spelling error of the marked word the item belongs to, else null. The marks are
    // kept by the document's record list (CSpellErrorList); an item outside a document
    // takes none.
    CSpellError* GetMisspelt() const;
    void SetMisspelt(CSpellError* error);

    // A record walk over many items: the running format as a pooled handle, the rules its
    // revision fields are checked against and the time that mode 3 stamps.
    struct RecordWalk {
        RecordWalk(const CCharFormat& start, const CDocContext* doc, int walkMode);
        CFormatRef running;
        int mode;
        CCharFormat::LoadRules rules;
        std::int32_t now;
    };
    void LoadRecord(plat::Archive& ar, RecordWalk& walk);
    void SaveRecord(plat::Archive& ar, RecordWalk& walk) const;

protected:
    CTextItem(CDocNode* parent, std::uint16_t type);
    // What a class adds to the record after the time stamp.
    virtual void LoadTail(plat::Archive&, int) {}
    virtual void SaveTail(plat::Archive&, int) const {}
    static std::uint16_t Clamp16(int v) { return static_cast<std::uint16_t>(v < 0 ? 0 : v > 0xFFFF ? 0xFFFF : v); }

    static constexpr std::uint32_t kHandleMask = 0x00FFFFFF;
    static constexpr std::uint32_t kBreakBefore = 1u << 24;
    // Set while the document's list may hold a mark of the item; the list is asked only
    // then (emptying the list leaves the bit, and the next question finds no mark).
    static constexpr std::uint32_t kMisspelt = 1u << 25;
    static constexpr std::uint32_t kJoinedLine = 1u << 26;

    // Packed behind CDocNode's fields: 48 bytes for a character item.
    std::uint16_t m_code = 0;
    std::uint16_t m_lineHeight = 0;
    std::uint16_t m_drawnWidth = 0;
    std::int32_t m_left = 0;
    std::int32_t m_top = 0;
    std::uint32_t m_bits = CFormatPool::kDefault; // format handle and flags
    std::int32_t m_time = 0;
    std::uint16_t m_width = 0;
    std::uint16_t m_height = 0;
    std::uint16_t m_ascent = 0;
    std::uint16_t m_lineRise = 0; // top - line top
};

class CCharItem : public CTextItem {
public:
    CCharItem(CDocNode* parent, std::uint16_t type, char16_t code = 0) : CTextItem(parent, type) { m_code = code; }
    bool IsChar() const override { return true; }
    void SetCode(char16_t code) { m_code = code; }
    void Measure(CCharWidthCache& cache) override;
    void Draw(plat::Dc& dc, double zoom, int x0, int y0, int pass, CRenderContext& rc, bool marks) const override;

    // Where and in which size the item's glyph is written (text_paint.cpp).
    struct GlyphPlace {
        plat::Point origin; // on the baseline, in pixels
        int size = 0;       // drawing size in twips: two thirds for raised and lowered text
        bool western = false; // the Western face; else the Chinese one
    };
    // False for types that draw no glyph.
    bool PlaceGlyph(const plat::Dc& dc, double zoom, int x0, int y0, GlyphPlace& place) const;
    // True when, with marks shown, a space draws the block of its revision's author
    // before its glyph.
    bool HasRevisionBlock(const CRenderContext& rc) const;

protected:
    void LoadTail(plat::Archive& ar, int mode) override;
    void SaveTail(plat::Archive& ar, int mode) const override;
};

class CParaEndItem : public CTextItem {
public:
    // A fresh GUID name, so that pasted paragraphs never share names with their source.
    CParaEndItem(CDocNode* parent, std::uint16_t type = kItemParaEnd);
    // For a record read at once: the record's name is taken, or a fresh one made, as it
    // is read; a file's paragraphs never make a GUID only to drop it.
    struct NamedOnLoad {};
    CParaEndItem(CDocNode* parent, std::uint16_t type, NamedOnLoad) : CTextItem(parent, type) {}

    const String& GetName() const { return m_name; }
    void SetName(String name) { m_name = std::move(name); }
    const CParaFormat& GetParaFormat() const { return m_paraFormat; }
    void SetParaFormat(const CParaFormat& p) { m_paraFormat = p; }
    void Measure(CCharWidthCache& cache) override;
    void Draw(plat::Dc& dc, double zoom, int x0, int y0, int pass, CRenderContext& rc, bool marks) const override;

protected:
    void LoadTail(plat::Archive& ar, int mode) override;
    void SaveTail(plat::Archive& ar, int mode) const override;

private:
    CParaFormat m_paraFormat;
    String m_name;
};

class CAnchorItem : public CTextItem {
public:
    explicit CAnchorItem(CDocNode* parent) : CTextItem(parent, kItemAnchor) {}
    // A box 1 twip wide and as tall as the format's size: it takes no visible room.
    void Measure(CCharWidthCache& cache) override;
    // The mark of its note (text_paint.cpp).
    void Draw(plat::Dc& dc, double zoom, int x0, int y0, int pass, CRenderContext& rc, bool marks) const override;
};

// What reading makes of an item that no editor writes: false for a character item holding
// a control code (typing never makes one), which the reader drops; a character item whose
// type is not its code's class takes that class. True, and nothing changed, for the rest.
bool NormaliseReadItem(CTextItem& item);

// An empty item of the given type for loading, or null for a type that is not an item
// type (0xFF19 included). Unless the mode is 2, it carries the document's current author
// and the current time, which a load overwrites where the record carries them.
std::unique_ptr<CTextItem> CreateTextItem(CDocContext* doc, std::uint16_t type, CDocNode* parent, int mode);
// The same item without the stamps, for a record that is read at once (a paragraph end
// takes its name as its record is read).
std::unique_ptr<CTextItem> NewTextItemOfType(std::uint16_t type, CDocNode* parent);
