// How `tnupdate update` and `tnupdate option` report their run: the output
// options they share (--verbose, --quiet, --json), and the run of a library
// entry with the printer installed.
//
// Exit statuses: 0 when the run was done (result 0 or 1), 1 when the library
// refused it (result -1) or reported an error, 2 for a usage error (the
// command line's own, or a command table that cannot be loaded).

#pragma once

#include "cli/run_report_printer.h"

#include <functional>
#include <iosfwd>

namespace CLI {
class App;
}

namespace tern::cli {

struct ReportOptions {
    bool verbose = false;
    bool quiet = false;
    bool json = false;

    ReportStyle style() const;
};

// Adds the output options, at most one of them, and says in the command's
// help what each prints and what the exit statuses mean.
void addReportOptions(CLI::App& command, ReportOptions& options);

// Where the answers to the library's questions are echoed: the output in the
// summary and verbose styles, nowhere in the quiet and JSON styles.
std::ostream& answerEcho(ReportStyle style);

// Runs `run` (a library entry, returning its result) with a printer of
// `style` installed on standard output and standard error, prints the rest
// and returns the exit status.
int runReported(ReportStyle style, const std::function<int()>& run);

} // namespace tern::cli
