#include "update/release_folders.h"

namespace tern::update {

std::vector<std::wstring> releaseSubFolders(const std::wstring& appData, const std::wstring& userData) {
    return {appData + L"Config",       appData + L"InitialConfig", userData + L"WorkData",
            userData + L"Temporary",   userData + L"BackUp",       userData + L"Templates",
            userData + L"Templates\\Layer"};
}

} // namespace tern::update
