#include "platform/file_system.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace tern::platform {

// Found by argument-dependent lookup, so outside the unnamed namespace.
bool operator==(const FolderEntry& a, const FolderEntry& b) {
    return a.name == b.name && a.attributes == b.attributes && a.lastWrite == b.lastWrite;
}

void PrintTo(const FolderEntry& entry, std::ostream* out) {
    *out << toNativePath(entry.name) << " attributes 0x" << std::hex << entry.attributes << std::dec << " time "
         << entry.lastWrite;
}

namespace {

using test::isReadOnly;
using test::readFile;
using test::setReadOnly;
using test::TempFolder;
using test::writeFile;

// 2020-02-02 02:02:02 UTC plus 1234567 units of 100 ns.
constexpr FileTime someTime = 132250825220000000 + 1234567;

// The names in a native folder, sorted: what a test compares to see that no
// file was left behind or lost.
std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void setLastWrite(const std::wstring& path, FileTime time) {
    FileStatus status;
    ASSERT_TRUE(getFileStatus(path, status));
    status.lastWrite = time;
    ASSERT_TRUE(setFileStatus(path, status));
}

FileStatus statusOf(const std::wstring& path) {
    FileStatus status;
    EXPECT_TRUE(getFileStatus(path, status)) << toNativePath(path);
    return status;
}

class FileSystemTest : public ::testing::Test {
protected:
    // One entry of each kind a listing tells apart: a writable file, a
    // read-only file without a dot, a folder, and links to a folder and to a
    // file outside the test folder.
    void plantOneOfEachKind() {
        writeFile(outside.native("secret.txt"), "");
        writeFile(dir.native("a.txt"), "");
        writeFile(dir.native("NoDot"), "");
        setReadOnly(dir.native("NoDot"), true);
        fs::create_directory(dir.native("Sub"));
        fs::create_directory_symlink(outside.path(), dir.native("ToOutside"));
        fs::create_symlink(outside.native("secret.txt"), dir.native("ToFile"));
    }

    TempFolder dir;
    TempFolder outside;
};

// --- Read-only files stop deletion, writes and copies, also for root ---

TEST_F(FileSystemTest, DeleteFile_Fails_WhenFileIsReadOnly) {
    writeFile(dir.native("locked.txt"), "keep");
    setReadOnly(dir.native("locked.txt"), true);

    std::error_code why;
    EXPECT_FALSE(deleteFile(dir.system("locked.txt"), &why));
    EXPECT_EQ(why, std::errc::permission_denied);
    EXPECT_EQ(readFile(dir.native("locked.txt")), "keep");
}

TEST_F(FileSystemTest, DeleteFile_RemovesLinkOnly_WhenGivenLinkToReadOnlyFile) {
    writeFile(outside.native("target.txt"), "outside");
    setReadOnly(outside.native("target.txt"), true);
    fs::create_symlink(outside.native("target.txt"), dir.native("link"));

    EXPECT_TRUE(deleteFile(dir.system("link")));
    EXPECT_FALSE(exists(dir.system("link")));
    EXPECT_EQ(readFile(outside.native("target.txt")), "outside");
}

TEST_F(FileSystemTest, DeleteFile_Fails_WhenPathIsFolder) {
    fs::create_directory(dir.native("sub"));
    EXPECT_FALSE(deleteFile(dir.system("sub")));
    EXPECT_TRUE(isFolder(dir.system("sub")));
}

TEST_F(FileSystemTest, CopyFile_Fails_AndKeepsDestination_WhenDestinationIsReadOnly) {
    writeFile(dir.native("new.txt"), "new");
    writeFile(dir.native("old.txt"), "old");
    setReadOnly(dir.native("old.txt"), true);

    std::error_code why;
    EXPECT_FALSE(copyFile(dir.system("new.txt"), dir.system("old.txt"), FailIfExists::no, &why));
    EXPECT_EQ(why, std::errc::permission_denied);
    EXPECT_EQ(readFile(dir.native("old.txt")), "old");
    EXPECT_TRUE(isReadOnly(dir.native("old.txt")));
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"new.txt", "old.txt"}));
}

TEST_F(FileSystemTest, CopyFile_KeepsReadOnlyAttributeAndLastWriteTime) {
    writeFile(dir.native("source.txt"), "content");
    setLastWrite(dir.system("source.txt"), someTime);
    setReadOnly(dir.native("source.txt"), true);

    ASSERT_TRUE(copyFile(dir.system("source.txt"), dir.system("copy.txt"), FailIfExists::yes));
    EXPECT_EQ(readFile(dir.native("copy.txt")), "content");
    const FileStatus copy = statusOf(dir.system("copy.txt"));
    EXPECT_EQ(copy.attributes, std::uint32_t{attrArchive | attrReadOnly});
    EXPECT_EQ(copy.lastWrite, someTime);
}

TEST_F(FileSystemTest, CopyFile_ReplacesWritableDestination_WhenFailIfExistsIsNo) {
    writeFile(dir.native("new.txt"), "new content");
    setLastWrite(dir.system("new.txt"), someTime);
    writeFile(dir.native("old.txt"), "old");

    ASSERT_TRUE(copyFile(dir.system("new.txt"), dir.system("old.txt"), FailIfExists::no));
    EXPECT_EQ(readFile(dir.native("old.txt")), "new content");
    EXPECT_EQ(statusOf(dir.system("old.txt")).lastWrite, someTime);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"new.txt", "old.txt"}));
}

TEST_F(FileSystemTest, CopyFile_NeverOverwrites_WhenFailIfExistsIsYes) {
    writeFile(dir.native("new.txt"), "new");
    writeFile(dir.native("old.txt"), "old");

    std::error_code why;
    EXPECT_FALSE(copyFile(dir.system("new.txt"), dir.system("old.txt"), FailIfExists::yes, &why));
    EXPECT_EQ(why, std::errc::file_exists);
    EXPECT_EQ(readFile(dir.native("old.txt")), "old");
}

TEST_F(FileSystemTest, CopyFile_DoesNotWriteThroughDanglingLink_WhenFailIfExistsIsYes) {
    writeFile(dir.native("new.txt"), "new");
    fs::create_symlink(outside.native("planted.txt"), dir.native("link.txt"));

    EXPECT_FALSE(copyFile(dir.system("new.txt"), dir.system("link.txt"), FailIfExists::yes));
    EXPECT_FALSE(fs::exists(outside.native("planted.txt")));
}

TEST_F(FileSystemTest, CopyFile_ReplacesLinkNotItsTarget_WhenFailIfExistsIsNo) {
    writeFile(outside.native("target.txt"), "outside");
    writeFile(dir.native("new.txt"), "new");
    fs::create_symlink(outside.native("target.txt"), dir.native("link.txt"));

    ASSERT_TRUE(copyFile(dir.system("new.txt"), dir.system("link.txt"), FailIfExists::no));
    EXPECT_FALSE(fs::is_symlink(dir.native("link.txt")));
    EXPECT_EQ(readFile(dir.native("link.txt")), "new");
    EXPECT_EQ(readFile(outside.native("target.txt")), "outside");
}

TEST_F(FileSystemTest, CopyFile_LeavesFileIntact_WhenCopiedOntoItself) {
    writeFile(dir.native("self.txt"), "precious");
    fs::create_symlink(dir.native("self.txt"), dir.native("alias.txt"));

    for (const FailIfExists policy : {FailIfExists::no, FailIfExists::yes}) {
        EXPECT_FALSE(copyFile(dir.system("self.txt"), dir.system("self.txt"), policy));
        EXPECT_FALSE(copyFile(dir.system("self.txt"), dir.system("alias.txt"), policy));
    }
    EXPECT_EQ(readFile(dir.native("self.txt")), "precious");
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"alias.txt", "self.txt"}));
}

TEST_F(FileSystemTest, CopyFile_Fails_WhenSourceIsMissingOrFolder) {
    fs::create_directory(dir.native("sub"));
    std::error_code why;
    EXPECT_FALSE(copyFile(dir.system("missing.txt"), dir.system("copy.txt"), FailIfExists::no, &why));
    EXPECT_EQ(why, std::errc::no_such_file_or_directory);
    EXPECT_FALSE(copyFile(dir.system("sub"), dir.system("copy.txt"), FailIfExists::yes));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"sub"});
}

// --- Whole-file replacement ---

TEST_F(FileSystemTest, WriteFileReplacing_ReplacesContent_AndLeavesNoTemporaryFile) {
    writeFile(dir.native("settings.xml"), "<old/>");
    ASSERT_TRUE(writeFileReplacing(dir.system("settings.xml"), "<new/>"));
    EXPECT_EQ(readFile(dir.native("settings.xml")), "<new/>");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"settings.xml"});
}

TEST_F(FileSystemTest, WriteFileReplacing_CreatesMissingFile) {
    ASSERT_TRUE(writeFileReplacing(dir.system("fresh.xml"), "<fresh/>"));
    EXPECT_EQ(readFile(dir.native("fresh.xml")), "<fresh/>");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"fresh.xml"});
}

TEST_F(FileSystemTest, WriteFileReplacing_LeavesReadOnlyTargetIntact_AndNoTemporaryFile) {
    writeFile(dir.native("locked.xml"), "<old/>");
    setReadOnly(dir.native("locked.xml"), true);

    std::error_code why;
    EXPECT_FALSE(writeFileReplacing(dir.system("locked.xml"), "<new/>", &why));
    EXPECT_EQ(why, std::errc::permission_denied);
    EXPECT_EQ(readFile(dir.native("locked.xml")), "<old/>");
    EXPECT_TRUE(isReadOnly(dir.native("locked.xml")));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"locked.xml"});
}

TEST_F(FileSystemTest, WriteFileReplacing_Fails_WhenTargetIsFolderOrFolderIsMissing) {
    fs::create_directory(dir.native("sub"));
    EXPECT_FALSE(writeFileReplacing(dir.system("sub"), "x"));
    EXPECT_FALSE(writeFileReplacing(dir.system("missing/file.xml"), "x"));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"sub"});
    EXPECT_TRUE(namesIn(dir.native("sub")).empty());
}

TEST_F(FileSystemTest, ReplaceFile_MovesOverWritableTarget) {
    writeFile(dir.native("new.tmp"), "new");
    writeFile(dir.native("target.xml"), "old");
    ASSERT_TRUE(replaceFile(dir.system("new.tmp"), dir.system("target.xml")));
    EXPECT_EQ(readFile(dir.native("target.xml")), "new");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"target.xml"});
}

TEST_F(FileSystemTest, ReplaceFile_RefusesReadOnlyTarget_AndKeepsBothFiles) {
    writeFile(dir.native("new.tmp"), "new");
    writeFile(dir.native("target.xml"), "old");
    setReadOnly(dir.native("target.xml"), true);

    EXPECT_FALSE(replaceFile(dir.system("new.tmp"), dir.system("target.xml")));
    EXPECT_EQ(readFile(dir.native("target.xml")), "old");
    EXPECT_EQ(readFile(dir.native("new.tmp")), "new");
}

TEST_F(FileSystemTest, ReadFile_ReadsWholeContent_AndFailsForMissingFile) {
    const std::string bytes = std::string("line\r\n\0binary", 14) + std::string(200000, 'z');
    writeFile(dir.native("data.bin"), bytes);
    std::string read;
    ASSERT_TRUE(platform::readFile(dir.system("data.bin"), read));
    EXPECT_EQ(read, bytes);
    EXPECT_FALSE(platform::readFile(dir.system("missing.bin"), read));
}

// --- Attributes and times ---

TEST_F(FileSystemTest, GetAttributes_DescribesFilesFoldersAndLinksAsThemselves) {
    plantOneOfEachKind();
    const auto attributesOf = [&](const std::string& name) {
        std::uint32_t attributes = 0xFFFF;
        EXPECT_TRUE(getAttributes(dir.system(name), attributes)) << name;
        return attributes;
    };
    EXPECT_EQ(attributesOf("a.txt"), std::uint32_t{attrArchive});
    EXPECT_EQ(attributesOf("NoDot"), std::uint32_t{attrArchive | attrReadOnly});
    EXPECT_EQ(attributesOf("Sub"), std::uint32_t{attrFolder});
    EXPECT_EQ(attributesOf("ToOutside"), std::uint32_t{attrLink | attrFolder});
    EXPECT_EQ(attributesOf("ToFile"), std::uint32_t{attrLink});
    std::uint32_t attributes = 0;
    EXPECT_FALSE(getAttributes(dir.system("missing"), attributes));
}

TEST_F(FileSystemTest, SetAttributes_SetsAndClearsReadOnly_IgnoringFolderBit) {
    writeFile(dir.native("file.txt"), "");
    ASSERT_TRUE(setAttributes(dir.system("file.txt"), attrReadOnly | attrFolder));
    EXPECT_TRUE(isReadOnly(dir.native("file.txt")));
    EXPECT_TRUE(fs::is_regular_file(dir.native("file.txt")));
    ASSERT_TRUE(setAttributes(dir.system("file.txt"), attrArchive));
    EXPECT_FALSE(isReadOnly(dir.native("file.txt")));
    EXPECT_TRUE(deleteFile(dir.system("file.txt")));
}

TEST_F(FileSystemTest, SetAttributes_LeavesLinkTargetAlone) {
    writeFile(outside.native("target.txt"), "");
    fs::create_symlink(outside.native("target.txt"), dir.native("link"));

    EXPECT_TRUE(setAttributes(dir.system("link"), attrReadOnly));
    EXPECT_FALSE(isReadOnly(outside.native("target.txt")));
}

TEST_F(FileSystemTest, FileStatus_KeepsTimeTo100Nanoseconds_BeforeAndAfter1970) {
    writeFile(dir.native("file.txt"), "");
    // 1969-12-31 23:59:59.9999999 UTC sits one unit before the POSIX epoch.
    for (const FileTime time : {someTime, FileTime{116444736000000000 - 1}}) {
        setLastWrite(dir.system("file.txt"), time);
        EXPECT_EQ(statusOf(dir.system("file.txt")).lastWrite, time);
    }
}

TEST_F(FileSystemTest, FileStatus_CountsFromYear1601) {
    writeFile(dir.native("file.txt"), "");
    // 2001-09-09 01:46:40 UTC is 1000000000 seconds after 1970.
    setLastWrite(dir.system("file.txt"), FileTime{126444736000000000});
    const auto fileNow = fs::file_time_type::clock::now();
    const auto systemNow = std::chrono::system_clock::now();
    const auto expected = fileNow - (systemNow - std::chrono::system_clock::from_time_t(1000000000));
    const auto difference = fs::last_write_time(dir.native("file.txt")) - expected;
    EXPECT_LT(std::chrono::abs(difference), std::chrono::seconds(5));
}

TEST_F(FileSystemTest, SetFileStatus_KeepsTime_WhenGivenZero) {
    writeFile(dir.native("file.txt"), "");
    setLastWrite(dir.system("file.txt"), someTime);
    ASSERT_TRUE(setFileStatus(dir.system("file.txt"), FileStatus{0, attrReadOnly}));
    EXPECT_EQ(statusOf(dir.system("file.txt")).lastWrite, someTime);
    EXPECT_TRUE(isReadOnly(dir.native("file.txt")));
}

// --- Folder listings ---

TEST_F(FileSystemTest, FindFiles_ListsEntriesAsTheyAreInCaseInsensitiveOrder_WithoutFollowingLinks) {
    plantOneOfEachKind();
    for (const char* name : {"a.txt", "NoDot", "Sub", "ToOutside", "ToFile"})
        setLastWrite(dir.system(name), someTime);

    std::vector<FolderEntry> entries;
    ASSERT_TRUE(findFiles(dir.system("*.*"), entries));
    const std::vector<FolderEntry> expected = {
        {L"a.txt", attrArchive, someTime},
        {L"NoDot", attrArchive | attrReadOnly, someTime},
        {L"Sub", attrFolder, someTime},
        {L"ToFile", attrLink, someTime},
        {L"ToOutside", attrLink | attrFolder, someTime},
    };
    EXPECT_EQ(entries, expected);
}

TEST_F(FileSystemTest, FindFiles_MatchesWildcardsWithoutRegardToCase) {
    for (const char* name : {"a.xml", "B.Xml", "c.xmlx", "d.XML.bak", "readme", "ab.txt"})
        writeFile(dir.native(name), "");

    const auto namesMatching = [&](const std::string& pattern) {
        std::vector<FolderEntry> entries;
        EXPECT_TRUE(findFiles(dir.system(pattern), entries)) << pattern;
        std::vector<std::wstring> names;
        for (const FolderEntry& entry : entries)
            names.push_back(entry.name);
        return names;
    };
    EXPECT_EQ(namesMatching("*.XML"), (std::vector<std::wstring>{L"a.xml", L"B.Xml"}));
    EXPECT_EQ(namesMatching("?.x*"), (std::vector<std::wstring>{L"a.xml", L"B.Xml", L"c.xmlx", L"d.XML.bak"}));
    EXPECT_EQ(namesMatching("*.x?l"), (std::vector<std::wstring>{L"a.xml", L"B.Xml"}));
    EXPECT_EQ(namesMatching("*X*L*"), (std::vector<std::wstring>{L"a.xml", L"B.Xml", L"c.xmlx", L"d.XML.bak"}));
    EXPECT_EQ(namesMatching("README"), std::vector<std::wstring>{L"readme"});
    EXPECT_EQ(namesMatching("a?.txt"), std::vector<std::wstring>{L"ab.txt"});
    EXPECT_EQ(namesMatching("*.*").size(), 6u);
    EXPECT_TRUE(namesMatching("*.json").empty());
}

TEST_F(FileSystemTest, FindFiles_Fails_WhenFolderCannotBeListed) {
    writeFile(dir.native("file.txt"), "");
    std::vector<FolderEntry> entries;
    EXPECT_FALSE(findFiles(dir.system("missing/*.*"), entries));
    EXPECT_FALSE(findFiles(dir.system("file.txt/*.*"), entries));
    EXPECT_TRUE(entries.empty());
}

// --- Folders and links ---

TEST_F(FileSystemTest, MakeFolder_Fails_WhenFolderExistsOrParentIsMissing) {
    EXPECT_TRUE(makeFolder(dir.system("new/")));
    EXPECT_FALSE(makeFolder(dir.system("new/")));
    EXPECT_FALSE(makeFolder(dir.system("missing/child/")));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"new"});
}

TEST_F(FileSystemTest, RemoveFolder_RemovesLinkOnly_WhenGivenLinkToFolder) {
    writeFile(outside.native("keep.txt"), "outside");
    fs::create_directory_symlink(outside.path(), dir.native("link"));

    EXPECT_TRUE(removeFolder(dir.system("link/")));
    EXPECT_FALSE(exists(dir.system("link")));
    EXPECT_EQ(readFile(outside.native("keep.txt")), "outside");
}

TEST_F(FileSystemTest, RemoveFolder_Fails_WhenFolderIsNotEmptyOrIsFile) {
    writeFile(dir.native("sub/file.txt"), "");
    EXPECT_FALSE(removeFolder(dir.system("sub")));
    EXPECT_FALSE(removeFolder(dir.system("sub/file.txt")));
    EXPECT_TRUE(fs::exists(dir.native("sub/file.txt")));
    ASSERT_TRUE(deleteFile(dir.system("sub/file.txt")));
    EXPECT_TRUE(removeFolder(dir.system("sub")));
}

TEST_F(FileSystemTest, IsFolder_FollowsLinks_AndExistsSeesDanglingLinks) {
    writeFile(dir.native("file.txt"), "");
    fs::create_directory(dir.native("sub"));
    fs::create_directory_symlink(dir.native("sub"), dir.native("folderLink"));
    fs::create_symlink(dir.native("gone"), dir.native("dangling"));

    EXPECT_TRUE(isFolder(dir.system("sub")));
    EXPECT_TRUE(isFolder(dir.system("folderLink")));
    EXPECT_FALSE(isFolder(dir.system("file.txt")));
    EXPECT_FALSE(isFolder(dir.system("missing")));
    EXPECT_TRUE(exists(dir.system("file.txt")));
    EXPECT_TRUE(exists(dir.system("dangling")));
    EXPECT_FALSE(exists(dir.system("missing")));
}

// --- Path mapping ---

TEST(PathMappingTest, ToNativePath_TurnsEveryBackslashIntoSlash) {
    EXPECT_EQ(toNativePath(L"\\tmp\\x\\"), fs::path("/tmp/x/"));
    EXPECT_EQ(toNativePath(L"Config\\Display.xml"), fs::path("Config/Display.xml"));
    EXPECT_EQ(toNativePath(L""), fs::path());
}

TEST(PathMappingTest, ToSystemPath_KeepsTrailingSeparatorAndRelativePaths) {
    EXPECT_EQ(toSystemPath("/tmp/x/"), L"\\tmp\\x\\");
    EXPECT_EQ(toSystemPath("Config/Display.xml"), L"Config\\Display.xml");
}

TEST(PathMappingTest, NonAsciiNames_SurviveTheRoundTrip) {
    const std::wstring system = L"\\tmp\\\u8a2d\u5b9a\\\u00e9t\u00e9.xml";
    EXPECT_EQ(toSystemPath(toNativePath(system)), system);
    EXPECT_EQ(toNativePath(system).string(), "/tmp/\xe8\xa8\xad\xe5\xae\x9a/\xc3\xa9t\xc3\xa9.xml");
}

} // namespace
} // namespace tern::platform
