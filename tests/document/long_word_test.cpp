// A body that is one unbroken word of Latin letters fills its lines by cutting the word
// where each line is full. Opening such a file and typing into the word must cost about
// what the same number of Chinese characters costs (each a run of its own), not time that
// grows with the square of the word's length.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "document/doc_body.h"
#include "document/ql_doc.h"
#include "platform/base/system.h"
#include "tests/support/headless_windows.h"

namespace fs = std::filesystem;

namespace {

constexpr int kLength = 200000;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Timings {
    double open = 0;      // opening the file, laid out
    double keystroke = 0; // the median of a few characters typed into the middle
    int pages = 0;
};

// Saves a document whose body is `text`, opens it again and types `typed` into the middle
// of it a few times, each character taken back before the next.
Timings TimeDocument(const std::u16string& text, char16_t typed, const fs::path& file)
{
    {
        CHeadlessWindows window;
        CQlDoc doc(&window, &window);
        doc.FileNew();
        CDocBody& body = *doc.GetBody();
        int at = 0;
        body.InsertString(at, text, body.GetRunningCharFormat());
        EXPECT_EQ(doc.FileSave(plat::Utf8ToUtf16(file.string())), 1);
    }
    CHeadlessWindows window;
    CQlDoc doc(&window, &window);
    doc.FileNew();
    Timings t;
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(doc.FileOpen(plat::Utf8ToUtf16(file.string()), false), 1);
    t.open = SecondsSince(start);
    CDocBody& body = *doc.GetBody();
    EXPECT_EQ(body.GetCount(), kLength + 1) << "the text and the final paragraph end";
    t.pages = body.GetPageCount();

    std::vector<double> samples;
    for (int k = 0; k < 5; ++k) {
        body.SetCaret(CTextPos(kLength / 2, body.GetName()));
        const Clock::time_point typedAt = Clock::now();
        doc.InsertChar(typed);
        samples.push_back(SecondsSince(typedAt));
        EXPECT_EQ(body.GetCount(), kLength + 2);
        body.OnBackspace();
        doc.ClearUndo();
    }
    std::sort(samples.begin(), samples.end());
    t.keystroke = samples[samples.size() / 2];
    return t;
}

TEST(LongWord, OpensAndTakesKeystrokesAsFastAsAsManyChineseCharacters)
{
    const fs::path dir = fs::path(plat::TempDirUtf8()) / "long_word_test";
    fs::create_directories(dir);

    std::u16string latin(kLength, u'a');
    for (int i = 0; i < kLength; ++i) latin[static_cast<std::size_t>(i)] = static_cast<char16_t>(u'a' + i % 26);
    std::u16string chinese(kLength, u'字');
    for (int i = 0; i < kLength; ++i) chinese[static_cast<std::size_t>(i)] = static_cast<char16_t>(u'一' + i % 400);

    // The first large document meets a cold heap (fresh pages for the undo snapshots and
    // the items): the Chinese text is timed before and after the word, and its better
    // figures count.
    const Timings cjkFirst = TimeDocument(chinese, u'文', dir / "chinese.qln");
    const Timings word = TimeDocument(latin, u'x', dir / "word.qln");
    Timings cjk = TimeDocument(chinese, u'文', dir / "chinese.qln");
    cjk.open = std::min(cjk.open, cjkFirst.open);
    cjk.keystroke = std::min(cjk.keystroke, cjkFirst.keystroke);
    std::error_code ec;
    fs::remove_all(dir, ec);

    RecordProperty("word_open_ms", std::to_string(word.open * 1000));
    RecordProperty("word_keystroke_ms", std::to_string(word.keystroke * 1000));
    RecordProperty("chinese_open_ms", std::to_string(cjk.open * 1000));
    RecordProperty("chinese_keystroke_ms", std::to_string(cjk.keystroke * 1000));
    // Both fill many pages; the word is cut into as many lines as its letters need.
    EXPECT_GT(word.pages, 10);
    EXPECT_GT(cjk.pages, 10);
    // Walking the rest of the word again for each line made both take some fifty times as
    // long as the Chinese text.
    EXPECT_LT(word.open, 2.5 * cjk.open + 0.05) << "word " << word.open << " s, Chinese " << cjk.open << " s";
    EXPECT_LT(word.keystroke, 5 * cjk.keystroke + 0.01)
        << "word " << word.keystroke << " s, Chinese " << cjk.keystroke << " s";
}

} // namespace
