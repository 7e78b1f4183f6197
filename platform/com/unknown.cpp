#include "platform/com/unknown.h"

#include <new>
#include <stdexcept>

#include "platform/base/system.h"

namespace plat {

namespace {

std::atomic<long> g_liveObjects{0};
std::atomic<long> g_serverLocks{0};

int HexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// Reads `digits` hexadecimal digits at text[*pos], moving *pos on.
bool ReadHex(StringView text, size_t* pos, int digits, std::uint64_t* value)
{
    if (*pos + digits > text.size()) return false;
    std::uint64_t v = 0;
    for (int i = 0; i < digits; ++i) {
        const int d = HexDigit(text[*pos + i]);
        if (d < 0) return false;
        v = v << 4 | static_cast<std::uint64_t>(d);
    }
    *pos += digits;
    *value = v;
    return true;
}

bool ReadDash(StringView text, size_t* pos)
{
    if (*pos >= text.size() || text[*pos] != u'-') return false;
    ++*pos;
    return true;
}

} // namespace

bool Guid::Parse(StringView text, Guid* out)
{
    if (text.size() == 38) {
        if (text.front() != u'{' || text.back() != u'}') return false;
        text = text.substr(1, 36);
    }
    if (text.size() != 36) return false;
    Guid g;
    size_t pos = 0;
    std::uint64_t v = 0;
    if (!ReadHex(text, &pos, 8, &v)) return false;
    g.data1 = static_cast<std::uint32_t>(v);
    if (!ReadDash(text, &pos) || !ReadHex(text, &pos, 4, &v)) return false;
    g.data2 = static_cast<std::uint16_t>(v);
    if (!ReadDash(text, &pos) || !ReadHex(text, &pos, 4, &v)) return false;
    g.data3 = static_cast<std::uint16_t>(v);
    if (!ReadDash(text, &pos)) return false;
    for (int i = 0; i < 8; ++i) {
        if (i == 2 && !ReadDash(text, &pos)) return false;
        if (!ReadHex(text, &pos, 2, &v)) return false;
        g.data4[i] = static_cast<std::uint8_t>(v);
    }
    *out = g;
    return true;
}

Guid Guid::FromText(StringView text)
{
    Guid g;
    if (!Parse(text, &g)) throw std::invalid_argument("malformed GUID: " + Utf16ToUtf8(text));
    return g;
}

Guid Guid::New()
{
    return FromText(NewGuid());
}

String Guid::ToString() const
{
    return Format(u"{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", data1, data2, data3,
                  data4[0], data4[1], data4[2], data4[3], data4[4], data4[5], data4[6], data4[7]);
}

const Guid& Unknown::Iid()
{
    static const Guid iid = Guid::FromText(u"00000000-0000-0000-C000-000000000046");
    return iid;
}

const Guid& ClassFactory::Iid()
{
    static const Guid iid = Guid::FromText(u"00000001-0000-0000-C000-000000000046");
    return iid;
}

long LiveObjectCount() { return g_liveObjects.load(); }
long ServerLockCount() { return g_serverLocks.load(); }

void LockModule(bool lock)
{
    if (lock) {
        ++g_serverLocks;
        return;
    }
    // An unlock without a lock is the caller's mistake; the count never goes below 0.
    long n = g_serverLocks.load();
    while (n > 0 && !g_serverLocks.compare_exchange_weak(n, n - 1)) {
    }
}

bool ModuleCanUnload() { return g_liveObjects.load() == 0 && g_serverLocks.load() == 0; }

LiveObjectCounter::LiveObjectCounter() { ++g_liveObjects; }
LiveObjectCounter::LiveObjectCounter(const LiveObjectCounter&) { ++g_liveObjects; }
LiveObjectCounter::~LiveObjectCounter() { --g_liveObjects; }

HRESULT SimpleClassFactory::CreateInstance(Unknown* outer, const Guid& iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    Unknown* object = nullptr;
    try {
        object = m_create ? m_create() : nullptr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (!object) return E_OUTOFMEMORY;
    // The object's first reference is ours; the caller's comes from QueryInterface. An
    // interface the class lacks leaves nothing behind.
    const HRESULT hr = object->QueryInterface(iid, out);
    object->Release();
    return hr;
}

HRESULT SimpleClassFactory::LockServer(bool lock)
{
    LockModule(lock);
    return S_OK;
}

HRESULT GetClassObject(const std::vector<ClassEntry>& classes, const Guid& clsid,
                       const Guid& iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    for (const ClassEntry& entry : classes) {
        if (entry.clsid != clsid) continue;
        auto* factory = new SimpleClassFactory(entry.clsid, entry.create);
        const HRESULT hr = factory->QueryInterface(iid, out);
        factory->Release();
        return hr;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

} // namespace plat
