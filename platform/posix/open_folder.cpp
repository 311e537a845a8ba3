// The POSIX backend of the open folder: a descriptor of the folder, and the
// calls relative to it.

#include "platform/open_folder.h"

#include "platform/error_report.h"
#include "platform/posix/copy_between_folders.h"
#include "platform/posix/file_descriptor.h"
#include "platform/posix/folder_listing.h"
#include "platform/posix/folder_staging.h"
#include "platform/text.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unordered_set>

namespace tern::platform {

using posix::FileDescriptor;
using posix::lastError;

namespace {

// The native spelling of a name; nothing when it holds a separator, and so
// names a path below the folder, which only the path functions reach.
std::optional<std::string> nativeEntryName(const std::wstring& name) {
    if (name.find_first_of(L"\\/") != std::wstring::npos)
        return std::nullopt;
    return toUtf8(name);
}

// A listing of the folder open as `folder`, from its start (a listing of its
// own, so that no other reading moves it); null when it cannot be read.
DIR* openListing(int folder) {
    FileDescriptor fd(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid())
        return nullptr;
    DIR* listing = ::fdopendir(fd.get());
    if (listing)
        fd.release();
    return listing;
}

} // namespace

struct OpenFolder::Backend {
    FileDescriptor folder;
    // The names the folder held when the first copy asked: nothing until
    // then, nor when the folder could not be read.
    std::optional<std::unordered_set<std::string>> names;
    bool namesAsked = false;

    // Whether `name` was there when the names were read; false when they
    // could not be.
    bool held(const std::string& name) {
        askNames();
        return names && names->count(name) != 0;
    }

    // Whether the folder held nothing when the names were read; false when
    // they could not be.
    bool heldNothing() {
        askNames();
        return names && std::all_of(names->begin(), names->end(),
                                    [](const std::string& name) { return name == "." || name == ".."; });
    }

    void askNames() {
        if (!namesAsked) {
            namesAsked = true;
            readNames();
        }
    }

    void readNames() {
        DIR* listing = openListing(folder.get());
        if (!listing)
            return;
        std::unordered_set<std::string> found;
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(listing);
            if (!entry)
                break;
            found.emplace(entry->d_name);
        }
        // A listing cut short by an error tells nothing certain.
        if (errno == 0)
            names = std::move(found);
        ::closedir(listing);
    }
};

OpenFolder::OpenFolder(std::wstring path) : folderPath(std::move(path)), backend(std::make_unique<Backend>()) {
    // Without its backslash the path is a prefix of the names' paths, which
    // only the path functions follow.
    if (!folderPath.empty() && folderPath.back() == L'\\')
        backend->folder.reset(::open(toNativePath(folderPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

OpenFolder::~OpenFolder() = default;

bool OpenFolder::listKinds(const std::wstring& wildcard, std::vector<FolderEntry>& entries,
                           std::error_code* why) const {
    entries.clear();
    if (!backend->folder.valid() || wildcard.empty() || wildcard.find(L'\\') != std::wstring::npos)
        return findFiles(folderPath + wildcard, entries, why);
    DIR* listing = openListing(backend->folder.get());
    if (!listing)
        return fail(why, lastError());
    const std::error_code failed = posix::readListing(listing, wildcard, posix::ListingDetail::kind, entries);
    ::closedir(listing);
    return finish(why, failed);
}

bool OpenFolder::getStatus(const std::wstring& name, FileStatus& status, std::error_code* why) const {
    const std::optional<std::string> native = nativeEntryName(name);
    if (!backend->folder.valid() || !native || native->empty())
        return getFileStatus(folderPath + name, status, why);
    if (!posix::describe(backend->folder.get(), native->c_str(), status))
        return fail(why, lastError());
    return succeed(why);
}

bool OpenFolder::copyNewFile(const OpenFolder& source, const std::wstring& name, std::error_code* why) {
    const std::optional<std::string> native = nativeEntryName(name);
    if (backend->folder.valid() && native && backend->held(*native))
        return fail(why, std::errc::file_exists);
    // A name the listing did not hold is copied by name, from folder to
    // folder: by path, each copy cost the system a lookup of every folder
    // above the file, four times over.
    if (backend->names && source.backend->folder.valid() && native && !native->empty())
        if (const auto copied =
                posix::copyNewFileAt(source.backend->folder.get(), backend->folder.get(), folderPath, *native))
            return finish(why, *copied);
    return copyFile(source.folderPath + name, folderPath + name, FailIfExists::yes, why);
}

std::optional<std::vector<std::error_code>> OpenFolder::copyAllAtOnce(const OpenFolder& source,
                                                                      const std::vector<std::wstring>& names) {
    if (names.empty() || !backend->folder.valid() || !source.backend->folder.valid() || !backend->heldNothing())
        return std::nullopt;
    std::vector<std::string> natives;
    natives.reserve(names.size());
    for (const std::wstring& name : names) {
        std::optional<std::string> native = nativeEntryName(name);
        if (!native || native->empty())
            return std::nullopt;
        natives.push_back(std::move(*native));
    }
    auto outcomes = posix::copyIntoEmptyFolder(source.backend->folder.get(), backend->folder, folderPath, natives);
    if (outcomes) {
        for (std::size_t i = 0; i < natives.size(); ++i)
            if (!(*outcomes)[i])
                backend->names->insert(natives[i]);
    }
    return outcomes;
}

} // namespace tern::platform
