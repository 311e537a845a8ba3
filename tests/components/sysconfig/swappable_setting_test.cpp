// The documents of colours on real files: which values black and white are
// exchanged in, how they are counted, and when and how the file is written.

#include "components/sysconfig/drawing_settings.h"
#include "components/sysconfig/eop_reg_setting.h"
#include "components/sysconfig/line_type_setting.h"
#include "platform/file_system.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace tern::ui::setting {
namespace {

using test::readFile;
using test::writeFile;

class SwappableSettingTest : public ::testing::Test {
protected:
    // Writes the file, loads it, exchanges black and white and saves it back;
    // gives what the file holds afterwards.
    std::string swapped(const std::string& bytes) {
        writeFile(file, bytes);
        CDrawCommonSetting setting;
        EXPECT_TRUE(setting.loadXML(path));
        setting.swapBW();
        EXPECT_TRUE(setting.saveXML(path));
        return readFile(file);
    }

    platform::FileTime lastWrite() const {
        platform::FileStatus status;
        EXPECT_TRUE(platform::getFileStatus(path, status));
        return status.lastWrite;
    }

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
    for (const auto& [before, after] : cases)
        EXPECT_EQ(swapped(before), after) << before;
}

TEST_F(SwappableSettingTest, SaveXML_LeavesTheFileUntouched_WhenNothingChanged_OrItIsReadOnly) {
    writeFile(file, "<Draw Color=\"255\"/>");
    constexpr platform::FileTime longAgo = 126444736000000000; // 2001-09-09
    ASSERT_TRUE(platform::setFileStatus(path, {longAgo, platform::attrNormal}));
    CDrawCommonSetting unchanged;
    ASSERT_TRUE(unchanged.loadXML(path));
    unchanged.swapBW();
    EXPECT_TRUE(unchanged.saveXML(path));
    EXPECT_EQ(lastWrite(), longAgo);
    // Written elsewhere, it is written whole.
    EXPECT_TRUE(unchanged.saveXML(temp.system("Copy.xml")));
    EXPECT_EQ(readFile(temp.native("Copy.xml")), "<Draw Color=\"255\"/>");

    writeFile(file, "<Draw Color=\"0\"/>");
    test::setReadOnly(file, true);
    CDrawCommonSetting refused;
    ASSERT_TRUE(refused.loadXML(path));
    refused.swapBW();
    EXPECT_FALSE(refused.saveXML(path));
    EXPECT_EQ(readFile(file), "<Draw Color=\"0\"/>");
}

TEST_F(SwappableSettingTest, LoadXML_Fails_ForAFileThatIsMissingOrNotWellFormed_AndNothingIsSaved) {
    CDrawCommonSetting setting;
    EXPECT_FALSE(setting.saveXML(path));
    EXPECT_FALSE(setting.loadXML(temp.system("absent.xml")));
    for (const char* bytes : {"", "<Draw Color=\"0\">", "<Draw/><Draw/>", "Color=\"0\""}) {
        writeFile(file, bytes);
        EXPECT_FALSE(setting.loadXML(path)) << bytes;
        setting.swapBW();
        EXPECT_FALSE(setting.saveXML(path)) << bytes;
        EXPECT_EQ(readFile(file), bytes);
    }
    // A failed load drops what an earlier one read.
    writeFile(file, "<Draw Color=\"0\"/>");
    ASSERT_TRUE(setting.loadXML(path));
    EXPECT_FALSE(setting.loadXML(temp.system("absent.xml")));
    EXPECT_FALSE(setting.saveXML(path));
}

TEST_F(SwappableSettingTest, LineTypedLoader_ReadsTheFileAsThePlainOneDoes) {
    writeFile(file, "<Hatching><Pattern LineType=\"Dashed\" Color=\"0\"/></Hatching>");
    const CLineTypeSetting lineTypes;
    CSystemHatchingSetting setting;
    ASSERT_TRUE(setting.loadXML(path, lineTypes));
    setting.swapBW();
    EXPECT_TRUE(setting.saveXML(path));
    EXPECT_EQ(readFile(file), "<Hatching><Pattern LineType=\"Dashed\" Color=\"16777215\"/></Hatching>");
    EXPECT_FALSE(setting.loadXML(temp.system("absent.xml"), lineTypes));
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
    CEopRegSetting empty;
    std::int32_t black = -1, white = -1;
    empty.countBW(black, white);
    EXPECT_EQ(black + white, 0);
}

TEST_F(SwappableSettingTest, TheSampleEopRegSettings_Load) {
    for (const char* sample : {"install/Config/InitialSet/EopRegSetting.xml",
                               "profile/PLX/OrvoLumen/OrvoLumen/2015_x64/Config/EopRegSetting.xml"}) {
        CEopRegSetting setting;
        EXPECT_TRUE(setting.loadXML(platform::toSystemPath(std::filesystem::path(TN_EXAMPLES_DIR) / sample))) << sample;
    }
}

} // namespace
} // namespace tern::ui::setting
