// Editing a text flow: scripted insertions and deletions under one and two authors,
// paragraph joins, symbols, page breaks, character formats and the reflow range.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/document/text_flow_support.h"

using namespace flowtest;

namespace {

// Script tokens, separated by spaces:
//   C<n>      caret and anchor to n           S<c>,<a>  caret c, anchor a
//   D         OnDelete                        B         OnBackspace
//   X         DeleteSelection                 I<text>   InsertItemsAtCaret, then collapse
//   R / H     revisions shown / hidden                  ('|' in the text is a line end)
void RunScript(CTextFlow& flow, CQlDoc& doc, const std::string& script)
{
    std::istringstream in(script);
    std::string tok;
    while (in >> tok) {
        switch (tok[0]) {
        case 'C': flow.SetCaret(At(flow, std::stoi(tok.substr(1)))); break;
        case 'S': {
            size_t comma = tok.find(',');
            flow.SetSelection(At(flow, std::stoi(tok.substr(1, comma - 1))), At(flow, std::stoi(tok.substr(comma + 1))));
            break;
        }
        case 'D': flow.OnDelete(); break;
        case 'B': flow.OnBackspace(); break;
        case 'X': flow.DeleteSelection(); break;
        case 'R': doc.SetRevisionsShown(true); break;
        case 'H': doc.SetRevisionsShown(false); break;
        case 'I': {
            std::u16string text = plat::Utf8ToUtf16(tok.substr(1));
            for (char16_t& c : text)
                if (c == u'|') c = u'\r';
            flow.InsertItemsAtCaret(text);
            flow.SetCaret(flow.GetCaretPos());
            break;
        }
        default: FAIL() << "bad token " << tok;
        }
    }
}

struct ScriptCase {
    bool twoAuthors;
    const char16_t* start;
    const char* script;
    const char* want;
    int caret;
    int anchor;
};

} // namespace

TEST(TextFlowEditing, ScriptedDeletionsFollowTheRevisionRule)
{
    const ScriptCase cases[] = {
        // One author: everything deleted goes; paragraph joins keep the first format.
        {false, u"abc$", "C1 D", "ac$1", 1, 1},
        {false, u"abc$", "C1 B", "bc$1", 0, 0},
        {false, u"abc$", "C0 B", "abc$1", 0, 0},                  // backspace at the start
        {false, u"abc$", "C3 D", "abc$1", 3, 3},                  // delete at the final end
        {false, u"abc$", "C3 B B D", "a$1", 1, 1},
        {false, u"ab|cd$", "C2 D", "abcd$1", 2, 2},               // forward join
        {false, u"ab|cd$", "C3 B", "abcd$1", 2, 2},               // backward join
        {false, u"ab|cd/ef$", "C5 D", "ab|1cdef$2", 5, 5},
        {false, u"ab|cd/ef$", "C6 B", "ab|1cdef$2", 5, 5},
        {false, u"abcdef$", "S1,4 X", "aef$1", 1, 1},
        {false, u"ab|cd$", "S1,4 X", "ad$2", 1, 1},               // a selection join takes no format
        {false, u"abc$", "S2,0 D", "c$1", 0, 0},
        {false, u"abc$", "S0,2 B", "c$1", 0, 0},
        {false, u"abc$", "S0,2 Ixy", "xyc$1", 2, 2},
        {false, u"abc$", "C1 I|", "a|0bc$1", 2, 2},                // a typed line end has no format
        {false, u"abc$", "S3,0 X", "$1", 0, 0},                   // the final end stays
        // Two authors: the other author's text (upper case) is marked by the current one
        // (record 2, '!'); the current author's own text goes.
        {true, u"ABc$", "C1 D", "A!Bc$1", 2, 2},                  // forward: passed over
        {true, u"ABc$", "C2 B", "A!Bc$1", 1, 1},                  // backward: caret before it
        {true, u"aBc$", "C0 D D D", "!B$1", 1, 1},
        {true, u"aBc$", "C3 B B B", "!B$1", 0, 0},
        {true, u"aBcD$", "S0,4 X", "!B!D$1", 2, 2},
        {true, u"aBcD$", "S4,0 D", "!B!D$1", 2, 2},
        {true, u"AB|cd$", "C2 D", "ABcd$1", 2, 2},                // paragraph ends always go
        {true, u"AB|CD$", "C3 B", "ABCD$1", 2, 2},
        {true, u"aB|Cd$", "S1,5 X", "a!B!C$2", 3, 3},
        {true, u"ABC$", "C0 D D D", "!A!B!C$1", 3, 3},
        {true, u"ABC$", "C3 B B B", "!A!B!C$1", 0, 0},
        // Hidden deleted text is stepped over; shown, it is passed over but not re-marked.
        {true, u"a~Xb$", "C1 D", "a~X$1", 2, 2},
        {true, u"a~Xb$", "C2 B", "~Xb$1", 0, 0},
        {true, u"~Xb$", "C1 B", "~Xb$1", 0, 0},                    // only hidden text before
        {true, u"a~Xb$", "R C1 D", "a~Xb$1", 2, 2},
        {true, u"a~Xb$", "R C2 B", "a~Xb$1", 1, 1},
        {true, u"a~X~Yb$", "S1,3 D", "a~X~Y$1", 3, 3},             // a hidden selection is none
        {true, u"a~X~Yb$", "R S1,3 D", "a~X~Yb$1", 3, 3},          // shown, it is one
        {true, u"a~X|b$", "C1 D", "a~Xb$1", 2, 2},                 // skip, then join
        // Typing and deleting again under two authors.
        {true, u"AB$", "C1 Ixy C3 B B", "AB$1", 1, 1},
        {true, u"AB$", "S0,2 Ixy", "!A!Bxy$1", 4, 4},
    };
    for (const ScriptCase& c : cases) {
        auto doc = c.twoAuthors ? TwoAuthorDoc() : OneAuthorDoc();
        CTextFlow flow(doc.get(), nullptr);
        Fill(flow, c.start);
        RunScript(flow, *doc, c.script);
        SCOPED_TRACE(plat::Utf16ToUtf8(c.start) + " / " + c.script);
        EXPECT_EQ(Describe(flow), c.want);
        EXPECT_EQ(flow.GetCaretPos(), At(flow, c.caret));
        EXPECT_EQ(AnchorOf(flow), At(flow, c.anchor));
    }
}

TEST(TextFlowEditing, TextGoesOnlyWhenNoOtherAuthorEditedSinceItWasTyped)
{
    textmodel::PinnedSources pin;
    struct Case { std::vector<int> ids; std::int16_t typedBy; bool removed; };
    const Case cases[] = {
        {{0, 5, 7, 7}, 2, true},   // records 2 and 3 are the same author
        {{0, 5, 7, 7}, 1, false},
        {{0, 7, 5, 7}, 1, false},  // the same id later, but another author between
        {{0, 7, 7, 7}, 1, true},
        {{0, 5, 7}, 2, true},
        {{0, 5, 7}, 0, false},     // the anonymous first record, then others
        {{3, 3}, 0, true},         // two visits of one author
        {{0, 5, 7}, 9, false},     // an index outside the table cannot be vouched for
    };
    for (const Case& c : cases) {
        auto doc = MakeDoc(c.ids);
        CTextFlow flow(doc.get(), nullptr);
        Fill(flow, u"x$");
        flow.GetItem(0)->SetInsertedBy(c.typedBy);
        flow.OnDelete();
        SCOPED_TRACE(c.typedBy);
        if (c.removed) {
            EXPECT_EQ(Describe(flow), "$1");
        } else {
            const std::int16_t current = doc->GetCurAuthorIndex();
            EXPECT_EQ(flow.GetItem(0)->GetFormat().m_deletedBy, current);
            EXPECT_EQ(flow.GetItem(0)->GetTime(), textmodel::kPinnedTime) << "a mark is stamped with the time";
            EXPECT_EQ(flow.GetItem(0)->GetFormat().m_insertedBy, c.typedBy);
        }
    }
}

TEST(TextFlowEditing, WithoutAnAuthorTableDeletedTextGoes)
{
    // A mark by record 0 would mark nothing and leave the text undeletable.
    auto empty = MakeDoc({});
    auto noCurrent = MakeDoc({0, 5, 7});
    noCurrent->SetCurAuthorIndex(0);
    for (CQlDoc* doc : {empty.get(), noCurrent.get(), static_cast<CQlDoc*>(nullptr)}) {
        CTextFlow flow(doc, nullptr);
        Fill(flow, u"aBc$");
        flow.SetCaret(At(flow, 1));
        flow.OnDelete();
        flow.OnBackspace();
        EXPECT_EQ(Describe(flow), "c$1");
        EXPECT_EQ(flow.GetCaretPos().m_index, 0);
    }
}

TEST(TextFlowEditing, SelectionQueries)
{
    auto doc = TwoAuthorDoc();
    CTextFlow flow(doc.get(), nullptr);
    Fill(flow, u"a~X~Yb$");
    int start = -1, end = -1;

    flow.SetCaret(At(flow, 2));
    EXPECT_FALSE(flow.HasSelection());
    flow.GetSelectionRange(start, end);
    EXPECT_EQ(start, 2);
    EXPECT_EQ(end, 3) << "equal ends give the one item at the caret";

    flow.SetSelection(At(flow, 3), At(flow, 1));
    flow.GetSelectionRange(start, end);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 3);
    EXPECT_FALSE(flow.HasSelection()) << "only hidden deleted items";
    EXPECT_EQ(flow.GetSelectedText(), u"");
    doc->SetRevisionsShown(true);
    EXPECT_TRUE(flow.HasSelection());
    EXPECT_EQ(flow.GetSelectedText(), u"XY");
    doc->SetRevisionsShown(false);
    flow.SetSelection(At(flow, 0), At(flow, 4));
    EXPECT_TRUE(flow.HasSelection());
    EXPECT_EQ(flow.GetSelectedText(), u"ab");

    // Positions stay within the flow and count in it.
    flow.SetCaret(CTextPos(99, u"elsewhere"));
    EXPECT_EQ(flow.GetCaretPos(), At(flow, 4)) << "the final paragraph end at the latest";
    flow.SetSelection(CTextPos(-4, u""), CTextPos(3, u""));
    CTextPos caret, anchor;
    flow.GetSelectionPositions(caret, anchor);
    EXPECT_EQ(caret, At(flow, 0));
    EXPECT_EQ(anchor, At(flow, 3));
    EXPECT_EQ(flow.GetStartPos(), At(flow, 0));
    EXPECT_EQ(flow.GetEndPos(), At(flow, 4));

    // Deleting forward needs an item before the final end; backward, a caret past 0.
    flow.SetCaret(At(flow, 4));
    EXPECT_FALSE(flow.CanDeleteForward());
    EXPECT_TRUE(flow.CanDeleteBackward());
    flow.SetCaret(At(flow, 0));
    EXPECT_TRUE(flow.CanDeleteForward());
    EXPECT_FALSE(flow.CanDeleteBackward());
    flow.SetSelection(At(flow, 0), At(flow, 4));
    EXPECT_TRUE(flow.CanDeleteBackward());

    EXPECT_TRUE(flow.IsNotEmpty());
    CTextFlow empty(doc.get(), nullptr);
    empty.AppendFinalParaEnd();
    empty.AppendFinalParaEnd();
    EXPECT_EQ(empty.GetCount(), 1) << "one final paragraph end";
    EXPECT_TRUE(empty.IsEmpty());
    empty.OnDelete();
    empty.OnBackspace();
    empty.DeleteSelection();
    EXPECT_EQ(empty.GetCount(), 1);
}

TEST(TextFlowEditing, InsertingTakesTheRunningFormatAndLeavesTheAnchor)
{
    auto doc = TwoAuthorDoc();
    ProbeFlow flow(doc.get(), nullptr);
    Fill(flow, u"AB$");
    CCharFormat bold(flow.GetRunningCharFormat());
    bold.m_bold = 1;
    flow.SetRunningCharFormat(bold);
    flow.SetCaret(At(flow, 1));
    flow.InsertItemsAtCaret(u"xy");
    EXPECT_EQ(Describe(flow), "AxyB$1");
    EXPECT_EQ(flow.GetCaretPos().m_index, 3);
    EXPECT_EQ(AnchorOf(flow).m_index, 1) << "callers collapse the selection";
    EXPECT_EQ(flow.GetItem(1)->GetFormat().m_bold, 1);
    EXPECT_EQ(flow.GetItem(1)->GetFormat().m_insertedBy, 2);
    EXPECT_EQ(flow.relayouts, 1);
    EXPECT_EQ(flow.lastRelayoutAll, 0);
}

TEST(TextFlowEditing, PageBreakReplacesTheSelection)
{
    auto doc = OneAuthorDoc();
    ProbeFlow flow(doc.get(), nullptr);
    Fill(flow, u"abcd$");
    CCharFormat f(flow.GetRunningCharFormat());
    f.m_size = 320;
    flow.SetRunningCharFormat(f);
    flow.SetSelection(At(flow, 1), At(flow, 3));
    flow.InsertPageBreak();
    EXPECT_EQ(Describe(flow), "a/0d$1");
    EXPECT_EQ(flow.GetCaretPos().m_index, 2);
    EXPECT_FALSE(flow.HasSelection());
    const auto* end = dynamic_cast<const CParaEndItem*>(flow.GetItem(1));
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(end->GetFormat().m_size, 320);
    EXPECT_EQ(end->GetParaFormat(), CParaFormat());
    EXPECT_EQ(end->GetTime(), 0);
    EXPECT_EQ(flow.relayouts, 1);
}

TEST(TextFlowEditing, InsertSymbolSetsAndResetsThePosition)
{
    struct Case { int id; std::u16string codes; std::string positions; };
    const Case cases[] = {
        {40001, u"2", "1"}, {40002, u"3", "1"}, {40003, u"4", "1"},
        {40004, u"0", "2"}, {40005, u"1", "2"}, {40006, u"2", "2"}, {40007, u"3", "2"},
        {40008, u"m2", "01"}, {40009, u"m3", "01"},
        {40010, u"\u00AE", "2"},   // no position of its own: the running one (2 here)
        {40011, u"\u00AE", "1"}, {40012, u"\u00A9", "2"}, {40013, u"\u2122", "2"},
        {40014, u"\u2030", "2"}, {40015, u"\u00B0", "2"}, {40016, u"\u2032", "2"},
        {40017, u"\u2033", "2"},
        {40000, u"", ""}, {40018, u"", ""},
    };
    for (const Case& c : cases) {
        auto doc = OneAuthorDoc();
        CTextFlow flow(doc.get(), nullptr);
        Fill(flow, u"ab$");
        CCharFormat sub(flow.GetRunningCharFormat());
        sub.m_position = 2;
        flow.SetRunningCharFormat(sub);
        flow.SetSelection(At(flow, 0), At(flow, 1));
        flow.InsertSymbol(c.id);
        SCOPED_TRACE(c.id);
        if (c.codes.empty()) {
            EXPECT_EQ(Describe(flow), "ab$1") << "an unknown id leaves even the selection";
            EXPECT_TRUE(flow.HasSelection());
            continue;
        }
        std::string positions;
        std::u16string codes;
        for (int i = 0; i + 2 < flow.GetCount(); ++i) {
            codes += flow.GetItem(i)->GetCode();
            positions += static_cast<char>('0' + flow.GetItem(i)->GetFormat().m_position);
        }
        EXPECT_EQ(codes, c.codes);
        EXPECT_EQ(positions, c.positions);
        EXPECT_EQ(flow.GetItem(flow.GetCount() - 2)->GetCode(), u'b') << "the selected a was replaced";
        EXPECT_FALSE(flow.HasSelection());
        const bool positioned = c.positions.find('1') != std::string::npos || c.id <= 40007;
        EXPECT_EQ(flow.GetRunningCharFormat().m_position, positioned ? 0 : 2);
        if (positioned) {
            EXPECT_EQ(doc->GetFormatState()->m_charFormat.m_position, 0);
        }
    }
}

TEST(TextFlowEditing, SetCharFormatAppliesToTheSelectionAndTheRunningFormat)
{
    auto doc = OneAuthorDoc();
    ProbeFlow flow(doc.get(), nullptr);
    Fill(flow, u"abcd$");
    CCharFormat values(doc.get());
    values.m_color = 0x0000FF;
    values.m_bold = 1;

    flow.SetCaret(At(flow, 1));
    flow.SetCharFormat(kFieldColor, values);
    EXPECT_EQ(flow.relayouts, 0) << "no selection: only the running format";
    EXPECT_EQ(flow.GetRunningCharFormat().m_color, 0x0000FF);
    EXPECT_EQ(flow.GetItem(1)->GetFormat().m_color, kAutoTextColor);
    EXPECT_EQ(doc->GetFormatState()->m_charFormat, flow.GetRunningCharFormat());

    flow.SetSelection(At(flow, 3), At(flow, 1));
    flow.SetCharFormat(kFieldBold, values);
    std::string bold;
    for (int i = 0; i < flow.GetCount(); ++i) bold += static_cast<char>('0' + flow.GetItem(i)->GetFormat().m_bold);
    EXPECT_EQ(bold, "01100");
    EXPECT_EQ(flow.GetItem(1)->GetFormat().m_color, kAutoTextColor) << "one field only";
    EXPECT_EQ(flow.relayouts, 1);
    EXPECT_EQ(flow.GetRunningCharFormat().m_bold, 1);
    EXPECT_EQ(doc->GetFormatState()->m_charFormat.m_bold, 1);
}

TEST(TextFlowEditing, ReflowRangeSpansTwoParagraphsBackAndOneAhead)
{
    auto doc = OneAuthorDoc();
    CTextFlow flow(doc.get(), nullptr);
    // Paragraph ends at 1, 3, 5, 7 and 9; the final end at 11.
    Fill(flow, u"a|b|c/d|e|f$");
    struct Case { int pos; int start; int end; };
    const Case cases[] = {
        {10, 6, 12}, // three ends back from 9 (9, 7, 5): after 5; fewer than two ahead
        {8, 4, 12},  // back from 7: 7, 5, 3; ahead from 9: only 9
        {6, 2, 10},  // 5, 3, 1 back: after 1 is 2; ahead from 7: 7, 9
        {4, 0, 8},   // back from 3: fewer than three
        {0, 0, 4},   // ahead from 1: 1, 3
        {1, 0, 6},   // ahead from 2: 3, 5
        {11, 6, 12}, // from the final end
    };
    for (const Case& c : cases) {
        EXPECT_EQ(flow.GetReflowStart(At(flow, c.pos)), c.start) << c.pos;
        EXPECT_EQ(flow.GetReflowEnd(At(flow, c.pos)), c.end) << c.pos;
    }
    EXPECT_EQ(flow.GetReflowStart(At(flow, 1000)), 6) << "a position past the end counts from the end";
    EXPECT_EQ(flow.GetReflowEnd(At(flow, -50)), 4);
}
