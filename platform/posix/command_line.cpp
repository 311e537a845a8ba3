#include "platform/command_line.h"

#include <unistd.h>

namespace tern::platform {

// POSIX arguments are bytes; the system is taken to use UTF-8 for them.
std::vector<std::string> utf8Arguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

bool standardInputIsTerminal() { return ::isatty(STDIN_FILENO) == 1; }

} // namespace tern::platform
