// A host of the installed library, as small as one can be: it implements the
// main frame over a folder tree of its own, answers the questions itself and
// runs the update twice. It sees only the installed headers and links only
// the installed library. Exit status 0 when every result is as expected;
// otherwise each difference is printed.
//
// The tree: release 2016.1 is installed and starts for the first time for a
// user whose release 2015 left its settings. The user declines to inherit
// them, so the first run clears them and stamps the release (1); the second
// finds the release up to date and asks nothing (0). The library's report of
// each run reaches the host too.

#include "components/layout/layout_manager_interface.h"
#include "components/utility/command_table.h"
#include "host/main_frame.h"
#include "host/run_report.h"
#include "host/user_questions.h"
#include "option/appender.h"
#include "update/updater.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// The library's paths: wide, with backslashes, folders ending in one.
std::wstring systemPath(const fs::path& path, bool folder) {
    std::wstring text = path.wstring();
    std::replace(text.begin(), text.end(), L'/', L'\\');
    return folder ? text + L'\\' : text;
}

class FolderFrame : public tern::core::IMainFrame {
public:
    explicit FolderFrame(const fs::path& root)
        : install(systemPath(root / "install", true)),
          appData(systemPath(root / "profile/PLX/OrvoLumen/OrvoLumen/2016_x64", true)),
          userData(systemPath(root / "profile/UserData/2016_x64", true)), setting(appData + L"Config\\"),
          initialConfig(appData + L"InitialConfig\\"), templates(userData + L"Templates\\") {}

    const wchar_t* getInstallFolder() const override { return install.c_str(); }
    const wchar_t* getAppDataFolder() const override { return appData.c_str(); }
    const wchar_t* getUserDataFolder() const override { return userData.c_str(); }
    void getSystemPaperFrameSettingPath(std::wstring& path) const override {
        path = setting + L"System_PaperFrame.xml";
    }
    void getColorSettingPath(std::wstring& path) const override { path = setting + L"System_Color.xml"; }
    void getUserLineTypeSettingPath(std::wstring& path) const override { path = setting + L"User_LineType.xml"; }
    void getLineWidthSettingPath(std::wstring& path) const override { path = setting + L"System_LineWidth.xml"; }
    void getSystemHatchingSettingPath(std::wstring& path) const override { path = setting + L"System_Hatching.xml"; }
    void getInitialColorSettingPath(std::wstring& path) const override { path = initialConfig + L"System_Color.xml"; }
    void getInitialLineTypeSettingPath(std::wstring& path) const override {
        path = initialConfig + L"User_LineType.xml";
    }
    void getSystemLineTypeSettingPath(std::wstring& path) const override { path = setting + L"System_LineType.xml"; }
    void getUserDisplaySettingPath(std::wstring& path) const override { path = setting + L"User_Display.xml"; }
    tern::layout::ILayoutManager& getLayoutManager() override { return layoutManager; }
    const tern::utility::CCommandTable& getCommandTable() const override { return commandTable; }
    const wchar_t* getResourceFolder() const override { return install.c_str(); }
    const wchar_t* getSettingFolder() const override { return setting.c_str(); }
    const wchar_t* getInitialConfigFolder() const override { return initialConfig.c_str(); }
    const wchar_t* getTemplateFolder() const override { return templates.c_str(); }

private:
    struct NoLayout : tern::layout::ILayoutManager {};

    std::wstring install, appData, userData, setting, initialConfig, templates;
    NoLayout layoutManager;
    tern::utility::CCommandTable commandTable;
};

// Declines every question, and keeps their ids.
struct Declining : tern::core::IUserQuestions {
    bool askYesNo(tern::core::Question question, const std::wstring&) override {
        asked += (asked.empty() ? "" : " ") + std::to_string(static_cast<int>(question));
        return false;
    }
    int chooseInheritedProduct(std::int32_t&) override {
        asked += (asked.empty() ? "" : " ") + std::string("dialog");
        return 2;
    }
    std::string asked;
};

// Keeps what each run ended with, as the library reports it.
struct Results : tern::core::IRunReport {
    void happened(const tern::core::RunEventDetails& event) override {
        if (event.event == tern::core::RunEvent::finished)
            finished += (finished.empty() ? "" : " ") + std::string(event.detail.begin(), event.detail.end());
    }
    std::string finished;
};

void write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::string read(const fs::path& file) {
    std::ostringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
}

int failures = 0;

template <typename Value> void expect(const char* what, const Value& actual, const Value& expected) {
    if (actual == expected)
        return;
    std::cout << what << ": got " << actual << ", expected " << expected << "\n";
    ++failures;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: host FOLDER (a folder that does not exist yet)\n";
        return 2;
    }
    const fs::path root = fs::absolute(argv[1]);
    const std::string release = "<Versions><Main>2016.1</Main></Versions>";
    write(root / "install/ja/version.xml", release);
    write(root / "install/Config/InitialSet/Draw_Common.xml", "<DrawCommon/>");
    write(root / "install/Templates/Layer/Standard.xml", "<LayerTemplate/>");
    write(root / "Update.xml", "<Update_Data><Update ver=\"2016.1\"/><Update ver=\"2016.0\"/>"
                               "<Update ver=\"2015.0\"/></Update_Data>");
    const fs::path previous = root / "profile/PLX/OrvoLumen/OrvoLumen/2015_x64";
    write(previous / "version.xml", "<Versions><Main>2015.0</Main></Versions>");
    write(previous / "Config/Marker.xml", "<Marker/>");

    FolderFrame frame(root);
    Declining answers;
    tern::core::setUserQuestions(&answers);
    Results results;
    tern::core::setRunReport(&results);
    const std::wstring definition = systemPath(root / "Update.xml", false);
    tern::update::CUpdater updater;
    expect("first run", updater.run(definition.c_str(), frame, true), 1);
    expect("questions", answers.asked, std::string("4000"));
    const fs::path current = root / "profile/PLX/OrvoLumen/OrvoLumen/2016_x64";
    expect("stamp", read(current / "version.xml"), release);
    expect("settings inherited", fs::exists(current / "Config/Marker.xml"), false);
    expect("initial settings", read(current / "InitialConfig/Draw_Common.xml"), std::string("<DrawCommon/>"));
    expect("layer template", read(root / "profile/UserData/2016_x64/Templates/Layer/Standard.xml"),
           std::string("<LayerTemplate/>"));
    expect("second run", updater.run(definition.c_str(), frame, true), 0);
    expect("questions after the second run", answers.asked, std::string("4000"));
    expect("results reported", results.finished, std::string("1 0"));
    tern::core::setUserQuestions(nullptr);
    tern::core::setRunReport(nullptr);

    // The option appender is exported too: without an option name it
    // refuses at once.
    tern::option::Appender appender;
    expect("appender without a name", appender.run(L"", definition.c_str(), frame), -1);

    std::cout << (failures ? "host: failed\n" : "host: updated, then up to date\n");
    return failures ? 1 : 0;
}
