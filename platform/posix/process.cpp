#include "platform/process.h"

#include <cerrno>
#include <limits>
#include <signal.h>
#include <unistd.h>

namespace tern::platform {

std::uint64_t currentProcessId() { return static_cast<std::uint64_t>(::getpid()); }

bool isProcessRunning(std::uint64_t id) {
    // Signal 0 only asks; 0 and negative values would address process groups.
    if (id == 0 || id > static_cast<std::uint64_t>(std::numeric_limits<pid_t>::max()))
        return true;
    return ::kill(static_cast<pid_t>(id), 0) == 0 || errno != ESRCH;
}

} // namespace tern::platform
