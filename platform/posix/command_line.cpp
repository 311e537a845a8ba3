#include "platform/command_line.h"

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

} // namespace tern::platform
