#include "platform/posix/folder_staging.h"

#include "platform/file_system.h"
#include "platform/posix/copy_between_folders.h"
#include "platform/temporary_files.h"
#include "platform/text.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace tern::platform::posix {

namespace {

// Whether the open file carries extended attributes; a file system that
// keeps none answers that it cannot.
bool hasExtendedAttributes(int fd) {
    const ssize_t size = ::flistxattr(fd, nullptr, 0);
    return size > 0 || (size < 0 && errno != ENOTSUP);
}

// A folder as its parent holds it.
struct Place {
    std::wstring parentPath; // a system path ending in a backslash; empty for the working folder
    std::string name;
    FileDescriptor parent;
    struct stat status {}; // the folder's
};

// Finds where the folder open as `fd`, whose system path is `folder`, lies;
// false unless a folder made beside it could take its place and be the same to
// whoever uses it: the path's last name must hold this very folder, on its
// parent's file system (no link, no mount point), owned by this process's
// user and with no extended attributes, which a new folder would not have.
bool findPlace(int fd, const std::wstring& folder, Place& place) {
    const std::size_t end = folder.find_last_not_of(L'\\');
    if (end == std::wstring::npos) // a root has no parent
        return false;
    // 0 when the name has no backslash before it.
    const std::size_t start = folder.rfind(L'\\', end) + 1;
    place.parentPath = folder.substr(0, start);
    place.name = toUtf8(folder.substr(start, end + 1 - start));
    if (place.name == "." || place.name == "..")
        return false;
    const std::string parent = place.parentPath.empty() ? "." : toNativePath(place.parentPath).native();
    place.parent.reset(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat parentStatus {};
    struct stat entry {};
    if (!place.parent.valid() || ::fstat(fd, &place.status) != 0 || ::fstat(place.parent.get(), &parentStatus) != 0 ||
        ::fstatat(place.parent.get(), place.name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    const bool same = S_ISDIR(entry.st_mode) && entry.st_dev == place.status.st_dev &&
                      entry.st_ino == place.status.st_ino && entry.st_dev == parentStatus.st_dev;
    return same && place.status.st_uid == ::geteuid() && !hasExtendedAttributes(fd);
}

// Makes a hidden folder beside the folder at `place`, with its group and
// permissions, and returns it open (-1 when it cannot be made so); `name`
// receives its name. What killed processes left there goes first.
int makeHiddenFolder(const Place& place, std::string& name) {
    removeStaleTemporaryFilesOnce(place.parentPath);
    const mode_t mode = place.status.st_mode & 07777;
    for (;;) {
        name = toUtf8(temporaryNameBeside(fromUtf8(place.name)));
        if (failsNow(FileCall::makeFolder))
            return -1;
        if (::mkdirat(place.parent.get(), name.c_str(), mode) == 0)
            break;
        if (errno != EEXIST)
            return -1;
    }
    FileDescriptor hidden(::openat(place.parent.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat made {};
    // The umask may have withheld permissions; a folder's default ACL or a
    // group of the parent's would make it differ in what it cannot change.
    const bool alike = hidden.valid() && ::fstat(hidden.get(), &made) == 0 && made.st_gid == place.status.st_gid &&
                       ((made.st_mode & 07777) == mode || ::fchmod(hidden.get(), mode) == 0) &&
                       !hasExtendedAttributes(hidden.get());
    if (alike)
        return hidden.release();
    hidden.close();
    ::unlinkat(place.parent.get(), name.c_str(), AT_REMOVEDIR);
    return -1;
}

} // namespace

std::optional<std::vector<std::error_code>>
copyIntoEmptyFolder(int from, FileDescriptor& to, const std::wstring& folder, const std::vector<std::string>& names) {
    Place place;
    if (!findPlace(to.get(), folder, place))
        return std::nullopt;
    std::string hiddenName;
    FileDescriptor hidden(makeHiddenFolder(place, hiddenName));
    if (!hidden.valid())
        return std::nullopt;

    std::vector<std::error_code> outcomes;
    outcomes.reserve(names.size());
    for (const std::string& name : names)
        outcomes.push_back(copyFileOutOfSight(from, hidden.get(), name));

    // A rename replaces a folder only while it is empty.
    const int parent = place.parent.get();
    if (!failsNow(FileCall::rename) && ::renameat(parent, hiddenName.c_str(), parent, place.name.c_str()) == 0) {
        to.reset(hidden.release());
        return outcomes;
    }
    // The folder has filled or gone meanwhile: each copy made moves into it
    // on its own, where its name is still free.
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (outcomes[i])
            continue;
        const char* name = names[i].c_str();
        outcomes[i] = moveToFreePlace(hidden.get(), name, to.get(), name);
        if (outcomes[i])
            ::unlinkat(hidden.get(), name, 0);
    }
    hidden.close();
    ::unlinkat(parent, hiddenName.c_str(), AT_REMOVEDIR);
    return outcomes;
}

} // namespace tern::platform::posix
