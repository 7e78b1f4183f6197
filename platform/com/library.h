// Run-time binding of shared libraries and their exports: the control binds the spelling
// library and the host's sentence checker by file name, and their functions by name.
#pragma once
#include <string>

#include "platform/base/strings.h"

namespace plat {

// One loaded library; freed when the object goes (or on Free). Movable, not copyable.
class Library {
public:
    Library() = default;
    ~Library() { Free(); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    Library(Library&& other) noexcept : m_handle(other.m_handle) { other.m_handle = nullptr; }
    Library& operator=(Library&& other) noexcept;

    // Loads the library at the path, resolving all its symbols now and keeping them to
    // itself. An empty path is refused (the loader would hand out the program itself).
    // Frees what was loaded before. False when the file cannot be loaded.
    bool Load(const String& path);
    bool IsLoaded() const { return m_handle != nullptr; }
    // The address of an exported symbol, null when the library lacks it or none is loaded.
    void* Symbol(const char* name) const;
    // The same, as a function pointer type.
    template <class Fn>
    Fn Function(const char* name) const
    {
        return reinterpret_cast<Fn>(Symbol(name));
    }
    void Free();

private:
    void* m_handle = nullptr;
};

} // namespace plat
