#include "document/check_text_buffer.h"

namespace {

bool IsCheckedChar(char16_t c)
{
    return c == u' ' || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= 0x4E00 && c <= 0x9FA5);
}

int BytesOf(char16_t c) { return c < 0x80 ? 1 : 2; }

} // namespace

void CCheckTextBuffer::Reset()
{
    m_length = 0;
    m_bytes = 0;
}

int CCheckTextBuffer::Add(char16_t c, int source)
{
    if (!IsCheckedChar(c)) return 0;
    // Nothing goes into a full run, whatever the caller did with the last 0.
    if (m_length >= kMaxChars || m_bytes + 2 >= kMaxBytes) return 0;
    const auto i = static_cast<size_t>(m_length);
    m_chars[i] = c;
    m_sources[i] = source;
    m_offsets[i] = static_cast<std::int16_t>(m_bytes);
    ++m_length;
    m_bytes += BytesOf(c);
    return m_length < kMaxChars && m_bytes + 2 < kMaxBytes ? 1 : 0;
}

CCheckTextBuffer::Run CCheckTextBuffer::GetRun(int start, int byteLength) const
{
    Run run;
    if (start < 0 || start >= m_length) return run;
    run.start = m_sources[static_cast<size_t>(start)];
    run.end = run.start;
    const int first = m_offsets[static_cast<size_t>(start)];
    for (int i = start; i < m_length && m_offsets[static_cast<size_t>(i)] - first < byteLength; ++i) {
        run.text += m_chars[static_cast<size_t>(i)];
        run.end = m_sources[static_cast<size_t>(i)] + 1;
    }
    return run;
}
