// The layout model: every layout type of the user's layout file
// ("Config\Display.xml") with its modes and their bars.
//
// loadXmlFile replaces the model with the file's content; a file that cannot
// be read, is not well-formed, has no "Display" root or breaks the format
// (see docs/layout-file.md) leaves the model as it was and the file
// untouched, and getLoadProblem says why. Each SID is resolved through the
// frame's command table; a command it does not know keeps its SID and
// caption but has no identifier. saveXmlFile writes every type and mode,
// indented, replacing the file in one step: a failure leaves the old file
// as it was. A model loaded and saved unchanged gives the same content, and
// a file saved here loads and saves again to the same bytes. Loading opens
// a COM apartment of its own around the file.

#pragma once

#include "components/layout/layout_manager_interface.h"
#include "components/layout/layout_type_data.h"
#include "components/utility/command_table.h"

#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace tern::core {
class IMainFrame;
}

namespace tern::layout {

class LayoutManager : public ILayoutManager {
public:
    bool loadXmlFile(const std::wstring& path, const core::IMainFrame& frame);
    // False, with why set when given, when the file could not be written.
    bool saveXmlFile(const std::wstring& path, const utility::CCommandTable& commandTable,
                     std::error_code* why = nullptr) const;
    // Why the last loadXmlFile failed; empty after a successful load.
    const std::wstring& getLoadProblem() const { return loadProblem; }

    // Fills names with the layout type names in file order; returns the count.
    int getTypeNames(std::vector<std::wstring>& names) const;
    // The type of that name, or null.
    LayoutTypeData* findType(const std::wstring& name) const;
    // Appends an empty type; null for an empty name or one already used.
    LayoutTypeData* addType(const std::wstring& name);

private:
    std::vector<std::unique_ptr<LayoutTypeData>> types;
    std::wstring loadProblem;
};

} // namespace tern::layout
