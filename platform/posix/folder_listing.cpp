#include "platform/posix/folder_listing.h"

#include "platform/posix/file_descriptor.h"
#include "platform/posix/file_name.h"
#include "platform/posix/file_time.h"
#include "platform/text.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>

namespace tern::platform::posix {

namespace {

// Whether the link `name` in `folder` leads to a folder.
bool leadsToFolder(int folder, const char* name) {
    struct stat target {};
    return ::fstatat(folder, name, &target, 0) == 0 && S_ISDIR(target.st_mode);
}

// The kind of an entry as the listing tells it, without a status call where
// the file system gives the type there; false when it must be described.
bool kindOf(int folder, const dirent& entry, std::uint32_t& attributes) {
    switch (entry.d_type) {
    case DT_DIR:
        attributes = attrFolder;
        return true;
    case DT_LNK:
        attributes = attrLink | (leadsToFolder(folder, entry.d_name) ? std::uint32_t{attrFolder} : 0u);
        return true;
    case DT_UNKNOWN:
        return false;
    default:
        attributes = 0;
        return true;
    }
}

// Sorts entries as NTFS lists a folder, so that results repeat; names equal
// but for case (which NTFS cannot hold) in their own order.
void sortAsListed(std::vector<FolderEntry>& entries) {
    std::vector<std::u32string> keys;
    keys.reserve(entries.size());
    for (const FolderEntry& entry : entries)
        keys.push_back(caseOrderKey(entry.name));
    std::vector<std::size_t> order(entries.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return keys[a] < keys[b] || (keys[a] == keys[b] && entries[a].name < entries[b].name);
    });
    std::vector<FolderEntry> sorted;
    sorted.reserve(entries.size());
    for (const std::size_t i : order)
        sorted.push_back(std::move(entries[i]));
    entries = std::move(sorted);
}

} // namespace

bool isReadOnly(const struct stat& status) { return (status.st_mode & S_IWUSR) == 0; }

bool describe(int folder, const char* name, FileStatus& status) {
    struct stat found {};
    if (::fstatat(folder, name, &found, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    status.lastWrite = toFileTime(found.st_mtim);
    if (S_ISLNK(found.st_mode)) {
        status.attributes = attrLink | (leadsToFolder(folder, name) ? std::uint32_t{attrFolder} : 0u);
        return true;
    }
    const std::uint32_t readOnly = isReadOnly(found) ? std::uint32_t{attrReadOnly} : 0u;
    // A plain file is reported with the archive bit, as Windows reports a
    // freshly copied or written file (0x20), never as attrNormal.
    status.attributes = (S_ISDIR(found.st_mode) ? attrFolder : attrArchive) | readOnly;
    return true;
}

std::error_code readListing(DIR* listing, std::wstring_view wildcard, ListingDetail detail,
                            std::vector<FolderEntry>& entries) {
    entries.clear();
    const int folder = ::dirfd(listing);
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(listing);
        if (!entry) {
            if (errno == 0)
                break;
            entries.clear();
            return lastError();
        }
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        std::wstring name = fromUtf8(entry->d_name);
        if (!matchesWildcard(wildcard, name))
            continue;
        FileStatus status;
        if ((detail == ListingDetail::full || !kindOf(folder, *entry, status.attributes)) &&
            !describe(folder, entry->d_name, status))
            continue;
        entries.push_back({std::move(name), status.attributes, status.lastWrite});
    }
    sortAsListed(entries);
    return {};
}

} // namespace tern::platform::posix
