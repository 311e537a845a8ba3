#include "tests/support/temp_folder.h"

#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace tern::test {

namespace {

// Read-only files and folders would stop the clean-up: make everything
// writable first, without following links out of the tree.
void makeTreeWritable(const fs::path& root) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (!it->is_symlink(ec))
            platform::setAttributes(platform::toSystemPath(it->path()), platform::attrNormal);
    }
}

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
    makeTreeWritable(root);
    std::error_code ec;
    fs::remove_all(root, ec);
}

std::wstring TempFolder::system(const std::string& relative) const {
    fs::path full = relative.empty() ? root / "" : root / relative;
    return platform::toSystemPath(full);
}

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out)
        ADD_FAILURE() << "cannot write " << path;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
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

} // namespace tern::test
