// What a document holds, counted in one walk over the body, its items and its objects.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/base/strings.h"

class CStatistics {
public:
    // The counters, in the order the dialogs and the automation methods use.
    enum Counter : int {
        kChinese = 0, // items of type 0xFF1A
        kLetters,     // Western items whose code is a-z or A-Z
        kWords,       // maximal runs of letters and apostrophes
        kSpaces,      // spaces that do not begin a paragraph
        kSymbols,     // other Western items and CJK punctuation
        kParagraphs,  // paragraph ends other than the final one
        kAudio,
        kVideo,
        kImages,
        kCharts,
        kTables,
        kGraphics,    // nothing adds to it
        kPages,
        kCounterCount,
    };

    CStatistics() { m_count.fill(0); }
    virtual ~CStatistics() = default;

    std::int32_t& operator[](Counter c) { return m_count[c]; }
    std::int32_t operator[](Counter c) const { return m_count[c]; }

private:
    std::array<std::int32_t, kCounterCount> m_count;
};

// One row of the word-count dialog: its label and the record it shows (not owned).
struct CStatisticsRow {
    plat::String label;
    const CStatistics* stats = nullptr;
};

// The word-count dialog the body's word count shows its rows in. The editor installs its
// dialog here (a test installs its own); without one the rows are counted and not shown.
using WordCountDialog = std::function<void(const std::vector<CStatisticsRow>&)>;
void SetWordCountDialog(WordCountDialog dialog);
void ShowWordCount(const std::vector<CStatisticsRow>& rows);
