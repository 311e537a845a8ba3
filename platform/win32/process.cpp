#include "platform/process.h"

#include <windows.h>

namespace tern::platform {

std::uint64_t currentProcessId() { return ::GetCurrentProcessId(); }

bool isProcessRunning(std::uint64_t id) {
    // 0 is the idle process, which owns no file.
    if (id == 0 || id > MAXDWORD)
        return true;
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
    if (!process)
        return ::GetLastError() != ERROR_INVALID_PARAMETER; // no such process; else no right to ask
    DWORD exitCode = 0;
    const bool running = !::GetExitCodeProcess(process, &exitCode) || exitCode == STILL_ACTIVE;
    ::CloseHandle(process);
    return running;
}

} // namespace tern::platform
