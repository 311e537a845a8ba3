#include "cli/folder_frame.h"

#include "components/layout/layout_manager.h"
#include "components/utility/command_table.h"

namespace tern::cli {

namespace {

// What the host has when it was given no command table or layout model:
// a table that knows no command, a model without layout types.
const utility::CCommandTable& emptyCommandTable() {
    static const utility::CCommandTable table;
    return table;
}

layout::LayoutManager& emptyLayoutManager() {
    static layout::LayoutManager manager;
    return manager;
}

} // namespace

FolderFrame::FolderFrame(Folders given)
    : folders(std::move(given)), settingFolder(folders.appData + L"Config\\"),
      initialConfigFolder(folders.appData + L"InitialConfig\\"), templateFolder(folders.userData + L"Templates\\") {}

FolderFrame::FolderFrame(Folders given, const utility::CCommandTable& commandTable) : FolderFrame(std::move(given)) {
    commands = &commandTable;
}

FolderFrame::FolderFrame(Folders given, const utility::CCommandTable& commandTable, layout::ILayoutManager& model)
    : FolderFrame(std::move(given), commandTable) {
    layouts = &model;
}

void FolderFrame::getSystemPaperFrameSettingPath(std::wstring& path) const {
    path = settingFolder + L"System_PaperFrame.xml";
}
void FolderFrame::getColorSettingPath(std::wstring& path) const { path = settingFolder + L"System_Color.xml"; }
void FolderFrame::getUserLineTypeSettingPath(std::wstring& path) const { path = settingFolder + L"User_LineType.xml"; }
void FolderFrame::getLineWidthSettingPath(std::wstring& path) const { path = settingFolder + L"System_LineWidth.xml"; }
void FolderFrame::getSystemHatchingSettingPath(std::wstring& path) const {
    path = settingFolder + L"System_Hatching.xml";
}
void FolderFrame::getInitialColorSettingPath(std::wstring& path) const {
    path = initialConfigFolder + L"System_Color.xml";
}
void FolderFrame::getInitialLineTypeSettingPath(std::wstring& path) const {
    path = initialConfigFolder + L"User_LineType.xml";
}
void FolderFrame::getSystemLineTypeSettingPath(std::wstring& path) const {
    path = settingFolder + L"System_LineType.xml";
}
void FolderFrame::getUserDisplaySettingPath(std::wstring& path) const { path = settingFolder + L"User_Display.xml"; }

layout::ILayoutManager& FolderFrame::getLayoutManager() { return layouts ? *layouts : emptyLayoutManager(); }

const utility::CCommandTable& FolderFrame::getCommandTable() const {
    return commands ? *commands : emptyCommandTable();
}

} // namespace tern::cli
