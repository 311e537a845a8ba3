// The colour table on real files: its version check, what it refuses, and
// the table it writes. The transfer's tests prove the rebuild with the
// user's own colours.

#include "components/sysconfig/color_setting.h"
#include "components/sysconfig/eop_reg_setting.h"
#include "platform/file_system.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace tern::ui::setting {
namespace {

namespace fs = std::filesystem;
using test::readFile;

class ColorSettingTest : public ::testing::Test {
protected:
    std::wstring colorFile(const std::string& bytes) {
        test::writeFile(temp.native("System_Color.xml"), bytes);
        return temp.system("System_Color.xml");
    }
    std::string saved(const CColorSetting& colors) {
        EXPECT_TRUE(colors.saveXML(temp.system("Saved.xml")));
        return readFile(temp.native("Saved.xml"));
    }

    test::TempFolder temp;
};

TEST_F(ColorSettingTest, CheckFileVersion_TellsNoTableFromOutdatedCurrentAndNewer) {
    const std::pair<std::string, EVersionCheck> cases[] = {
        {"<ColorSetting Version=\"3\"", EV_NO_TABLE},
        {"<Colors Version=\"3\"/>", EV_NO_TABLE},
        {"<ColorSetting/>", EV_OUTDATED},
        {"<ColorSetting Version=\"2\"/>", EV_OUTDATED},
        {"<ColorSetting Version=\"3.0\"/>", EV_OUTDATED},
        {"<ColorSetting Version=\"003\"/>", EV_CURRENT},
        {"<ColorSetting Version=\"12\"/>", EV_NEWER},
    };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(CColorSetting::checkFileVersion(colorFile(bytes)), expected) << bytes;
    EXPECT_EQ(CColorSetting::checkFileVersion(temp.system("absent.xml")), EV_NO_TABLE);
}

TEST_F(ColorSettingTest, LoadXML_RefusesMalformedEntries_AndThenHoldsAnEmptyTable) {
    for (const char* bytes : {
             "<ColorSetting><Color No=\"0\"/></ColorSetting>",
             "<ColorSetting><Color Value=\"0\"/></ColorSetting>",
             "<ColorSetting><Color No=\"-1\" Value=\"0\"/></ColorSetting>",
             "<ColorSetting><Color No=\"0\" Value=\"16777216\"/></ColorSetting>",
             "<ColorSetting><Color No=\"0\" Value=\"0\"/><Color No=\"0\" Value=\"1\"/></ColorSetting>",
         }) {
        CColorSetting colors;
        ASSERT_TRUE(colors.loadXML(colorFile("<ColorSetting><Color No=\"0\" Value=\"0\"/></ColorSetting>")));
        EXPECT_FALSE(colors.loadXML(colorFile(bytes))) << bytes;
        EXPECT_EQ(saved(colors), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ColorSetting Version=\"3\"/>\n");
        std::vector<TnSystemColor> userColors;
        EXPECT_FALSE(CColorSetting::loadXMLUserColors(userColors, colorFile(bytes))) << bytes;
        EXPECT_TRUE(userColors.empty()) << bytes;
    }
}

// The documented table is written back as it stands, and the samples load.
TEST_F(ColorSettingTest, TheDocumentedTable_IsATableAsItIsWritten_AndTheSamplesLoad) {
    const std::string page = readFile(fs::path(TN_EXAMPLES_DIR) / ".." / "docs" / "settings-files.md");
    const std::string fence = "```xml\n";
    const std::size_t start = page.find(fence + "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ColorSetting");
    ASSERT_NE(start, std::string::npos) << "no colour table in docs/settings-files.md";
    const std::size_t end = page.find("```", start + fence.size());
    const std::string example = page.substr(start + fence.size(), end - start - fence.size());
    CColorSetting documented;
    ASSERT_TRUE(documented.loadXML(colorFile(example)));
    EXPECT_EQ(saved(documented), example);

    const fs::path samples = fs::path(TN_EXAMPLES_DIR);
    const std::wstring shipped = platform::toSystemPath(samples / "install/Config/InitialSet/System_Color.xml");
    EXPECT_EQ(CColorSetting::checkFileVersion(shipped), EV_CURRENT);
    CColorSetting colors;
    EXPECT_TRUE(colors.loadXML(shipped));
    EXPECT_FALSE(colors.isSwappedBW());
    for (const char* sample : {"install/Config/InitialSet/EopRegSetting.xml",
                               "profile/PLX/OrvoLumen/OrvoLumen/2015_x64/Config/EopRegSetting.xml"}) {
        CEopRegSetting eopReg;
        EXPECT_TRUE(eopReg.loadXML(platform::toSystemPath(samples / sample))) << sample;
    }
}

} // namespace
} // namespace tern::ui::setting
