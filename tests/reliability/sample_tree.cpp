#include "tests/reliability/sample_tree.h"

#include <gtest/gtest.h>

namespace tern::test {

namespace fs = std::filesystem;

const char* const previousApp = "profile/PLX/OrvoLumen/OrvoLumen/2015_x64/";
const char* const previousUser = "profile/UserData/2015_x64/";
const char* const currentApp = "profile/PLX/OrvoLumen/OrvoLumen/2016_x64/";
const char* const currentUser = "profile/UserData/2016_x64/";

SampleTree::SampleTree() {
    fs::copy(TN_EXAMPLES_DIR, temp.path(), fs::copy_options::recursive);
    std::wstring problem;
    EXPECT_TRUE(commands.load(temp.system("install/Config/Commands.xml"), problem));
    frame.commandTable = &commands;
    frame.layoutManager = &layouts;
    frame.installFolder = frame.resourceFolder = temp.system("install/");
    frame.appDataFolder = temp.system(currentApp);
    frame.userDataFolder = temp.system(currentUser);
    frame.settingFolder = frame.appDataFolder + L"Config\\";
    frame.initialConfigFolder = frame.appDataFolder + L"InitialConfig\\";
    frame.templateFolder = frame.userDataFolder + L"Templates\\";
    const std::wstring settings = frame.settingFolder;
    frame.systemPaperFrameSetting = settings + L"System_PaperFrame.xml";
    frame.colorSetting = settings + L"System_Color.xml";
    frame.userLineTypeSetting = settings + L"User_LineType.xml";
    frame.lineWidthSetting = settings + L"System_LineWidth.xml";
    frame.systemHatchingSetting = settings + L"System_Hatching.xml";
    frame.systemLineTypeSetting = settings + L"System_LineType.xml";
    frame.userDisplaySetting = settings + L"User_Display.xml";
    frame.initialColorSetting = frame.initialConfigFolder + L"System_Color.xml";
    frame.initialLineTypeSetting = frame.initialConfigFolder + L"User_LineType.xml";
}

YesToAll::YesToAll() { core::setUserQuestions(this); }

YesToAll::~YesToAll() { core::setUserQuestions(nullptr); }

bool YesToAll::askYesNo(core::Question, const std::wstring&) { return true; }

int YesToAll::chooseInheritedProduct(std::int32_t& selection) {
    selection = 0;
    return 1;
}

} // namespace tern::test
