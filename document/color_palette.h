// The document's colour palette: 179 fixed standard colours and 31 custom slots that
// remember the other colours the user picked, with a use count per slot. The custom slots
// travel with the document.
#pragma once
#include <cstdint>

#include "platform/file/archive.h"

class CColorPalette {
public:
    static constexpr int kStandardCount = 179;
    static constexpr int kCustomCount = 31;
    static constexpr int kColorCount = kStandardCount + kCustomCount;
    static constexpr std::int32_t kEmptySlot = 0xFFFFFF; // white is standard, never custom
    static constexpr int kRecordBytes = 2 * kCustomCount * 4;
    static const std::int32_t kStandard[kStandardCount];

    CColorPalette();

    // The colour at index 0-209; 0 (black) for an index outside the palette.
    std::int32_t GetColor(int index) const;
    std::int32_t GetUseCount(int customSlot) const;
    // Registers a colour the user picked.
    void UseColor(std::int32_t color);

    // The 248-byte record: the custom colours, then their use counts.
    void Load(plat::Archive& ar);
    void Save(plat::Archive& ar) const;

private:
    std::int32_t m_custom[kCustomCount];
    std::int32_t m_uses[kCustomCount];
};
