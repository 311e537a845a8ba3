#include "platform/posix/file_descriptor.h"

#include "platform/file_system.h"

#include <cerrno>
#include <unistd.h>

namespace tern::platform::posix {

namespace {

constexpr std::size_t chunkSize = 64 * 1024;

// read() that retries after a signal interrupted it.
ssize_t readSome(int fd, char* buffer, std::size_t size) {
    ssize_t count;
    do
        count = failsNow(FileCall::read) ? -1 : ::read(fd, buffer, size);
    while (count < 0 && errno == EINTR);
    return count;
}

// Reads to the end, handing each chunk to `take`, which may stop the reading
// with an error of its own.
template <typename Take>
std::error_code readChunks(int fd, Take take) {
    char buffer[chunkSize];
    for (;;) {
        const ssize_t count = readSome(fd, buffer, sizeof buffer);
        if (count < 0)
            return lastError();
        if (count == 0)
            return {};
        if (const std::error_code failed = take(buffer, static_cast<std::size_t>(count)))
            return failed;
    }
}

std::error_code writeBytes(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t count = failsNow(FileCall::write) ? -1 : ::write(fd, data, size);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        data += count;
        size -= static_cast<std::size_t>(count);
    }
    return {};
}

} // namespace

std::error_code lastError() { return {errno, std::generic_category()}; }

bool failsNow(FileCall call) {
    const std::optional<std::errc> error = injectedFault(call);
    if (error)
        errno = static_cast<int>(*error);
    return error.has_value();
}

FileDescriptor::~FileDescriptor() { close(); }

void FileDescriptor::reset(int descriptor) {
    close();
    fd = descriptor;
}

int FileDescriptor::release() {
    const int released = fd;
    fd = -1;
    return released;
}

std::error_code FileDescriptor::close() {
    if (fd < 0)
        return {};
    const int result = ::close(fd);
    fd = -1;
    return result == 0 ? std::error_code() : lastError();
}

std::error_code readAll(int fd, std::string& bytes, std::size_t limit) {
    bytes.clear();
    return readChunks(fd, [&](const char* data, std::size_t size) {
        if (size > limit - bytes.size())
            return make_error_code(FileError::tooLarge);
        bytes.append(data, size);
        return std::error_code();
    });
}

std::error_code writeAll(int fd, std::string_view bytes) { return writeBytes(fd, bytes.data(), bytes.size()); }

std::error_code copyAll(int from, int to) {
    return readChunks(from, [&](const char* data, std::size_t size) { return writeBytes(to, data, size); });
}

} // namespace tern::platform::posix
