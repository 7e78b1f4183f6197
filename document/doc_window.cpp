#include "document/doc_window.h"

void CHeadlessDocWindow::RepaintCanvas()
{
    ++m_repaints;
    if (m_onRepaint) m_onRepaint();
}

void CHeadlessDocWindow::ScrollToCaret()
{
    ++m_caretScrolls;
    if (m_onScrollToCaret) m_onScrollToCaret();
}

void CHeadlessDocWindow::ScrollToPoint(plat::Point point)
{
    m_shownPoints.push_back(point);
}

void CHeadlessDocWindow::SetHitCursor(std::uint8_t hitCode)
{
    ++m_cursorChanges;
    m_cursorCode = hitCode;
}

void CHeadlessDocWindow::UpdateRevisionTip(int, int, const CTextItem* item)
{
    ++m_tipUpdates;
    m_tipItem = item;
}

bool CHeadlessDocWindow::OpenClipboard()
{
    if (m_clipboardHeldElsewhere || m_clipboardOpen) return false;
    m_clipboardOpen = true;
    return true;
}

bool CHeadlessDocWindow::IsClipboardFormatAvailable(plat::StringView formatName)
{
    return m_clipboardFormats.count(plat::String(formatName)) != 0;
}

bool CHeadlessDocWindow::EmptyClipboard()
{
    if (!m_clipboardOpen) return false;
    m_clipboardFormats.clear();
    return true;
}
