// Fonts: a description in the shape callers fill in, resolved to installed faces through
// the control's private fontconfig configuration: fonts.conf in the folder of the module
// that holds this code (resources/fonts.conf, copied to bin/ by the build), or the file
// named by $QUILN_FONTS_CONF. Only the fonts that file lists take part, so metrics and
// layout do not depend on what else a machine has installed.
//
// Metrics are whole device pixels, taken from the font tables (no hinting): for an em of
// p pixels, ascent = round(usWinAscent * p / unitsPerEm), descent likewise from
// usWinDescent, advance widths = round(advance * p / unitsPerEm), plus one pixel where
// bold is synthesised. A character the face lacks is measured and drawn with the first
// face of the configured fallback order that has it.
#pragma once
#include <cstdint>
#include <memory>

#include "platform/base/strings.h"

namespace plat {

namespace gfx_detail {
class ResolvedFace;
}

// Weights and character sets keep the numbers the callers' tables use.
enum FontWeight : std::int32_t {
    kFwDontCare = 0,
    kFwNormal = 400,
    kFwBold = 700,
};

enum FontCharSet : std::uint8_t {
    kAnsiCharSet = 0,
    kDefaultCharSet = 1,
    kSymbolCharSet = 2,
    kShiftJisCharSet = 128,
    kHangulCharSet = 129,
    kGb2312CharSet = 134,
    kChineseBig5CharSet = 136,
    kGreekCharSet = 161,
    kTurkishCharSet = 162,
    kHebrewCharSet = 177,
    kArabicCharSet = 178,
    kBalticCharSet = 186,
    kRussianCharSet = 204,
    kThaiCharSet = 222,
    kEastEuropeCharSet = 238,
};

// How text of the font is drawn; the numbers are those of the callers' font tables.
// Default, draft, proof, antialiased and the subpixel quality are drawn with greyscale
// antialiasing, as a desktop with font smoothing draws them; the non-antialiased quality
// keeps aliased glyphs, whose pixels carry the text colour exactly (for drawing that is
// read back pixel by pixel).
enum FontQuality : std::uint8_t {
    kDefaultQuality = 0,
    kDraftQuality = 1,
    kProofQuality = 2,
    kNonAntialiasedQuality = 3,
    kAntialiasedQuality = 4,
    kClearTypeQuality = 5,
};

// What a font is asked for. Height is in logical units of the DC the font is used on:
// negative means the character (em) height, positive the cell height (ascent + descent),
// 0 a default of 12 points.
struct FontDesc {
    String face;
    std::int32_t height = 0;
    std::int32_t escapement = 0; // tenths of a degree, counter-clockwise
    std::int32_t weight = kFwNormal;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint8_t charSet = kDefaultCharSet;
    std::uint8_t quality = kDefaultQuality; // drawing only: metrics never depend on it

    bool operator==(const FontDesc&) const = default;
};

// Metrics of the selected font, in logical units of the DC that measured them.
struct TextMetrics {
    std::int32_t height = 0;           // ascent + descent
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
    std::int32_t internalLeading = 0;  // height - em height
    std::int32_t externalLeading = 0;
    std::int32_t aveCharWidth = 0;
    std::int32_t maxCharWidth = 0;
    std::int32_t weight = 0;
    bool italic = false;
    bool underlined = false;
    bool struckOut = false;
    std::uint8_t charSet = 0;
};

// A font object: its description, resolved to faces once and shared by every copy.
// A DC takes what it needs when the font is selected, so the object may be destroyed
// while still selected without harm (the DC keeps drawing with the same faces).
class Font {
public:
    explicit Font(FontDesc desc);
    ~Font();
    Font(const Font&);
    Font& operator=(const Font&);

    const FontDesc& Desc() const { return m_desc; }
    // The installed family that serves this description ("AR PL UMing CN" for 宋体).
    String FamilyName() const;
    // The font file of that family.
    std::string FilePath() const;
    // The installed family that draws the character (the face itself or a fallback).
    String FamilyFor(char32_t ch) const;

    std::shared_ptr<const gfx_detail::ResolvedFace> Resolved() const;

private:
    FontDesc m_desc;
    mutable std::shared_ptr<const gfx_detail::ResolvedFace> m_resolved;
};

// The font a DC holds before anything is selected: 宋体 at 12 pixels.
const Font* DefaultGuiFont();

} // namespace plat
