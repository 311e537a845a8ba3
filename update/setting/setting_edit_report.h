// How a setting edit item tells the run report (update/run_report.h) what
// it did to the file its section edits.

#pragma once

#include "update/run_report.h"
#include "update/update_data.h"

#include <string>

namespace tern::update::setting {

// The file the owning section edits; empty without one.
inline std::wstring editedFileOf(const SettingData* owner) { return owner ? owner->editedFile() : std::wstring(); }

// An edit at xpath that was not applied, and why.
inline void reportEditNotApplied(const SettingData* owner, const std::wstring& xpath, const wchar_t* reason) {
    report([&] {
        return core::RunEventDetails{
            core::RunEvent::settingEditNotApplied, editedFileOf(owner), {}, xpath, {}, {}, reason};
    });
}

// An edit at xpath that was applied; inserted() gives what it inserted,
// asked only when someone listens.
template <class MakeInserted>
void reportEditApplied(const SettingData* owner, const std::wstring& xpath, const MakeInserted& inserted) {
    report([&] {
        return core::RunEventDetails{
            core::RunEvent::settingEditApplied, editedFileOf(owner), {}, xpath, {}, inserted(), {}};
    });
}

} // namespace tern::update::setting
