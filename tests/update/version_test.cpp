// Version texts, version files, and CUpdater's searches of release folders
// and of the definition's entries.

#include "tests/support/temp_folder.h"
#include "update/update_data.h"
#include "update/updater.h"
#include "update/version_file.h"
#include "update/version_text.h"

#include <gtest/gtest.h>

#include <utility>

namespace tern::update {
namespace {

using test::makeFolder;
using test::TempFolder;
using test::writeFile;
using Version = std::pair<std::int32_t, std::int32_t>;

TEST(VersionText, SplitsAtTheFirstDotBetweenCharacters_AndReadsNumbersAsWtoiDoes) {
    const std::pair<const wchar_t*, Version> cases[] = {
        {L"2014.1", {2014, 1}}, {L"2014.1.5", {2014, 1}}, {L"2014", {2014, 0}}, {L" 2015.02", {2015, 2}},
        {L"2014.", {2014, 0}},  {L".5", {0, 0}},          {L"x.y", {0, 0}},
    };
    for (const auto& [text, expected] : cases) {
        Version version{-7, -7};
        EXPECT_TRUE(parseMajor(version.first, text) && parseMinor(version.second, text)) << text;
        EXPECT_EQ(version, expected) << text;
    }
    Version kept{5, 6};
    EXPECT_FALSE(parseMajor(kept.first, L""));
    EXPECT_FALSE(parseMinor(kept.second, L""));
    EXPECT_EQ(kept, Version(5, 6));

    EXPECT_EQ(readNumber(L"  -12abc"), -12);
    EXPECT_EQ(readNumber(L"+7"), 7);
    EXPECT_EQ(readNumber(L"abc"), 0);
    EXPECT_EQ(readNumber(L"99999999999"), 2147483647);
}

TEST(VersionFile, ReadsTheMainText_AndKeepsTheTextForAnythingElse) {
    TempFolder temp;
    const std::pair<const char*, const wchar_t*> cases[] = {
        {"<?xml version=\"1.0\"?>\n<Versions>\n  <Main>2015.2</Main>\n</Versions>\n", L"2015.2"},
        {"<Versions><Main></Main></Versions>", nullptr},
        {"<Version><Main>2015.2</Main></Version>", nullptr},
        {"<Versions><Sub>2015.2</Sub></Versions>", nullptr},
        {"<Versions><Main>2015.2</Main>", nullptr},
        {"", nullptr},
    };
    for (const auto& [content, expected] : cases) {
        writeFile(temp.native("version.xml"), content);
        std::wstring text = L"kept";
        EXPECT_EQ(readVersionFile(text, temp.system("version.xml").c_str()), expected != nullptr) << content;
        EXPECT_EQ(text, expected ? expected : L"kept") << content;
    }
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
    using CUpdater::updates;
};

class ReleaseFolderTest : public ::testing::Test {
protected:
    TempFolder temp;
    SearchingUpdater updater;
};

TEST_F(ReleaseFolderTest, Search_FindsTheNewestEarlierX64ReleaseFolder_From2010On_ForAMajorOf2012OrLater) {
    for (const char* folder : {"2009_x64", "2010_x64", "2013_x64", "2015", "2016_x64"})
        makeFolder(temp.native(folder));
    writeFile(temp.native("2014_x64"), "a file, not a folder");
    const Version cases[] = {{2017, 2016}, {2016, 2013}, {2013, 2010}, {2012, 2010}, {2011, 0}};
    for (const auto& [major, expected] : cases)
        EXPECT_EQ(updater.searchPrevAppData(major, temp.system().c_str()), expected) << major;
    EXPECT_EQ(updater.searchPrevAppData(2016, L""), 0);
}

TEST_F(ReleaseFolderTest, Inspect_ReadsTheVersionFile_OrElseTheFolderName) {
    writeFile(temp.native("2014_x64/version.xml"), "<Versions><Main>2014.2</Main></Versions>");
    makeFolder(temp.native("2013_x64"));
    writeFile(temp.native("2012_x64/version.xml"), "<Versions><Main>2012.2</Main>");
    Version version{-1, -1};
    EXPECT_TRUE(updater.inspectVersion(version.first, version.second, temp.system("2014_x64/").c_str()));
    EXPECT_EQ(version, Version(2014, 2));
    EXPECT_TRUE(updater.inspectVersion(version.first, version.second, temp.system("2013_x64/").c_str()));
    EXPECT_EQ(version, Version(2013, 0));
    EXPECT_TRUE(updater.inspectVersion(version.first, version.second, L"2011_x64\\"));
    EXPECT_EQ(version, Version(2011, 0));
    // An unreadable version file is a failure, not a reason to fall back.
    EXPECT_FALSE(updater.inspectVersion(version.first, version.second, temp.system("2012_x64/").c_str()));
    EXPECT_EQ(version, Version(0, 0));
    EXPECT_FALSE(updater.inspectVersion(version.first, version.second, L""));
}

TEST_F(ReleaseFolderTest, OnlyTemplates_MeansATemplatesFolderAndNothingElse) {
    makeFolder(temp.native("a/templates"));
    makeFolder(temp.native("b/Templates"));
    writeFile(temp.native("b/empty.txt"), "");
    makeFolder(temp.native("c"));
    writeFile(temp.native("d/Templates"), "a file");
    const std::pair<const char*, bool> cases[] = {{"a/", true}, {"b/", false}, {"c/", false}, {"d/", false},
                                                  {"missing/", false}};
    for (const auto& [folder, expected] : cases)
        EXPECT_EQ(updater.checkOnlyTemplateFolderExists(temp.system(folder).c_str()), expected) << folder;
}

TEST(FindPrevVer, PointsAtTheEntryOfThePreviousVersion_AmongAtLeastTwoEntries) {
    SearchingUpdater updater;
    for (const Version& version : {Version(2016, 0), Version(2015, 2), Version(2015, 0)}) {
        auto* entry = new UpdateData;
        std::tie(entry->major, entry->minor) = version;
        updater.updates.push_back(entry);
        if (updater.updates.size() == 1) {
            // A single entry has no earlier one to point at.
            EXPECT_EQ(updater.findPrevVer(2015, 0), -1);
        }
    }
    const std::pair<Version, std::int32_t> cases[] = {
        {{2015, 2}, 1}, {{2015, 0}, 2}, {{2015, 1}, 1},   {{2015, 3}, -1},
        {{2014, 0}, -1}, {{2010, 0}, -1}, {{2015, -1}, -1},
    };
    for (const auto& [previous, expected] : cases)
        EXPECT_EQ(updater.findPrevVer(previous.first, previous.second), expected)
            << previous.first << "." << previous.second;
}

} // namespace
} // namespace tern::update
