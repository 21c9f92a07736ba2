// Loading a plug-in and finding its entry point: the one place where the
// replay runner differs between Windows and POSIX hosts.
#pragma once

#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace loader {

#if defined(_WIN32)
using Handle = HMODULE;
#else
using Handle = void*;
#endif

// Loads the shared library at `path`; null on failure, with `error` set.
inline Handle open(const std::string& path, std::string& error) {
#if defined(_WIN32)
    Handle h = LoadLibraryA(path.c_str());
    if (h == nullptr) error = "LoadLibrary failed with code " + std::to_string(GetLastError());
#else
    Handle h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (h == nullptr) error = dlerror();
#endif
    return h;
}

// The address of the exported function `name`, or null.
template <typename Function>
Function find(Handle h, const char* name) {
#if defined(_WIN32)
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(h, name)));
#else
    return reinterpret_cast<Function>(dlsym(h, name));
#endif
}

inline void close(Handle h) {
#if defined(_WIN32)
    FreeLibrary(h);
#else
    dlclose(h);
#endif
}

}  // namespace loader
