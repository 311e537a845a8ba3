// A main frame for tests: every folder and settings path is a plain field
// that the test fills; the layout manager and command table are the test's.

#pragma once

#include "host/main_frame.h"

#include <string>

namespace tern::test {

struct TestFrame : core::IMainFrame {
    std::wstring installFolder, appDataFolder, userDataFolder, resourceFolder, settingFolder,
        initialConfigFolder, templateFolder;
    std::wstring systemPaperFrameSetting, colorSetting, userLineTypeSetting, lineWidthSetting,
        systemHatchingSetting, initialColorSetting, initialLineTypeSetting, systemLineTypeSetting,
        userDisplaySetting;
    layout::ILayoutManager* layoutManager = nullptr;      // must be set before getLayoutManager
    const utility::CCommandTable* commandTable = nullptr; // must be set before getCommandTable

    const wchar_t* getInstallFolder() const override { return installFolder.c_str(); }
    const wchar_t* getAppDataFolder() const override { return appDataFolder.c_str(); }
    const wchar_t* getUserDataFolder() const override { return userDataFolder.c_str(); }
    void getSystemPaperFrameSettingPath(std::wstring& path) const override { path = systemPaperFrameSetting; }
    void getColorSettingPath(std::wstring& path) const override { path = colorSetting; }
    void getUserLineTypeSettingPath(std::wstring& path) const override { path = userLineTypeSetting; }
    void getLineWidthSettingPath(std::wstring& path) const override { path = lineWidthSetting; }
    void getSystemHatchingSettingPath(std::wstring& path) const override { path = systemHatchingSetting; }
    void getInitialColorSettingPath(std::wstring& path) const override { path = initialColorSetting; }
    void getInitialLineTypeSettingPath(std::wstring& path) const override { path = initialLineTypeSetting; }
    void getSystemLineTypeSettingPath(std::wstring& path) const override { path = systemLineTypeSetting; }
    void getUserDisplaySettingPath(std::wstring& path) const override { path = userDisplaySetting; }
    layout::ILayoutManager& getLayoutManager() override { return *layoutManager; }
    const utility::CCommandTable& getCommandTable() const override { return *commandTable; }
    const wchar_t* getResourceFolder() const override { return resourceFolder.c_str(); }
    const wchar_t* getSettingFolder() const override { return settingFolder.c_str(); }
    const wchar_t* getInitialConfigFolder() const override { return initialConfigFolder.c_str(); }
    const wchar_t* getTemplateFolder() const override { return templateFolder.c_str(); }

    // Points the frame at an installation folder and a release's two
    // per-user folders (system paths ending in a backslash), with the
    // settings, initial settings and template folders where the
    // application keeps them.
    void useFolders(const std::wstring& install, const std::wstring& appData, const std::wstring& userData) {
        installFolder = resourceFolder = install;
        appDataFolder = appData;
        userDataFolder = userData;
        settingFolder = appData + L"Config\\";
        initialConfigFolder = appData + L"InitialConfig\\";
        templateFolder = userData + L"Templates\\";
    }

    // Names the settings files where the application keeps them: in the
    // settings folder, the initial colour and line-type tables in the
    // initial-settings folder. After useFolders.
    void useSettingFiles() {
        systemPaperFrameSetting = settingFolder + L"System_PaperFrame.xml";
        colorSetting = settingFolder + L"System_Color.xml";
        userLineTypeSetting = settingFolder + L"User_LineType.xml";
        lineWidthSetting = settingFolder + L"System_LineWidth.xml";
        systemHatchingSetting = settingFolder + L"System_Hatching.xml";
        systemLineTypeSetting = settingFolder + L"System_LineType.xml";
        userDisplaySetting = settingFolder + L"User_Display.xml";
        initialColorSetting = initialConfigFolder + L"System_Color.xml";
        initialLineTypeSetting = initialConfigFolder + L"User_LineType.xml";
    }
};

} // namespace tern::test
