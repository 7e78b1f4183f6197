// The cursors that go with the hit codes of the document's mouse handling: the sizing
// cursors for moves and handles, the application's cursors for table zones, vertices,
// rotation and text areas, the arrow for everything else. It remembers the code it showed
// last, so that a mouse move over the same part shows nothing anew.
#pragma once
#include <cstdint>

class CCursorSet {
public:
    // The cursor of a hit code (a system cursor id or a cursor resource id).
    static int GetCursor(std::uint8_t code);
    // Shows the code's cursor when the code differs from the last one shown, when forced or
    // for code 1 (the text, whose cursor others may have replaced); true when it differed.
    bool SetCursorFor(std::uint8_t code, bool force);
    std::uint8_t GetLastCode() const { return m_last; }

private:
    std::uint8_t m_last = 0;
};
