#include "platform/command_line.h"

#include <cerrno>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tern::platform {

// POSIX arguments are bytes; the system is taken to use UTF-8 for them.
std::vector<std::string> utf8Arguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

bool standardInputIsTerminal() { return ::isatty(STDIN_FILENO) == 1; }

std::size_t terminalWidth() {
    winsize size{};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0)
        return 80;
    return size.ws_col;
}

bool readStandardInput(std::string& bytes) {
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (count == 0)
            return true;
        if (count > 0)
            bytes.append(buffer, static_cast<std::size_t>(count));
        else if (errno != EINTR)
            return false;
    }
}

} // namespace tern::platform
