// The main frame of the tnupdate host: every folder the library asks for is
// derived from the three folders given on the command line.
//
//   install folder, resource folder   = --install
//   application-data folder           = --appdata
//   user-data folder                  = --userdata
//   setting folder                    = APPDATA + "Config\"
//   initial-config folder             = APPDATA + "InitialConfig\"
//   template folder                   = USERDATA + "Templates\"
// The settings files lie in the setting folder; the initial (fallback) ones
// are the user's copies of the shipped ones, in the initial-config folder.
// They are never taken from the installation folder: the settings transfer
// replaces an outdated initial colour table, and the installation must
// never be written.

#pragma once

#include "host/main_frame.h"

#include <string>

namespace tern::cli {

struct Folders {
    std::wstring install;  // system paths, each ending in a backslash
    std::wstring appData;
    std::wstring userData;
};

class FolderFrame : public core::IMainFrame {
public:
    explicit FolderFrame(Folders folders);
    // The command table, and the layout model, for the commands that have them.
    FolderFrame(Folders folders, const utility::CCommandTable& commands);
    FolderFrame(Folders folders, const utility::CCommandTable& commands, layout::ILayoutManager& layouts);

    const wchar_t* getInstallFolder() const override { return folders.install.c_str(); }
    const wchar_t* getAppDataFolder() const override { return folders.appData.c_str(); }
    const wchar_t* getUserDataFolder() const override { return folders.userData.c_str(); }
    void getSystemPaperFrameSettingPath(std::wstring& path) const override;
    void getColorSettingPath(std::wstring& path) const override;
    void getUserLineTypeSettingPath(std::wstring& path) const override;
    void getLineWidthSettingPath(std::wstring& path) const override;
    void getSystemHatchingSettingPath(std::wstring& path) const override;
    void getInitialColorSettingPath(std::wstring& path) const override;
    void getInitialLineTypeSettingPath(std::wstring& path) const override;
    void getSystemLineTypeSettingPath(std::wstring& path) const override;
    void getUserDisplaySettingPath(std::wstring& path) const override;
    layout::ILayoutManager& getLayoutManager() override;
    const utility::CCommandTable& getCommandTable() const override;
    const wchar_t* getResourceFolder() const override { return folders.install.c_str(); }
    const wchar_t* getSettingFolder() const override { return settingFolder.c_str(); }
    const wchar_t* getInitialConfigFolder() const override { return initialConfigFolder.c_str(); }
    const wchar_t* getTemplateFolder() const override { return templateFolder.c_str(); }

private:
    Folders folders;
    std::wstring settingFolder, initialConfigFolder, templateFolder;
    const utility::CCommandTable* commands = nullptr;
    layout::ILayoutManager* layouts = nullptr;
};

} // namespace tern::cli
