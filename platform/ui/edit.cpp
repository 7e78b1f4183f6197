#include "platform/ui/edit.h"

#include <algorithm>

#include "platform/ui/focus.h"
#include "platform/ui/keyboard.h"

namespace plat {

namespace {
constexpr int kMargin = 3;
} // namespace

void Edit::SetLimitText(int limit) { m_limit = limit <= 0 ? kEditLargestLimit : limit; }

void Edit::SetSel(int start, int end)
{
    const int n = static_cast<int>(GetWindowText().size());
    if (start < 0) {
        m_anchor = m_caret;
    } else {
        if (end < 0 || end > n) end = n;
        m_anchor = std::min(start, n);
        m_caret = end;
    }
    PlaceCaret();
    Invalidate();
}

String Edit::DisplayText() const
{
    if (GetStyle() & kEsPassword) return String(GetWindowText().size(), kPasswordChar);
    return GetWindowText();
}

void Edit::ReplaceSel(StringView text)
{
    String insert(text);
    if (!IsMultiline()) {
        // A single line keeps what comes before the first line break.
        const size_t brk = insert.find_first_of(u"\r\n");
        if (brk != String::npos) insert.resize(brk);
    }
    const String& current = GetWindowText();
    const int start = GetSelStart(), end = GetSelEnd();
    const std::int64_t room = std::int64_t(m_limit) - (std::int64_t(current.size()) - (end - start));
    bool cut = false;
    if (!insert.empty() && std::int64_t(insert.size()) > room) {
        insert.resize(static_cast<size_t>(std::max<std::int64_t>(room, 0)));
        cut = true;
    }
    if (!insert.empty() || start != end) {
        String next = current.substr(0, start) + insert + current.substr(end);
        SetWindowText(next);
        m_anchor = m_caret = start + static_cast<int>(insert.size());
        PlaceCaret();
        Invalidate();
        NotifyParent(kEnChange);
    }
    if (cut) NotifyParent(kEnMaxText);
}

void Edit::OnTextSet()
{
    m_anchor = m_caret = 0;
    PlaceCaret();
    // A multi-line edit does not report text set by its owner.
    if (!IsMultiline()) NotifyParent(kEnChange);
}

void Edit::DeleteRange(int start, int end)
{
    if (start == end || !IsEditable()) return;
    m_anchor = start;
    m_caret = end;
    ReplaceSel(StringView());
}

void Edit::TypeChar(char16_t c)
{
    if (!IsEditable()) return;
    if (c == 8) {
        if (GetSelStart() != GetSelEnd()) DeleteRange(GetSelStart(), GetSelEnd());
        else if (m_caret > 0) {
            const String& t = GetWindowText();
            int from = m_caret - 1;
            if (from > 0 && t[from] == u'\n' && t[from - 1] == u'\r') --from;
            DeleteRange(from, m_caret);
        }
        return;
    }
    if (c == 13) {
        if (IsMultiline()) ReplaceSel(u"\r\n");
        return;
    }
    if (c < 32 || c == 127) return;
    if ((GetStyle() & kEsNumber) && (c < u'0' || c > u'9')) return;
    const char16_t s[1] = {c};
    ReplaceSel(StringView(s, 1));
}

void Edit::MoveCaret(int to, bool extend)
{
    const int n = static_cast<int>(GetWindowText().size());
    m_caret = std::clamp(to, 0, n);
    if (!extend) m_anchor = m_caret;
    PlaceCaret();
    Invalidate();
}

std::vector<int> Edit::LineStarts() const
{
    std::vector<int> starts{0};
    if (!IsMultiline()) return starts;
    const String& t = GetWindowText();
    for (size_t i = 0; i + 1 < t.size(); ++i)
        if (t[i] == u'\r' && t[i + 1] == u'\n') starts.push_back(static_cast<int>(i + 2));
    return starts;
}

int Edit::OffsetAt(Point p) const
{
    std::unique_ptr<Dc> dc = GetDc();
    dc->Select(GetFont());
    const int lineHeight = std::max(1, dc->GetTextMetrics().height);
    const String shown = DisplayText();
    const std::vector<int> starts = LineStarts();
    const int line = std::clamp((p.y - kMargin) / lineHeight, 0, static_cast<int>(starts.size()) - 1);
    const int from = starts[line];
    int to = line + 1 < static_cast<int>(starts.size()) ? starts[line + 1] - 2 : static_cast<int>(shown.size());
    int best = from, bestDist = 1 << 30;
    for (int i = from; i <= to; ++i) {
        const int x = kMargin + dc->GetTextExtent(StringView(shown).substr(from, i - from)).cx;
        if (std::abs(x - p.x) < bestDist) {
            bestDist = std::abs(x - p.x);
            best = i;
        }
    }
    return best;
}

void Edit::PlaceCaret()
{
    if (!IsFocused()) return;
    std::unique_ptr<Dc> dc = GetDc();
    dc->Select(GetFont());
    const String shown = DisplayText();
    const std::vector<int> starts = LineStarts();
    int line = 0;
    while (line + 1 < static_cast<int>(starts.size()) && starts[line + 1] <= m_caret) ++line;
    const int x = kMargin + dc->GetTextExtent(StringView(shown).substr(starts[line], m_caret - starts[line])).cx;
    SetCaretPos(Point(x, kMargin + line * dc->GetTextMetrics().height));
}

unsigned Edit::DlgCode(int virtualKey) const
{
    unsigned code = kDlgcHasSetSel | kDlgcWantChars | kDlgcWantArrows;
    if (IsMultiline() && (GetStyle() & kEsWantReturn) && virtualKey == kVkReturn) code |= kDlgcWantAllKeys;
    return code;
}

LResult Edit::WindowProc(unsigned message, WParam wParam, LParam lParam)
{
    switch (message) {
    case kEmGetSel: return GetSelStart() | (GetSelEnd() << 16);
    case kEmSetSel: SetSel(static_cast<int>(wParam), static_cast<int>(lParam)); return 0;
    case kEmReplaceSel:
        if (lParam) ReplaceSel(*reinterpret_cast<const StringView*>(lParam));
        return 0;
    case kEmLimitText: SetLimitText(static_cast<int>(wParam)); return 0;
    case kEmGetLimitText: return m_limit;
    case kWmChar: TypeChar(static_cast<char16_t>(wParam)); return 0;
    case kWmKeyDown: {
        const bool shift = (HeldModifiers() & kModShift) != 0;
        const std::vector<int> starts = LineStarts();
        int line = 0;
        while (line + 1 < static_cast<int>(starts.size()) && starts[line + 1] <= m_caret) ++line;
        const int lineEnd = line + 1 < static_cast<int>(starts.size()) ? starts[line + 1] - 2
                                                                     : static_cast<int>(GetWindowText().size());
        switch (static_cast<int>(wParam)) {
        case kVkLeft: MoveCaret(m_caret - 1, shift); break;
        case kVkRight: MoveCaret(m_caret + 1, shift); break;
        case kVkHome: MoveCaret(starts[line], shift); break;
        case kVkEnd: MoveCaret(lineEnd, shift); break;
        case kVkDelete:
            if (GetSelStart() != GetSelEnd()) DeleteRange(GetSelStart(), GetSelEnd());
            else DeleteRange(m_caret, std::min<int>(m_caret + 1, static_cast<int>(GetWindowText().size())));
            break;
        default: break;
        }
        return 0;
    }
    case kWmLButtonDown:
        SetFocus(this);
        MoveCaret(OffsetAt(PointFromLParam(lParam)), (wParam & kMkShift) != 0);
        SetCapture(this);
        return 0;
    case kWmMouseMove:
        if (GetCapture() == this) MoveCaret(OffsetAt(PointFromLParam(lParam)), true);
        return 0;
    case kWmLButtonUp:
        if (GetCapture() == this) ReleaseCapture();
        return 0;
    case kWmSetFocus: {
        Control::WindowProc(message, wParam, lParam);
        std::unique_ptr<Dc> dc = GetDc();
        dc->Select(GetFont());
        CreateCaret(this, 1, dc->GetTextMetrics().height);
        PlaceCaret();
        ShowCaret(this);
        NotifyParent(kEnSetFocus);
        return 0;
    }
    case kWmKillFocus:
        Control::WindowProc(message, wParam, lParam);
        if (GetCaretState().owner == this) DestroyCaret();
        NotifyParent(kEnKillFocus);
        return 0;
    case kWmSetCursor:
        SetCursor(kIdcIBeam);
        return 1;
    default:
        return Control::WindowProc(message, wParam, lParam);
    }
}

void Edit::Paint(Dc& dc)
{
    const Rect client = GetClientRect();
    FillSolid(dc, client, IsEditable() ? look::kWindow : look::kFace);
    DrawFrame(dc, client, IsFocused() ? look::kHighlight : look::kBorder);
    const String shown = DisplayText();
    const int lineHeight = dc.GetTextMetrics().height;
    const std::vector<int> starts = LineStarts();
    const int selStart = GetSelStart(), selEnd = GetSelEnd();
    for (size_t line = 0; line < starts.size(); ++line) {
        const int from = starts[line];
        const int to = line + 1 < starts.size() ? starts[line + 1] - 2 : static_cast<int>(shown.size());
        const StringView text = StringView(shown).substr(from, to - from);
        const int y = kMargin + static_cast<int>(line) * lineHeight;
        if (y >= client.bottom) break;
        dc.TextOut(kMargin, y, text);
        // The selection, shown while the edit has the focus.
        const int a = std::max(selStart, from), b = std::min(selEnd, to);
        if (IsFocused() && a < b) {
            const int x0 = kMargin + dc.GetTextExtent(text.substr(0, a - from)).cx;
            const int x1 = kMargin + dc.GetTextExtent(text.substr(0, b - from)).cx;
            FillSolid(dc, Rect(x0, y, x1, y + lineHeight), look::kHighlight);
            const ColorRef old = dc.SetTextColor(look::kHighlightText);
            dc.TextOut(x0, y, text.substr(a - from, b - a));
            dc.SetTextColor(old);
        }
    }
}

} // namespace plat
