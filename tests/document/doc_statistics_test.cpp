// The counts of a whole body and the word count of the selection or of the caret's
// position and paragraph, on small documents.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "document/statistics.h"
#include "tests/document/page_body_support.h"

namespace {

using pagebody::BodyTest;

// The text counters of one record, in the dialogs' order.
struct TextCounts {
    int chinese, letters, words, spaces, symbols, paragraphs;
    bool operator==(const TextCounts&) const = default;
};

TextCounts TextCountsOf(const CStatistics& s)
{
    return {s[CStatistics::kChinese], s[CStatistics::kLetters], s[CStatistics::kWords],
            s[CStatistics::kSpaces],  s[CStatistics::kSymbols], s[CStatistics::kParagraphs]};
}

std::ostream& operator<<(std::ostream& out, const TextCounts& c)
{
    return out << "{chinese " << c.chinese << ", letters " << c.letters << ", words " << c.words << ", spaces "
               << c.spaces << ", symbols " << c.symbols << ", paragraphs " << c.paragraphs << "}";
}

// A row of the word count as shown: its label and text counters.
struct Row {
    std::string label;
    TextCounts counts;
    bool operator==(const Row&) const = default;
};

void PrintTo(const Row& r, std::ostream* out)
{
    *out << r.label << " " << r.counts;
}

// A drawn shape that counts as the kind of object it stands for.
class CountedObject : public objtest::CTestObject {
public:
    CountedObject(CDocContext* doc, CStatistics::Counter counter) : CTestObject(doc, nullptr), m_counter(counter) {}
    void CountStatistics(CStatistics& stats) const override { ++stats[m_counter]; }

private:
    CStatistics::Counter m_counter;
};

class DocStatisticsTest : public BodyTest {
protected:
    void TearDown() override
    {
        SetWordCountDialog({});
        BodyTest::TearDown();
    }
    // A new document holding the text ('\r' ends a paragraph, '\f' a paragraph and its
    // page), laid out.
    void Use(const std::u16string& text)
    {
        doc.Reset();
        UsePage(pagebody::kSmallMargins, pagebody::kSmallPaper);
        Append(text);
    }
    CStatistics Count() const
    {
        CStatistics s;
        body().CountStatistics(s);
        return s;
    }
    std::vector<Row> WordCount() const
    {
        std::vector<Row> shown;
        bool called = false;
        SetWordCountDialog([&](const std::vector<CStatisticsRow>& rows) {
            called = true;
            for (const CStatisticsRow& r : rows) shown.push_back({plat::Utf16ToUtf8(r.label), TextCountsOf(*r.stats)});
        });
        body().OnWordCount();
        EXPECT_TRUE(called);
        return shown;
    }
};

TEST_F(DocStatisticsTest, WholeDocumentCounts)
{
    struct Case {
        const char* what;
        std::u16string text;
        std::initializer_list<int> deleted; // items deleted in revision view
        TextCounts counts;
        int pages;
    };
    const Case cases[] = {
        {"two words, one space; the final end is no paragraph", u"hello world", {}, {0, 10, 2, 1, 0, 0}, 1},
        {"a contraction is one word, its apostrophe a symbol", u"don't", {}, {0, 4, 1, 0, 1, 0}, 1},
        {"leading spaces are not counted", u"  ab cd\r   ef", {}, {0, 6, 3, 1, 0, 1}, 1},
        {"full-width digit and Chinese", u"１中", {}, {1, 0, 0, 0, 1, 0}, 1},
        {"both paragraph ends count; a page break adds a page", u"ab\fcd\ref", {}, {0, 6, 3, 0, 0, 2}, 2},
        {"deleted text shown in revision view", u"ab cd, ef", {2, 3, 4, 5}, {0, 4, 2, 1, 0, 0}, 1},
        {"a deleted paragraph end", u"ab\rcd", {2}, {0, 4, 1, 0, 0, 0}, 1},
        {"an empty document", u"", {}, {0, 0, 0, 0, 0, 0}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Use(c.text);
        for (int i : c.deleted) body().GetItem(i)->SetDeletedBy(1);
        doc.SetRevisionsShown(c.deleted.size() > 0);
        const CStatistics s = Count();
        EXPECT_EQ(TextCountsOf(s), c.counts);
        EXPECT_EQ(s[CStatistics::kPages], c.pages);
        EXPECT_EQ(s[CStatistics::kPages], body().GetPageCount());
        for (CStatistics::Counter none : {CStatistics::kAudio, CStatistics::kVideo, CStatistics::kImages,
                                          CStatistics::kCharts, CStatistics::kTables, CStatistics::kGraphics})
            EXPECT_EQ(s[none], 0) << none;
    }
}

TEST_F(DocStatisticsTest, EachObjectAddsWhatItsOwnSlotAdds)
{
    Use(u"ab");
    body().AddObject(std::make_unique<CountedObject>(&doc, CStatistics::kImages));
    body().AddObject(std::make_unique<CountedObject>(&doc, CStatistics::kTables));
    body().AddObject(std::make_unique<CountedObject>(&doc, CStatistics::kImages));
    AddObject(plat::Rect(1000, 1000, 2000, 2000)); // a drawn shape: adds nothing
    CStatistics s;
    s[CStatistics::kImages] = 1; // counting adds to what the record holds
    body().CountStatistics(s);
    EXPECT_EQ(s[CStatistics::kImages], 3);
    EXPECT_EQ(s[CStatistics::kTables], 1);
    EXPECT_EQ(s[CStatistics::kGraphics], 0);
    EXPECT_EQ(s[CStatistics::kLetters], 2);
    EXPECT_EQ(s[CStatistics::kPages], 1);
}

TEST_F(DocStatisticsTest, SelectedObjectCountIsTheBodysSelection)
{
    Use(u"ab");
    EXPECT_EQ(doc.GetSelectedObjectCount(), 0);
    objtest::CTestObject* a = AddObject(plat::Rect(1000, 1000, 1500, 1500));
    AddObject(plat::Rect(2000, 1000, 2500, 1500));
    objtest::CTestObject* c = AddObject(plat::Rect(3000, 1000, 3500, 1500));
    EXPECT_EQ(doc.GetSelectedObjectCount(), 0);
    a->SetSelected(true);
    c->SetSelected(true);
    EXPECT_EQ(doc.GetSelectedObjectCount(), 2);
    body().DeselectAll();
    EXPECT_EQ(doc.GetSelectedObjectCount(), 0);
    CQlDoc bare;
    EXPECT_EQ(bare.GetSelectedObjectCount(), 0) << "no body";
}

// "ab cd|  ef gh|ij": a0 b1 _2 c3 d4 |5 _6 _7 e8 f9 _10 g11 h12 |13 i14 j15, final end 16.
TEST_F(DocStatisticsTest, WordCountOfThePositionAndParagraphOrOfTheSelection)
{
    struct Case {
        const char* what;
        int anchor, caret;
        std::vector<Row> rows;
    };
    const Case cases[] = {
        {"inside the second paragraph", 10, 10,
         {{"当前位置", {0, 6, 3, 1, 0, 1}}, {"当前段落", {0, 4, 2, 1, 0, 1}}}},
        {"on a paragraph end: it closes the caret's paragraph", 5, 5,
         {{"当前位置", {0, 4, 2, 1, 0, 0}}, {"当前段落", {0, 4, 2, 1, 0, 1}}}},
        {"at the start of a paragraph", 6, 6,
         {{"当前位置", {0, 4, 2, 1, 0, 1}}, {"当前段落", {0, 4, 2, 1, 0, 1}}}},
        {"at the start of the document", 0, 0,
         {{"当前位置", {0, 0, 0, 0, 0, 0}}, {"当前段落", {0, 4, 2, 1, 0, 1}}}},
        {"in the last paragraph, which the final end closes", 15, 15,
         {{"当前位置", {0, 9, 5, 2, 0, 2}}, {"当前段落", {0, 2, 1, 0, 0, 0}}}},
        {"at the final end", 16, 16,
         {{"当前位置", {0, 10, 5, 2, 0, 2}}, {"当前段落", {0, 2, 1, 0, 0, 0}}}},
        {"a selection made backwards", 12, 3, {{"当前选择", {0, 5, 3, 1, 0, 1}}}},
        {"a selection made forwards", 3, 12, {{"当前选择", {0, 5, 3, 1, 0, 1}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Use(u"ab cd\r  ef gh\rij");
        Select(c.anchor, c.caret);
        EXPECT_EQ(WordCount(), c.rows);
    }
}

} // namespace
