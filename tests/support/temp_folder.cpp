#include "tests/support/temp_folder.h"

#include "platform/file_system.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

namespace tern::test {

namespace {

// Empties a folder (a system path ending in a backslash) without following
// links out of it: a link is removed as an entry of its own. Read-only files
// and folders would stop the clean-up, so each is made writable first.
void removeContents(const std::wstring& folder) {
    std::vector<platform::FolderEntry> entries;
    platform::findFiles(folder + L"*.*", entries);
    for (const platform::FolderEntry& entry : entries) {
        const std::wstring path = folder + entry.name;
        if (!entry.isLink())
            platform::setAttributes(path, platform::attrNormal);
        if (!entry.isFolder()) {
            platform::deleteFile(path);
            continue;
        }
        if (!entry.isLink())
            removeContents(path + L"\\");
        platform::removeFolder(path);
    }
}

#ifdef _WIN32
// Windows lists through the platform functions, the only ones here that
// reach paths over 260 characters.
void listInto(Tree& tree, const std::wstring& folder, const std::string& prefix) {
    std::vector<platform::FolderEntry> entries;
    if (!platform::findFiles(folder + L"*.*", entries))
        ADD_FAILURE() << "cannot list " << platform::toUtf8(folder);
    for (const platform::FolderEntry& entry : entries) {
        const std::string name = prefix + platform::toUtf8(entry.name);
        const std::wstring path = folder + entry.name;
        if (entry.isLink()) {
            tree.push_back(name + "@");
        } else if (entry.isFolder()) {
            tree.push_back(name + "/");
            listInto(tree, path + L"\\", name + "/");
        } else {
            std::string bytes;
            platform::readFile(path, bytes);
            tree.push_back(name + "=" + bytes + ((entry.attributes & platform::attrReadOnly) ? " (read-only)" : ""));
        }
    }
}

void listTree(Tree& tree, const fs::path& folder) { listInto(tree, platform::toSystemPath(folder / ""), ""); }
#else
// Elsewhere the listing is the standard library's, independent of the
// platform functions the tests check; a file is read-only as the POSIX
// backend makes it, without its owner's write permission.
void listTree(Tree& tree, const fs::path& folder) {
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().lexically_relative(folder).generic_u8string();
        if (it->is_symlink()) {
            tree.push_back(name + "@");
        } else if (it->is_directory()) {
            tree.push_back(name + "/");
        } else {
            std::ifstream file(it->path(), std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
            const bool readOnly = (it->status().permissions() & fs::perms::owner_write) == fs::perms::none;
            tree.push_back(name + "=" + bytes + (readOnly ? " (read-only)" : ""));
        }
    }
    if (ec)
        ADD_FAILURE() << "cannot list " << folder << ": " << ec.message();
}
#endif

} // namespace

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "tn";
    for (char& c : name)
        if (c == '/')
            c = '_';
    std::error_code ec;
    for (int attempt = 0;; ++attempt) {
        root = fs::temp_directory_path() /
               ("tn-" + name + "-" + std::to_string(counter++) + "-" + std::to_string(attempt));
        if (fs::create_directories(root, ec))
            break;
    }
}

TempFolder::~TempFolder() {
    // system() ends in a backslash.
    removeContents(system());
    platform::removeFolder(system());
}

std::wstring TempFolder::system(const std::string& relative) const {
    fs::path full = relative.empty() ? root / "" : root / relative;
    return platform::toSystemPath(full);
}

void makeFolder(const fs::path& path) {
    const std::wstring system = platform::toSystemPath(path);
    if (path.empty() || platform::isFolder(system))
        return;
    makeFolder(path.parent_path());
    if (!platform::isFolder(system) && !platform::makeFolder(system))
        ADD_FAILURE() << "cannot make the folder " << path;
}

void writeFile(const fs::path& path, const std::string& bytes) {
    makeFolder(path.parent_path());
    if (!platform::writeFileReplacing(platform::toSystemPath(path), bytes))
        ADD_FAILURE() << "cannot write " << path;
}

std::string readFile(const fs::path& path) {
    std::string bytes;
    platform::readFile(platform::toSystemPath(path), bytes);
    return bytes;
}

void setReadOnly(const fs::path& path, bool readOnly) {
    std::uint32_t attributes = 0;
    const std::wstring system = platform::toSystemPath(path);
    ASSERT_TRUE(platform::getAttributes(system, attributes)) << path;
    attributes = readOnly ? (attributes | platform::attrReadOnly) : (attributes & ~platform::attrReadOnly);
    ASSERT_TRUE(platform::setAttributes(system, attributes)) << path;
}

bool isReadOnly(const fs::path& path) {
    std::uint32_t attributes = 0;
    return platform::getAttributes(platform::toSystemPath(path), attributes) && (attributes & platform::attrReadOnly);
}

Tree treeOf(const fs::path& folder) {
    Tree tree;
    listTree(tree, folder);
    std::sort(tree.begin(), tree.end());
    return tree;
}

} // namespace tern::test
