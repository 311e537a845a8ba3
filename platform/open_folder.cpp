// What an open folder does the same way with either backend.

#include "platform/open_folder.h"

namespace tern::platform {

std::vector<std::error_code> OpenFolder::copyNewFiles(const OpenFolder& source,
                                                      const std::vector<std::wstring>& names) {
    if (auto outcomes = copyAllAtOnce(source, names))
        return std::move(*outcomes);
    std::vector<std::error_code> outcomes(names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        copyNewFile(source, names[i], &outcomes[i]);
    return outcomes;
}

} // namespace tern::platform
