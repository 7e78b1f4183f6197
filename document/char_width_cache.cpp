#include "document/char_width_cache.h"

#include <algorithm>

#include "document/doc_context.h"
#include "document/text_item.h"

namespace {

// The attributes a font is made from; colour, position and the revision fields do not
// change a character's size.
bool SameFont(const CCharFormat& a, const CCharFormat& b)
{
    return a.m_size == b.m_size && a.m_bold == b.m_bold && a.m_italic == b.m_italic &&
           a.m_underline == b.m_underline && a.m_chineseFace == b.m_chineseFace &&
           a.m_westernFace == b.m_westernFace;
}

} // namespace

CCharWidthCache::CCharWidthCache() : m_cur(&m_none) {}

CCharWidthCache::~CCharWidthCache() = default;

CCharWidthCache& CCharWidthCache::For(const CDocContext* doc)
{
    if (doc && doc->GetWidthCache()) return *doc->GetWidthCache();
    // Until a frame exists the process keeps one; it lives as long as the process.
    static CCharWidthCache* own = new CCharWidthCache;
    return *own;
}

plat::FontDesc CCharWidthCache::FontFor(const plat::String& face) const
{
    const CCharFormat& f = m_cur->key;
    plat::FontDesc d;
    d.face = face;
    d.height = -static_cast<std::int32_t>(f.m_size);
    d.weight = f.m_bold ? plat::kFwBold : plat::kFwNormal;
    d.italic = f.m_italic != 0;
    d.underline = f.m_underline != 0;
    d.charSet = plat::kDefaultCharSet;
    return d;
}

void CCharWidthCache::Rebuild(const CCharFormat& f, Metrics& m)
{
    ++m_rebuilds;
    m.key = f;
    m.wideWidths.clear();
    Metrics* saved = m_cur;
    m_cur = &m;
    const int oldMode = m_desktop.SetMapMode(plat::kMmTwips);

    plat::Font cjk(FontFor(f.m_chineseFace));
    const plat::Font* oldFont = m_desktop.Select(&cjk);
    plat::TextMetrics tm = m_desktop.GetTextMetrics();
    m.cjkWidth = m.cjkHeight = tm.height; // CJK characters are square
    m.cjkAscent = tm.ascent;

    plat::Font western(FontFor(f.m_westernFace));
    m_desktop.Select(&western);
    m_desktop.GetCharWidth(0, kWesternCodes - 1, m.westernWidths);
    tm = m_desktop.GetTextMetrics();
    m.westernHeight = tm.height;
    m.westernAscent = tm.ascent;

    m_desktop.Select(oldFont);
    m_desktop.SetMapMode(oldMode);
    m_cur = saved;
}

void CCharWidthCache::Select(CFormatPool::Handle handle)
{
    if (m_valid && handle == m_lastFormat.Handle()) return;
    const CCharFormat& f = CFormatPool::Instance().Get(handle);
    m_lastFormat.Set(handle); // held, so the handle keeps naming this format
    m_lastPosition = f.m_position;
    if (m_valid && SameFont(f, m_cur->key)) return;

    m_valid = true;
    // Most recently used last: a hit moves to the back, a miss reuses the oldest set.
    for (auto it = m_sets.rbegin(); it != m_sets.rend(); ++it) {
        if (SameFont(f, (*it)->key)) {
            auto found = std::prev(it.base());
            std::rotate(found, found + 1, m_sets.end());
            m_cur = m_sets.back().get();
            return;
        }
    }
    if (m_sets.size() < kRecentSets) m_sets.push_back(std::make_unique<Metrics>());
    else std::rotate(m_sets.begin(), m_sets.begin() + 1, m_sets.end());
    Rebuild(f, *m_sets.back());
    m_cur = m_sets.back().get();
}

std::int32_t CCharWidthCache::WideWesternWidth(char16_t code)
{
    auto it = m_cur->wideWidths.find(code);
    if (it != m_cur->wideWidths.end()) return it->second;
    const int oldMode = m_desktop.SetMapMode(plat::kMmTwips);
    plat::Font western(FontFor(m_cur->key.m_westernFace));
    const plat::Font* oldFont = m_desktop.Select(&western);
    int w = 0;
    m_desktop.GetCharWidth(code, code, &w);
    m_desktop.Select(oldFont);
    m_desktop.SetMapMode(oldMode);
    m_cur->wideWidths.emplace(code, w);
    return w;
}

void CCharWidthCache::Measure(const CTextItem& item, int& width, int& height, int& ascent)
{
    const std::uint16_t type = item.GetNodeType();
    if (type == kItemAnchor) {
        width = 1;
        height = ascent = item.GetFormat().m_size;
        return;
    }
    Select(item.FormatHandle());
    const Metrics& m = *m_cur;
    if (IsParaEndType(type)) {
        width = 0;
        height = m.cjkHeight;
        ascent = m.cjkAscent;
        return;
    }
    if (type >= kItemSpace && type <= kItemFullStop) {
        const char16_t code = item.GetCode();
        width = code < kWesternCodes ? m.westernWidths[code] : WideWesternWidth(code);
        height = m.westernHeight;
        ascent = m.westernAscent;
    } else if (type >= kItemCjk && type <= kItemCjkClose) {
        width = m.cjkWidth;
        height = m.cjkHeight;
        ascent = m.cjkAscent;
    } else {
        width = height = ascent = 0;
    }
    if (m_lastPosition != 0) width = 2 * width / 3;
}

namespace {

void MeasureWith(CCharWidthCache& cache, CTextItem& item)
{
    int w, h, a;
    cache.Measure(item, w, h, a);
    item.SetMetrics(w, h, a);
}

} // namespace

void CCharItem::Measure(CCharWidthCache& cache)
{
    MeasureWith(cache, *this);
}

void CParaEndItem::Measure(CCharWidthCache& cache)
{
    MeasureWith(cache, *this);
}

void CAnchorItem::Measure(CCharWidthCache& cache)
{
    MeasureWith(cache, *this);
}
