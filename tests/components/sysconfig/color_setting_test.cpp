// The colour table on real files: its version check, what it reads and
// refuses, the user's own colours, and the table it writes.

#include "components/sysconfig/color_setting.h"
#include "platform/file_system.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace tern::ui::setting {
namespace {

using test::readFile;
using test::writeFile;

constexpr char declaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

class ColorSettingTest : public ::testing::Test {
protected:
    // Writes a file of that name and gives its system path.
    std::wstring colorFile(const std::string& name, const std::string& bytes) {
        writeFile(temp.native(name), bytes);
        return temp.system(name);
    }

    // What the table writes.
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
        {"<ColorSetting Version=\"3\"/>", EV_CURRENT},
        {"<ColorSetting Version=\"003\"/>", EV_CURRENT},
        {"<ColorSetting Version=\"12\"/>", EV_NEWER},
    };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(CColorSetting::checkFileVersion(colorFile("System_Color.xml", bytes)), expected) << bytes;
    EXPECT_EQ(CColorSetting::checkFileVersion(temp.system("absent.xml")), EV_NO_TABLE);
}

TEST_F(ColorSettingTest, LoadXML_RefusesMalformedEntries_AndThenHoldsAnEmptyTable) {
    const std::wstring good = colorFile("Good.xml", "<ColorSetting><Color No=\"0\" Value=\"0\"/></ColorSetting>");
    for (const char* bytes : {
             "<Colors><Color No=\"0\" Value=\"0\"/></Colors>",
             "<ColorSetting><Color No=\"0\"/></ColorSetting>",
             "<ColorSetting><Color Value=\"0\"/></ColorSetting>",
             "<ColorSetting><Color No=\"-1\" Value=\"0\"/></ColorSetting>",
             "<ColorSetting><Color No=\"0\" Value=\"16777216\"/></ColorSetting>",
             "<ColorSetting><Color No=\"0\" Value=\"0\"/><Color No=\"0\" Value=\"1\"/></ColorSetting>",
         }) {
        CColorSetting colors;
        ASSERT_TRUE(colors.loadXML(good));
        EXPECT_FALSE(colors.loadXML(colorFile("Bad.xml", bytes))) << bytes;
        EXPECT_EQ(saved(colors), std::string(declaration) + "<ColorSetting Version=\"3\"/>\n") << bytes;
        std::vector<TnSystemColor> userColors;
        EXPECT_FALSE(CColorSetting::loadXMLUserColors(userColors, colorFile("Bad.xml", bytes))) << bytes;
        EXPECT_TRUE(userColors.empty()) << bytes;
    }
}

// The transfer's rebuild: the installed table, the user's own colours of an
// outdated one put into it by number, and the whole exchanged.
TEST_F(ColorSettingTest, UserColors_OverwriteTheTableByNumber_AndTheTableIsWrittenInOrder) {
    const std::wstring installed =
        colorFile("Installed.xml", std::string(declaration) + "<ColorSetting Version=\"3\">\n"
                                                              "  <Color No=\"2\" Value=\"0\"/>\n"
                                                              "  <!-- the background's colour first -->\n"
                                                              "  <Color No=\"0\" Value=\"16777215\"/>\n"
                                                              "  <Color No=\"1\" Value=\"255\"/>\n"
                                                              "  <Palette Name=\"skipped\"/>\n"
                                                              "</ColorSetting>\n");
    const std::wstring outdated = colorFile("Old.xml", "<ColorSetting Version=\"2\">"
                                                       "<Color No=\"0\" Value=\"0\"/>"
                                                       "<Color No=\"7\" Value=\"16777215\" User=\"1\"/>"
                                                       "<Color No=\"1\" Value=\"65280\" User=\"1\"/>"
                                                       "<Color No=\"3\" Value=\"8\" User=\"true\"/>"
                                                       "</ColorSetting>");
    std::vector<TnSystemColor> userColors;
    ASSERT_TRUE(CColorSetting::loadXMLUserColors(userColors, outdated));
    ASSERT_EQ(userColors.size(), 2u);
    EXPECT_EQ(userColors[0].no, 1);
    EXPECT_EQ(userColors[0].value, 65280u);
    EXPECT_EQ(userColors[1].no, 7);

    CColorSetting colors;
    ASSERT_TRUE(colors.loadXML(installed));
    colors.overwriteUserColors(userColors);
    EXPECT_TRUE(colors.isSwappedBW());
    colors.swapBW();
    EXPECT_FALSE(colors.isSwappedBW());
    EXPECT_EQ(saved(colors), std::string(declaration) + "<ColorSetting Version=\"3\">\n"
                                                        "  <Color No=\"0\" Value=\"0\"/>\n"
                                                        "  <Color No=\"1\" Value=\"65280\" User=\"1\"/>\n"
                                                        "  <Color No=\"2\" Value=\"16777215\"/>\n"
                                                        "  <Color No=\"7\" Value=\"0\" User=\"1\"/>\n"
                                                        "</ColorSetting>\n");
    // What it wrote reads back as the same table.
    CColorSetting reread;
    ASSERT_TRUE(reread.loadXML(temp.system("Saved.xml")));
    EXPECT_EQ(saved(reread), saved(colors));
}

TEST_F(ColorSettingTest, IsSwappedBW_OnlyWhenEntryZeroIsWhite) {
    const std::pair<const char*, bool> cases[] = {
        {"<ColorSetting><Color No=\"0\" Value=\"16777215\"/></ColorSetting>", true},
        {"<ColorSetting><Color No=\"0\" Value=\"0\"/><Color No=\"1\" Value=\"16777215\"/></ColorSetting>", false},
        {"<ColorSetting><Color No=\"0\" Value=\"16777214\"/></ColorSetting>", false},
        {"<ColorSetting><Color No=\"1\" Value=\"16777215\"/></ColorSetting>", false},
    };
    for (const auto& [bytes, swapped] : cases) {
        CColorSetting colors;
        ASSERT_TRUE(colors.loadXML(colorFile("System_Color.xml", bytes)));
        EXPECT_EQ(colors.isSwappedBW(), swapped) << bytes;
    }
}

TEST_F(ColorSettingTest, SaveXML_FailsOnAReadOnlyFile_AndLeavesItAsItWas) {
    const std::wstring path = colorFile("System_Color.xml", "<ColorSetting Version=\"2\"/>");
    test::setReadOnly(temp.native("System_Color.xml"), true);
    CColorSetting colors;
    EXPECT_FALSE(colors.saveXML(path));
    EXPECT_EQ(readFile(temp.native("System_Color.xml")), "<ColorSetting Version=\"2\"/>");
}

TEST_F(ColorSettingTest, TheDocumentedTable_IsATableAsItIsWritten_AndTheShippedOneIsCurrent) {
    const std::string page = readFile(std::filesystem::path(TN_EXAMPLES_DIR) / ".." / "docs" / "settings-files.md");
    const std::string fence = "```xml\n";
    const std::size_t start = page.find(fence + declaration + "<ColorSetting");
    ASSERT_NE(start, std::string::npos) << "no colour table in docs/settings-files.md";
    const std::size_t end = page.find("```", start + fence.size());
    const std::string example = page.substr(start + fence.size(), end - start - fence.size());
    CColorSetting documented;
    ASSERT_TRUE(documented.loadXML(colorFile("System_Color.xml", example)));
    EXPECT_EQ(saved(documented), example);

    const std::wstring shipped =
        platform::toSystemPath(std::filesystem::path(TN_EXAMPLES_DIR) / "install/Config/InitialSet/System_Color.xml");
    EXPECT_EQ(CColorSetting::checkFileVersion(shipped), EV_CURRENT);
    CColorSetting colors;
    ASSERT_TRUE(colors.loadXML(shipped));
    EXPECT_FALSE(colors.isSwappedBW());
}

} // namespace
} // namespace tern::ui::setting
