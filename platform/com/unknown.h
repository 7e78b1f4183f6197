// Reference-counted objects reached through interfaces, as the component services of the
// platform offer them: every object counts its references (AddRef/Release), hands out its
// other interfaces by interface id (QueryInterface), and counts towards the module's live
// objects, so that a host knows when the library may be unloaded. Class factories create
// the objects of one class by class id. Interface and class ids are GUIDs.
#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/base/strings.h"
#include "platform/com/hresult.h"

namespace plat {

// A GUID in its binary form. Its text form is the one the registry holds:
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};

    // Reads "{8-4-4-4-12}" or the same without braces (as plat::NewGuid gives), any case;
    // false (and *out untouched) for anything else.
    static bool Parse(StringView text, Guid* out);
    // A GUID written in the source as text; a malformed one is a programming error and
    // throws std::invalid_argument.
    static Guid FromText(StringView text);
    // A fresh random GUID, from plat::NewGuid.
    static Guid New();
    String ToString() const;
    bool IsNull() const { return *this == Guid{}; }

    friend bool operator==(const Guid& a, const Guid& b)
    {
        return a.data1 == b.data1 && a.data2 == b.data2 && a.data3 == b.data3 && a.data4 == b.data4;
    }
    friend bool operator!=(const Guid& a, const Guid& b) { return !(a == b); }
};

// The interface every object offers. An interface is a class deriving from Unknown with
// a static `Iid()`. QueryInterface hands out an interface with a reference added; a
// caller releases each reference it holds.
class Unknown {
public:
    static const Guid& Iid();
    virtual HRESULT QueryInterface(const Guid& iid, void** out) = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;

protected:
    virtual ~Unknown() = default;
};

// The module's counts behind DllCanUnloadNow: live objects and server locks.
long LiveObjectCount();
long ServerLockCount();
// A host locks the module (LockServer) to keep it loaded without holding an object.
void LockModule(bool lock);
// True when no object and no lock is alive.
bool ModuleCanUnload();

// Counts itself among the live objects of the module while it exists.
class LiveObjectCounter {
public:
    LiveObjectCounter();
    LiveObjectCounter(const LiveObjectCounter&);
    LiveObjectCounter& operator=(const LiveObjectCounter&) { return *this; }
    ~LiveObjectCounter();
};

// An object implementing the listed interfaces. It is born with one reference, which the
// creator owns, and deletes itself when the last reference is released. QueryInterface
// answers Unknown's id with the first interface and each interface's id with that
// interface. Objects are created with `new` and never deleted directly.
template <class First, class... Rest>
class Object : public First, public Rest... {
public:
    HRESULT QueryInterface(const Guid& iid, void** out) override
    {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == Unknown::Iid()) {
            *out = static_cast<Unknown*>(static_cast<First*>(this));
        } else {
            FindInterface<First, Rest...>(iid, out);
        }
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    std::uint32_t AddRef() override { return ++m_refs; }
    std::uint32_t Release() override
    {
        const std::uint32_t left = --m_refs;
        if (left == 0) delete this;
        return left;
    }

protected:
    Object() = default;
    ~Object() override = default;

private:
    template <class I, class... More>
    void FindInterface(const Guid& iid, void** out)
    {
        if (iid == I::Iid()) {
            *out = static_cast<I*>(this);
            return;
        }
        if constexpr (sizeof...(More) > 0) FindInterface<More...>(iid, out);
    }

    std::atomic<std::uint32_t> m_refs{1};
    LiveObjectCounter m_live;
};

// Holds one reference to an interface and releases it when it goes.
template <class I>
class Ref {
public:
    Ref() = default;
    // Takes over a reference the caller owns (a new object, an out-parameter).
    static Ref Adopt(I* p)
    {
        Ref r;
        r.m_p = p;
        return r;
    }
    Ref(const Ref& other) : m_p(other.m_p) { if (m_p) m_p->AddRef(); }
    Ref(Ref&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
    Ref& operator=(Ref other) noexcept
    {
        std::swap(m_p, other.m_p);
        return *this;
    }
    ~Ref() { Reset(); }
    void Reset()
    {
        if (m_p) m_p->Release();
        m_p = nullptr;
    }
    I* Get() const { return m_p; }
    I* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // The slot a QueryInterface-like call writes a new reference into.
    void** Slot()
    {
        Reset();
        return reinterpret_cast<void**>(&m_p);
    }

private:
    I* m_p = nullptr;
};

// The class-factory interface: creates objects of one class.
class ClassFactory : public Unknown {
public:
    static const Guid& Iid();
    // Creates an object and asks it for `iid`. An outer object asks for aggregation, which
    // no class of ours supports: CLASS_E_NOAGGREGATION.
    virtual HRESULT CreateInstance(Unknown* outer, const Guid& iid, void** out) = 0;
    // Locks or unlocks the module (see LockModule).
    virtual HRESULT LockServer(bool lock) = 0;
};

// The factory of one class: its class id and a function that makes a new object (holding
// the one reference it is born with), or null when it cannot.
class SimpleClassFactory : public Object<ClassFactory> {
public:
    using Creator = std::function<Unknown*()>;
    SimpleClassFactory(const Guid& clsid, Creator create) : m_clsid(clsid), m_create(std::move(create)) {}
    const Guid& ClassId() const { return m_clsid; }
    HRESULT CreateInstance(Unknown* outer, const Guid& iid, void** out) override;
    HRESULT LockServer(bool lock) override;

private:
    Guid m_clsid;
    Creator m_create;
};

// One class a module serves: its id and how to make an object of it.
struct ClassEntry {
    Guid clsid;
    SimpleClassFactory::Creator create;
};

// What DllGetClassObject does for a module serving these classes: a new factory for
// `clsid` asked for `iid`; CLASS_E_CLASSNOTAVAILABLE for a class the module does not serve.
HRESULT GetClassObject(const std::vector<ClassEntry>& classes, const Guid& clsid,
                       const Guid& iid, void** out);

} // namespace plat
