#include "objects/table_values.h"

void CBorderLine::Load(plat::Archive& ar)
{
    std::int32_t style = ar.ReadI32();
    m_colour = ar.ReadI32();
    m_style = style;
}

void CBorderLine::Save(plat::Archive& ar) const
{
    ar.WriteI32(m_style);
    ar.WriteI32(m_colour);
}

bool CBorderSet::operator!=(const CBorderSet& o) const
{
    return m_top != o.m_top || m_innerHorizontal != o.m_innerHorizontal || m_bottom != o.m_bottom ||
           m_left != o.m_left || m_innerVertical != o.m_innerVertical || m_right != o.m_right;
}
