// Shared character formats. A document holds one text item per character and nearly all
// of them share a handful of formats, so each distinct format is kept once, immutable, and
// items hold a small counted handle to it. Changing an item's format swaps its handle, so
// no item ever sees another's change. Like the rest of the editor, the pool is used from
// the UI thread only.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>
#include <unordered_map>
#include <vector>

#include "document/char_format.h"

class CFormatPool {
public:
    using Handle = std::uint32_t;
    static constexpr Handle kDefault = 0;      // the default format; never released
    static constexpr Handle kMaxHandle = 0xFFFFFF; // items keep handles in 24 bits

    // The process's pool; it lives until the process ends.
    static CFormatPool& Instance();

    CFormatPool();
    CFormatPool(const CFormatPool&) = delete;
    CFormatPool& operator=(const CFormatPool&) = delete;

    // The handle of a format equal to f (a reference is added for the caller).
    Handle Intern(const CCharFormat& f);
    void AddRef(Handle h) { ++m_slots[h].refs; }
    void Release(Handle h);
    // The pooled value; it lives while a reference to its handle is held. Its document is
    // null: a pooled format belongs to no document.
    const CCharFormat& Get(Handle h) const { return *m_slots[h].format; }
    // How many distinct formats are alive.
    std::size_t LiveCount() const { return m_slots.size() - m_free.size(); }

private:
    struct Slot {
        std::unique_ptr<CCharFormat> format;
        std::size_t hash = 0;
        std::uint32_t refs = 0;
    };
    // Debug builds check that the pool stays on the thread that made it: it has no lock.
    void CheckThread() const;

    std::vector<Slot> m_slots;
    std::vector<Handle> m_free;
    std::unordered_multimap<std::size_t, Handle> m_index;
#ifndef NDEBUG
    std::thread::id m_thread = std::this_thread::get_id();
#endif
};

// A counted reference to a pooled format, for holders other than items (the running
// format of a record walk, the results of a format change).
class CFormatRef {
public:
    CFormatRef() : m_handle(CFormatPool::kDefault) { Pool().AddRef(m_handle); }
    explicit CFormatRef(const CCharFormat& f) : m_handle(Pool().Intern(f)) {}
    CFormatRef(const CFormatRef& o) : m_handle(o.m_handle) { Pool().AddRef(m_handle); }
    CFormatRef& operator=(const CFormatRef& o)
    {
        Set(o.m_handle);
        return *this;
    }
    ~CFormatRef() { Pool().Release(m_handle); }

    CFormatPool::Handle Handle() const { return m_handle; }
    const CCharFormat& Format() const { return Pool().Get(m_handle); }
    void Set(CFormatPool::Handle h)
    {
        Pool().AddRef(h);
        Pool().Release(m_handle);
        m_handle = h;
    }
    void Set(const CCharFormat& f)
    {
        CFormatPool::Handle h = Pool().Intern(f);
        Pool().Release(m_handle);
        m_handle = h;
    }

private:
    static CFormatPool& Pool() { return CFormatPool::Instance(); }
    CFormatPool::Handle m_handle;
};

// One change applied to the formats of many items: each distinct format is changed and
// pooled once for a run of items that share it, rather than once per item.
class CFormatMemo {
public:
    template <class Change>
    CFormatPool::Handle Map(CFormatPool::Handle h, Change change)
    {
        if (!m_valid || h != m_from.Handle()) {
            CCharFormat f(CFormatPool::Instance().Get(h));
            change(f);
            m_from.Set(h); // held, so the handle cannot be reused for another format
            m_to.Set(f);
            m_valid = true;
        }
        return m_to.Handle();
    }

private:
    CFormatRef m_from;
    CFormatRef m_to;
    bool m_valid = false;
};
