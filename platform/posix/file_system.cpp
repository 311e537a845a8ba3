// The POSIX backend of the file-system operations.
//
// POSIX lets root write, replace and delete anything, and unlink() does not
// care about the file's own permissions at all. The Windows read-only
// attribute is therefore checked here, before each operation that it would
// stop, as the absence of the owner's write permission.

#include "platform/file_system.h"

#include "platform/error_report.h"
#include "platform/posix/copy_between_folders.h"
#include "platform/posix/file_descriptor.h"
#include "platform/posix/file_time.h"
#include "platform/posix/folder_listing.h"
#include "platform/temporary_files.h"
#include "platform/text.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace tern::platform {

using posix::describe;
using posix::failsNow;
using posix::FileDescriptor;
using posix::isReadOnly;
using posix::lastError;

namespace {

// The native spelling of a system path without trailing separators, so that
// a final link is addressed as the link itself ("link/" would be its target).
std::string nativeName(const std::wstring& path) {
    std::string native = toNativePath(path).native();
    while (native.size() > 1 && native.back() == '/')
        native.pop_back();
    return native;
}

// Opens a file to read its content, following a link as reading does on
// Windows. Only a regular file has content to read: a folder, a pipe or a
// device is refused. The open does not wait (a pipe without a writer would
// block it), and the file is refused before anything is read from it.
// The file is `name` as openat finds it from `at`.
std::error_code openToReadAt(int at, const char* name, FileDescriptor& fd, struct stat& status) {
    fd.reset(failsNow(FileCall::open) ? -1 : ::openat(at, name, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid() || ::fstat(fd.get(), &status) != 0)
        return lastError();
    if (S_ISDIR(status.st_mode))
        return std::make_error_code(std::errc::is_a_directory);
    return S_ISREG(status.st_mode) ? std::error_code() : make_error_code(FileError::notRegularFile);
}

std::error_code openToRead(const std::wstring& path, FileDescriptor& fd, struct stat& status) {
    return openToReadAt(AT_FDCWD, nativeName(path).c_str(), fd, status);
}

// The file a replacing write or copy to `native` acts on: the file a link
// leads to, through any chain of links, as Windows' file functions follow
// them; `native` itself when it is no link. A link that leads nowhere gives
// a reason.
std::error_code writeTarget(const std::string& native, std::string& target) {
    target = native;
    struct stat status {};
    if (::lstat(native.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
        return {};
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(native.c_str(), nullptr), &std::free);
    if (!real)
        return lastError();
    target = real.get();
    return {};
}

// Why a file may not be put at `native` (by a copy, a replacement or a
// rename): a folder is in the way, or a read-only file. A missing file or a
// writable one gives no reason. `existing` receives the present file's
// status, or stays untouched. Writes and copies follow a link beforehand
// (writeTarget); only a rename meets one here.
std::error_code whyNotReplaceable(const std::string& native, struct stat* existing = nullptr) {
    struct stat status {};
    if (::lstat(native.c_str(), &status) != 0)
        return errno == ENOENT ? std::error_code() : lastError();
    if (S_ISLNK(status.st_mode)) {
        // A rename replaces the link itself; only a link to a folder stands
        // in the way, as the folder would.
        struct stat target {};
        const bool toFolder = ::stat(native.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
        return toFolder ? std::make_error_code(std::errc::is_a_directory) : std::error_code();
    }
    if (S_ISDIR(status.st_mode))
        return std::make_error_code(std::errc::is_a_directory);
    if (isReadOnly(status))
        return std::make_error_code(std::errc::permission_denied);
    if (existing)
        *existing = status;
    return {};
}

// The folder part of a native path, with its final slash; empty for a bare name.
std::string folderOf(const std::string& native) {
    const std::size_t slash = native.rfind('/');
    return slash == std::string::npos ? std::string() : native.substr(0, slash + 1);
}

// Flushes a folder's entries so that a rename in it survives a crash; a
// folder that cannot be flushed leaves the rename merely less durable.
void flushFolder(const std::string& folder) {
    FileDescriptor fd(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid())
        ::fsync(fd.get());
}

// Creates a new file beside `target`, under a name no other file has
// (platform/temporary_files.h), with the permissions `mode` less what the
// umask or the folder's default ACL withholds, and returns it open for
// writing; `created` receives its name.
int createBeside(const std::string& target, mode_t mode, std::string& created) {
    const std::string folder = folderOf(target);
    const std::wstring name = fromUtf8(target.substr(folder.size()));
    for (;;) {
        created = folder + toUtf8(temporaryNameBeside(name));
        const int fd = failsNow(FileCall::open) ? -1 : ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
}

// How a file written beside its target takes the target's place.
enum class Placement {
    // Over whatever is there, flushed to disk first, so that the old file
    // stays whole until the new one is.
    replace,
    // Only while the place is free: a file that appears meanwhile is never
    // overwritten. Not flushed: what a killed process leaves is the whole
    // file or none, and a run that finds none copies it again.
    create,
};

// Whether the open of a file without a name failed because the kernel or
// the file system makes none.
bool unnamedFilesUnsupported(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

// Whether the kernel names an unnamed file from its descriptor alone.
// Older kernels let only a process with CAP_DAC_READ_SEARCH do so and
// refuse the rest with ENOENT; these go through /proc instead, at the cost
// of a lookup of the descriptor's path there (an eighth of a new file's
// copy).
std::atomic<bool> namesByDescriptor{true};

// Gives the unnamed file open as `fd` the name `name`, which linkat finds
// from `at`; fails if a file has that name.
std::error_code nameUnnamed(int fd, int at, const char* name) {
    if (failsNow(FileCall::rename))
        return lastError();
    if (namesByDescriptor.load(std::memory_order_relaxed)) {
        if (::linkat(fd, "", at, name, AT_EMPTY_PATH) == 0)
            return {};
        if (errno != ENOENT)
            return lastError();
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), at, name, AT_SYMLINK_FOLLOW) != 0)
        return lastError();
    // The same name failed from the descriptor: the kernel refuses that way.
    namesByDescriptor.store(false, std::memory_order_relaxed);
    return {};
}

// Creates the file `name`, which openat finds from `at`, in the folder
// `folder` found the same way, only while no file has that name, with a
// file that has no name until `fill` has written it whole: a process killed
// half-way leaves nothing behind, and the kernel makes and names one file
// where a file written beside took a second name and a rename. The file is
// made with the permissions `mode`, less what the umask or the folder's
// default ACL withholds. Nothing when the system cannot make such a file
// there, or /proc, which naming falls back on, is not there.
template <typename Fill>
std::optional<std::error_code> createUnnamed(int at, const char* folder, const char* name, mode_t mode, Fill fill) {
    static const bool namesByProc = ::access("/proc/self/fd", X_OK) == 0;
    if (!namesByProc)
        return std::nullopt;
    FileDescriptor fd(failsNow(FileCall::open) ? -1 : ::openat(at, folder, O_WRONLY | O_TMPFILE | O_CLOEXEC, mode));
    if (!fd.valid())
        return unnamedFilesUnsupported(errno) ? std::nullopt : std::optional<std::error_code>(lastError());
    std::error_code failed = fill(fd.get());
    if (!failed)
        failed = nameUnnamed(fd.get(), at, name);
    if (const std::error_code closed = fd.close(); !failed)
        failed = closed;
    return failed;
}

// Puts a new file in `target`'s place in one step: `fill` writes it beside
// the target (or, for a new file, without a name where the system allows),
// then it takes the target's place as `placement` says. The new file is made
// with the permissions `mode` as createBeside and createUnnamed make it. On
// any failure the new file is removed and the target stays as it was. What
// killed writes left in the folder goes first.
template <typename Fill>
std::error_code putInOneStep(const std::string& target, Placement placement, mode_t mode, Fill fill) {
    const std::wstring folder = toSystemPath(folderOf(target));
    if (placement == Placement::replace)
        removeStaleTemporaryFiles(folder);
    else
        removeStaleTemporaryFilesOnce(folder); // a run may create thousands of files in one folder
    if (placement == Placement::create) {
        const std::string in = folderOf(target);
        if (const auto created = createUnnamed(AT_FDCWD, in.empty() ? "." : in.c_str(), target.c_str(), mode, fill))
            return *created;
    }
    std::string temporary;
    FileDescriptor fd(createBeside(target, mode, temporary));
    if (!fd.valid())
        return lastError();
    std::error_code failed = fill(fd.get());
    if (!failed && placement == Placement::replace && (failsNow(FileCall::flush) || ::fsync(fd.get()) != 0))
        failed = lastError();
    if (const std::error_code closed = fd.close(); !failed)
        failed = closed;
    if (!failed) {
        if (placement == Placement::create)
            failed = posix::moveToFreePlace(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str());
        else if (failsNow(FileCall::rename) || ::rename(temporary.c_str(), target.c_str()) != 0)
            failed = lastError();
    }
    if (failed) {
        ::unlink(temporary.c_str());
        return failed;
    }
    if (placement == Placement::replace)
        flushFolder(folderOf(target));
    return {};
}

// Gives the open file the permissions `mode`. A file that was made with
// them, as most new files are, costs a status call rather than a change of
// permissions, which the file system would write to the file's inode.
std::error_code givePermissions(int fd, mode_t mode) {
    struct stat made {};
    if (::fstat(fd, &made) == 0 && (made.st_mode & 07777) == mode)
        return {};
    if (failsNow(FileCall::changeAttributes) || ::fchmod(fd, mode) != 0)
        return lastError();
    return {};
}

// Copies content and last-write time from an open source to an open
// destination, and gives the destination the permissions `mode` (the
// read-only attribute among them). The destination may be made with them:
// as its owner, a process writes through the descriptor it opened the file
// with whatever the file's permissions.
std::error_code copyInto(int from, const struct stat& source, int to, mode_t mode) {
    if (const std::error_code failed = posix::copyAll(from, to))
        return failed;
    const timespec times[2] = {source.st_atim, source.st_mtim};
    if (failsNow(FileCall::changeAttributes) || ::futimens(to, times) != 0)
        return lastError();
    return givePermissions(to, mode);
}

} // namespace

bool makeFolder(const std::wstring& path, std::error_code* why) {
    if (failsNow(FileCall::makeFolder) || ::mkdir(nativeName(path).c_str(), 0777) != 0)
        return fail(why, lastError());
    return succeed(why);
}

bool removeFolder(const std::wstring& path, std::error_code* why) {
    const std::string native = nativeName(path);
    struct stat status {};
    if (::lstat(native.c_str(), &status) != 0)
        return fail(why, lastError());
    if (S_ISLNK(status.st_mode)) {
        // A link to a folder goes as a link; its target keeps its content.
        if (!isFolder(path))
            return fail(why, std::errc::not_a_directory);
        return finish(why, !failsNow(FileCall::removeFolder) && ::unlink(native.c_str()) == 0 ? std::error_code()
                                                                                                : lastError());
    }
    return finish(why,
                  !failsNow(FileCall::removeFolder) && ::rmdir(native.c_str()) == 0 ? std::error_code() : lastError());
}

namespace {

// The permissions that give a file `attributes` (only the read-only bit has
// an effect), from the permissions `mode` it has.
mode_t withAttributes(mode_t mode, std::uint32_t attributes) {
    return (attributes & attrReadOnly) ? (mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
}

// copyFile, the copy given `attributes` in place of the source's when set.
bool copyWith(const std::wstring& from, const std::wstring& to, FailIfExists policy,
              std::optional<std::uint32_t> attributes, std::error_code* why) {
    // A destination that is there already ends the copy at one status call,
    // before the source is opened: a run that finds every file in place
    // costs no more. The move into place below still guards the moment after.
    struct stat present {};
    if (policy == FailIfExists::yes && ::lstat(nativeName(to).c_str(), &present) == 0)
        return fail(why, std::errc::file_exists);
    FileDescriptor source;
    struct stat sourceStatus {};
    if (const std::error_code failed = openToRead(from, source, sourceStatus))
        return fail(why, failed);
    const std::string destination = nativeName(to);

    // Put in its place in one step (putInOneStep), so that a process killed
    // half-way never leaves a torn file that later runs, finding it there,
    // would keep.
    // The source's permissions, or those that give the copy `attributes`.
    const mode_t mode =
        attributes ? withAttributes(sourceStatus.st_mode & 0777, *attributes) : sourceStatus.st_mode & 0777;
    const auto copyHere = [&](int fd) { return copyInto(source.get(), sourceStatus, fd, mode); };
    if (policy == FailIfExists::yes)
        return finish(why, putInOneStep(destination, Placement::create, mode, copyHere));

    // A file copied onto itself (or onto a link to itself) must survive:
    // refuse, as Windows does.
    struct stat existing {};
    if (::stat(destination.c_str(), &existing) == 0 && existing.st_dev == sourceStatus.st_dev &&
        existing.st_ino == sourceStatus.st_ino)
        return fail(why, std::errc::file_exists);
    std::string target;
    if (const std::error_code refused = writeTarget(destination, target))
        return fail(why, refused);
    if (const std::error_code refused = whyNotReplaceable(target))
        return fail(why, refused);
    return finish(why, putInOneStep(target, Placement::replace, mode, copyHere));
}

} // namespace

namespace {

// Copies the file `name` of the folder open as `from` with its content,
// last-write time and permissions, as `create` makes the copy: given the
// permissions and the fill that writes it, it yields the copy's outcome, or
// nothing when it cannot make one where it is asked to.
template <typename Create>
std::optional<std::error_code> copyByName(int from, const std::string& name, Create create) {
    FileDescriptor source;
    struct stat sourceStatus {};
    if (const std::error_code failed = openToReadAt(from, name.c_str(), source, sourceStatus))
        return failed;
    const mode_t mode = sourceStatus.st_mode & 0777;
    return create(mode, [&](int fd) { return copyInto(source.get(), sourceStatus, fd, mode); });
}

} // namespace

std::optional<std::error_code> posix::copyNewFileAt(int from, int to, const std::wstring& toFolder,
                                                     const std::string& name) {
    removeStaleTemporaryFilesOnce(toFolder);
    return copyByName(from, name, [&](mode_t mode, auto fill) {
        return createUnnamed(to, ".", name.c_str(), mode, fill);
    });
}

std::error_code posix::copyFileOutOfSight(int from, int to, const std::string& name) {
    return *copyByName(from, name, [&](mode_t mode, auto fill) -> std::optional<std::error_code> {
        const int flags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
        FileDescriptor fd(failsNow(FileCall::open) ? -1 : ::openat(to, name.c_str(), flags, mode));
        if (!fd.valid())
            return lastError();
        std::error_code failed = fill(fd.get());
        if (const std::error_code closed = fd.close(); !failed)
            failed = closed;
        if (failed)
            ::unlinkat(to, name.c_str(), 0);
        return failed;
    });
}

std::error_code posix::moveToFreePlace(int fromAt, const char* from, int toAt, const char* to) {
    if (failsNow(FileCall::rename))
        return lastError();
    if (::renameat2(fromAt, from, toAt, to, RENAME_NOREPLACE) == 0)
        return {};
    if (errno != EINVAL && errno != ENOSYS)
        return lastError();
    // A file system that cannot rename so (NFS among them): a hard link is
    // made only where no file is, just the same.
    if (::linkat(fromAt, from, toAt, to, 0) != 0)
        return lastError();
    ::unlinkat(fromAt, from, 0);
    return {};
}

bool copyFile(const std::wstring& from, const std::wstring& to, FailIfExists policy, std::error_code* why) {
    return copyWith(from, to, policy, std::nullopt, why);
}

bool copyFileAs(const std::wstring& from, const std::wstring& to, std::uint32_t attributes, std::error_code* why) {
    return copyWith(from, to, FailIfExists::no, attributes, why);
}

bool deleteFile(const std::wstring& path, std::error_code* why) {
    const std::string native = nativeName(path);
    struct stat status {};
    if (::lstat(native.c_str(), &status) != 0)
        return fail(why, lastError());
    if (S_ISDIR(status.st_mode))
        return fail(why, std::errc::is_a_directory);
    if (!S_ISLNK(status.st_mode) && isReadOnly(status))
        return fail(why, std::errc::permission_denied);
    return finish(why, !failsNow(FileCall::remove) && ::unlink(native.c_str()) == 0 ? std::error_code() : lastError());
}

bool getAttributes(const std::wstring& path, std::uint32_t& attributes, std::error_code* why) {
    FileStatus status;
    if (!describe(AT_FDCWD, nativeName(path).c_str(), status))
        return fail(why, lastError());
    attributes = status.attributes;
    return succeed(why);
}

bool setAttributes(const std::wstring& path, std::uint32_t attributes, std::error_code* why) {
    const std::string native = nativeName(path);
    struct stat status {};
    if (::lstat(native.c_str(), &status) != 0)
        return fail(why, lastError());
    // A link has no permissions of its own, and its target lies outside
    // whatever tree the caller walks: leave both alone.
    if (S_ISLNK(status.st_mode))
        return succeed(why);
    const mode_t mode = withAttributes(status.st_mode & 07777, attributes);
    if (mode != (status.st_mode & 07777) && (failsNow(FileCall::changeAttributes) || ::chmod(native.c_str(), mode) != 0))
        return fail(why, lastError());
    return succeed(why);
}

bool isFolder(const std::wstring& path) {
    struct stat status {};
    return ::stat(toNativePath(path).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool exists(const std::wstring& path) {
    struct stat status {};
    return ::lstat(nativeName(path).c_str(), &status) == 0;
}

bool findFiles(const std::wstring& pattern, std::vector<FolderEntry>& entries, std::error_code* why) {
    entries.clear();
    const std::size_t cut = pattern.rfind(L'\\');
    const std::wstring folder = cut == std::wstring::npos ? std::wstring(L".") : pattern.substr(0, cut + 1);
    const std::wstring wildcard = cut == std::wstring::npos ? pattern : pattern.substr(cut + 1);
    if (wildcard.empty())
        return fail(why, std::errc::invalid_argument);

    DIR* listing = ::opendir(toNativePath(folder).c_str());
    if (!listing)
        return fail(why, lastError());
    const std::error_code failed = posix::readListing(listing, wildcard, posix::ListingDetail::full, entries);
    ::closedir(listing);
    return finish(why, failed);
}

bool getFileIdentity(const std::wstring& path, FileIdentity& identity, std::error_code* why) {
    struct stat status {};
    if (::stat(nativeName(path).c_str(), &status) != 0)
        return fail(why, lastError());
    identity.volume = static_cast<std::uint64_t>(status.st_dev);
    identity.index = static_cast<std::uint64_t>(status.st_ino);
    return succeed(why);
}

bool resolvePath(const std::wstring& path, std::wstring& resolved, std::error_code* why) {
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(nativeName(path).c_str(), nullptr), &std::free);
    if (!real)
        return fail(why, lastError());
    resolved = toSystemPath(real.get());
    return succeed(why);
}

bool getFileStatus(const std::wstring& path, FileStatus& status, std::error_code* why) {
    if (!describe(AT_FDCWD, nativeName(path).c_str(), status))
        return fail(why, lastError());
    return succeed(why);
}

bool setFileStatus(const std::wstring& path, const FileStatus& status, std::error_code* why) {
    if (status.lastWrite != 0) {
        timespec times[2] = {};
        times[0].tv_nsec = UTIME_OMIT;
        times[1] = posix::toTimespec(status.lastWrite);
        if (failsNow(FileCall::changeAttributes) ||
            ::utimensat(AT_FDCWD, nativeName(path).c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
            return fail(why, lastError());
    }
    return setAttributes(path, status.attributes, why);
}

bool readFile(const std::wstring& path, std::string& bytes, std::error_code* why) {
    FileDescriptor fd;
    struct stat status {};
    if (const std::error_code failed = openToRead(path, fd, status))
        return fail(why, failed);
    // The size is known beforehand; the limit holds also for a file that grows.
    if (static_cast<std::uint64_t>(status.st_size) > maxReadSize)
        return fail(why, FileError::tooLarge);
    // Room for the whole file at once, rather than regrowing chunk by chunk.
    bytes.clear();
    bytes.reserve(static_cast<std::size_t>(std::max<off_t>(status.st_size, 0)));
    return finish(why, posix::readAll(fd.get(), bytes, maxReadSize));
}

bool writeFileReplacing(const std::wstring& path, const std::string& bytes, std::error_code* why) {
    return writeFileReplacingWith(path, [&](FileWriter& writer) { return writer.write(bytes); }, why);
}

bool writeFileReplacingWith(const std::wstring& path, const std::function<bool(FileWriter&)>& produce,
                            std::error_code* why) {
    std::string target;
    struct stat existing {};
    existing.st_mode = 0;
    if (const std::error_code refused = writeTarget(nativeName(path), target))
        return fail(why, refused);
    if (const std::error_code refused = whyNotReplaceable(target, &existing))
        return fail(why, refused);
    // The new file keeps the permissions of the one it replaces.
    const mode_t mode = existing.st_mode != 0 ? existing.st_mode & 07777 : 0666;
    return finish(why, putInOneStep(target, Placement::replace, mode, [&](int fd) {
                      if (existing.st_mode != 0)
                          if (const std::error_code failed = givePermissions(fd, mode))
                              return failed;
                      return writeProduced([fd](std::string_view bytes) { return posix::writeAll(fd, bytes); },
                                           produce);
                  }));
}

bool replaceFile(const std::wstring& from, const std::wstring& to, std::error_code* why) {
    const std::string source = nativeName(from);
    const std::string target = nativeName(to);
    if (const std::error_code refused = whyNotReplaceable(target))
        return fail(why, refused);
    return finish(why, !failsNow(FileCall::rename) && ::rename(source.c_str(), target.c_str()) == 0 ? std::error_code()
                                                                                                      : lastError());
}

std::wstring toSystemPath(const std::filesystem::path& nativePath) {
    std::wstring path = fromUtf8(nativePath.native());
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::filesystem::path toNativePath(const std::wstring& systemPath) {
    std::string path = toUtf8(systemPath);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

} // namespace tern::platform
