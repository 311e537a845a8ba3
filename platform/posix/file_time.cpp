#include "platform/posix/file_time.h"

namespace tern::platform::posix {

namespace {

constexpr std::int64_t unitsPerSecond = 10'000'000;
constexpr std::int64_t nanosecondsPerUnit = 100;
// Seconds between 1601-01-01 and 1970-01-01, both UTC.
constexpr std::int64_t secondsBefore1970 = 11'644'473'600;

} // namespace

FileTime toFileTime(const timespec& time) {
    return (static_cast<std::int64_t>(time.tv_sec) + secondsBefore1970) * unitsPerSecond +
           time.tv_nsec / nanosecondsPerUnit;
}

timespec toTimespec(FileTime time) {
    const std::int64_t sinceEpoch = time - secondsBefore1970 * unitsPerSecond;
    // Round towards minus infinity so that times before 1970 keep a
    // nanosecond part in [0, 1e9), as timespec requires.
    std::int64_t seconds = sinceEpoch / unitsPerSecond;
    std::int64_t units = sinceEpoch % unitsPerSecond;
    if (units < 0) {
        units += unitsPerSecond;
        --seconds;
    }
    timespec result{};
    result.tv_sec = static_cast<std::time_t>(seconds);
    result.tv_nsec = static_cast<long>(units * nanosecondsPerUnit);
    return result;
}

} // namespace tern::platform::posix
