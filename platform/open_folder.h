// A folder opened once, whose files are then reached by name.
//
// A run walks folders of thousands of files, most of them there already. By
// path, each file would cost the system a lookup of every folder above it,
// again and again; an open folder is looked up once, and each of its files
// by its name alone. The POSIX backend holds an open descriptor of the folder
// and answers relative to it; the Win32 backend holds the path and passes
// folder + name to the path functions of platform/file_system.h, whose
// semantics every call here keeps.
//
// A folder that cannot be opened (missing, not a folder, not readable) is
// still a valid object: each call then gives what the path function gives
// for folder + name, the failure included.

#pragma once

#include "platform/file_system.h"

#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace tern::platform {

class OpenFolder {
public:
    // Opens the folder of the system path `path`, which ends in a backslash;
    // names are appended to `path` as they are, so that a path without one
    // acts as folder + name would.
    explicit OpenFolder(std::wstring path);
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    // The system path the folder was opened by, as it was given.
    const std::wstring& path() const { return folderPath; }

    // The entries whose names match `wildcard`, in the order and with the
    // matching of findFiles(path() + wildcard), described at least by kind:
    // attributes carry attrFolder and attrLink as findFiles gives them, while
    // the read-only bit and lastWrite may be left 0 (getStatus tells them).
    bool listKinds(const std::wstring& wildcard, std::vector<FolderEntry>& entries,
                   std::error_code* why = nullptr) const;

    // getFileStatus(path() + name).
    bool getStatus(const std::wstring& name, FileStatus& status, std::error_code* why = nullptr) const;

    // copyFile(source.path() + name, path() + name, FailIfExists::yes). The
    // folder may be asked once, at the first copy, for all the names it holds
    // (the POSIX backend does: one listing rather than a lookup a file); a
    // name found then fails its copy at once with std::errc::file_exists, as
    // an existing destination does. Any other name is copied only while its
    // place is free, as ever.
    bool copyNewFile(const OpenFolder& source, const std::wstring& name, std::error_code* why = nullptr);

    // copyNewFile for each of `names`, in turn; each name's outcome (no
    // error for a copy made). Into a folder that holds nothing, the POSIX
    // backend makes the copies out of sight, in a hidden folder that takes
    // this one's place when all are made (platform/posix/folder_staging.h):
    // the files then appear together, and a process killed half-way leaves
    // the folder empty.
    std::vector<std::error_code> copyNewFiles(const OpenFolder& source, const std::vector<std::wstring>& names);

private:
    // The outcomes of copying all of `names` at once, as the backend can;
    // nothing, before anything is copied, when it cannot here.
    std::optional<std::vector<std::error_code>> copyAllAtOnce(const OpenFolder& source,
                                                              const std::vector<std::wstring>& names);

    struct Backend;
    std::wstring folderPath;
    std::unique_ptr<Backend> backend;
};

} // namespace tern::platform
