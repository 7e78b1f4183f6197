// The character width cache: the metrics every text item is measured with. Measuring is
// on the path of every keystroke, so the metrics of a format are taken from the desktop
// once (widths of the Western codes below 1280, heights and ascents of both faces) and
// a character item then costs a table look-up, a CJK item nothing at all.
#pragma once
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "document/char_format.h"
#include "document/format_pool.h"
#include "platform/gfx/dc.h"

class CDocContext;
class CTextItem;

class CCharWidthCache {
public:
    // Western codes whose widths are kept in the table.
    static constexpr int kWesternCodes = 1280;

    CCharWidthCache();
    ~CCharWidthCache();
    CCharWidthCache(const CCharWidthCache&) = delete;
    CCharWidthCache& operator=(const CCharWidthCache&) = delete;

    // The metrics of one item in twips: paragraph ends take the Chinese face's height and
    // ascent with no width, Western items (0xFF13-0xFF18) their Western width and the
    // Western face's height and ascent, CJK items (0xFF1A-0xFF1E) a square of the Chinese
    // face's cell height. A super- or subscript item is two thirds as wide. Anchors are
    // 1 twip wide and as tall as their size.
    void Measure(const CTextItem& item, int& width, int& height, int& ascent);

    // Metrics of the format measured last.
    int GetCjkWidth() const { return m_cur->cjkWidth; }
    int GetCjkHeight() const { return m_cur->cjkHeight; }
    int GetCjkAscent() const { return m_cur->cjkAscent; }
    int GetWesternHeight() const { return m_cur->westernHeight; }
    int GetWesternAscent() const { return m_cur->westernAscent; }
    bool IsValid() const { return m_valid; }
    // How often metrics were taken from the desktop (each costs two fonts).
    int GetRebuildCount() const { return m_rebuilds; }

    // The cache a document measures with: its frame's, else the process's own.
    static CCharWidthCache& For(const CDocContext* doc);

private:
    // The metrics of one set of font attributes.
    struct Metrics {
        CCharFormat key; // faces, size, bold, italic and underline are what count
        std::int32_t cjkAscent = 0;
        std::int32_t westernWidths[kWesternCodes] = {};
        std::int32_t westernHeight = 0;
        std::int32_t westernAscent = 0;
        std::int32_t cjkWidth = 0;
        std::int32_t cjkHeight = 0;
        // Western-class codes from 1280 up (primes, per mille, full-width digits).
        std::unordered_map<char16_t, std::int32_t> wideWidths;
    };

    // Makes the format's metrics current; cheap when the format is the last one.
    void Select(CFormatPool::Handle handle);
    void Rebuild(const CCharFormat& f, Metrics& m);
    std::int32_t WideWesternWidth(char16_t code);
    plat::FontDesc FontFor(const plat::String& face) const;

    // Fonts of alternating formats (a bold word, a superscript) would otherwise be taken
    // from the desktop at every change; a few recent sets are kept, which gives the same
    // numbers as taking them again.
    static constexpr std::size_t kRecentSets = 16;

    plat::Dc m_desktop;                       // the 96-dpi desktop, measuring in twips
    CFormatRef m_lastFormat;                  // the format the current metrics were taken for
    std::uint8_t m_lastPosition = 0;          // its script position
    bool m_valid = false;
    Metrics m_none;                           // zeros, until the first measurement
    Metrics* m_cur;
    std::vector<std::unique_ptr<Metrics>> m_sets; // built sets, most recently used last
    int m_rebuilds = 0;
};
