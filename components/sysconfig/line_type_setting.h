// The line types: the system's own and the user's, each a file whose root
// element is "LineTypes" (docs/settings-files.md).
//
// The application resolves the line-type references of several settings
// files with them, so their loaders are given the line types; exchanging
// black and white in those files needs none of them.

#pragma once

#include <string>

namespace tern::ui::setting {

// The line types, as the loaders of the settings files are given them.
class ISystemLineTypeSetting {
public:
    virtual ~ISystemLineTypeSetting() = default;
};

class CLineTypeSetting : public ISystemLineTypeSetting {
public:
    // Read the system's line types, or the user's (or their initial copy):
    // true when the file is well-formed XML with a "LineTypes" root.
    bool loadSystemXML(const std::wstring& path);
    bool loadXML(const std::wstring& path);
};

} // namespace tern::ui::setting
