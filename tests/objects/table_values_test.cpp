// Cell positions, border lines and sets, and point lists: the values the document's
// format state and the table grid hold.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "objects/point_list.h"
#include "objects/table_values.h"
#include "platform/file/archive.h"

TEST(TableValues, CellPositionsCompareBySlot)
{
    CCellPos origin;
    EXPECT_EQ(origin, CCellPos(0, 0));
    // Two slots of one merged cell are still two positions.
    EXPECT_NE(CCellPos(1, 2), CCellPos(1, 3));
    EXPECT_NE(CCellPos(1, 2), CCellPos(2, 2));
    CCellPos copy;
    copy = CCellPos(4, 5);
    EXPECT_EQ(copy, CCellPos(4, 5));
    EXPECT_FALSE(copy != CCellPos(4, 5));
}

TEST(TableValues, BorderLineRecordKeepsAnyValue)
{
    const CBorderLine def;
    EXPECT_EQ(def.m_style, kLineThin);
    EXPECT_EQ(def.m_colour, kLineAutoColor);
    const CBorderLine lines[] = {def, {kLineSolid16, 0x00123456}, {0, -1}, {99, static_cast<std::int32_t>(0x80000002u)}};
    for (const CBorderLine& line : lines) {
        plat::MemFile mem;
        {
            plat::Archive ar(mem, plat::Archive::kStore);
            line.Save(ar);
            ar.Close();
        }
        ASSERT_EQ(mem.Data().size(), 8u);
        EXPECT_EQ(mem.Data()[0], static_cast<std::uint8_t>(line.m_style)) << "style first, little-endian";
        plat::MemFile in(mem.Data());
        plat::Archive ar(in, plat::Archive::kLoad);
        CBorderLine back(1, 1);
        back.Load(ar);
        EXPECT_EQ(back, line);
    }
    // A short record leaves the line as it was.
    plat::MemFile shortRecord(std::vector<std::uint8_t>{7, 0, 0, 0, 1});
    plat::Archive ar(shortRecord, plat::Archive::kLoad);
    CBorderLine kept;
    EXPECT_THROW(kept.Load(ar), plat::ArchiveException);
    EXPECT_EQ(kept, CBorderLine());
}

TEST(TableValues, BorderSetsCompareTheirLinesOnly)
{
    CBorderSet set;
    EXPECT_EQ(set.m_hasInnerHorizontal, 1);
    EXPECT_EQ(set.m_hasInnerVertical, 1);
    for (CBorderLine* line : {&set.m_top, &set.m_innerHorizontal, &set.m_bottom, &set.m_left,
                              &set.m_innerVertical, &set.m_right})
        EXPECT_EQ(*line, CBorderLine());

    CBorderSet flags = set;
    flags.m_hasInnerHorizontal = 0;
    flags.m_hasInnerVertical = 0;
    EXPECT_FALSE(flags != set) << "the flags are not an edit";

    for (CBorderLine CBorderSet::*member : {&CBorderSet::m_top, &CBorderSet::m_innerHorizontal, &CBorderSet::m_bottom,
                                            &CBorderSet::m_left, &CBorderSet::m_innerVertical, &CBorderSet::m_right}) {
        CBorderSet changed = set;
        (changed.*member).m_colour = 0x0000FF;
        EXPECT_TRUE(changed != set);
        changed = set;
        (changed.*member).m_style = kLineDash;
        EXPECT_TRUE(changed != set);
    }
}

TEST(PointList, OwnsItsNodesInOrder)
{
    CPointList list;
    list.AddPoint(10, 20);
    list.AddNode(CPointNode(30, 40, 91));
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetPoint(0), plat::Point(10, 20));
    EXPECT_EQ(list.GetNodeAt(0).m_code, 0);
    EXPECT_EQ(list.GetNodeAt(1).m_code, 91) << "a copied node keeps its hit code";

    // A vertex moved in place stays moved, and its node keeps its address as the list grows.
    CPointNode* vertex = list.GetPointRef(0);
    ASSERT_NE(vertex, nullptr);
    for (int i = 0; i < 100; ++i) list.AddPoint(i, i);
    vertex->m_x = -5;
    EXPECT_EQ(list.GetPoint(0), plat::Point(-5, 20));
    EXPECT_EQ(list.GetPointRef(list.GetCount()), nullptr);
    EXPECT_EQ(list.GetPointRef(-1), nullptr);
    EXPECT_THROW(list.GetPoint(list.GetCount()), std::out_of_range);

    CPointNode node;
    CPointNode copy = node.Assign(CPointNode(1, 2, 40));
    EXPECT_EQ(node.m_code, 40);
    EXPECT_EQ(copy.m_x, 1);

    list.RemoveAll();
    EXPECT_EQ(list.GetCount(), 0);
}
