// Conversion between POSIX times and the Windows FILETIME scale that the
// library stores: 100-nanosecond units since 1601-01-01 UTC.

#pragma once

#include "platform/file_system.h"

#include <ctime>

namespace tern::platform::posix {

FileTime toFileTime(const timespec& time);
timespec toTimespec(FileTime time);

} // namespace tern::platform::posix
