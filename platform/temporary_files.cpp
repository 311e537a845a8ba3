#include "platform/temporary_files.h"

#include "platform/file_system.h"
#include "platform/process.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

namespace tern::platform {

namespace {

constexpr std::size_t keptNameLength = 48;
const std::wstring suffix = L".tmp";

bool isDigits(std::wstring_view text) {
    return !text.empty() && text.size() <= 19 && text.find_first_not_of(L"0123456789") == std::wstring_view::npos;
}

// The id of the process that wrote a file of this naming; nothing for a
// name of any other form.
std::optional<std::uint64_t> writerOf(std::wstring_view name) {
    if (name.size() <= suffix.size() || name.front() != L'.' || name.substr(name.size() - suffix.size()) != suffix)
        return std::nullopt;
    name = name.substr(1, name.size() - 1 - suffix.size()); // TARGET.PID-N
    const std::size_t dash = name.rfind(L'-');
    const std::size_t dot = name.rfind(L'.', dash);
    if (dash == std::wstring_view::npos || dot == std::wstring_view::npos || dot == 0 ||
        !isDigits(name.substr(dash + 1)) || !isDigits(name.substr(dot + 1, dash - dot - 1)))
        return std::nullopt;
    return std::stoull(std::wstring(name.substr(dot + 1, dash - dot - 1)));
}

} // namespace

std::wstring temporaryNameBeside(const std::wstring& targetName) {
    static std::atomic<std::uint64_t> counter{0};
    return L"." + targetName.substr(0, keptNameLength) + L"." + std::to_wstring(currentProcessId()) + L"-" +
           std::to_wstring(counter++) + suffix;
}

namespace {

void removeStaleFile(const std::wstring& path, std::uint32_t attributes) {
    // A killed copy may have given its file the source's read-only attribute already.
    if (attributes & attrReadOnly)
        setAttributes(path, attributes & ~std::uint32_t{attrReadOnly});
    deleteFile(path);
}

// A hidden folder that new files were copied into holds only files.
void removeStaleFolder(const std::wstring& path) {
    std::vector<FolderEntry> entries;
    if (findFiles(path + L"\\*.*", entries)) {
        for (const FolderEntry& entry : entries)
            if (!entry.isFolder())
                removeStaleFile(path + L"\\" + entry.name, entry.attributes);
    }
    removeFolder(path);
}

} // namespace

void removeStaleTemporaryFiles(const std::wstring& folder) {
    std::vector<FolderEntry> entries;
    if (!findFiles(folder + L".*" + suffix, entries))
        return;
    for (const FolderEntry& entry : entries) {
        const std::optional<std::uint64_t> writer = writerOf(entry.name);
        if (entry.isLink() || !writer || *writer == currentProcessId() || isProcessRunning(*writer))
            continue;
        if (entry.isFolder())
            removeStaleFolder(folder + entry.name);
        else
            removeStaleFile(folder + entry.name, entry.attributes);
    }
}

void removeStaleTemporaryFilesOnce(const std::wstring& folder) {
    static std::mutex guard;
    static std::set<std::wstring> cleaned;
    {
        const std::lock_guard<std::mutex> lock(guard);
        if (!cleaned.insert(folder).second)
            return;
    }
    removeStaleTemporaryFiles(folder);
}

} // namespace tern::platform
