// What a run did, told to a host that wants to know.
//
// The library writes no log and shows nothing but its questions: the host is
// where the user learns what a run made, copied, edited or left alone. A host
// that wants to say so (tnupdate prints a summary, or JSON) installs an
// IRunReport; the library then tells it, as the run goes, each thing it does
// or declines to do, with the reason. With none installed, reporting costs one
// pointer test: no event is built.

#pragma once

#include "tnupdate_export.h"

#include <string>

namespace tern::core {

// What happened. The comments say which fields of RunEventDetails are set.
enum class RunEvent {
    folderMade,            // path
    folderNotMade,         // path, reason
    fileCopied,            // path (the destination), source
    fileSkipped,           // path, source, reason (it exists, the path is too long, ...)
    fileReplaced,          // path, source, reason (why the old file gave way)
    attributesChanged,     // path, detail (what changed: "read-only cleared", "read-only set")
    fileDeleted,           // path
    fileLeft,              // path, reason (why it was not deleted)
    fileWritten,           // path
    fileNotWritten,        // path, reason: an error, the old file is kept
    questionAsked,         // subject (the question as the user reads it), detail (the answer)
    layoutItemApplied,     // subject (the item), place (the layout type and mode)
    layoutItemNotApplied,  // subject, place, reason (target not found, command unknown, already present)
    settingEditApplied,    // path (the settings file), subject (the XPath), detail (what was inserted)
    settingEditNotApplied, // path, subject, reason
    refused,               // path (when one is concerned), reason: why the run returns -1
    finished,              // detail: the run's result, as a number
};

struct RunEventDetails {
    RunEvent event;
    std::wstring path;    // the file or folder concerned, in the library's form (backslashes)
    std::wstring source;  // the file a copy came from
    std::wstring subject; // the layout item, XPath or question concerned
    std::wstring place;   // where a layout item went: "type NAME, mode M"
    std::wstring detail;  // what was done: the answer, what changed, what was inserted
    std::wstring reason;  // why something was not done, or done otherwise
};

class TNUPDATE_EXPORT IRunReport {
public:
    virtual ~IRunReport();
    // Called on the thread that runs the library, in the order things happen.
    virtual void happened(const RunEventDetails& event) = 0;
};

// Installs the host's report for later runs; the host keeps ownership.
// nullptr stops the reporting.
TNUPDATE_EXPORT void setRunReport(IRunReport* report);

} // namespace tern::core
