// Ordered lists of points: a shape's vertices (twips from its top-left corner), its
// selection handles with the hit code a press on each yields, and the copies the
// document's format state keeps while a shape is dragged.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/geometry.h"

class CPointNode {
public:
    CPointNode() = default;
    CPointNode(std::int32_t x, std::int32_t y, std::int32_t code = 0) : m_x(x), m_y(y), m_code(code) {}

    // Copies all three fields and returns a copy of the result.
    CPointNode Assign(const CPointNode& other);

    std::int32_t m_x = 0;
    std::int32_t m_y = 0;
    std::int32_t m_code = 0; // 0 for a vertex; a handle's hit code
};

// Owns its nodes; each stays at one address while it is in the list, so a caller may
// move a vertex in place through GetPointRef.
class CPointList {
public:
    CPointList() = default;
    CPointList(const CPointList&) = delete;
    CPointList& operator=(const CPointList&) = delete;

    void AddPoint(std::int32_t x, std::int32_t y) { AddNode(CPointNode(x, y, 0)); }
    // A new node copied from the value, hit code included.
    void AddNode(const CPointNode& node);
    void RemoveAll() { m_nodes.clear(); }
    int GetCount() const { return static_cast<int>(m_nodes.size()); }
    // By value; outside the list these are a caller's error (std::out_of_range).
    plat::Point GetPoint(int index) const;
    CPointNode GetNodeAt(int index) const;
    // The node itself, for moving a vertex; null outside the list.
    CPointNode* GetPointRef(int index);

private:
    const CPointNode& At(int index) const;
    std::vector<std::unique_ptr<CPointNode>> m_nodes;
};
