// The files read for one answer: whether a line-type file reads, and the
// user's display background.

#include "components/sysconfig/line_type_setting.h"
#include "components/sysconfig/user_display_setting.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace tern::ui::setting {
namespace {

TEST(LineTypeSettingTest, Loads_OnlyAWellFormedFileWithALineTypesRoot) {
    test::TempFolder temp;
    const std::wstring path = temp.system("User_LineType.xml");
    for (const auto& [bytes, loads] : {std::pair{"<LineTypes><LineType Name=\"Dashed\"/></LineTypes>", true},
                                       {"<LineType/>", false},
                                       {"<linetypes/>", false},
                                       {"<LineTypes>", false}}) {
        test::writeFile(temp.native("User_LineType.xml"), bytes);
        CLineTypeSetting lineTypes;
        EXPECT_EQ(lineTypes.loadSystemXML(path), loads) << bytes;
        EXPECT_EQ(lineTypes.loadXML(path), loads) << bytes;
    }
}

TEST(UserDisplaySettingTest, LoadXmlForCheckSwapBw_ReadsTheRootsBackColor_OrLeavesTheColor) {
    test::TempFolder temp;
    const std::pair<const char*, std::uint32_t> cases[] = {
        // The colour read, or 7, as set before the call, when the file does not load.
        {"<UserDisplay BackColor=\"16777215\"><Grid Color=\"0\"/></UserDisplay>", 16777215},
        {"<Display BackColor=\"0\"/>", 0},
        {"<Display><View BackColor=\"16777215\"/></Display>", 7},
        {"<Display BackColor=\"white\"/>", 7},
        {"<Display BackColor=\"16777216\"/>", 7},
        {"<Display BackColor=\"16777215\">", 7},
    };
    for (const auto& [bytes, expected] : cases) {
        test::writeFile(temp.native("User_Display.xml"), bytes);
        bool flag = true;
        std::uint32_t color = 7;
        EXPECT_EQ(CUserDisplaySetting::loadXmlForCheckSwapBw(flag, color, temp.system("User_Display.xml")),
                  expected != 7)
            << bytes;
        EXPECT_EQ(color, expected) << bytes;
        EXPECT_FALSE(flag) << bytes;
    }
}

} // namespace
} // namespace tern::ui::setting
