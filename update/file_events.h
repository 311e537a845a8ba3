// Copies and attribute changes that tell the run report (update/run_report.h)
// what became of them, said the same way wherever the library makes them.

#pragma once

#include "host/run_report.h"
#include "platform/open_folder.h"

#include <cstdint>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

namespace tern::update {

// An error as the report gives it for a reason: the system's message.
std::wstring reasonOf(const std::error_code& error);

// Tells the report an event about one file or folder, with a fixed reason
// or none. Like everything here, nothing is built when nobody listens.
void reportFile(core::RunEvent event, const std::wstring& path, const wchar_t* reason = L"");
// The same with an error for the reason, after a lead text ("the folder
// could not be made: ").
void reportFile(core::RunEvent event, const std::wstring& path, const std::error_code& why, const wchar_t* lead = L"");

// Tells the report an event about the file `to` that a copy from `from`
// concerns, with a fixed reason or none, or with an error after a lead text.
void reportCopy(core::RunEvent event, const std::wstring& to, const std::wstring& from, const wchar_t* reason = L"");
void reportCopy(core::RunEvent event, const std::wstring& to, const std::wstring& from, const std::error_code& why,
                const wchar_t* lead = L"");

// Copies the files `names` of `source` into `destination` where nothing of
// that name is there yet, all together (platform/open_folder.h:
// copyNewFiles). Then tells, name by name: fileCopied when the copy was
// made, fileSkipped when a path is over the limit, fileNotWritten with the
// system's reason when the copy failed; a name whose destination is there
// already goes to `whenPresent` with the copy's two paths, and the caller
// knows what that means to it. True when a copy was made or `whenPresent`
// said true.
using WhenPresent = std::function<bool(const std::wstring& name, const std::wstring& from, const std::wstring& to)>;
bool copyNewFiles(platform::OpenFolder& destination, const platform::OpenFolder& source,
                  const std::vector<std::wstring>& names, const WhenPresent& whenPresent);

// copyNewFiles, with each destination that is there already reported as
// skipped because it exists. True when a copy was made.
bool copyMissingFiles(platform::OpenFolder& destination, const platform::OpenFolder& source,
                      const std::vector<std::wstring>& names);

// The files of a listing to copy where they are missing, gathered one by one
// and copied together (copyMissingFiles) before anything else the walk
// tells or does, so that the report keeps the listing's order.
class MissingFileCopies {
public:
    MissingFileCopies(platform::OpenFolder& destination, const platform::OpenFolder& source);

    void add(std::wstring name) { names.push_back(std::move(name)); }
    // Copies the files added since the last copy.
    void copy();

private:
    platform::OpenFolder& destination;
    const platform::OpenFolder& source;
    std::vector<std::wstring> names;
};

// Copies `from` over `to`, replacing a writable file there in one step, and
// reports fileWritten, or fileNotWritten with the system's reason. True
// when the copy was made.
bool copyReplacing(const std::wstring& from, const std::wstring& to);

// Reports a settings file saved (fileWritten) or not (fileNotWritten: the
// old file is kept).
void reportSave(const std::wstring& path, bool saved);

// Reports attributesChanged with `change` ("read-only set again").
void reportAttributesChanged(const std::wstring& path, const wchar_t* change);

// Sets a file's attribute bits, and reports attributesChanged with `change`
// ("read-only cleared") when they were set. False, with `why` filled and
// nothing reported, when they could not be: the caller says what that means.
bool changeAttributes(const std::wstring& path, std::uint32_t attributes, const wchar_t* change, std::error_code& why);

} // namespace tern::update
