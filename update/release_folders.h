// The fixed sub-folders of a release's two per-user folders, which every
// run makes when they are missing.

#pragma once

#include <string>
#include <vector>

namespace tern::update {

// appData + "Config", appData + "InitialConfig", then userData + "WorkData",
// "Temporary", "BackUp", "Templates" and "Templates\Layer", in the order
// they are made (a parent before its child).
std::vector<std::wstring> releaseSubFolders(const std::wstring& appData, const std::wstring& userData);

} // namespace tern::update
