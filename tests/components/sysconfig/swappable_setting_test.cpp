// The documents of colours on real files: which values black and white are
// exchanged in, how they are counted, and when the file is written.

#include "components/sysconfig/drawing_settings.h"
#include "components/sysconfig/eop_reg_setting.h"
#include "platform/file_system.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace tern::ui::setting {
namespace {

using test::readFile;
using test::writeFile;

class SwappableSettingTest : public ::testing::Test {
protected:
    test::TempFolder temp;
    const std::filesystem::path file = temp.native("Draw_Common.xml");
    const std::wstring path = temp.system("Draw_Common.xml");
};

TEST_F(SwappableSettingTest, SwapBW_ExchangesBlackAndWhite_InEveryColorAttribute_AndNothingElse) {
    const std::pair<std::string, std::string> cases[] = {
        {"<Draw Color=\"0\" LineColor=\"16777215\" FillColor=\"255\"/>",
         "<Draw Color=\"16777215\" LineColor=\"0\" FillColor=\"255\"/>"},
        // Only names ending in "Color", in that case, hold colours; text and comments hold none.
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Draw>\r\n  <!-- Color=\"0\" -->\r\n"
         "  <Pen Width=\"0\" Colour=\"0\" ColorName=\"0\" color=\"0\" BackColor=\"0\">0</Pen>\r\n</Draw>\r\n",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Draw>\r\n  <!-- Color=\"0\" -->\r\n"
         "  <Pen Width=\"0\" Colour=\"0\" ColorName=\"0\" color=\"0\" BackColor=\"16777215\">0</Pen>\r\n</Draw>\r\n"},
        // A colour is decimal digits; anything else is left as written.
        {"<D A=\"\" Color=\"000\" TextColor=\" 0\" EdgeColor=\"-0\" HatchColor=\"0x0\" GridColor=\"16777216\"/>",
         "<D A=\"\" Color=\"16777215\" TextColor=\" 0\" EdgeColor=\"-0\" HatchColor=\"0x0\" GridColor=\"16777216\"/>"},
        // Wine's MSXML writes namespace declarations after the other attributes of an edited element.
        {"<A TextColor=\"0\"><B><C x:EdgeColor=\"16777215\" xmlns:x=\"urn:x\"/></B><B Color=\"0\"/></A>",
         "<A TextColor=\"16777215\"><B><C x:EdgeColor=\"0\" xmlns:x=\"urn:x\"/></B><B Color=\"16777215\"/></A>"},
        // "寸法" in Shift_JIS, kept in its encoding.
        {"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<Dim Name=\"\x90\xA1\x96@\" Color=\"16777215\"/>\n",
         "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<Dim Name=\"\x90\xA1\x96@\" Color=\"0\"/>\n"},
    };
    for (const auto& [before, after] : cases) {
        writeFile(file, before);
        CDrawCommonSetting setting;
        ASSERT_TRUE(setting.loadXML(path)) << before;
        setting.swapBW();
        EXPECT_TRUE(setting.saveXML(path)) << before;
        EXPECT_EQ(readFile(file), after);
    }
}

TEST_F(SwappableSettingTest, SaveXML_LeavesTheFileUntouched_WhenNothingChanged_ItIsReadOnly_OrDidNotLoad) {
    writeFile(file, "<Draw Color=\"255\"/>");
    constexpr platform::FileTime longAgo = 126444736000000000; // 2001-09-09
    ASSERT_TRUE(platform::setFileStatus(path, {longAgo, platform::attrNormal}));
    CDrawCommonSetting unchanged;
    ASSERT_TRUE(unchanged.loadXML(path));
    unchanged.swapBW();
    EXPECT_TRUE(unchanged.saveXML(path));
    platform::FileStatus status;
    ASSERT_TRUE(platform::getFileStatus(path, status));
    EXPECT_EQ(status.lastWrite, longAgo);

    writeFile(file, "<Draw Color=\"0\"/>");
    test::setReadOnly(file, true);
    CDrawCommonSetting refused;
    ASSERT_TRUE(refused.loadXML(path));
    refused.swapBW();
    EXPECT_FALSE(refused.saveXML(path));
    EXPECT_EQ(readFile(file), "<Draw Color=\"0\"/>");

    // A failed load drops what an earlier one read.
    for (const char* bytes : {"", "<Draw Color=\"0\">", "<Draw/><Draw/>"}) {
        writeFile(temp.native("Broken.xml"), bytes);
        EXPECT_FALSE(refused.loadXML(temp.system("Broken.xml"))) << bytes;
        refused.swapBW();
        EXPECT_FALSE(refused.saveXML(temp.system("Broken.xml"))) << bytes;
        EXPECT_EQ(readFile(temp.native("Broken.xml")), bytes);
    }
}

TEST_F(SwappableSettingTest, CountBW_CountsBlackAndWhiteColors_Only) {
    const struct {
        const char* bytes;
        std::int32_t black, white;
    } cases[] = {
        {"<EopRegSetting/>", 0, 0},
        {"<E Color=\"0\"><A LineColor=\"0\" Back=\"0\"/><B FillColor=\"16777215\" TextColor=\"00\"/></E>", 3, 1},
        {"<E Color=\"1\" BackColor=\"16777214\"><W Color=\"16777215\"/><W Color=\"16777215\"/></E>", 0, 2},
    };
    for (const auto& c : cases) {
        writeFile(file, c.bytes);
        CEopRegSetting setting;
        ASSERT_TRUE(setting.loadXML(path)) << c.bytes;
        std::int32_t black = -1, white = -1;
        setting.countBW(black, white);
        EXPECT_EQ(black, c.black) << c.bytes;
        EXPECT_EQ(white, c.white) << c.bytes;
    }
}

} // namespace
} // namespace tern::ui::setting
