#include "platform/gfx/font.h"

#include "platform/gfx/font_engine.h"

namespace plat {

Font::Font(FontDesc desc) : m_desc(std::move(desc)) {}
Font::~Font() = default;
Font::Font(const Font&) = default;
Font& Font::operator=(const Font&) = default;

std::shared_ptr<const gfx_detail::ResolvedFace> Font::Resolved() const
{
    if (!m_resolved) m_resolved = gfx_detail::FontEngine::Get().Resolve(m_desc);
    return m_resolved;
}

String Font::FamilyName() const
{
    auto r = Resolved();
    return r ? Utf8ToUtf16(r->faces[0].family) : String();
}

std::string Font::FilePath() const
{
    auto r = Resolved();
    return r ? r->faces[0].file : std::string();
}

String Font::FamilyFor(char32_t ch) const
{
    auto r = Resolved();
    return r ? Utf8ToUtf16(r->faces[r->FaceFor(ch)].family) : String();
}

const Font* DefaultGuiFont()
{
    // Resolved while it is made (which happens once, on whichever thread comes first), so
    // that DCs made on several threads at once only read it.
    static const Font font = [] {
        FontDesc d;
        d.face = u"宋体";
        d.height = -12;
        d.charSet = kGb2312CharSet;
        Font f(d);
        f.Resolved();
        return f;
    }();
    return &font;
}

} // namespace plat
