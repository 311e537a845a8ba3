// What `tnupdate update` and `tnupdate option` print about a run: the
// library's run report, turned into lines for a user or one JSON document
// for a script (docs/report.md describes both).
//
// The printer is installed for one run, hears every event and, when the run
// has returned, prints what is left. Errors (a folder not made, a file not
// written, a refusal) go to the error stream as "error: ..." lines as they
// happen, in every style but JSON, which carries them in its document; the
// output stream never carries an error line. Text output ends with the line
// "result: N". Paths are printed as native paths.

#pragma once

#include "host/run_report.h"

#include <cstddef>
#include <iosfwd>
#include <map>
#include <vector>

namespace tern::cli {

enum class ReportStyle {
    summary, // counts per kind, and every layout item or setting edit not applied, with its reason
    verbose, // every event, one line each, as it happens
    quiet,   // nothing but the result line (and errors)
    json,    // one JSON document: the result, every event and the counts
};

class RunReportPrinter : public core::IRunReport {
public:
    RunReportPrinter(ReportStyle style, std::ostream& out, std::ostream& errors);

    void happened(const core::RunEventDetails& event) override;

    // Prints the rest for a run that returned result: the summary, or the
    // JSON document, and the result line. Returns the exit status: 1 when
    // the run was refused (a negative result) or reported an error, else 0.
    int finish(int result);

private:
    void printSummary() const;
    void printJson(int result) const;

    ReportStyle style;
    std::ostream& out;
    std::ostream& errors;
    std::map<core::RunEvent, std::size_t> counts;
    std::vector<core::RunEventDetails> kept;
    bool anyError = false;
};

} // namespace tern::cli
