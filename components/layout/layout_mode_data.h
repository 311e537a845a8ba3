// One layout mode of one layout type: its command bars (ribbon, menu,
// toolbars) and the toolbars that definitions added to it.
//
// setupTo hands out a copy of the bars and setupFrom takes edited bars back,
// copied or moved in; both succeed for any bars. getCommandBars shows them
// without a copy, for writing them out. The three mode names are the ones the layout
// file stores in "LayoutMode Name": "Normal", "3D" and "Red".

#pragma once

#include "components/layout/command_bars.h"
#include "components/utility/command_table.h"

#include <string>
#include <vector>

namespace tern::layout {

class LayoutModeData {
public:
    LayoutModeData() = default;
    explicit LayoutModeData(std::wstring name);

    static const wchar_t* getNormalModeName();
    static const wchar_t* get3dModeName();
    static const wchar_t* getRedModeName();

    const std::wstring& getName() const { return name; }
    const std::vector<ToolBarOption>& getToolBarOptions() const { return toolBarOptions; }
    const CCommandBars& getCommandBars() const { return commandBars; }

    // Copies the mode's bars into `bars`.
    bool setupTo(CCommandBars& bars, const utility::CCommandTable& commandTable) const;
    // Stores `bars` as the mode's bars.
    bool setupFrom(const CCommandBars& bars, const utility::CCommandTable& commandTable);
    bool setupFrom(CCommandBars&& bars, const utility::CCommandTable& commandTable);
    void addToolBarOption(const ToolBarOption& option);

private:
    std::wstring name;
    CCommandBars commandBars;
    std::vector<ToolBarOption> toolBarOptions;
};

} // namespace tern::layout
