// A fresh temporary folder per test, removed afterwards, and small helpers to
// lay out and read back real files in it. The helpers go through the platform
// functions, so on Windows they reach paths over 260 characters as well.

#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tern::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder as a native path.
    const std::filesystem::path& path() const { return root; }
    // The folder, or a path below it, as a system path (backslashes); a
    // relative path that ends in a separator gives a system path that ends
    // in a backslash.
    std::wstring system(const std::string& relative = "") const;
    // A native path below the folder.
    std::filesystem::path native(const std::string& relative) const { return root / relative; }

private:
    std::filesystem::path root;
};

// Creates a folder and its missing parents.
void makeFolder(const std::filesystem::path& path);
// Writes text (UTF-8 bytes) to a file, creating its parent folders.
void writeFile(const std::filesystem::path& path, const std::string& bytes);
// The whole content of a file; empty when it cannot be read.
std::string readFile(const std::filesystem::path& path);
// Makes a file read-only or writable, as the Windows read-only attribute does.
void setReadOnly(const std::filesystem::path& path, bool readOnly);
bool isReadOnly(const std::filesystem::path& path);

// The whole tree below a folder, one line per entry in path order: "a/" for
// a folder, "a@" for a link (never followed), "a=text" for a file and its
// content, with " (read-only)" after a read-only file.
using Tree = std::vector<std::string>;
Tree treeOf(const std::filesystem::path& folder);

} // namespace tern::test
