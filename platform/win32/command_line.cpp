#include "platform/command_line.h"

#include "platform/text.h"

#include <windows.h>

#include <shellapi.h>

namespace tern::platform {

// The narrow argv is in the ANSI code page, which cannot spell every file
// name; the wide command line can.
std::vector<std::string> utf8Arguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(toUtf8(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

// _isatty is true for any character device, the NUL device included; only a
// console has a console mode.
bool standardInputIsTerminal() {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

// The visible window, not the screen buffer, which is often far wider.
std::size_t terminalWidth() {
    CONSOLE_SCREEN_BUFFER_INFO console{};
    if (!::GetConsoleScreenBufferInfo(::GetStdHandle(STD_OUTPUT_HANDLE), &console))
        return 80;
    const int width = console.srWindow.Right - console.srWindow.Left + 1;
    return width > 0 ? static_cast<std::size_t>(width) : 80;
}

// The handle rather than the C runtime's stdin, which would translate "\r\n"
// and stop at Ctrl+Z in text mode. A pipe whose writer has closed it ends
// with ERROR_BROKEN_PIPE, which is its end, not a failure.
bool readStandardInput(std::string& bytes) {
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    char buffer[65536];
    for (;;) {
        DWORD count = 0;
        if (!::ReadFile(input, buffer, sizeof buffer, &count, nullptr))
            return ::GetLastError() == ERROR_BROKEN_PIPE;
        if (count == 0)
            return true;
        bytes.append(buffer, count);
    }
}

} // namespace tern::platform
