#include "platform/file_system.h"

namespace tern::platform {

namespace {

class FileErrorCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "tern file"; }
    std::string message(int value) const override {
        switch (static_cast<FileError>(value)) {
        case FileError::notRegularFile:
            return "not a regular file (a pipe, a device or a socket)";
        case FileError::tooLarge:
            return "larger than the " + std::to_string(maxReadSize >> 20) + " MiB a file may have to be read";
        }
        return "unknown file error";
    }
};

} // namespace

const std::error_category& fileErrorCategory() {
    static const FileErrorCategory category;
    return category;
}

std::error_code make_error_code(FileError error) { return {static_cast<int>(error), fileErrorCategory()}; }

} // namespace tern::platform
