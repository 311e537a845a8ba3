// Version texts, version files, and CUpdater's searches of release folders
// and of the definition's entries.

#include "tests/support/temp_folder.h"
#include "update/update_data.h"
#include "update/updater.h"
#include "update/version_file.h"
#include "update/version_text.h"

#include <gtest/gtest.h>

namespace tern::update {
namespace {

using test::TempFolder;
using test::writeFile;

std::pair<std::int32_t, std::int32_t> split(const std::wstring& text) {
    std::int32_t major = -7, minor = -7;
    parseMajor(major, text);
    parseMinor(minor, text);
    return {major, minor};
}

TEST(VersionText, SplitsAtTheFirstDotBetweenDigits) {
    EXPECT_EQ(split(L"2014.1"), std::make_pair(2014, 1));
    EXPECT_EQ(split(L"2014.1.5"), std::make_pair(2014, 1));
    EXPECT_EQ(split(L"2014"), std::make_pair(2014, 0));
    EXPECT_EQ(split(L" 2015.02"), std::make_pair(2015, 2));
}

TEST(VersionText, TakesTheWholeTextWhenTheDotStandsFirstOrLast) {
    EXPECT_EQ(split(L"2014."), std::make_pair(2014, 0));
    EXPECT_EQ(split(L".5"), std::make_pair(0, 0));
    EXPECT_EQ(split(L"x.y"), std::make_pair(0, 0));
}

TEST(VersionText, EmptyTextFailsAndKeepsTheValue) {
    std::int32_t major = 5, minor = 6;
    EXPECT_FALSE(parseMajor(major, L""));
    EXPECT_FALSE(parseMinor(minor, L""));
    EXPECT_EQ(major, 5);
    EXPECT_EQ(minor, 6);
}

TEST(VersionText, ReadsNumbersAsWtoiDoes) {
    EXPECT_EQ(readNumber(L"  -12abc"), -12);
    EXPECT_EQ(readNumber(L"+7"), 7);
    EXPECT_EQ(readNumber(L"abc"), 0);
    EXPECT_EQ(readNumber(L"99999999999"), 2147483647);
}

class VersionFileTest : public ::testing::Test {
protected:
    TempFolder temp;
    std::wstring readAt(const std::string& content, std::wstring start = L"kept") {
        writeFile(temp.native("version.xml"), content);
        version = start;
        ok = readVersionFile(version, temp.system("version.xml").c_str());
        return version;
    }
    std::wstring version;
    bool ok = false;
};

TEST_F(VersionFileTest, ReadsTheMainText) {
    EXPECT_EQ(readAt("<?xml version=\"1.0\"?>\n<Versions>\n  <Main>2015.2</Main>\n</Versions>\n"), L"2015.2");
    EXPECT_TRUE(ok);
}

TEST_F(VersionFileTest, FailsAndKeepsTheTextForBadFiles) {
    for (const char* content : {"<Versions><Main></Main></Versions>", "<Version><Main>2015.2</Main></Version>",
                                "<Versions><Sub>2015.2</Sub></Versions>", "<Versions><Main>2015.2</Main>", ""}) {
        EXPECT_EQ(readAt(content), L"kept") << content;
        EXPECT_FALSE(ok) << content;
    }
}

TEST_F(VersionFileTest, FailsForAMissingFileOrAnEmptyPath) {
    std::wstring text = L"kept";
    EXPECT_FALSE(readVersionFile(text, temp.system("absent.xml").c_str()));
    EXPECT_FALSE(readVersionFile(text, L""));
    EXPECT_FALSE(readVersionFile(text, nullptr));
    EXPECT_EQ(text, L"kept");
}

// Opens CUpdater's protected searches to the tests.
struct SearchingUpdater : CUpdater {
    using CUpdater::checkOnlyTemplateFolderExists;
    using CUpdater::findPrevVer;
    using CUpdater::inspectVersion;
    using CUpdater::searchPrevAppData;

    void addEntry(std::int32_t entryMajor, std::int32_t entryMinor) {
        auto* entry = new UpdateData;
        entry->major = entryMajor;
        entry->minor = entryMinor;
        updates.push_back(entry);
    }
};

class ReleaseFolderTest : public ::testing::Test {
protected:
    TempFolder temp;
    SearchingUpdater updater;
    void makeFolder(const std::string& relative) { std::filesystem::create_directories(temp.native(relative)); }
};

TEST_F(ReleaseFolderTest, SearchFindsTheNewestEarlierX64Release) {
    makeFolder("2013_x64");
    makeFolder("2015_x64");
    makeFolder("2016_x64");
    EXPECT_EQ(updater.searchPrevAppData(2016, temp.system().c_str()), 2015);
    EXPECT_EQ(updater.searchPrevAppData(2015, temp.system().c_str()), 2013);
}

TEST_F(ReleaseFolderTest, SearchIgnoresFoldersWithoutTheSuffixAndFiles) {
    makeFolder("2015");
    writeFile(temp.native("2014_x64"), "a file, not a folder");
    EXPECT_EQ(updater.searchPrevAppData(2016, temp.system().c_str()), 0);
}

TEST_F(ReleaseFolderTest, SearchStopsAt2010AndNeedsAMajorOf2012) {
    makeFolder("2010_x64");
    makeFolder("2009_x64");
    EXPECT_EQ(updater.searchPrevAppData(2012, temp.system().c_str()), 2010);
    EXPECT_EQ(updater.searchPrevAppData(2011, temp.system().c_str()), 0);
    EXPECT_EQ(updater.searchPrevAppData(2016, L""), 0);
}

TEST_F(ReleaseFolderTest, InspectReadsTheVersionFile) {
    writeFile(temp.native("2014_x64/version.xml"), "<Versions><Main>2014.2</Main></Versions>");
    std::int32_t major = -1, minor = -1;
    EXPECT_TRUE(updater.inspectVersion(major, minor, temp.system("2014_x64/").c_str()));
    EXPECT_EQ(major, 2014);
    EXPECT_EQ(minor, 2);
}

TEST_F(ReleaseFolderTest, InspectFallsBackToTheFolderName) {
    makeFolder("2014_x64");
    std::int32_t major = -1, minor = -1;
    EXPECT_TRUE(updater.inspectVersion(major, minor, temp.system("2014_x64/").c_str()));
    EXPECT_EQ(major, 2014);
    EXPECT_EQ(minor, 0);
    EXPECT_TRUE(updater.inspectVersion(major, minor, L"2013_x64\\"));
    EXPECT_EQ(major, 2013);
}

TEST_F(ReleaseFolderTest, InspectFailsForAnUnreadableVersionFileWithoutFallingBack) {
    writeFile(temp.native("2014_x64/version.xml"), "<Versions><Main>2014.2</Main>");
    std::int32_t major = -1, minor = -1;
    EXPECT_FALSE(updater.inspectVersion(major, minor, temp.system("2014_x64/").c_str()));
    EXPECT_EQ(major, 0);
    EXPECT_FALSE(updater.inspectVersion(major, minor, L""));
}

TEST(FindPrevVer, PointsAtTheEntryOfThePreviousVersion) {
    SearchingUpdater updater;
    updater.addEntry(2016, 0);
    updater.addEntry(2015, 2);
    updater.addEntry(2015, 0);
    EXPECT_EQ(updater.findPrevVer(2015, 2), 1);
    EXPECT_EQ(updater.findPrevVer(2015, 0), 2);
    EXPECT_EQ(updater.findPrevVer(2015, 1), 1);
    EXPECT_EQ(updater.findPrevVer(2015, 3), -1);
    EXPECT_EQ(updater.findPrevVer(2014, 0), -1);
    EXPECT_EQ(updater.findPrevVer(2010, 0), -1);
    EXPECT_EQ(updater.findPrevVer(2015, -1), -1);
}

TEST(FindPrevVer, NeedsTwoEntries) {
    SearchingUpdater updater;
    updater.addEntry(2016, 0);
    EXPECT_EQ(updater.findPrevVer(2015, 0), -1);
}

TEST_F(ReleaseFolderTest, OnlyTemplatesMeansATemplatesFolderAndNothingElse) {
    makeFolder("a/templates");
    EXPECT_TRUE(updater.checkOnlyTemplateFolderExists(temp.system("a/").c_str()));

    makeFolder("b/Templates");
    writeFile(temp.native("b/empty.txt"), "");
    EXPECT_FALSE(updater.checkOnlyTemplateFolderExists(temp.system("b/").c_str()));

    makeFolder("c");
    EXPECT_FALSE(updater.checkOnlyTemplateFolderExists(temp.system("c/").c_str()));

    writeFile(temp.native("d/Templates"), "a file");
    EXPECT_FALSE(updater.checkOnlyTemplateFolderExists(temp.system("d/").c_str()));

    EXPECT_FALSE(updater.checkOnlyTemplateFolderExists(temp.system("missing/").c_str()));
}

} // namespace
} // namespace tern::update
