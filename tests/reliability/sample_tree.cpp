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
    frame.useFolders(temp.system("install/"), temp.system(currentApp), temp.system(currentUser));
    frame.useSettingFiles();
}

YesToAll::YesToAll() { core::setUserQuestions(this); }

YesToAll::~YesToAll() { core::setUserQuestions(nullptr); }

bool YesToAll::askYesNo(core::Question, const std::wstring&) { return true; }

int YesToAll::chooseInheritedProduct(std::int32_t& selection) {
    selection = 0;
    return 1;
}

} // namespace tern::test
