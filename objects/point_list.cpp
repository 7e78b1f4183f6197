#include "objects/point_list.h"

#include <stdexcept>

CPointNode CPointNode::Assign(const CPointNode& other)
{
    m_x = other.m_x;
    m_y = other.m_y;
    m_code = other.m_code;
    return *this;
}

void CPointList::AddNode(const CPointNode& node)
{
    m_nodes.push_back(std::make_unique<CPointNode>(node));
}

const CPointNode& CPointList::At(int index) const
{
    if (index < 0 || index >= GetCount()) throw std::out_of_range("CPointList index");
    return *m_nodes[static_cast<size_t>(index)];
}

plat::Point CPointList::GetPoint(int index) const
{
    const CPointNode& node = At(index);
    return plat::Point(node.m_x, node.m_y);
}

CPointNode CPointList::GetNodeAt(int index) const
{
    return At(index);
}

CPointNode* CPointList::GetPointRef(int index)
{
    return index >= 0 && index < GetCount() ? m_nodes[static_cast<size_t>(index)].get() : nullptr;
}
