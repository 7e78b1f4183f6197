#include "document/doc_view.h"

void CHeadlessDocView::RepaintCanvas()
{
    ++m_repaints;
    if (m_onRepaint) m_onRepaint();
}

void CHeadlessDocView::ScrollToCaret()
{
    ++m_caretScrolls;
    if (m_onScrollToCaret) m_onScrollToCaret();
}

void CHeadlessDocView::SetHitCursor(std::uint8_t hitCode)
{
    ++m_cursorChanges;
    m_cursorCode = hitCode;
}

bool CHeadlessDocView::OpenClipboard()
{
    if (m_clipboardHeldElsewhere || m_clipboardOpen) return false;
    m_clipboardOpen = true;
    return true;
}

bool CHeadlessDocView::IsClipboardFormatAvailable(plat::StringView formatName)
{
    return m_clipboard.count(plat::String(formatName)) != 0;
}

bool CHeadlessDocView::EmptyClipboard()
{
    if (!m_clipboardOpen) return false;
    m_clipboard.clear();
    return true;
}

bool CHeadlessDocView::SetClipboardData(plat::StringView formatName, std::vector<std::uint8_t> bytes)
{
    if (!m_clipboardOpen) return false;
    m_clipboard[plat::String(formatName)] = std::move(bytes);
    return true;
}

std::optional<std::vector<std::uint8_t>> CHeadlessDocView::GetClipboardData(plat::StringView formatName)
{
    if (!m_clipboardOpen) return std::nullopt;
    auto it = m_clipboard.find(plat::String(formatName));
    if (it == m_clipboard.end()) return std::nullopt;
    return it->second;
}
