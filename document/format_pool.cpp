#include "document/format_pool.h"

#include <cassert>
#include <stdexcept>

CFormatPool& CFormatPool::Instance()
{
    // Never destroyed: items of static documents may outlive every other static object.
    static CFormatPool* pool = new CFormatPool;
    return *pool;
}

CFormatPool::CFormatPool()
{
    Slot def;
    def.format = std::make_unique<CCharFormat>();
    def.hash = HashCharFormat(*def.format);
    def.refs = 1; // the pool's own reference keeps the default alive
    m_index.emplace(def.hash, kDefault);
    m_slots.push_back(std::move(def));
}

void CFormatPool::CheckThread() const
{
#ifndef NDEBUG
    assert(std::this_thread::get_id() == m_thread && "the format pool is used from one thread only");
#endif
}

CFormatPool::Handle CFormatPool::Intern(const CCharFormat& f)
{
    CheckThread();
    std::size_t hash = HashCharFormat(f);
    auto range = m_index.equal_range(hash);
    for (auto it = range.first; it != range.second; ++it) {
        Slot& slot = m_slots[it->second];
        if (slot.format->Differs(f) == 0) {
            ++slot.refs;
            return it->second;
        }
    }
    Handle h;
    if (!m_free.empty()) {
        h = m_free.back();
        m_free.pop_back();
    } else {
        if (m_slots.size() > kMaxHandle) throw std::length_error("too many distinct character formats");
        h = static_cast<Handle>(m_slots.size());
        m_slots.emplace_back();
    }
    Slot& slot = m_slots[h];
    slot.format = std::make_unique<CCharFormat>(f);
    slot.format->SetDoc(nullptr);
    slot.hash = hash;
    slot.refs = 1;
    m_index.emplace(hash, h);
    return h;
}

void CFormatPool::Release(Handle h)
{
    CheckThread();
    Slot& slot = m_slots[h];
    if (--slot.refs != 0 || h == kDefault) return;
    auto range = m_index.equal_range(slot.hash);
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second == h) {
            m_index.erase(it);
            break;
        }
    }
    slot.format.reset();
    m_free.push_back(h);
}
