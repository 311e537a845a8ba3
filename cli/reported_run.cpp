#include "cli/reported_run.h"

#include "cli/installed.h"
#include "cli/load_failure.h"

#include <CLI/CLI.hpp>

#include <iostream>

namespace tern::cli {

ReportStyle ReportOptions::style() const {
    if (json)
        return ReportStyle::json;
    if (quiet)
        return ReportStyle::quiet;
    return verbose ? ReportStyle::verbose : ReportStyle::summary;
}

void addReportOptions(CLI::App& command, ReportOptions& options) {
    // Plain options that exclude each other rather than an option group,
    // whose heading CLI11 lays out past the help's width.
    const char* const group = "Output (the default: a summary)";
    CLI::Option* verbose =
        command.add_flag("--verbose", options.verbose, "print everything the run did, one line each")->group(group);
    CLI::Option* quiet =
        command.add_flag("--quiet", options.quiet, "print nothing but the result line (errors still go to stderr)")
            ->group(group);
    CLI::Option* json =
        command
            .add_flag("--json", options.json,
                      "print one JSON document: the result, every event and the counts (see docs/report.md)")
            ->group(group);
    verbose->excludes(quiet)->excludes(json);
    quiet->excludes(json);
    command.footer(std::string("Exit status: 0 when the run was done (result 0 or 1), 1 when it was refused "
                               "(result -1) or an error was printed, ") +
                   usageErrorHelp + ".");
}

std::ostream& answerEcho(ReportStyle style) {
    static std::ostream nowhere(nullptr);
    return style == ReportStyle::summary || style == ReportStyle::verbose ? std::cout : nowhere;
}

int runReported(ReportStyle style, const std::function<int()>& run) {
    RunReportPrinter printer(style, std::cout, std::cerr);
    int result = 0;
    {
        const Installed<core::IRunReport, core::setRunReport> installed(printer);
        result = run();
    }
    return printer.finish(result);
}

} // namespace tern::cli
