#include "update/path_limit.h"

#include "platform/file_system.h"

namespace tern::update {

namespace {

class PathLimitCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "tern path limit"; }
    std::string message(int) const override {
        return "the path is longer than " + std::to_string(maxPathLength) + " characters";
    }
};

} // namespace

std::error_code pathTooLong() {
    static const PathLimitCategory category;
    return {1, category};
}

bool isExistingFolder(const std::wstring& path) { return withinPathLimit(path) && platform::isFolder(path); }

bool isExistingFile(const std::wstring& path) {
    return withinPathLimit(path) && platform::exists(path) && !platform::isFolder(path);
}

bool copyFileWithinLimit(const std::wstring& from, const std::wstring& to, platform::FailIfExists policy,
                         std::error_code* why) {
    if (withinPathLimit(from) && withinPathLimit(to))
        return platform::copyFile(from, to, policy, why);
    if (why)
        *why = pathTooLong();
    return false;
}

} // namespace tern::update
