#include "update/file_events.h"

#include "platform/file_system.h"
#include "platform/text.h"
#include "update/path_limit.h"
#include "update/run_report.h"

#include <algorithm>
#include <iterator>

namespace tern::update {

using core::RunEvent;

std::wstring reasonOf(const std::error_code& error) { return platform::fromUtf8(error.message()); }

namespace {

// The one place an event about a file is built, when someone listens.
template <class MakeReason>
void tell(RunEvent event, const std::wstring& path, const std::wstring& source, const MakeReason& reason) {
    report([&] { return core::RunEventDetails{event, path, source, {}, {}, {}, reason()}; });
}

} // namespace

void reportFile(RunEvent event, const std::wstring& path, const wchar_t* reason) {
    tell(event, path, {}, [&] { return std::wstring(reason); });
}

void reportFile(RunEvent event, const std::wstring& path, const std::error_code& why, const wchar_t* lead) {
    tell(event, path, {}, [&] { return lead + reasonOf(why); });
}

void reportCopy(RunEvent event, const std::wstring& to, const std::wstring& from, const wchar_t* reason) {
    tell(event, to, from, [&] { return std::wstring(reason); });
}

void reportCopy(RunEvent event, const std::wstring& to, const std::wstring& from, const std::error_code& why,
                const wchar_t* lead) {
    tell(event, to, from, [&] { return lead + reasonOf(why); });
}

bool copyNewFiles(platform::OpenFolder& destination, const platform::OpenFolder& source,
                  const std::vector<std::wstring>& names, const WhenPresent& whenPresent) {
    const auto withinLimit = [&](const std::wstring& name) {
        return withinPathLimit(source.path(), name) && withinPathLimit(destination.path(), name);
    };
    // Names over the limit are left out of the copies; a list without any,
    // the usual one, goes as it is.
    const bool allWithin = std::all_of(names.begin(), names.end(), withinLimit);
    std::vector<std::wstring> within;
    if (!allWithin)
        std::copy_if(names.begin(), names.end(), std::back_inserter(within), withinLimit);
    const std::vector<std::error_code> outcomes = destination.copyNewFiles(source, allWithin ? names : within);

    bool done = false;
    auto outcome = outcomes.begin();
    for (const std::wstring& name : names) {
        const std::error_code why = withinLimit(name) ? *outcome++ : pathTooLong();
        const std::wstring from = source.path() + name;
        const std::wstring to = destination.path() + name;
        if (!why) {
            reportCopy(RunEvent::fileCopied, to, from);
            done = true;
        } else if (why == std::errc::file_exists) {
            done = whenPresent(name, from, to) || done;
        } else {
            reportCopy(why == pathTooLong() ? RunEvent::fileSkipped : RunEvent::fileNotWritten, to, from, why);
        }
    }
    return done;
}

bool copyMissingFiles(platform::OpenFolder& destination, const platform::OpenFolder& source,
                      const std::vector<std::wstring>& names) {
    return copyNewFiles(destination, source, names,
                        [](const std::wstring&, const std::wstring& from, const std::wstring& to) {
                            reportCopy(RunEvent::fileSkipped, to, from, L"it exists already");
                            return false;
                        });
}

MissingFileCopies::MissingFileCopies(platform::OpenFolder& destination, const platform::OpenFolder& source)
    : destination(destination), source(source) {}

void MissingFileCopies::copy() {
    copyMissingFiles(destination, source, names);
    names.clear();
}

bool copyReplacing(const std::wstring& from, const std::wstring& to) {
    std::error_code why;
    const bool copied = copyFileWithinLimit(from, to, platform::FailIfExists::no, &why);
    if (copied)
        reportCopy(RunEvent::fileWritten, to, from);
    else
        reportCopy(RunEvent::fileNotWritten, to, from, why);
    return copied;
}

void reportSave(const std::wstring& path, bool saved) {
    if (saved)
        reportFile(RunEvent::fileWritten, path);
    else
        reportFile(RunEvent::fileNotWritten, path,
                   L"it could not be saved (read-only, or the write failed): the old file is kept");
}

void reportAttributesChanged(const std::wstring& path, const wchar_t* change) {
    report([&] { return core::RunEventDetails{RunEvent::attributesChanged, path, {}, {}, {}, change, {}}; });
}

bool changeAttributes(const std::wstring& path, std::uint32_t attributes, const wchar_t* change, std::error_code& why) {
    if (!platform::setAttributes(path, attributes, &why))
        return false;
    reportAttributesChanged(path, change);
    return true;
}

} // namespace tern::update
