// Search in a flow, Cyrillic case, annotation and spelling marks, and text blocks copied
// from one flow and pasted into another.
#include <gtest/gtest.h>

#include "document/find_state.h"
#include "document/format_pool.h"
#include "tests/document/text_flow_support.h"

using namespace flowtest;

namespace {

// Every match of the text from index 0, as "start-end" pairs (end excluded).
std::string AllMatches(CTextFlow& flow, const std::u16string& text, int replaceMode = 0)
{
    CFindState state;
    state.m_flow = &flow;
    state.m_findText = text;
    state.m_replaceMode = replaceMode;
    std::string out;
    while (flow.FindNext(state)) {
        int start, end;
        flow.GetSelectionRange(start, end);
        if (!out.empty()) out += ' ';
        out += std::to_string(start) + "-" + std::to_string(end);
        EXPECT_EQ(state.m_pos, end) << "the next search starts right after the match";
        if (out.size() > 200) break;
    }
    return out;
}

} // namespace

TEST(TextFlowSearch, FindsEveryMatchInTurn)
{
    struct Case { const char16_t* flow; bool shown; const char16_t* text; int replaceMode; const char* want; };
    const Case cases[] = {
        {u"abab$", false, u"ab", 0, "0-2 2-4"},        // adjacent matches are both found
        {u"aaaa$", false, u"aa", 0, "0-2 2-4"},
        {u"aaa$", false, u"aa", 0, "0-2"},
        {u"xAbxab$", false, u"ab", 0, "4-6"},          // case-sensitive
        {u"ab|ab$", false, u"b|a", 0, ""},             // never across a paragraph end
        {u"ab|ab$", false, u"b\na", 0, ""},
        {u"a~Xb$", false, u"ab", 0, "0-3"},            // hidden deleted text is passed over
        {u"a~Xb$", false, u"aX", 0, ""},
        {u"a~Xb$", true, u"ab", 0, ""},                // shown, it takes part
        {u"a~Xb$", true, u"aXb", 0, "0-3"},
        {u"a~Xb$", true, u"ab", 1, "0-3"},             // a replace never matches it
        {u"a~Xb$", true, u"aXb", 1, ""},
        {u"~Xab$", false, u"ab", 0, "1-3"},            // a match starts on its first character
        {u"ab$", false, u"", 0, ""},
        {u"ab$", false, u"abc", 0, ""},
        {u"ab$", false, u"b", 0, "1-2"},
        {u"\u4F60\u597D\u3002\u4F60\u597D$", false, u"\u4F60\u597D", 0, "0-2 3-5"},
    };
    for (const Case& c : cases) {
        auto doc = TwoAuthorDoc();
        doc->SetRevisionsShown(c.shown);
        CTextFlow flow(doc.get(), nullptr);
        Fill(flow, c.flow);
        EXPECT_EQ(AllMatches(flow, c.text, c.replaceMode), c.want)
            << plat::Utf16ToUtf8(c.flow) << " / " << plat::Utf16ToUtf8(c.text);
    }
}

TEST(TextFlowSearch, FindNextSkipsFlowsBeforeTheStartingOne)
{
    auto doc = OneAuthorDoc();
    CTextFlow first(doc.get(), nullptr), second(doc.get(), nullptr);
    Fill(first, u"ab$");
    Fill(second, u"xab$");
    CFindState state;
    state.m_findText = u"ab";
    state.m_flow = &second;
    state.m_pos = 2;
    EXPECT_EQ(first.FindNext(state), 0) << "before the starting flow";
    EXPECT_EQ(state.m_started, 0);
    EXPECT_EQ(second.FindNext(state), 0) << "continues from index 2 of the starting flow";
    EXPECT_EQ(state.m_started, 1);
    EXPECT_EQ(first.FindNext(state), 1) << "once started, another flow is searched from 0";
    EXPECT_EQ(state.m_flow, &first);
    EXPECT_EQ(state.m_pos, 2);
    int start, end;
    first.GetSelectionRange(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 2);
}

TEST(TextFlowSearch, CyrillicCase)
{
    struct Case { const char16_t* text; int mode; bool whole; const char16_t* want; };
    const Case cases[] = {
        {u"\u0401\u0436", kCyrillicSwap, true, u"\u0451\u0416"},
        {u"\u0410\u042F\u0401\u0430b", kCyrillicLower, true, u"\u0430\u044F\u0451\u0430b"},
        {u"\u0430\u044F\u0451\u0410B", kCyrillicUpper, true, u"\u0410\u042F\u0401\u0410B"},
        {u"\u0404\u0454", kCyrillicSwap, true, u"\u0404\u0454"},  // only the Russian letters
        {u"\u0410\u0430", 4, true, u"\u0410\u0430"},              // no such mode
        {u"\u0410\u0410\u0410", kCyrillicLower, false, u"\u0410\u0430\u0410"}, // the selection
    };
    for (const Case& c : cases) {
        auto doc = OneAuthorDoc();
        ProbeFlow flow(doc.get(), nullptr);
        Fill(flow, std::u16string(c.text) + u"$");
        flow.SetSelection(At(flow, 1), At(flow, 2));
        flow.ConvertCyrillic(c.mode, c.whole);
        EXPECT_EQ(flow.GetText(0, -1), c.want);
        EXPECT_EQ(flow.lastRelayoutAll, 1);
    }
}

TEST(TextFlowSearch, RemovingAnAnnotationMarkAndSpellingMarks)
{
    auto doc = OneAuthorDoc();
    CTextFlow flow(doc.get(), nullptr);
    Fill(flow, u"abcd$");
    flow.GetItem(0)->SetAnnotation(2);
    flow.GetItem(1)->SetAnnotation(3);
    flow.GetItem(2)->SetAnnotation(2);
    flow.RemoveAnnotationMark(2);
    EXPECT_EQ(flow.GetItem(0)->GetFormat().m_annotation, -1);
    EXPECT_EQ(flow.GetItem(1)->GetFormat().m_annotation, 3);
    EXPECT_EQ(flow.GetItem(2)->GetFormat().m_annotation, -1);
    EXPECT_EQ(flow.GetItem(3)->GetFormat().m_annotation, 0);

    auto* error = reinterpret_cast<CSpellError*>(&flow); // only compared, never used
    for (int i = 0; i < flow.GetCount(); ++i) flow.GetItem(i)->SetMisspelt(error);
    flow.ClearSpellMarks(1, 3);
    std::string marks;
    for (int i = 0; i < flow.GetCount(); ++i) marks += flow.GetItem(i)->GetMisspelt() ? 'x' : '.';
    EXPECT_EQ(marks, "x..xx");
    flow.ClearSpellMarks(0, 0);
    for (int i = 0; i < flow.GetCount(); ++i) EXPECT_EQ(flow.GetItem(i)->GetMisspelt(), nullptr);
}

TEST(TextFlowBlocks, CopyAndPasteBetweenFlowsKeepFormats)
{
    textmodel::PinnedSources pin;
    auto source = TwoAuthorDoc();
    source->SetReference(true);
    CTextFlow from(source.get(), nullptr);
    Fill(from, u"aB~X|cd$");
    CCharFormat red(source.get());
    red.m_color = 0x0000FF;
    red.m_bold = 1;
    from.SetSelection(At(from, 1), At(from, 3));
    from.SetCharFormat(kFieldColor, red);
    from.SetCharFormat(kFieldBold, red);
    CParaEndItem* end = dynamic_cast<CParaEndItem*>(from.GetItem(3));
    CParaFormat indented;
    indented.m_align = 3;
    indented.m_leftIndent = 420;
    end->SetParaFormat(indented);

    from.SetSelection(At(from, 0), At(from, 5));
    std::vector<std::uint8_t> block = from.CopyTextBlock(false);
    ASSERT_FALSE(block.empty());

    auto target = MakeDoc({0, 9});
    CTextFlow to(target.get(), nullptr);
    Fill(to, u"xyz$");
    to.SetSelection(At(to, 1), At(to, 2)); // y goes
    to.PasteTextBlock(block, kArchiveClipboard);
    // The hidden deleted X is not copied; the paragraph end keeps its format but not its
    // name; everything is the target's current author's.
    EXPECT_EQ(Describe(to), "xaB|3cz$1");
    EXPECT_EQ(to.GetCaretPos().m_index, 5);
    EXPECT_EQ(to.GetItem(2)->GetFormat().m_color, 0x0000FF);
    EXPECT_EQ(to.GetItem(2)->GetFormat().m_bold, 1);
    EXPECT_EQ(to.GetItem(1)->GetFormat().m_color, kAutoTextColor);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(to.GetItem(i)->GetFormat().m_insertedBy, 1);
        EXPECT_EQ(to.GetItem(i)->GetTime(), textmodel::kPinnedTime);
    }
    const auto* pasted = dynamic_cast<const CParaEndItem*>(to.GetItem(3));
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->GetParaFormat(), indented);
    EXPECT_NE(pasted->GetName(), end->GetName());
    EXPECT_EQ(target->GetReferencePasteCount(), 1) << "copied in the reference pane";

    // Pasting over another author's text marks it and puts the block after it.
    auto shared = TwoAuthorDoc();
    CTextFlow marked(shared.get(), nullptr);
    Fill(marked, u"PQ$");
    marked.SetSelection(At(marked, 0), At(marked, 2));
    marked.PasteTextBlock(block, kArchiveClipboard);
    EXPECT_EQ(Describe(marked), "!P!QaB|3c$1");
    EXPECT_EQ(AnchorOf(marked).m_index, 2) << "the pasted text runs from the anchor to the caret";
    EXPECT_EQ(marked.GetCaretPos().m_index, 6);
}

TEST(TextFlowBlocks, NoSelectionNoBlock)
{
    auto doc = OneAuthorDoc();
    CTextFlow flow(doc.get(), nullptr);
    Fill(flow, u"ab$");
    flow.SetCaret(At(flow, 1));
    EXPECT_TRUE(flow.CopyTextBlock(true).empty());
}

TEST(TextFlowBlocks, BadBlocksLeaveTheFlowAndItsSelection)
{
    auto doc = OneAuthorDoc();
    CTextFlow from(doc.get(), nullptr);
    Fill(from, u"ab|c$");
    from.SetSelection(At(from, 0), At(from, 4));
    const std::vector<std::uint8_t> block = from.CopyTextBlock(false);
    CFormatPool& pool = CFormatPool::Instance();
    const size_t formats = pool.LiveCount();
    int refused = 0;
    for (size_t n = 0; n < block.size(); ++n) {
        CTextFlow to(doc.get(), nullptr);
        Fill(to, u"xyz$");
        to.SetSelection(At(to, 1), At(to, 2));
        std::vector<std::uint8_t> cut(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_THROW(to.PasteTextBlock(cut, kArchiveClipboard), plat::ArchiveException) << n;
        EXPECT_EQ(Describe(to), "xyz$1") << n;
        EXPECT_TRUE(to.HasSelection()) << n;
        ++refused;
    }
    EXPECT_GT(refused, 10);
    EXPECT_EQ(pool.LiveCount(), formats);

    // A reference flag other than 0 or 1 is no block of ours.
    std::vector<std::uint8_t> flagged = block;
    flagged[0] = 7;
    CTextFlow to(doc.get(), nullptr);
    Fill(to, u"xyz$");
    EXPECT_THROW(to.PasteTextBlock(flagged, kArchiveClipboard), plat::ArchiveException);
    EXPECT_EQ(doc->GetReferencePasteCount(), 0);
}

TEST(TextFlowBlocks, APastedFinalParagraphEndBecomesAPlainOne)
{
    // Copied selections never hold a final paragraph end; a made-up block may.
    auto doc = OneAuthorDoc();
    CTextFlow source(doc.get(), nullptr);
    Fill(source, u"a$");
    const std::vector<std::uint8_t> block = textmodel::Store([&](plat::Archive& ar) {
        ar.WriteI32(0);
        source.WriteTextBlock(ar, 0, 2, false);
    });
    CTextFlow to(doc.get(), nullptr);
    Fill(to, u"xy$");
    to.SetCaret(At(to, 1));
    to.PasteTextBlock(block, kArchiveClipboard);
    EXPECT_EQ(Describe(to), "xa|1y$1");
    EXPECT_EQ(to.GetCaretPos().m_index, 3);
}
