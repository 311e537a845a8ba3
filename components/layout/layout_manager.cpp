#include "components/layout/layout_manager.h"

#include "components/layout/layout_file.h"
#include "host/main_frame.h"

namespace tern::layout {

bool LayoutManager::loadXmlFile(const std::wstring& path, const core::IMainFrame& frame) {
    if (!readLayoutFile(path, frame.getCommandTable(), types, loadProblem))
        return false;
    loadProblem.clear();
    return true;
}

bool LayoutManager::saveXmlFile(const std::wstring& path, const utility::CCommandTable& commandTable,
                                std::error_code* why) const {
    return writeLayoutFile(path, types, commandTable, why);
}

int LayoutManager::getTypeNames(std::vector<std::wstring>& names) const {
    names.clear();
    for (const auto& type : types)
        names.push_back(type->getName());
    return static_cast<int>(names.size());
}

LayoutTypeData* LayoutManager::findType(const std::wstring& name) const {
    for (const auto& type : types)
        if (type->getName() == name)
            return type.get();
    return nullptr;
}

LayoutTypeData* LayoutManager::addType(const std::wstring& name) {
    if (name.empty() || findType(name))
        return nullptr;
    types.push_back(std::make_unique<LayoutTypeData>(name));
    return types.back().get();
}

} // namespace tern::layout
