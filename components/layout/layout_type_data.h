// One layout type: its layout modes, in file order, and the version of
// every option appended to it.
//
// Mode and option names compare exactly. Pointers to modes stay valid for
// the life of the type.

#pragma once

#include "components/layout/layout_mode_data.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tern::layout {

// The version of an option last appended to a layout type.
struct AppendOption {
    std::wstring name;
    std::int32_t major = 0;
    std::int32_t minor = 0;
};

class LayoutTypeData {
public:
    LayoutTypeData() = default;
    explicit LayoutTypeData(std::wstring name);

    const std::wstring& getName() const { return name; }
    const std::vector<AppendOption>& getAppendOptions() const { return appendOptions; }
    const std::vector<std::unique_ptr<LayoutModeData>>& getLayoutModes() const { return modes; }

    // The mode of that name, or null.
    LayoutModeData* findLayoutMode(const std::wstring& modeName) const;
    // Appends a mode with empty bars; null when one of that name exists.
    LayoutModeData* addLayoutMode(const std::wstring& modeName);

    // True, with the version, when one is recorded for the option; major and
    // minor are left as they were otherwise.
    bool findAppendOptionVersion(std::int32_t& major, std::int32_t& minor, const std::wstring& option) const;
    // Records the option's version, replacing any recorded before.
    void setAppendOptionVersion(const std::wstring& option, std::int32_t major, std::int32_t minor);

private:
    std::wstring name;
    std::vector<AppendOption> appendOptions; // in the order first recorded
    std::vector<std::unique_ptr<LayoutModeData>> modes;
};

} // namespace tern::layout
