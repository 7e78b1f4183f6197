#include "document/color_palette.h"

#include <climits>

// COLORREF values (0x00BBGGRR): a hue circle at 0x7B after black and white, the circle at
// 0xC4, at full intensity, lightened, pastel, near-white tints, mixed colours, a grey ramp.
const std::int32_t CColorPalette::kStandard[kStandardCount] = {
    0x000000, 0xFFFFFF, 0x7B0000, 0x7B0012, 0x7B0027, 0x7B003D, 0x7B0056, 0x7B006B, 0x79007B, 0x65007B,
    0x50007B, 0x3B007B, 0x25007B, 0x10007B, 0x00007B, 0x00107B, 0x00257B, 0x003B7B, 0x00507B, 0x00657B,
    0x00797B, 0x007B6B, 0x007B56, 0x007B3D, 0x007B27, 0x007B12, 0x007B00, 0x147B00, 0x297B00, 0x3D7B00,
    0x547B00, 0x697B00, 0x7B7B00, 0x7B6900, 0x7B5400, 0x7B3D00, 0x7B2900, 0x7B1400, 0xC40000, 0xC40024,
    0xC4004E, 0xC40079, 0xC400A3, 0xC100C4, 0x9D00C4, 0x7200C4, 0x4800C4, 0x2000C4, 0x0000C4, 0x0020C4,
    0x0048C4, 0x0072C4, 0x009DC4, 0x00C1C4, 0x00C4A3, 0x00C479, 0x00C44E, 0x00C424, 0x00C400, 0x24C400,
    0x4EC400, 0x79C400, 0xA0C400, 0xC4C400, 0xC4A000, 0xC47900, 0xC44E00, 0xC42400, 0xFF0E0E, 0xFF0E46,
    0xFF0E86, 0xFF0ECA, 0xFA0EFF, 0xC20EFF, 0x820EFF, 0x420EFF, 0x0E0EFF, 0x0E42FF, 0x0E82FF, 0x0EC2FF,
    0x0EFAFF, 0x0EFFCA, 0x0EFF86, 0x0EFF46, 0x0EFF0E, 0x4AFF0E, 0x86FF0E, 0xC6FF0E, 0xFFFF0E, 0xFFC60E,
    0xFF860E, 0xFF4A0E, 0xFF5757, 0xFF578C, 0xFF57CC, 0xFC57FF, 0xC457FF, 0x8957FF, 0x5757FF, 0x5789FF,
    0x57C4FF, 0x57FCFF, 0x57FFCC, 0x57FF8C, 0x57FF57, 0x8FFF57, 0xC9FF57, 0xFFFF57, 0xFFC957, 0xFF8F57,
    0xFFA0A0, 0xFFA0CF, 0xFDA0FF, 0xCEA0FF, 0xA0A0FF, 0xA0CEFF, 0xA0FDFF, 0xA0FFCF, 0xA0FFA0, 0xCFFFA0,
    0xFFFFA0, 0xFFCFA0, 0xFFE9E9, 0xFEE9FF, 0xE9E9FF, 0xE9FEFF, 0xE9FFE9, 0xFFFFE9, 0x3F9F9F, 0x3FCFCF,
    0x00FFFF, 0xA6FFFF, 0x00FFA6, 0x00FF00, 0x0FCF0F, 0x0F9F6F, 0x0F6F3F, 0x6F9F0F, 0xBFBF70, 0x9FCF0F,
    0xCFFF0F, 0xFFFF00, 0xFFCF0F, 0xFF9F0F, 0xFF6F0F, 0xFF0000, 0x9F0F3F, 0x6F0F0F, 0x9FC3FF, 0x6FA0FF,
    0x88C0FF, 0x0FB0FF, 0x0F7FFF, 0x6F9FCF, 0x3F6F9F, 0x0F6FCF, 0x0F3F9F, 0x0F0F6F, 0x6F0F6F, 0x9F3F9F,
    0xFF3FCF, 0xFF00FF, 0xFF9FCF, 0xFF9FFF, 0xFFCFFF, 0x9F0FFF, 0x6F6FCF, 0x6F6FFF, 0xD0BFFF, 0xAF9FFF,
    0x7F90FF, 0x0000FF, 0xE1E1E1, 0xC3C3C3, 0xA5A5A5, 0x878787, 0x696969, 0x4B4B4B, 0x2D2D2D,
};

CColorPalette::CColorPalette()
{
    for (int i = 0; i < kCustomCount; ++i) {
        m_custom[i] = kEmptySlot;
        m_uses[i] = 0;
    }
}

std::int32_t CColorPalette::GetColor(int index) const
{
    if (index >= 0 && index < kStandardCount) return kStandard[index];
    if (index >= kStandardCount && index < kColorCount) return m_custom[index - kStandardCount];
    return 0;
}

std::int32_t CColorPalette::GetUseCount(int customSlot) const
{
    return customSlot >= 0 && customSlot < kCustomCount ? m_uses[customSlot] : 0;
}

void CColorPalette::UseColor(std::int32_t color)
{
    if (color < 0) return; // the automatic-colour sentinels
    for (std::int32_t standard : kStandard)
        if (standard == color) return;
    for (int i = 0; i < kCustomCount; ++i) {
        if (m_custom[i] == color) {
            if (m_uses[i] < INT_MAX) ++m_uses[i]; // a count read from a file may be at the top
            return;
        }
    }
    for (int i = 0; i < kCustomCount; ++i) {
        if (m_custom[i] == kEmptySlot) {
            m_custom[i] = color;
            m_uses[i] = 1;
            return;
        }
    }
    int least = 0;
    for (int i = 1; i < kCustomCount; ++i)
        if (m_uses[i] < m_uses[least]) least = i;
    m_custom[least] = color;
    m_uses[least] = 1;
}

void CColorPalette::Load(plat::Archive& ar)
{
    ar.Require(kRecordBytes);
    for (int i = 0; i < kCustomCount; ++i) m_custom[i] = ar.ReadI32();
    for (int i = 0; i < kCustomCount; ++i) m_uses[i] = ar.ReadI32();
}

void CColorPalette::Save(plat::Archive& ar) const
{
    for (int i = 0; i < kCustomCount; ++i) ar.WriteI32(m_custom[i]);
    for (int i = 0; i < kCustomCount; ++i) ar.WriteI32(m_uses[i]);
}
