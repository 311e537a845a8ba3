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
    const std::pair<const char*, bool> cases[] = {
        {"<LineTypes><LineType Name=\"Dashed\" Pattern=\"4 2\"/></LineTypes>", true},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<LineTypes/>\n", true},
        {"<LineType/>", false},
        {"<linetypes/>", false},
        {"<LineTypes>", false},
    };
    const std::wstring path = temp.system("User_LineType.xml");
    for (const auto& [bytes, loads] : cases) {
        test::writeFile(temp.native("User_LineType.xml"), bytes);
        CLineTypeSetting lineTypes;
        EXPECT_EQ(lineTypes.loadSystemXML(path), loads) << bytes;
        EXPECT_EQ(lineTypes.loadXML(path), loads) << bytes;
    }
    CLineTypeSetting lineTypes;
    EXPECT_FALSE(lineTypes.loadXML(temp.system("absent.xml")));
}

TEST(UserDisplaySettingTest, LoadXmlForCheckSwapBw_ReadsTheRootsBackColor) {
    test::TempFolder temp;
    const struct {
        const char* bytes;
        bool loads;
        std::uint32_t color; // 7, as set before the call, when it does not load
    } cases[] = {
        {"<UserDisplay BackColor=\"16777215\"><Grid Color=\"0\"/></UserDisplay>", true, 16777215},
        {"<Display BackColor=\"0\"/>", true, 0},
        {"<Display BackColor=\"0016777215\"/>", true, 16777215},
        {"<Display><View BackColor=\"16777215\"/></Display>", false, 7},
        {"<Display BackColor=\"white\"/>", false, 7},
        {"<Display BackColor=\"16777216\"/>", false, 7},
        {"<Display BackColor=\"16777215\">", false, 7},
    };
    const std::wstring path = temp.system("User_Display.xml");
    for (const auto& c : cases) {
        test::writeFile(temp.native("User_Display.xml"), c.bytes);
        bool flag = true;
        std::uint32_t color = 7;
        EXPECT_EQ(CUserDisplaySetting::loadXmlForCheckSwapBw(flag, color, path), c.loads) << c.bytes;
        EXPECT_EQ(color, c.color) << c.bytes;
        EXPECT_FALSE(flag) << c.bytes;
    }
    bool flag = true;
    std::uint32_t color = 7;
    EXPECT_FALSE(CUserDisplaySetting::loadXmlForCheckSwapBw(flag, color, temp.system("absent.xml")));
    EXPECT_EQ(color, 7u);
}

} // namespace
} // namespace tern::ui::setting
