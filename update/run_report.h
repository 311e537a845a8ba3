// How the library's code tells the host's report (host/run_report.h) what it
// did. The event is built only when a report is installed, so a call costs
// one pointer test when nobody listens.

#pragma once

#include "host/run_report.h"

#include <type_traits>

namespace tern::update {

// The report the host installed; null when nobody listens.
core::IRunReport* runReport();

// Tells the installed report, if any, the event makeEvent() builds.
template <class MakeEvent, class = std::enable_if_t<std::is_invocable_r_v<core::RunEventDetails, const MakeEvent&>>>
void report(const MakeEvent& makeEvent) {
    if (core::IRunReport* listener = runReport())
        listener->happened(makeEvent());
}

// Tells the report that the run ended with `result`; `whyEnded` says what
// ended it early, when something did.
void reportFinished(int result, const std::wstring& whyEnded = {});

} // namespace tern::update
