#include "cli/run_report_printer.h"

#include "cli/shown_path.h"
#include "platform/text.h"

#include <nlohmann/json.hpp>

#include <map>
#include <ostream>
#include <string>

namespace tern::cli {

using core::RunEvent;
using core::RunEventDetails;

namespace {

// How each kind of event is named: in JSON, at the start of its line, and
// counted in the summary (one and many; null for a kind never counted).
struct EventWords {
    const char* name;
    const char* label;
    const char* one;
    const char* many;
};

EventWords wordsOf(RunEvent event) {
    switch (event) {
    case RunEvent::folderMade:
        return {"folderMade", "folder made", "folder made", "folders made"};
    case RunEvent::folderNotMade:
        return {"folderNotMade", "folder not made", "folder not made", "folders not made"};
    case RunEvent::fileCopied:
        return {"fileCopied", "file copied", "file copied", "files copied"};
    case RunEvent::fileSkipped:
        return {"fileSkipped", "file skipped", "file skipped", "files skipped"};
    case RunEvent::fileReplaced:
        return {"fileReplaced", "file replaced", "file replaced", "files replaced"};
    case RunEvent::attributesChanged:
        return {"attributesChanged", "attributes changed", "attribute change", "attribute changes"};
    case RunEvent::fileDeleted:
        return {"fileDeleted", "file deleted", "file deleted", "files deleted"};
    case RunEvent::fileLeft:
        return {"fileLeft", "file left", "file left", "files left"};
    case RunEvent::fileWritten:
        return {"fileWritten", "file written", "file written", "files written"};
    case RunEvent::fileNotWritten:
        return {"fileNotWritten", "file not written", "file not written", "files not written"};
    case RunEvent::questionAsked:
        return {"questionAsked", "question", "question asked", "questions asked"};
    case RunEvent::layoutItemApplied:
        return {"layoutItemApplied", "layout item applied", "layout item applied", "layout items applied"};
    case RunEvent::layoutItemNotApplied:
        return {"layoutItemNotApplied", "layout item not applied", "layout item not applied",
                "layout items not applied"};
    case RunEvent::settingEditApplied:
        return {"settingEditApplied", "setting edit applied", "setting edit applied", "setting edits applied"};
    case RunEvent::settingEditNotApplied:
        return {"settingEditNotApplied", "setting edit not applied", "setting edit not applied",
                "setting edits not applied"};
    case RunEvent::refused:
        return {"refused", "refused", "refusal", "refusals"};
    case RunEvent::finished:
        return {"finished", "finished", nullptr, nullptr};
    }
    return {"unknown", "unknown event", nullptr, nullptr};
}

bool isError(RunEvent event) {
    return event == RunEvent::folderNotMade || event == RunEvent::fileNotWritten || event == RunEvent::refused;
}

// What the summary lists one by one: what a definition asked for and did not get.
bool isNotApplied(RunEvent event) {
    return event == RunEvent::layoutItemNotApplied || event == RunEvent::settingEditNotApplied;
}

// Text on one line: line breaks and tabs (an inserted node's indentation,
// say) become single spaces, and the ends are trimmed.
std::string oneLine(const std::wstring& text) {
    std::string line;
    for (const char c : platform::toUtf8(text)) {
        const bool space = c == ' ' || c == '\n' || c == '\r' || c == '\t';
        if (!space)
            line += c;
        else if (!line.empty() && line.back() != ' ')
            line += ' ';
    }
    if (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line;
}

// "LABEL: PATH (from SOURCE) SUBJECT (PLACE): DETAIL: REASON", each part
// only when the event has it.
std::string lineOf(const RunEventDetails& event) {
    std::string what;
    const auto add = [&what](const std::string& part, const char* separator) {
        if (!part.empty())
            what += (what.empty() ? "" : separator) + part;
    };
    if (!event.path.empty())
        add(shownPath(event.path), " ");
    if (!event.source.empty())
        add("(from " + shownPath(event.source) + ")", " ");
    add(oneLine(event.subject), " ");
    if (!event.place.empty())
        add("(" + oneLine(event.place) + ")", " ");
    add(oneLine(event.detail), ": ");
    add(oneLine(event.reason), ": ");
    return wordsOf(event.event).label + (": " + what);
}

nlohmann::ordered_json jsonOf(const RunEventDetails& event) {
    nlohmann::ordered_json object{{"event", wordsOf(event.event).name}};
    const auto add = [&object](const char* field, const std::wstring& text, bool isPath) {
        if (!text.empty())
            object[field] = isPath ? shownPath(text) : platform::toUtf8(text);
    };
    add("path", event.path, true);
    add("source", event.source, true);
    add("subject", event.subject, false);
    add("place", event.place, false);
    add("detail", event.detail, false);
    add("reason", event.reason, false);
    return object;
}

} // namespace

RunReportPrinter::RunReportPrinter(ReportStyle style, std::ostream& out, std::ostream& errors)
    : style(style), out(out), errors(errors) {}

void RunReportPrinter::happened(const RunEventDetails& event) {
    ++counts[event.event];
    anyError = anyError || isError(event.event);
    // Kept for what is printed at the end: every event in JSON, what was not
    // applied in the summary. A run may tell tens of thousands of skips.
    if (style == ReportStyle::json || (style == ReportStyle::summary && isNotApplied(event.event)))
        kept.push_back(event);
    if (style == ReportStyle::json)
        return;
    if (isError(event.event)) {
        out << std::flush;
        errors << "error: " << lineOf(event) << "\n" << std::flush;
    } else if (style == ReportStyle::verbose && event.event != RunEvent::finished) {
        out << lineOf(event) << "\n";
    }
}

int RunReportPrinter::finish(int result) {
    if (style == ReportStyle::json) {
        printJson(result);
    } else {
        if (style == ReportStyle::summary)
            printSummary();
        out << "result: " << result << "\n";
    }
    out << std::flush;
    return result < 0 || anyError ? 1 : 0;
}

void RunReportPrinter::printSummary() const {
    // Counted in the order the kinds are declared, which is roughly the order of a run.
    std::string line;
    for (const auto& [event, count] : counts) {
        const EventWords words = wordsOf(event);
        if (words.one)
            line += (line.empty() ? "" : ", ") + std::to_string(count) + " " + (count == 1 ? words.one : words.many);
    }
    if (!line.empty())
        out << line << "\n";
    for (const RunEventDetails& event : kept)
        out << lineOf(event) << "\n";
}

void RunReportPrinter::printJson(int result) const {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const RunEventDetails& event : kept)
        list.push_back(jsonOf(event));
    nlohmann::ordered_json countsByName = nlohmann::ordered_json::object();
    for (const auto& [event, count] : counts)
        countsByName[wordsOf(event).name] = count;
    const nlohmann::ordered_json document{{"result", result}, {"events", list}, {"counts", countsByName}};
    out << document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
}

} // namespace tern::cli
