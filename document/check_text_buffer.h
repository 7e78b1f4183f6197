// One run of text for the outside sentence checker: the characters it may see, the item
// each came from, and where each starts in the run's code page 936 form, so that the
// checker's findings (a character index and a length in bytes) map back to items.
#pragma once
#include <array>
#include <cstdint>

#include "platform/base/strings.h"

class CCheckTextBuffer {
public:
    // The run is handed over as code page 936 text in a 256-byte block with its 0, so
    // it stays below 256 bytes.
    static constexpr int kMaxChars = 256;
    static constexpr int kMaxBytes = 256;

    // What GetRun finds: the text and the items from start up to (not including) end.
    struct Run {
        plat::String text;
        int start = 0;
        int end = 0;
    };

    void Reset();
    // Takes the space, the letters A-Z and a-z and the Chinese characters that code page
    // 936 can write (U+4E00-U+9FA5), with the item index it came from. 0 when the
    // character was refused or the run is now full (no room for another character of
    // two bytes); 1 while there is room.
    int Add(char16_t c, int source);
    int GetLength() const { return m_length; }
    int GetByteCount() const { return m_bytes; }
    plat::StringView GetText() const { return plat::StringView(m_chars.data(), static_cast<size_t>(m_length)); }
    // The item index of character i (0 <= i < length).
    int GetSource(int i) const { return m_sources[static_cast<size_t>(i)]; }
    // The characters from character index `start` on whose bytes reach `byteLength`; a
    // length that ends inside a character takes it whole. A start outside the run gives
    // an empty run at item 0.
    Run GetRun(int start, int byteLength) const;

private:
    std::array<char16_t, kMaxChars> m_chars{};
    std::array<std::int32_t, kMaxChars> m_sources{};
    std::array<std::int16_t, kMaxChars> m_offsets{};
    int m_length = 0;
    int m_bytes = 0;
};
