// Failures on demand in the calls that change or read files, for tests only.
//
// A test arms the hook to make the n-th counted call from then on fail with
// an error of its choice, runs an operation, and checks that whatever call
// failed, no file was torn or lost. Both backends consult the hook before
// each call that opens a file's content, reads, writes or flushes it,
// renames, copies or deletes a file, changes its attributes or times, or
// makes or removes a folder. Calls that only ask (status, listings) are not
// counted. The hook is always compiled in; unarmed, which it is unless a
// test arms it, it costs each call one relaxed load of an atomic flag.

#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <system_error>

namespace tern::platform {

// The kinds of counted calls.
enum class FileCall { open, read, write, flush, rename, copy, remove, changeAttributes, makeFolder, removeFolder };

// Makes the n-th counted call from now on (1: the next one) fail with
// `error`, and only that one; counting starts afresh.
void armFault(std::uint64_t n, std::errc error);
// Stops counting and failing.
void disarmFault();
// How many calls were counted since the hook was last armed.
std::uint64_t countedFileCalls();
// The kind of the call that was made to fail since the hook was last
// armed; nothing when the n-th call has not come.
std::optional<FileCall> failedFileCall();

namespace fault_injection {
extern std::atomic<bool> armed;
std::optional<std::errc> countCall(FileCall call);
} // namespace fault_injection

// What the backends ask before each counted call: the error to fail it
// with, or nothing to let it go through.
inline std::optional<std::errc> injectedFault(FileCall call) {
    if (!fault_injection::armed.load(std::memory_order_relaxed))
        return std::nullopt;
    return fault_injection::countCall(call);
}

} // namespace tern::platform
