#include "platform/com/library.h"

#include <dlfcn.h>

namespace plat {

Library& Library::operator=(Library&& other) noexcept
{
    if (this != &other) {
        Free();
        m_handle = other.m_handle;
        other.m_handle = nullptr;
    }
    return *this;
}

bool Library::Load(const String& path)
{
    Free();
    if (path.empty()) return false;
    const std::string file = Utf16ToUtf8(path);
    // A path with an embedded 0 would load some other file.
    if (file.find('\0') != std::string::npos) return false;
    m_handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    return m_handle != nullptr;
}

void* Library::Symbol(const char* name) const
{
    if (!m_handle || !name) return nullptr;
    return dlsym(m_handle, name);
}

void Library::Free()
{
    if (!m_handle) return;
    dlclose(m_handle);
    m_handle = nullptr;
}

} // namespace plat
