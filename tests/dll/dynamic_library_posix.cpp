#include "tests/dll/dynamic_library.h"

#include <dlfcn.h>

namespace tern::test {

DynamicLibrary::DynamicLibrary(const std::string& fileName) : handle(::dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    if (!handle)
        failure = ::dlerror();
}

DynamicLibrary::~DynamicLibrary() {
    if (handle)
        ::dlclose(handle);
}

void* DynamicLibrary::symbol(const std::string& name) const { return handle ? ::dlsym(handle, name.c_str()) : nullptr; }

} // namespace tern::test
