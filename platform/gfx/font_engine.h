// Internal to platform/gfx: the font engine behind plat::Font and plat::Dc.
// fontconfig (a private configuration) picks the faces, FreeType reads their tables for
// metrics and widths, Cairo draws the glyphs.
#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gfx/font.h"

struct _cairo_font_face;

namespace plat::gfx_detail {

// One face of a resolved font: the best match first, then the faces that supply
// characters it lacks, in the order the configuration ranks them.
struct FaceSource {
    std::string file;
    int index = 0;
    std::string family;
    bool synthBold = false;    // bold asked for, the face has none: embolden, +1 pixel advance
    bool synthItalic = false;  // italic asked for, the face has none: slant the outlines
    void* charset = nullptr;   // FcCharSet*, owned (reference counted by fontconfig)
};

class ResolvedFace {
public:
    ResolvedFace() = default;
    ~ResolvedFace();
    ResolvedFace(const ResolvedFace&) = delete;
    ResolvedFace& operator=(const ResolvedFace&) = delete;

    std::uint64_t id = 0;
    std::vector<FaceSource> faces; // never empty once resolved; faces[0] is the primary
    // Index of the face that has the character; 0 when none has it (its missing glyph).
    std::size_t FaceFor(char32_t ch) const;
};

// A glyph as laid out: which face, which glyph, and its advance in device pixels.
struct GlyphInfo {
    std::uint16_t face = 0;
    std::uint32_t glyph = 0;
    std::int32_t advance = 0;
};

// Pixel metrics of a resolved font at one em size.
struct PixelMetrics {
    int ppem = 0;
    int ascent = 0;
    int descent = 0;
    int height = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
    int underlineTop = 0;      // rows below the baseline where the underline starts
    int underlineThickness = 1;
    int strikeTop = 0;         // rows below the baseline (negative: above) of the strike-out
    int strikeThickness = 1;
};

// A resolved font at one pixel size: metrics and a table of glyphs and advances.
class FontInstance {
public:
    FontInstance(std::shared_ptr<const ResolvedFace> faces, int ppem);

    const PixelMetrics& Metrics() const { return m_metrics; }
    const ResolvedFace& Faces() const { return *m_faces; }
    // Thread-safe; the table fills as characters are asked for.
    GlyphInfo Glyph(char32_t ch) const;
    // Advances of codes first..last (last - first < 65536) into out.
    void Advances(char32_t first, char32_t last, int* out) const;
    // Cairo's face for faces[i], with bold or slant synthesis as the face needs.
    _cairo_font_face* CairoFace(std::size_t i) const;

private:
    GlyphInfo Lookup(char32_t ch) const; // engine lock held

    std::shared_ptr<const ResolvedFace> m_faces;
    PixelMetrics m_metrics;
    static constexpr char32_t kDenseCodes = 1280;
    mutable std::vector<GlyphInfo> m_dense;     // codes below kDenseCodes, filled on first use
    mutable bool m_denseFilled = false;
    mutable std::unordered_map<char32_t, GlyphInfo> m_sparse;
};

// Largest em size a font is realised at; larger requests are clamped, so a bad size in a
// document cannot make the rasteriser allocate without bound.
constexpr int kMaxPpem = 4096;

class FontEngine {
public:
    static FontEngine& Get();

    std::shared_ptr<const ResolvedFace> Resolve(const FontDesc& desc);
    // heightPx: the description's rule (negative em height, positive cell height, 0 default)
    // in device pixels; dpiY for the default size.
    std::shared_ptr<const FontInstance> Instance(const std::shared_ptr<const ResolvedFace>& faces,
                                                 int heightPx, int dpiY);
    // FreeType face for metrics (engine lock held by the caller).
    struct MetricFace;
    MetricFace* Face(const FaceSource& src);
    _cairo_font_face* CairoFace(const FaceSource& src);
    std::mutex& Lock() { return m_lock; }
    // The process's one font configuration (FcConfig*), and the file it was loaded from
    // (empty when the file was missing and the desktop's configuration serves instead).
    void* Config() const { return m_config; }
    const std::string& ConfigFile() const { return m_configFile; }

private:
    FontEngine();
    ~FontEngine() = delete; // lives as long as the process (see font_engine.cpp)

    std::mutex m_lock;
    void* m_config = nullptr;  // FcConfig*
    std::string m_configFile;
    void* m_library = nullptr; // FT_Library
    std::uint64_t m_nextId = 1;
    std::unordered_map<std::string, std::shared_ptr<const ResolvedFace>> m_resolved;
    struct InstanceKey {
        std::uint64_t faces;
        int ppem;
        bool operator==(const InstanceKey&) const = default;
    };
    struct InstanceKeyHash {
        std::size_t operator()(const InstanceKey& k) const
        {
            return std::hash<std::uint64_t>()(k.faces * 8191 + static_cast<std::uint64_t>(k.ppem));
        }
    };
    std::unordered_map<InstanceKey, std::shared_ptr<const FontInstance>, InstanceKeyHash> m_instances;
    std::unordered_map<std::string, std::unique_ptr<MetricFace>> m_faces;
    std::unordered_map<std::string, _cairo_font_face*> m_cairoFaces;
};

// Round-half-away-from-zero of a * b / c with c > 0, in 64 bits.
constexpr std::int64_t MulDivRound(std::int64_t a, std::int64_t b, std::int64_t c)
{
    const std::int64_t p = a * b;
    return p >= 0 ? (p + c / 2) / c : -((-p + c / 2) / c);
}

} // namespace plat::gfx_detail
