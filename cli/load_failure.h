// The files a command cannot start without: how it says it could not load
// one, and the exit status it then stops with.
//
// Every command stops the same way when its command table is missing or
// cannot be loaded: it names the file and the reason in one line on the
// standard error and exits with the usage-error status, before anything is
// touched. The table is named on the command line (or implied by
// --install), so a table that cannot be used is an error in the command
// line, as an unknown option is.

#pragma once

#include <string>

namespace tern::utility {
class CCommandTable;
}

namespace tern::cli {

// The exit status of a command line that cannot be carried out: an unknown
// command or option, a missing argument, a command table that cannot be
// loaded.
constexpr int usageErrorStatus = 2;

// How each command's help names that status in its "Exit status" line.
extern const char* const usageErrorHelp;

// Prints "error: cannot load FILE: WHY" on standard error, FILE as a native
// path and only once (a WHY that starts with the file's path, as the
// loaders' problems do, is printed without it), and returns the exit
// status 1.
int refuseUnloadable(const std::wstring& file, const std::wstring& why);

// Loads file into commands; when it is missing or cannot be loaded, prints
// "error: cannot load the command table FILE: WHY" on the standard error
// and returns false (commands is then unchanged).
bool loadCommandTable(utility::CCommandTable& commands, const std::wstring& file);

} // namespace tern::cli
