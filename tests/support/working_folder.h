// Moves the process into another working folder for a scope and back again
// afterwards: for proving that code never writes through a bare relative
// path, which would land in whatever the working folder is.

#pragma once

#include <filesystem>
#include <system_error>

namespace tern::test {

class WorkingFolder {
public:
    explicit WorkingFolder(const std::filesystem::path& folder) : previous(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~WorkingFolder() {
        std::error_code ignored;
        std::filesystem::current_path(previous, ignored);
    }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    std::filesystem::path previous;
};

} // namespace tern::test
