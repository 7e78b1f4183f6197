#include "platform/file/text_mode_stream.h"

#include <cstring>

namespace plat {

void TextModeStream::Write(const void* buffer, size_t n)
{
    const char* p = static_cast<const char*>(buffer);
    const char* end = p + n;
    while (p < end) {
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        if (!lf) {
            m_inner.Write(p, static_cast<size_t>(end - p));
            return;
        }
        if (lf > p) m_inner.Write(p, static_cast<size_t>(lf - p));
        m_inner.Write("\r\n", 2);
        p = lf + 1;
    }
}

} // namespace plat
