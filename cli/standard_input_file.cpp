#include "cli/standard_input_file.h"

#include "platform/command_line.h"
#include "platform/file_system.h"
#include "platform/temporary_files.h"
#include "platform/text.h"

#include <filesystem>

namespace tern::cli {

StandardInputFile::StandardInputFile() {
    std::string bytes;
    if (!platform::readStandardInput(bytes)) {
        why = L"the standard input cannot be read";
        return;
    }
    std::error_code error;
    const auto folder = std::filesystem::temp_directory_path(error);
    if (error) {
        why = L"there is no temporary folder to keep the standard input in: " + platform::fromUtf8(error.message());
        return;
    }
    const std::wstring path =
        platform::toSystemPath(folder / platform::toNativePath(platform::temporaryNameBeside(L"stdin.xml")));
    if (!platform::writeFileReplacing(path, bytes, &error)) {
        why = L"the standard input cannot be kept in " + path + L": " + platform::fromUtf8(error.message());
        return;
    }
    file = path;
}

StandardInputFile::~StandardInputFile() {
    if (!file.empty())
        platform::deleteFile(file);
}

} // namespace tern::cli
