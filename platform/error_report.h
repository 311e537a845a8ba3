// How the platform backends report a result: true when the operation took
// effect, or false with the reason given to the caller's std::error_code
// when the caller passed one (see file_system.h). Written once for both
// backends.

#pragma once

#include <system_error>

namespace tern::platform {

// False, with `why` (when given) set to the reason.
bool fail(std::error_code* why, std::error_code reason);
bool fail(std::error_code* why, std::errc reason);

// True, with `why` (when given) cleared.
bool succeed(std::error_code* why);

// True when `reason` holds no error; else as fail(why, reason).
bool finish(std::error_code* why, std::error_code reason);

} // namespace tern::platform
