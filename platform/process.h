// Processes as the platform layer needs to know them: to tell whether the
// process that wrote a file is still at work on it.

#pragma once

#include <cstdint>

namespace tern::platform {

// The id of the running process.
std::uint64_t currentProcessId();

// Whether a process of that id runs now. When that cannot be told (no
// right to ask, an id the system cannot have), it counts as running, so
// that nothing of its is touched.
bool isProcessRunning(std::uint64_t id);

} // namespace tern::platform
