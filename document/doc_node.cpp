#include "document/doc_node.h"

#include <stdexcept>

// ---- CNodeList ----

CDocNode* CNodeList::GetAt(int index) const
{
    return index >= 0 && index < GetCount() ? m_children[static_cast<size_t>(index)].get() : nullptr;
}

int CNodeList::Add(std::unique_ptr<CDocNode> node)
{
    NoteAdded(node.get(), GetCount());
    m_children.push_back(std::move(node));
    return GetCount() - 1;
}

void CNodeList::InsertAt(int index, std::unique_ptr<CDocNode> node)
{
    if (index < 0 || index > GetCount()) throw std::out_of_range("CNodeList::InsertAt");
    NoteAdded(node.get(), index);
    m_children.insert(m_children.begin() + index, std::move(node));
}

void CNodeList::SetAtGrow(int index, std::unique_ptr<CDocNode> node)
{
    if (index < 0) throw std::out_of_range("CNodeList::SetAtGrow");
    if (index >= GetCount()) m_children.resize(static_cast<size_t>(index) + 1);
    NoteRemoved(m_children[static_cast<size_t>(index)].get());
    NoteAdded(node.get(), index);
    m_children[static_cast<size_t>(index)] = std::move(node);
}

bool CNodeList::RemoveAt(int index)
{
    if (index < 0 || index >= GetCount()) return false;
    NoteRemoved(m_children[static_cast<size_t>(index)].get());
    m_children.erase(m_children.begin() + index);
    return true;
}

void CNodeList::RemoveRange(int from, int to)
{
    RemoveIf(from, to, [](CDocNode&) { return true; });
}

int CNodeList::RemoveIf(int from, int to, const std::function<bool(CDocNode&)>& remove)
{
    from = std::clamp(from, 0, GetCount());
    to = std::clamp(to, from, GetCount());
    const auto first = m_children.begin() + from;
    const auto last = m_children.begin() + to;
    auto kept = first;
    for (auto it = first; it != last; ++it) {
        if (*it && remove(**it)) {
            NoteRemoved(it->get());
            it->reset();
            continue;
        }
        if (kept != it) *kept = std::move(*it);
        ++kept;
    }
    const int removed = static_cast<int>(last - kept);
    m_children.erase(kept, last);
    return removed;
}

std::unique_ptr<CDocNode> CNodeList::Detach(int index)
{
    if (index < 0 || index >= GetCount()) return nullptr;
    std::unique_ptr<CDocNode> node = std::move(m_children[static_cast<size_t>(index)]);
    NoteRemoved(node.get());
    m_children.erase(m_children.begin() + index);
    return node;
}

std::unique_ptr<CDocNode> CNodeList::Remove(const CDocNode* node)
{
    for (size_t i = 0; i < m_children.size(); ++i)
        if (m_children[i].get() == node) return Detach(static_cast<int>(i));
    return nullptr;
}

void CNodeList::RemoveAll()
{
    NoteRefilled();
    m_children.clear();
}

// ---- CTextPos ----

void CTextPos::Load(plat::Archive& ar, int mode)
{
    if (mode == kArchiveClipboard) return;
    std::int32_t index = ar.ReadI32();
    m_name = ar.ReadString();
    m_index = index;
}

void CTextPos::Save(plat::Archive& ar, int mode) const
{
    if (mode != kArchiveFile && mode != kArchiveUndo) return;
    ar.WriteI32(m_index);
    ar.WriteString(m_name);
}
