// Line layout: the steps with which a flow turns its items into placed lines. Every
// driver (the page body, text frames, table cells) runs them in one order over a range
// of items: MeasureItems, MarkBreaks, then line by line MeasureRun (FillLine for a run
// wider than the line) and PlaceLine for the items chosen. All lengths are twips.
#pragma once
#include <cstdint>
#include <utility>
#include <vector>

#include "document/format_pool.h"

class CNamedContainer;
class CTextItem;
class CCharWidthCache;

// How a run or a line ended.
enum BreakKind : int {
    kBreakFinal = 0, // with the final paragraph end (0xFF11), or at the end of the items
    kBreakPara = 1,  // with a paragraph end (0xFF12)
    kBreakPage = 2,  // with a paragraph end followed by a page break (0xFF10)
    kBreakWord = 3,  // before an item that starts a new run; the paragraph goes on
};

// How a line ends with a paragraph end of the given item type.
int BreakKindOfEnd(std::uint16_t paraEndType);

// Alignment codes of the paragraph format.
enum LineAlign : int {
    kAlignLeft = 1,
    kAlignRight = 2,
    kAlignCentre = 3,
    kAlignJustify = 4,
};

// What MeasureRun and FillLine report: the run's width, its tallest item and largest
// ascent, how it ended and how many of its items are spaces and other items.
struct CRunMeasure {
    int width = 0;
    int height = 0;
    int ascent = 0;
    int kind = kBreakWord;
    int nonSpaces = 0;
    int spaces = 0;

    // Adds a run behind this one on the same line: widths and counts add up, the line
    // takes the larger ascent and a height of at least that ascent plus the larger part
    // below the baseline.
    void Append(const CRunMeasure& run);
};

// The arguments of PlaceLine for the items from..to-1 of one line.
struct CLinePlacement {
    bool all = true;         // laying out everything: never stop early
    int reflowEnd = 0;       // a partial layout may stop once past this index
    int from = 0;
    int to = 0;
    CRunMeasure line;        // width, height of the line box, ascent, kind and counts
    bool paraStart = false;  // the line begins a paragraph
    int x = 0;               // left edge of the line
    int lineTop = 0;         // top of the line box
    int alignment = kAlignLeft;
    int available = 0;       // width the line may fill
};

// What laying out a frame's column gives back.
struct CColumnLayout {
    int contentHeight = 0; // bottom of the last line, from the top of the column
    int lineBreaks = 0;    // lines ended by a wrap or a paragraph end (not the final line)
    int gap = 0;           // between lines
    int nextLineTop = 0;   // where a line after the last would start
};

class CLineLayout {
public:
    // Works on the container's items with the width cache of its document; whether
    // deleted items show is taken from the document once, here.
    explicit CLineLayout(CNamedContainer& box);
    CLineLayout(CNamedContainer& box, CCharWidthCache& cache);

    // Measures items from..to-1 with the rules for leading spaces (full width at the
    // start of a paragraph) and doubled Chinese punctuation (the inner one of a pair is
    // halved); paragraph ends take the format of the last visible character before them.
    void MeasureItems(int from, int to);
    // Sets the break-before flag of items from..to-1 by character class.
    void MarkBreaks(int from, int to);
    // One unbreakable run from `from`: returns the index after it. Where FillLine cut the
    // run last walked, the rest of it is answered from that walk: each run is walked once
    // however many lines it fills.
    int MeasureRun(int from, CRunMeasure& run) const;
    // The leading part of an over-wide run that fits in maxWidth (at least one item):
    // marks a break before the first item that does not fit and returns its index. A
    // paragraph end reached before that ends the line with it, with its kind.
    int FillLine(int from, CRunMeasure& line, int maxWidth);
    // Places one line's items with alignment, justification and a common baseline.
    // Returns 1 when a partial layout found the rest already in place, else 0.
    int PlaceLine(const CLinePlacement& p);

    // Lays out every item in one column of the given width from (0, 0), with one
    // alignment and line-spacing code for all paragraphs and lines spaced by 2.1 times
    // the spacing gap: the lines of a text frame. The range from..to is measured and
    // broken first; placing always covers all items.
    CColumnLayout LayOutColumn(int from, int to, int width, int alignment, int spacing);

private:
    class LinePlacer;

    // The run MeasureRun walked last, and once a line was cut inside it, the measure of
    // its tail from the cut: each further cut takes the items before it off that measure,
    // so that the rest of a run wider than many lines is not walked again for every line.
    struct LastRun {
        int from = -1;
        int next = -1;          // the index after it
        int kind = kBreakWord;
        int count = 0;          // the item count it was walked with
        int lastBreak = -1;     // its last visible item with a break before it
        int keptFrom = 0;       // its items from here on are still as walked
        int tailAt = -1;        // the tail measured below starts here (none while < 0)
        std::int64_t width = 0; // the tail's width, not saturated
        int nonSpaces = 0;
        int spaces = 0;
        int height = 0;
        int ascent = 0;
        int heightAt = 0;       // the tail's last item of that height
        int ascentAt = 0;       // and of that ascent
        // For tails that start past those: the largest height and ascent of each tail
        // from maximaFrom on.
        int maximaFrom = -1;
        std::vector<std::pair<int, int>> maxima;
    };

    bool Hidden(const CTextItem* item) const;
    bool IsLeadingSpace(int index) const;
    // The measure of the last run's tail from `from`, when that is what MeasureRun would find.
    bool LastRunTail(int from, CRunMeasure& run) const;
    // Measures the last run's tail from `from` afresh.
    void WalkTail(int from) const;
    // Takes the items from the measured tail's start to `to` off its measure.
    void ShortenTail(int to) const;
    // Items before `index` are about to change: the last run's tails that start before it
    // no longer hold.
    void KeepTailsFrom(int index);

    CNamedContainer& m_box;
    CCharWidthCache& m_cache;
    bool m_showDeleted;
    // The format Hidden looked at last and whether it marks a deletion. Items come in long
    // stretches of one format; the reference keeps its handle from going to another
    // format meanwhile.
    mutable CFormatRef m_hiddenFormat;
    mutable bool m_hiddenDeleted;
    mutable LastRun m_last;
};
