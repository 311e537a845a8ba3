#include "platform/win32/win32_error.h"

#include <windows.h>

namespace tern::platform::win32 {

std::error_code toErrorCode(std::uint32_t win32Error) {
    switch (win32Error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return std::make_error_code(std::errc::no_such_file_or_directory);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return std::make_error_code(std::errc::permission_denied);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return std::make_error_code(std::errc::file_exists);
    case ERROR_DIR_NOT_EMPTY:
        return std::make_error_code(std::errc::directory_not_empty);
    case ERROR_DIRECTORY:
        return std::make_error_code(std::errc::not_a_directory);
    case ERROR_FILENAME_EXCED_RANGE:
        return std::make_error_code(std::errc::filename_too_long);
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_PARAMETER:
        return std::make_error_code(std::errc::invalid_argument);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return std::make_error_code(std::errc::no_space_on_device);
    case ERROR_NOT_SAME_DEVICE:
        return std::make_error_code(std::errc::cross_device_link);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return std::make_error_code(std::errc::not_enough_memory);
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
        return std::make_error_code(std::errc::io_error);
    default:
        return {static_cast<int>(win32Error), std::system_category()};
    }
}

std::error_code lastError() { return toErrorCode(::GetLastError()); }

namespace {

// The Win32 error that toErrorCode maps onto the portable one; a general
// failure for the others.
DWORD toWin32Error(std::errc error) {
    switch (error) {
    case std::errc::no_such_file_or_directory:
        return ERROR_FILE_NOT_FOUND;
    case std::errc::permission_denied:
        return ERROR_ACCESS_DENIED;
    case std::errc::file_exists:
        return ERROR_FILE_EXISTS;
    case std::errc::no_space_on_device:
        return ERROR_DISK_FULL;
    case std::errc::not_enough_memory:
        return ERROR_NOT_ENOUGH_MEMORY;
    default:
        return ERROR_GEN_FAILURE;
    }
}

} // namespace

bool failsNow(FileCall call) {
    const std::optional<std::errc> error = injectedFault(call);
    if (error)
        ::SetLastError(toWin32Error(*error));
    return error.has_value();
}

} // namespace tern::platform::win32
