#include "update/vendor_root.h"

namespace tern::update {

std::wstring findVendorRoot(const std::wstring& appData) {
    int backslashes = 0;
    for (std::size_t i = appData.size(); i-- > 0;) {
        if (appData[i] != L'\\' || ++backslashes < 4)
            continue;
        // Counting from the trailing backslash, the fourth one follows "\PLX".
        if (i <= 6 || appData.compare(i - 4, 4, L"\\PLX") != 0)
            return {};
        return appData.substr(0, i + 1);
    }
    return {};
}

} // namespace tern::update
