#include "tests/dll/dynamic_library.h"

#include "platform/text.h"

#include <windows.h>

namespace tern::test {

DynamicLibrary::DynamicLibrary(const std::string& fileName)
    : handle(::LoadLibraryW(platform::fromUtf8(fileName).c_str())) {
    if (!handle)
        failure = "LoadLibraryW failed with error " + std::to_string(::GetLastError());
}

DynamicLibrary::~DynamicLibrary() {
    if (handle)
        ::FreeLibrary(static_cast<HMODULE>(handle));
}

void* DynamicLibrary::symbol(const std::string& name) const {
    // GetProcAddress gives a function pointer type; the caller casts back.
    return handle ? reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle), name.c_str())) : nullptr;
}

} // namespace tern::test
