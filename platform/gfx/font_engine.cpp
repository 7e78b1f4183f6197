#include "platform/gfx/font_engine.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

#include "platform/base/system.h"

namespace plat::gfx_detail {

namespace {

constexpr std::size_t kCacheSoftLimit = 256;

bool FileExists(const std::string& path)
{
    struct stat st{};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Drops cached entries nobody else holds once a cache has grown past its limit, so that
// documents with many sizes or face names cannot grow it without bound.
template <class Map>
void TrimCache(Map& map)
{
    if (map.size() <= kCacheSoftLimit) return;
    for (auto it = map.begin(); it != map.end();) {
        if (it->second.use_count() == 1) it = map.erase(it);
        else ++it;
    }
}

bool IsChineseName(StringView face)
{
    return std::any_of(face.begin(), face.end(), [](char16_t c) { return c >= 0x2E80; });
}

const cairo_user_data_key_t kFtFaceKey{};

void DoneFtFace(void* face)
{
    FT_Done_Face(static_cast<FT_Face>(face));
}

} // namespace

struct FontEngine::MetricFace {
    FT_Face face = nullptr;
    int upem = 1000;
    int winAscent = 0;
    int winDescent = 0;
    int hheaAscent = 0;
    int hheaDescent = 0; // positive, below the baseline
    int lineGap = 0;
    int xAvgCharWidth = 0;
    int maxAdvance = 0;
    int underlinePosition = 0;  // centre of the underline, negative below the baseline
    int underlineThickness = 0;
    int strikePosition = 0;     // bottom of the strike-out above the baseline
    int strikeSize = 0;
};

ResolvedFace::~ResolvedFace()
{
    for (auto& f : faces)
        if (f.charset) FcCharSetDestroy(static_cast<FcCharSet*>(f.charset));
}

std::size_t ResolvedFace::FaceFor(char32_t ch) const
{
    for (std::size_t i = 0; i < faces.size(); ++i) {
        auto* cs = static_cast<FcCharSet*>(faces[i].charset);
        if (cs && FcCharSetHasChar(cs, ch)) return i;
    }
    return 0;
}

FontEngine& FontEngine::Get()
{
    // Never destroyed: Cairo may release its font faces (and with them our FreeType faces)
    // after any static destructor of ours has run. Everything stays reachable from here.
    static FontEngine* engine = new FontEngine();
    return *engine;
}

FontEngine::FontEngine()
{
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) == 0) m_library = lib;

    std::string path;
    if (const char* env = std::getenv("QUILN_FONTS_CONF"); env && *env) path = env;
    else path = Utf16ToUtf8(ModuleDir()) + "/fonts.conf";

    FcConfig* config = nullptr;
    if (FileExists(path)) {
        config = FcConfigCreate();
        if (config && !(FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(path.c_str()), FcTrue) &&
                        FcConfigBuildFonts(config))) {
            FcConfigDestroy(config);
            config = nullptr;
        }
        if (config) m_configFile = path;
    }
    if (!config) {
        // Text must still show; only layout stops being the same as everywhere else.
        std::fprintf(stderr, "quiln: font configuration %s not loaded; using the desktop's\n",
                     path.c_str());
        config = FcInitLoadConfigAndFonts();
    }
    m_config = config;
}

std::shared_ptr<const ResolvedFace> FontEngine::Resolve(const FontDesc& desc)
{
    const int weight = desc.weight <= 0 ? kFwNormal : std::min(desc.weight, 1000);
    const bool chinese = desc.charSet == kGb2312CharSet || IsChineseName(desc.face);
    const std::string faceUtf8 = Utf16ToUtf8(desc.face);
    std::string key = faceUtf8;
    key += '\x01';
    key += std::to_string(weight);
    key += desc.italic ? 'i' : 'r';
    key += chinese ? 'z' : 'w';

    std::lock_guard<std::mutex> guard(m_lock);
    if (auto it = m_resolved.find(key); it != m_resolved.end()) return it->second;

    auto resolved = std::make_shared<ResolvedFace>();
    resolved->id = m_nextId++;

    FcPattern* pat = FcPatternCreate();
    if (!faceUtf8.empty())
        FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(faceUtf8.c_str()));
    const double fcWeight = FcWeightFromOpenTypeDouble(weight);
    FcPatternAddDouble(pat, FC_WEIGHT, fcWeight);
    FcPatternAddInteger(pat, FC_SLANT, desc.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
    if (chinese) FcPatternAddString(pat, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
    auto* config = static_cast<FcConfig*>(m_config);
    FcConfigSubstitute(config, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);

    FcResult result = FcResultNoMatch;
    FcFontSet* set = FcFontSort(config, pat, FcTrue, nullptr, &result);
    if (set) {
        for (int i = 0; i < set->nfont; ++i) {
            FcPattern* f = set->fonts[i];
            FcChar8* file = nullptr;
            if (FcPatternGetString(f, FC_FILE, 0, &file) != FcResultMatch || !file) continue;
            FaceSource src;
            src.file = reinterpret_cast<const char*>(file);
            FcPatternGetInteger(f, FC_INDEX, 0, &src.index);
            FcChar8* family = nullptr;
            if (FcPatternGetString(f, FC_FAMILY, 0, &family) == FcResultMatch && family)
                src.family = reinterpret_cast<const char*>(family);
            double fw = FC_WEIGHT_REGULAR;
            FcPatternGetDouble(f, FC_WEIGHT, 0, &fw);
            int slant = FC_SLANT_ROMAN;
            FcPatternGetInteger(f, FC_SLANT, 0, &slant);
            src.synthBold = weight >= 600 && fw < FC_WEIGHT_DEMIBOLD;
            src.synthItalic = desc.italic && slant == FC_SLANT_ROMAN;
            FcCharSet* cs = nullptr;
            if (FcPatternGetCharSet(f, FC_CHARSET, 0, &cs) == FcResultMatch && cs)
                src.charset = FcCharSetCopy(cs);
            // Only faces FreeType can open take part; the order stays the configuration's.
            if (!Face(src)) {
                if (src.charset) FcCharSetDestroy(static_cast<FcCharSet*>(src.charset));
                continue;
            }
            resolved->faces.push_back(std::move(src));
        }
        FcFontSetDestroy(set);
    }
    FcPatternDestroy(pat);

    if (resolved->faces.empty()) return nullptr;
    TrimCache(m_resolved);
    m_resolved.emplace(key, resolved);
    return resolved;
}

FontEngine::MetricFace* FontEngine::Face(const FaceSource& src)
{
    const std::string key = src.file + '#' + std::to_string(src.index);
    if (auto it = m_faces.find(key); it != m_faces.end()) return it->second.get();
    if (!m_library) return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Face(static_cast<FT_Library>(m_library), src.file.c_str(), src.index, &face) != 0)
        return nullptr;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    auto mf = std::make_unique<MetricFace>();
    mf->face = face;
    mf->upem = face->units_per_EM;
    mf->hheaAscent = face->ascender;
    mf->hheaDescent = -face->descender;
    mf->lineGap = std::max(0, face->height - (face->ascender - face->descender));
    mf->maxAdvance = face->max_advance_width;
    mf->underlinePosition = face->underline_position;
    mf->underlineThickness = face->underline_thickness;
    mf->winAscent = mf->hheaAscent;
    mf->winDescent = mf->hheaDescent;
    mf->strikePosition = mf->upem * 22 / 100;
    mf->strikeSize = mf->underlineThickness;
    if (auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA))) {
        mf->lineGap = hhea->Line_Gap;
        mf->maxAdvance = hhea->advance_Width_Max;
    }
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)); os2 && os2->version != 0xFFFF) {
        if (os2->usWinAscent + os2->usWinDescent > 0) {
            mf->winAscent = os2->usWinAscent;
            mf->winDescent = os2->usWinDescent;
        }
        mf->xAvgCharWidth = std::max<int>(0, os2->xAvgCharWidth);
        if (os2->yStrikeoutSize > 0) {
            mf->strikePosition = os2->yStrikeoutPosition;
            mf->strikeSize = os2->yStrikeoutSize;
        }
    }
    auto* raw = mf.get();
    m_faces.emplace(key, std::move(mf));
    return raw;
}

cairo_font_face_t* FontEngine::CairoFace(const FaceSource& src)
{
    const std::string key = src.file + '#' + std::to_string(src.index) + (src.synthBold ? "b" : "") +
                            (src.synthItalic ? "i" : "");
    if (auto it = m_cairoFaces.find(key); it != m_cairoFaces.end()) return it->second;
    if (!m_library) return nullptr;
    // A face of its own: Cairo sets sizes on it and locks it while it renders.
    FT_Face face = nullptr;
    if (FT_New_Face(static_cast<FT_Library>(m_library), src.file.c_str(), src.index, &face) != 0)
        return nullptr;
    cairo_font_face_t* cf = cairo_ft_font_face_create_for_ft_face(face, FT_LOAD_DEFAULT);
    if (cairo_font_face_set_user_data(cf, &kFtFaceKey, face, DoneFtFace) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(cf);
        FT_Done_Face(face);
        return nullptr;
    }
    unsigned synth = 0;
    if (src.synthBold) synth |= CAIRO_FT_SYNTHESIZE_BOLD;
    if (src.synthItalic) synth |= CAIRO_FT_SYNTHESIZE_OBLIQUE;
    if (synth) cairo_ft_font_face_set_synthesize(cf, synth);
    m_cairoFaces.emplace(key, cf);
    return cf;
}

std::shared_ptr<const FontInstance> FontEngine::Instance(const std::shared_ptr<const ResolvedFace>& faces,
                                                         int heightPx, int dpiY)
{
    if (!faces || faces->faces.empty()) return nullptr;
    std::lock_guard<std::mutex> guard(m_lock);
    MetricFace* primary = Face(faces->faces[0]);
    if (!primary) return nullptr;

    std::int64_t ppem;
    if (heightPx < 0) {
        ppem = -static_cast<std::int64_t>(heightPx);
    } else if (heightPx > 0) {
        // A cell height: the largest em size whose ascent + descent does not exceed it.
        auto cell = [&](std::int64_t p) {
            return MulDivRound(primary->winAscent, p, primary->upem) + MulDivRound(primary->winDescent, p, primary->upem);
        };
        ppem = std::clamp<std::int64_t>(
            MulDivRound(heightPx, primary->upem, std::max(1, primary->winAscent + primary->winDescent)), 1, kMaxPpem);
        while (ppem > 1 && cell(ppem) > heightPx) --ppem;
        while (ppem < kMaxPpem && cell(ppem + 1) <= heightPx) ++ppem;
    } else {
        ppem = MulDivRound(12, std::max(1, dpiY), 72);
    }
    const int size = static_cast<int>(std::clamp<std::int64_t>(ppem, 1, kMaxPpem));

    const InstanceKey key{faces->id, size};
    if (auto it = m_instances.find(key); it != m_instances.end()) return it->second;
    auto inst = std::make_shared<const FontInstance>(faces, size);
    TrimCache(m_instances);
    m_instances.emplace(key, inst);
    return inst;
}

// Engine lock held (constructed only by FontEngine::Instance).
FontInstance::FontInstance(std::shared_ptr<const ResolvedFace> faces, int ppem) : m_faces(std::move(faces))
{
    auto& engine = FontEngine::Get();
    const FaceSource& src = m_faces->faces[0];
    const FontEngine::MetricFace& f = *engine.Face(src);
    PixelMetrics& m = m_metrics;
    const int bold = src.synthBold ? 1 : 0;
    m.ppem = ppem;
    m.ascent = static_cast<int>(MulDivRound(f.winAscent, ppem, f.upem));
    m.descent = static_cast<int>(MulDivRound(f.winDescent, ppem, f.upem));
    m.height = m.ascent + m.descent;
    m.internalLeading = std::max(0, m.height - ppem);
    const int gapUnits =
        std::max(0, f.lineGap - ((f.winAscent + f.winDescent) - (f.hheaAscent + f.hheaDescent)));
    m.externalLeading = static_cast<int>(MulDivRound(gapUnits, ppem, f.upem));
    m.maxCharWidth = static_cast<int>(MulDivRound(f.maxAdvance, ppem, f.upem)) + bold;
    if (f.xAvgCharWidth > 0) {
        m.aveCharWidth = static_cast<int>(MulDivRound(f.xAvgCharWidth, ppem, f.upem)) + bold;
    } else {
        m.aveCharWidth = Lookup(U'x').advance;
    }
    m.underlineThickness = std::max(1, static_cast<int>(MulDivRound(f.underlineThickness, ppem, f.upem)));
    const int ulCentre = static_cast<int>(MulDivRound(-f.underlinePosition, ppem, f.upem));
    m.underlineTop = std::max(1, ulCentre - m.underlineThickness / 2);
    m.strikeThickness = std::max(1, static_cast<int>(MulDivRound(f.strikeSize, ppem, f.upem)));
    m.strikeTop = -static_cast<int>(MulDivRound(f.strikePosition, ppem, f.upem)) - m.strikeThickness + 1;
}

GlyphInfo FontInstance::Lookup(char32_t ch) const
{
    auto& engine = FontEngine::Get();
    const auto& faces = m_faces->faces;
    std::size_t i = m_faces->FaceFor(ch);
    FontEngine::MetricFace* f = engine.Face(faces[i]);
    FT_UInt glyph = FT_Get_Char_Index(f->face, ch);
    if (glyph == 0 && i != 0) {
        // The character set promised a glyph the face does not map: the missing glyph.
        i = 0;
        f = engine.Face(faces[0]);
    }
    FT_Fixed adv = 0;
    if (FT_Get_Advance(f->face, glyph, FT_LOAD_NO_SCALE, &adv) != 0) adv = 0;
    GlyphInfo g;
    g.face = static_cast<std::uint16_t>(i);
    g.glyph = glyph;
    g.advance = static_cast<std::int32_t>(MulDivRound(adv, m_metrics.ppem, f->upem)) +
                (faces[i].synthBold ? 1 : 0);
    return g;
}

GlyphInfo FontInstance::Glyph(char32_t ch) const
{
    std::lock_guard<std::mutex> guard(FontEngine::Get().Lock());
    if (ch < kDenseCodes) {
        if (!m_denseFilled) {
            m_dense.resize(kDenseCodes);
            for (char32_t c = 0; c < kDenseCodes; ++c) m_dense[c] = Lookup(c);
            m_denseFilled = true;
        }
        return m_dense[ch];
    }
    if (auto it = m_sparse.find(ch); it != m_sparse.end()) return it->second;
    GlyphInfo g = Lookup(ch);
    if (m_sparse.size() < 65536) m_sparse.emplace(ch, g);
    return g;
}

void FontInstance::Advances(char32_t first, char32_t last, int* out) const
{
    if (first < kDenseCodes) Glyph(first); // fills the dense table once
    std::lock_guard<std::mutex> guard(FontEngine::Get().Lock());
    for (char32_t c = first; c <= last; ++c) {
        if (c < kDenseCodes) {
            *out++ = m_dense[c].advance;
            continue;
        }
        auto it = m_sparse.find(c);
        if (it == m_sparse.end()) {
            GlyphInfo g = Lookup(c);
            if (m_sparse.size() < 65536) it = m_sparse.emplace(c, g).first;
            *out++ = g.advance;
        } else {
            *out++ = it->second.advance;
        }
    }
}

cairo_font_face_t* FontInstance::CairoFace(std::size_t i) const
{
    auto& engine = FontEngine::Get();
    std::lock_guard<std::mutex> guard(engine.Lock());
    if (i >= m_faces->faces.size()) return nullptr;
    return engine.CairoFace(m_faces->faces[i]);
}

} // namespace plat::gfx_detail
