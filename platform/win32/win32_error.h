// Win32 error codes as std::error_code values that compare equal to the
// portable std::errc conditions, as the POSIX backend's do: MinGW's
// system_category does not map Win32 codes to them, so the common ones are
// mapped here and the rest keep their Win32 value.

#pragma once

#include "platform/fault_injection.h"

#include <cstdint>
#include <system_error>

namespace tern::platform::win32 {

std::error_code toErrorCode(std::uint32_t win32Error);
// The error code of the error the last failed Win32 call left.
std::error_code lastError();

// True, with the thread's last error set to the chosen error, when a test
// made this call fail (platform/fault_injection.h):
// `failsNow(FileCall::flush) || !::FlushFileBuffers(file)`.
bool failsNow(FileCall call);

} // namespace tern::platform::win32
