// A shared library opened by file name at run time, as the application opens
// TnUpdate, and the symbols it exports. The build picks the POSIX or the
// Win32 implementation.

#pragma once

#include <string>

namespace tern::test {

class DynamicLibrary {
public:
    // Opens the library by its file name, which the platform's own search
    // finds (on Windows, beside the program), or by its whole path.
    explicit DynamicLibrary(const std::string& fileName);
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    bool isOpen() const { return handle != nullptr; }
    // Why the library could not be opened; empty when it was.
    const std::string& error() const { return failure; }
    // The address of an exported symbol, by its mangled name; null when the
    // library does not export it.
    void* symbol(const std::string& name) const;

private:
    void* handle = nullptr;
    std::string failure;
};

} // namespace tern::test
