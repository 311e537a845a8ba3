#include "update/run_report.h"

namespace tern {

namespace core {

namespace {
IRunReport* installedReport = nullptr;
}

IRunReport::~IRunReport() = default;

void setRunReport(IRunReport* report) { installedReport = report; }

} // namespace core

namespace update {

core::IRunReport* runReport() { return core::installedReport; }

void report(core::RunEvent event, const std::wstring& path, const std::wstring& reason) {
    if (core::IRunReport* listener = runReport()) {
        core::RunEventDetails details{event, path, {}, {}, {}, {}, reason};
        listener->happened(details);
    }
}

} // namespace update

} // namespace tern
