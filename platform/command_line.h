// The process's command line and the terminal it runs in: its arguments as
// UTF-8, whatever the platform's own encoding of them (on Windows the wide
// command line is the source), and what the standard streams are attached to.

#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tern::platform {

std::vector<std::string> utf8Arguments(int argc, char** argv);

// Whether the standard input is an interactive terminal (a console on
// Windows), so that a user can be asked there.
bool standardInputIsTerminal();

// The width in columns of the terminal (console window on Windows) that the
// standard output is shown on; 80 when the output goes to a file or a pipe,
// or the terminal does not tell its width.
std::size_t terminalWidth();

// Reads the standard input to its end, as bytes (no line-end or code-page
// translation); false, with what was read so far, when reading fails.
bool readStandardInput(std::string& bytes);

} // namespace tern::platform
