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

void reportFinished(int result, const std::wstring& whyEnded) {
    report([&] {
        return core::RunEventDetails{core::RunEvent::finished, {}, {}, {}, {}, std::to_wstring(result), whyEnded};
    });
}

} // namespace update

} // namespace tern
