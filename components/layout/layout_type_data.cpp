#include "components/layout/layout_type_data.h"

#include <algorithm>
#include <utility>

namespace tern::layout {

LayoutTypeData::LayoutTypeData(std::wstring name) : name(std::move(name)) {}

LayoutModeData* LayoutTypeData::findLayoutMode(const std::wstring& modeName) const {
    for (const auto& mode : modes)
        if (mode->getName() == modeName)
            return mode.get();
    return nullptr;
}

LayoutModeData* LayoutTypeData::addLayoutMode(const std::wstring& modeName) {
    if (findLayoutMode(modeName))
        return nullptr;
    modes.push_back(std::make_unique<LayoutModeData>(modeName));
    return modes.back().get();
}

bool LayoutTypeData::findAppendOptionVersion(std::int32_t& major, std::int32_t& minor,
                                             const std::wstring& option) const {
    const auto found = std::find_if(appendOptions.begin(), appendOptions.end(),
                                    [&](const AppendOption& recorded) { return recorded.name == option; });
    if (found == appendOptions.end())
        return false;
    major = found->major;
    minor = found->minor;
    return true;
}

void LayoutTypeData::setAppendOptionVersion(const std::wstring& option, std::int32_t major, std::int32_t minor) {
    const auto found = std::find_if(appendOptions.begin(), appendOptions.end(),
                                    [&](const AppendOption& recorded) { return recorded.name == option; });
    if (found == appendOptions.end())
        appendOptions.push_back(AppendOption{option, major, minor});
    else
        *found = AppendOption{option, major, minor};
}

} // namespace tern::layout
