#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

#include "document/format_pool.h"
#include "document/item_arena.h"
#include "document/named_container.h"
#include "document/ql_doc.h"
#include "document/text_item.h"
#include "tests/document/text_model_support.h"

using namespace textmodel;

TEST(TextItem, ClassifiesEveryListedCode)
{
    struct Class { std::uint16_t type; std::initializer_list<char16_t> codes; };
    const Class classes[] = {
        {kItemSpace, {0x0020}},
        {kItemWesternClose, {0x0021, 0x0025, 0x0029, 0x002C, 0x003A, 0x003B, 0x003F, 0x005D, 0x007D,
                             0x00AE, 0x00B0, 0x2030, 0x2032, 0x2033, 0x2122}},
        {kItemWesternOpen, {0x0024, 0x0028, 0x005B, 0x007B, 0x00A9}},
        {kItemDigit, {u'0', u'5', u'9', 0xFF10, 0xFF15, 0xFF19}},
        {kItemFullStop, {0x002E}},
        {kItemCjk, {0x00B7, 0x0500, 0x3000, 0x4E2D, 0xFFFF, 0xD800}},
        {kItemCjkSymbol, {0x2026, 0x2103, 0xFF05}},
        {kItemCurrency, {0xFF04, 0xFFE1, 0xFFE5}},
        {kItemCjkOpen, {0x2018, 0x201C, 0x3008, 0x300A, 0x300C, 0x300E, 0x3010, 0x3014, 0x3016,
                        0xFF08, 0xFF3B, 0xFF5B}},
        {kItemCjkClose, {0x2019, 0x201D, 0x3001, 0x3002, 0x3009, 0x300B, 0x300D, 0x300F, 0x3011,
                         0x3015, 0x3017, 0xFF01, 0xFF09, 0xFF0C, 0xFF0E, 0xFF1A, 0xFF1B, 0xFF1F,
                         0xFF3D, 0xFF5D}},
        // Everything else up to U+04FF: Latin, Greek, Cyrillic, the apostrophe, controls.
        {kItemWestern, {u'a', u'Z', u'\'', u'"', u'-', u'/', u'@', 0x00B6, 0x00E9, 0x03A9, 0x0416,
                        0x04FF, 0x0001}},
    };
    for (const Class& c : classes)
        for (char16_t code : c.codes)
            EXPECT_EQ(ClassifyChar(code), c.type) << std::hex << "U+" << static_cast<int>(code);
}

TEST(TextItem, FactoryMakesTheClassOfEachTypeAndStampsUnlessUndo)
{
    PinnedSources pin;
    CQlDoc doc;
    doc.GetAuthors().Append(0, u"");
    doc.GetAuthors().Append(3, u"乙");
    doc.SetCurAuthorIndex(1);
    CNamedContainer parent(&doc, nullptr);

    for (unsigned type = 0xFF0E; type <= 0xFF21; ++type) {
        auto t = static_cast<std::uint16_t>(type);
        std::unique_ptr<CTextItem> item = CreateTextItem(&doc, t, &parent, kArchiveFile);
        if (type < 0xFF10 || type > 0xFF1F || type == 0xFF19) {
            EXPECT_EQ(item, nullptr) << std::hex << type;
            continue;
        }
        ASSERT_NE(item, nullptr) << std::hex << type;
        EXPECT_EQ(item->GetNodeType(), t);
        EXPECT_EQ(item->GetParent(), &parent);
        EXPECT_EQ(item->GetDoc(), &doc) << "items reach the document through their container";
        bool paraEnd = dynamic_cast<CParaEndItem*>(item.get()) != nullptr;
        bool anchor = dynamic_cast<CAnchorItem*>(item.get()) != nullptr;
        EXPECT_EQ(paraEnd, type <= 0xFF12) << std::hex << type;
        EXPECT_EQ(anchor, type == 0xFF1F) << std::hex << type;
        EXPECT_EQ(item->IsChar(), !paraEnd && !anchor) << std::hex << type;
    }

    for (int mode : {kArchiveFile, kArchiveUndo, kArchiveClipboard, kArchiveInsert}) {
        std::unique_ptr<CTextItem> item = CreateTextItem(&doc, kItemCjk, &parent, mode);
        bool stamped = mode != kArchiveUndo;
        EXPECT_EQ(item->GetFormat().m_insertedBy, stamped ? 1 : 0) << mode;
        EXPECT_EQ(item->GetTime(), stamped ? kPinnedTime : 0) << mode;
    }
}

TEST(TextItem, ItemsShareFormatsYetOwnThem)
{
    // A million of these make a document: keep them at 48 bytes.
    EXPECT_LE(sizeof(CCharItem), 48u);
    EXPECT_LE(sizeof(CAnchorItem), 48u);

    CFormatPool& pool = CFormatPool::Instance();
    const size_t before = pool.LiveCount();
    {
        CNamedContainer c(nullptr, nullptr);
        CCharFormat red;
        red.m_color = 0x0000FF;
        red.m_westernFace = u"Arial";
        std::vector<CTextItem*> items;
        for (int i = 0; i < 100; ++i) {
            items.push_back(c.NewCharItem(u'a', red).release());
            c.AddItem(std::unique_ptr<CTextItem>(items.back()));
        }
        EXPECT_EQ(pool.LiveCount(), before + 1) << "a hundred items, one pooled format";
        EXPECT_EQ(items[0]->FormatHandle(), items[99]->FormatHandle());

        CCharFormat values;
        values.m_size = 420;
        items[0]->SetFormatField(kFieldSize, values);
        items[1]->SetDeletedBy(1);
        items[2]->SetAnnotation(-1);
        EXPECT_EQ(items[0]->GetFormat().m_size, 420);
        EXPECT_EQ(items[1]->GetFormat().m_size, 210);
        EXPECT_TRUE(items[1]->IsDeleted());
        EXPECT_FALSE(items[0]->IsDeleted());
        EXPECT_EQ(items[2]->GetFormat().m_annotation, -1);
        for (int i = 3; i < 100; ++i) {
            EXPECT_EQ(items[i]->GetFormat().m_size, 210);
            EXPECT_EQ(items[i]->GetFormat().m_color, 0x0000FF);
            EXPECT_FALSE(items[i]->IsDeleted());
        }
        EXPECT_EQ(pool.LiveCount(), before + 4);
        // Setting a field back to what another item has rejoins its shared format.
        values.m_size = 210;
        items[0]->SetFormatField(kFieldSize, values);
        EXPECT_EQ(items[0]->FormatHandle(), items[99]->FormatHandle());
        EXPECT_EQ(pool.LiveCount(), before + 3);
    }
    EXPECT_EQ(pool.LiveCount(), before) << "formats die with the last item that uses them";
}

TEST(TextItem, LayoutFieldsAndGeometry)
{
    CCharItem item(nullptr, kItemCjk, u'中');
    item.SetMetrics(210, 240, 180);
    item.Place(1000, 500000, 499900, 300); // far down a long body
    EXPECT_EQ(item.GetLeft(), 1000);
    EXPECT_EQ(item.GetTop(), 500000);
    EXPECT_EQ(item.GetLineTop(), 499900);
    EXPECT_EQ(item.GetLineHeight(), 300);
    EXPECT_EQ(item.GetRect(), plat::Rect(1000, 500000, 1210, 500240));
    EXPECT_EQ(item.GetCentre(), plat::Point(1105, 500050));
    EXPECT_TRUE(item.HitTest({1000, 500000}));
    EXPECT_FALSE(item.HitTest({1210, 500000}));

    // Moving the item keeps its line box where it was.
    item.SetPos(1200, 499950);
    EXPECT_EQ(item.GetLineTop(), 499900);
    item.SetLineBox(499800, 400);
    EXPECT_EQ(item.GetTop(), 499950);
    EXPECT_EQ(item.GetLineTop(), 499800);
    EXPECT_EQ(item.GetLineHeight(), 400);

    // Sizes are kept in 16 bits and saturate rather than wrap.
    item.SetMetrics(70000, -5, 65535);
    item.SetDrawnWidth(100000);
    EXPECT_EQ(item.GetWidth(), 65535);
    EXPECT_EQ(item.GetHeight(), 0);
    EXPECT_EQ(item.GetAscent(), 65535);
    EXPECT_EQ(item.GetDrawnWidth(), 65535);

    CCharFormat bold;
    bold.m_bold = 1;
    item.SetFormat(bold);
    const CFormatPool::Handle handle = item.FormatHandle();
    item.SetBreakBefore(true);
    EXPECT_TRUE(item.GetBreakBefore());
    item.SetBreakBefore(false);
    EXPECT_FALSE(item.GetBreakBefore());

    // Spelling marks belong to one item each, and are kept by the item's document: an
    // item outside one takes none.
    auto* error = reinterpret_cast<CSpellError*>(&bold); // any distinct address will do
    item.SetMisspelt(error);
    EXPECT_EQ(item.GetMisspelt(), nullptr);
    CQlDoc doc;
    CNamedContainer flow(&doc, nullptr);
    item.SetParent(&flow);
    CCharItem other(&flow, kItemCjk, u'文');
    item.SetMisspelt(error);
    EXPECT_EQ(item.GetMisspelt(), error);
    EXPECT_EQ(other.GetMisspelt(), nullptr);
    item.SetMisspelt(nullptr);
    EXPECT_EQ(item.GetMisspelt(), nullptr);
    item.SetMisspelt(error);
    EXPECT_TRUE(item.GetBreakBefore() == false && item.FormatHandle() == handle)
        << "flags and the format handle share a word without disturbing each other";
    EXPECT_EQ(item.GetFormat().m_bold, 1);
}

TEST(ItemArena, CarvesReusesAndPassesLargeBlocksOn)
{
    // Items come from the arena in release builds (under the address sanitizer they take
    // plain heap blocks), so the arena is tested on its own.
    CItemArena arena;
    std::vector<std::uint8_t*> blocks;
    for (int i = 0; i < 3000; ++i) { // more than one chunk's worth
        auto* p = static_cast<std::uint8_t*>(arena.Allocate(48));
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % 8, 0u) << "aligned for pointers";
        std::memset(p, i & 0xFF, 48);
        blocks.push_back(p);
    }
    EXPECT_EQ(arena.ChunkBytes(), 3 * CItemArena::kChunkBytes) << "48-byte blocks packed without headers";
    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ(blocks[i][0], i & 0xFF) << "blocks must not overlap";

    // A freed block serves the next request of its size before the chunk grows.
    arena.Free(blocks[10], 48);
    arena.Free(blocks[20], 48);
    EXPECT_EQ(arena.Allocate(41), blocks[20]) << "41 rounds up to the 48-byte class";
    EXPECT_EQ(arena.Allocate(48), blocks[10]);
    void* other = arena.Allocate(104);
    EXPECT_NE(other, nullptr);
    arena.Free(other, 104);
    EXPECT_EQ(arena.Allocate(100), other);

    void* big = arena.Allocate(4096); // beyond the arena's classes: plain heap
    std::memset(big, 0, 4096);
    arena.Free(big, 4096);
    for (int i = 0; i < 3000; ++i)
        if (i != 10 && i != 20) arena.Free(blocks[i], 48);
}

TEST(ItemArena, SlabsHoldTheChunksAndPrefaultKeepsWhatABlockHolds)
{
    CItemArena arena;
    EXPECT_EQ(arena.SlabBytes(), 0u) << "nothing mapped before the first item";
    std::vector<void*> blocks;
    // More than one slab's worth of 48-byte blocks.
    const std::size_t count = CItemArena::kSlabBytes / 48 + 100;
    for (std::size_t i = 0; i < count; ++i) blocks.push_back(arena.Allocate(48));
    EXPECT_EQ(arena.SlabBytes(), 2 * CItemArena::kSlabBytes);
    EXPECT_GE(arena.SlabBytes(), arena.ChunkBytes());
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(blocks.front()) % CItemArena::kSlabBytes, 0u)
        << "slabs start on a huge-page boundary";
    for (std::size_t i = 0; i < count; ++i) arena.Free(blocks[i], 48);

    // Prefaulting is advice: a block that already holds data keeps it, however it lies.
    std::vector<std::uint32_t> big(3 * CItemArena::kSlabBytes / sizeof(std::uint32_t) + 7);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint32_t>(i * 2654435761u);
    CItemArena::Prefault(big.data() + 1, (big.size() - 1) * sizeof(std::uint32_t));
    CItemArena::Prefault(big.data(), 100); // small blocks are left alone
    CItemArena::Prefault(nullptr, CItemArena::kSlabBytes);
    for (std::size_t i = 0; i < big.size(); ++i)
        ASSERT_EQ(big[i], static_cast<std::uint32_t>(i * 2654435761u)) << i;
}
