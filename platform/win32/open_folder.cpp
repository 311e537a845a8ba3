// The Win32 backend of the open folder: the folder's path, and the path
// functions on folder + name. Windows looks a path up in the file system's
// own cache, and its fail-if-exists copy asks for the destination itself.

#include "platform/open_folder.h"

namespace tern::platform {

struct OpenFolder::Backend {};

OpenFolder::OpenFolder(std::wstring path) : folderPath(std::move(path)) {}

OpenFolder::~OpenFolder() = default;

bool OpenFolder::listKinds(const std::wstring& wildcard, std::vector<FolderEntry>& entries,
                           std::error_code* why) const {
    return findFiles(folderPath + wildcard, entries, why);
}

bool OpenFolder::getStatus(const std::wstring& name, FileStatus& status, std::error_code* why) const {
    return getFileStatus(folderPath + name, status, why);
}

bool OpenFolder::copyNewFile(const OpenFolder& source, const std::wstring& name, std::error_code* why) {
    return copyFile(source.folderPath + name, folderPath + name, FailIfExists::yes, why);
}

// Each copy is CopyFileW's own, which makes the file in place.
std::optional<std::vector<std::error_code>> OpenFolder::copyAllAtOnce(const OpenFolder&,
                                                                      const std::vector<std::wstring>&) {
    return std::nullopt;
}

} // namespace tern::platform
