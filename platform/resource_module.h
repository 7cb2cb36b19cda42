// Resource modules stand in for the resource sections of executables and libraries. A module
// (the program itself, or Tonebank.so) exports one C function under kResourceLookupSymbol that
// finds an embedded resource by type and name. A module handle is a dlopen handle; the program's
// own is dlopen(nullptr), which finds the function the executable exports.
//
// Types used: "BITMAP" (24-bit DIB images, platform/dib.h) and "SOUND" (complete WAVE files).
// Each bitmap "NAME" is drawn for ordinary screens; "NAME@2x" is the same picture drawn at twice
// the resolution, for high-density screens.
// Names and types compare without regard to ASCII case, as the desktop's resource names do.
//
// Header-only: Zephlib, the modules and the program share it without linking one another.
#pragma once

#include <dlfcn.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

extern "C" {
// Finds the resource `name` of `type`. On success stores the address and byte count of the data,
// which stays valid while the module is loaded and must not be freed, and returns 1; otherwise
// returns 0 and leaves *bytes and *size alone. Null arguments give 0.
typedef int VoltaroResourceLookup(const char* type, const char* name, const unsigned char** bytes,
                                  std::uint32_t* size);
}

namespace voltaro::platform {

inline constexpr char kResourceLookupSymbol[] = "VoltaroFindResource";
inline constexpr char kBitmapResource[] = "BITMAP";
inline constexpr char kSoundResource[] = "SOUND";

inline constexpr char kHighDensitySuffix[] = "@2x";

// The stored name of bitmap `name` drawn at `scale`: "NAME" at 1, "NAME@2x" at 2.
inline std::string scaledResourceName(const std::string& name, int scale) {
    return scale >= 2 ? name + kHighDensitySuffix : name;
}

struct ResourceData {
    const unsigned char* bytes = nullptr;
    std::size_t size = 0;
};

// One embedded resource, as a module's table lists it.
struct ResourceEntry {
    const char* type;
    const char* name;
    const unsigned char* begin;
    const unsigned char* end;
};

inline bool sameResourceName(const char* a, const char* b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (; *a != '\0' && *b != '\0'; ++a, ++b)
        if (lower(*a) != lower(*b)) return false;
    return *a == *b;
}

// The body of a module's lookup function over its table.
inline int lookupResourceInTable(const ResourceEntry* table, std::size_t count, const char* type,
                                 const char* name, const unsigned char** bytes,
                                 std::uint32_t* size) {
    if (type == nullptr || name == nullptr || bytes == nullptr || size == nullptr) return 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (sameResourceName(table[i].type, type) && sameResourceName(table[i].name, name)) {
            *bytes = table[i].begin;
            *size = static_cast<std::uint32_t>(table[i].end - table[i].begin);
            return 1;
        }
    }
    return 0;
}

// Finds a resource in the module behind `module` (a dlopen handle). nullopt when the handle is
// null, the module exports no lookup function, or it holds no such resource.
inline std::optional<ResourceData> findResource(void* module, const char* type, const char* name) {
    if (module == nullptr) return std::nullopt;
    auto* lookup = reinterpret_cast<VoltaroResourceLookup*>(::dlsym(module, kResourceLookupSymbol));
    if (lookup == nullptr) return std::nullopt;
    const unsigned char* bytes = nullptr;
    std::uint32_t size = 0;
    if (lookup(type, name, &bytes, &size) != 1 || bytes == nullptr) return std::nullopt;
    return ResourceData{bytes, size};
}

// The program's own module handle (the running executable). It needs no closing.
inline void* programModule() { return ::dlopen(nullptr, RTLD_NOW); }

}  // namespace voltaro::platform
