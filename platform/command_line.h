// The process's command-line arguments as UTF-8, whatever the platform's
// own encoding of them (on Windows the wide command line is the source).

#pragma once

#include <string>
#include <vector>

namespace tern::platform {

std::vector<std::string> utf8Arguments(int argc, char** argv);

// Whether the standard input is an interactive terminal (a console on
// Windows), so that a user can be asked there.
bool standardInputIsTerminal();

// Reads the standard input to its end, as bytes (no line-end or code-page
// translation); false, with what was read so far, when reading fails.
bool readStandardInput(std::string& bytes);

} // namespace tern::platform
