// The visible text of a flow as a list of items with the formats a reader of an export can
// bring back: the character, the face it shows in, size, styles, script position and the
// resolved colour. Deleted items and annotation anchors are left out, as the writers
// leave them out.
#pragma once
#include <cstdint>
#include <ostream>
#include <vector>

#include "document/render_context.h"
#include "document/text_flow.h"
#include "document/text_item.h"
#include "platform/base/strings.h"

namespace exporttest {

struct VisibleItem {
    std::uint16_t type = 0; // a paragraph end's type, else 0 for a character or space
    char16_t code = 0;
    plat::String face;
    int size = 0;
    int bold = 0;
    int italic = 0;
    int underline = 0;
    int position = 0;
    plat::ColorRef color = 0;
    bool operator==(const VisibleItem&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const VisibleItem& v)
{
    return os << "{" << std::hex << v.type << " U+" << int(v.code) << std::dec << " " << plat::Utf16ToUtf8(v.face)
              << " " << v.size << " b" << v.bold << " i" << v.italic << " u" << v.underline << " p" << v.position
              << " #" << std::hex << v.color << std::dec << "}";
}

// Items start .. end - 1 of the flow; paragraph ends keep only their type and spaces only
// their code (the writers give a space its face and nothing else of its format).
inline std::vector<VisibleItem> VisibleItems(const CTextFlow& flow, int start, int end)
{
    std::vector<VisibleItem> out;
    const CColorRef colors(flow.GetDoc());
    for (int i = start; i < end; ++i) {
        const CTextItem& item = *flow.GetItem(i);
        if (item.IsDeleted() || item.GetNodeType() == kItemAnchor) continue;
        VisibleItem v;
        if (IsParaEndType(item.GetNodeType()) || item.GetNodeType() == kItemFinalParaEnd) {
            v.type = kItemParaEnd;
            out.push_back(v);
            continue;
        }
        if (item.GetNodeType() == kItemSpace) {
            v.code = u' ';
            out.push_back(v);
            continue;
        }
        const CCharFormat& f = item.GetFormat();
        v.code = item.GetCode();
        v.face = item.GetCode() < 0x500 ? f.m_westernFace : f.m_chineseFace;
        v.size = f.m_size;
        v.bold = f.m_bold != 0;
        v.italic = f.m_italic != 0;
        v.underline = f.m_underline;
        v.position = f.m_position;
        v.color = colors.Resolve(f.m_color);
        out.push_back(v);
    }
    return out;
}

} // namespace exporttest
