// Edit controls: single- and multi-line, password (shown as '*'), read-only and
// digits-only. The user's typing, pasting and EM_REPLACESEL stop at the length limit
// (EM_LIMITTEXT: 0 sets the largest limit; the limit does not cut text already there and
// does not bind WM_SETTEXT); what is cut sends EN_MAXTEXT. Every change the user makes sends
// EN_CHANGE to the parent, and so does WM_SETTEXT on a single-line edit.
#pragma once
#include "platform/ui/control.h"

namespace plat {

// Edit styles, with their Windows values.
constexpr unsigned kEsLeft = 0x0000;
constexpr unsigned kEsMultiline = 0x0004;
constexpr unsigned kEsPassword = 0x0020;
constexpr unsigned kEsAutoVScroll = 0x0040;
constexpr unsigned kEsAutoHScroll = 0x0080;
constexpr unsigned kEsReadOnly = 0x0800;
constexpr unsigned kEsWantReturn = 0x1000;
constexpr unsigned kEsNumber = 0x2000;
enum EditMessage : unsigned {
    kEmGetSel = 0x00B0,     // returns start | end << 16
    kEmSetSel = 0x00B1,     // wParam: start; lParam: end (-1: the end of the text)
    kEmReplaceSel = 0x00C2, // lParam: const StringView*
    kEmLimitText = 0x00C5,  // wParam: the limit in characters, 0 the largest
    kEmGetLimitText = 0x00D5,
};
enum EditNotify : unsigned {
    kEnSetFocus = 0x0100,
    kEnKillFocus = 0x0200,
    kEnChange = 0x0300,
    kEnMaxText = 0x0501,
};
// The limit an edit starts with, and the one EM_LIMITTEXT 0 sets.
constexpr int kEditDefaultLimit = 30000;
constexpr int kEditLargestLimit = 0x7FFFFFFE;
constexpr char16_t kPasswordChar = u'*';

class Edit : public Control {
public:
    int GetLimitText() const { return m_limit; }
    void SetLimitText(int limit);
    // The selection, start <= end, in UTF-16 units; the caret is at the end.
    int GetSelStart() const { return std::min(m_anchor, m_caret); }
    int GetSelEnd() const { return std::max(m_anchor, m_caret); }
    // end -1: the end of the text; start -1 removes the selection (the caret stays).
    void SetSel(int start, int end);
    // Replaces the selection as the user's typing does (the limit, EN_CHANGE, EN_MAXTEXT).
    void ReplaceSel(StringView text);
    // What the control shows: '*' for each character of a password edit.
    String DisplayText() const;
    bool IsMultiline() const { return (GetStyle() & kEsMultiline) != 0; }

protected:
    LResult WindowProc(unsigned message, WParam wParam, LParam lParam) override;
    void Paint(Dc& dc) override;
    void OnTextSet() override;
    unsigned DlgCode(int virtualKey) const override;

private:
    bool IsEditable() const { return (GetStyle() & kEsReadOnly) == 0 && IsWindowEnabled(); }
    void TypeChar(char16_t c);
    void MoveCaret(int to, bool extend);
    void DeleteRange(int start, int end);
    void PlaceCaret();
    // The text offset under a client point.
    int OffsetAt(Point p) const;
    // Line starts (multi-line text is split at "\r\n").
    std::vector<int> LineStarts() const;

    int m_limit = kEditDefaultLimit;
    int m_anchor = 0;
    int m_caret = 0;
};

} // namespace plat
