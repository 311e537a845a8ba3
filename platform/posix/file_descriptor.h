// An owned POSIX file descriptor and the whole-file transfers built on it.
//
// Every transfer retries after interruptions and short counts, and reports
// the first failure as an errno-based error code (empty on success).

#pragma once

#include "platform/fault_injection.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>

namespace tern::platform::posix {

// The error code of the errno value the last failed call left.
std::error_code lastError();

// True, with errno set to the chosen error, when a test made this call fail
// (platform/fault_injection.h): `failsNow(FileCall::flush) || ::fsync(fd) != 0`.
bool failsNow(FileCall call);

class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor = -1) : fd(descriptor) {}
    ~FileDescriptor();
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    bool valid() const { return fd >= 0; }
    int get() const { return fd; }
    // Takes ownership of another descriptor, closing the one held.
    void reset(int descriptor);
    // Gives up the descriptor held, to an owner that closes it (fdopendir).
    int release();
    // Closes now, reporting the error close returns (a delayed write error
    // can surface only here).
    std::error_code close();

private:
    int fd;
};

// Reads to the end; FileError::tooLarge once more than `limit` bytes come.
std::error_code readAll(int fd, std::string& bytes, std::size_t limit);
std::error_code writeAll(int fd, std::string_view bytes);
std::error_code copyAll(int from, int to);

} // namespace tern::platform::posix
