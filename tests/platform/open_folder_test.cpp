#include "platform/open_folder.h"

#include "platform/fault_injection.h"
#include "platform/file_system.h"
#include "platform/text.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/xattr.h>
#endif

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace tern::platform {
namespace {

using test::makeFolder;
using test::readFile;
using test::setReadOnly;
using test::TempFolder;
using test::Tree;
using test::treeOf;
using test::writeFile;

// An entry as a kind listing must tell it: its name, folder and link bits.
std::vector<std::wstring> kindsOf(const std::vector<FolderEntry>& entries) {
    std::vector<std::wstring> kinds;
    for (const FolderEntry& entry : entries)
        kinds.push_back(entry.name + (entry.isFolder() ? L" folder" : L"") + (entry.isLink() ? L" link" : L""));
    return kinds;
}

std::vector<std::wstring> listedKinds(const OpenFolder& folder, const std::wstring& wildcard) {
    std::vector<FolderEntry> entries;
    EXPECT_TRUE(folder.listKinds(wildcard, entries)) << toNativePath(folder.path() + wildcard);
    return kindsOf(entries);
}

std::vector<std::wstring> foundKinds(const std::wstring& pattern) {
    std::vector<FolderEntry> entries;
    EXPECT_TRUE(findFiles(pattern, entries)) << toNativePath(pattern);
    return kindsOf(entries);
}

// A shipped folder and a user's folder holding some of its names already,
// in every form a name can be taken in: a file, a read-only file, a folder,
// and a name that differs only in case.
void plantShippedAndPresent(const TempFolder& shipped, const TempFolder& user) {
    for (const char* name : {"new.xml", "taken.xml", "locked.xml", "folder.xml", "Case.xml", "zeta.XML"})
        writeFile(shipped.native(name), std::string("shipped ") + name);
    writeFile(shipped.native("sub/inner.xml"), "shipped inner");
    writeFile(user.native("taken.xml"), "user's");
    writeFile(user.native("locked.xml"), "user's locked");
    setReadOnly(user.native("locked.xml"), true);
    makeFolder(user.native("folder.xml"));
    writeFile(user.native("case.xml"), "user's lower case");
    makeFolder(user.native("sub"));
}

// --- Listing by kind ---

TEST(OpenFolderTest, ListKinds_ListsAsFindFilesDoes_SameNamesSameOrderSameKinds) {
    TempFolder dir;
    for (const char* name : {"b.xml", "A.XML", "c.txt", "NoDot", "_under.xml", "zeta.Xml"})
        writeFile(dir.native(name), "x");
    setReadOnly(dir.native("NoDot"), true);
    makeFolder(dir.native("Sub.xml"));
    makeFolder(dir.native("other"));

    const OpenFolder folder(dir.system());
    for (const wchar_t* wildcard : {L"*.*", L"*.xml", L"?.xml", L"*", L"No*"}) {
        SCOPED_TRACE(toUtf8(wildcard));
        EXPECT_EQ(listedKinds(folder, wildcard), foundKinds(dir.system() + wildcard));
    }
    EXPECT_EQ(listedKinds(folder, L"*.xml"),
              (std::vector<std::wstring>{L"A.XML", L"b.xml", L"Sub.xml folder", L"zeta.Xml", L"_under.xml"}));
}

TEST(OpenFolderTest, ListKinds_TellsLinksAsLinks_AndALinkToAFolderAsAFolderToo) {
    TempFolder dir;
    TempFolder outside;
    writeFile(outside.native("file.txt"), "x");
    makeFolder(outside.native("Folder"));
    fs::create_symlink(outside.native("file.txt"), dir.native("ToFile"));
    fs::create_directory_symlink(outside.native("Folder"), dir.native("ToFolder"));
    fs::create_symlink(outside.native("gone"), dir.native("Dangling"));

    const OpenFolder folder(dir.system());
    EXPECT_EQ(listedKinds(folder, L"*.*"),
              (std::vector<std::wstring>{L"Dangling link", L"ToFile link", L"ToFolder folder link"}));
    EXPECT_EQ(listedKinds(folder, L"*.*"), foundKinds(dir.system("*.*")));
}

TEST(OpenFolderTest, AFolderThatIsNotThere_ListsNothing_AndTellsNoStatus) {
    TempFolder dir;
    writeFile(dir.native("file"), "x");
    for (const char* path : {"missing/", "file/"}) {
        SCOPED_TRACE(path);
        const OpenFolder folder(dir.system(path));
        std::vector<FolderEntry> entries{{L"stale", 0, 0}};
        EXPECT_FALSE(folder.listKinds(L"*.*", entries));
        EXPECT_TRUE(entries.empty());
        FileStatus status;
        EXPECT_FALSE(folder.getStatus(L"file", status));
    }
}

TEST(OpenFolderTest, CopyNewFile_TakesANameHeldByALink_EvenOneLeadingNowhere_AsTaken) {
    TempFolder shipped;
    TempFolder user;
    writeFile(shipped.native("dangling.xml"), "shipped");
    writeFile(shipped.native("linked.xml"), "shipped");
    writeFile(user.native("target.xml"), "user's");
    fs::create_symlink(user.native("gone.xml"), user.native("dangling.xml"));
    fs::create_symlink(user.native("target.xml"), user.native("linked.xml"));

    const OpenFolder source(shipped.system());
    OpenFolder destination(user.system());
    for (const wchar_t* name : {L"dangling.xml", L"linked.xml"}) {
        std::error_code why;
        EXPECT_FALSE(destination.copyNewFile(source, name, &why)) << toUtf8(name);
        EXPECT_EQ(why, std::errc::file_exists);
    }
    EXPECT_EQ(treeOf(user.path()), (Tree{"dangling.xml@", "linked.xml@", "target.xml=user's"}));
}

// --- Status by name ---

TEST(OpenFolderTest, GetStatus_TellsWhatGetFileStatusTellsOfTheSamePath) {
    TempFolder dir;
    writeFile(dir.native("plain.xml"), "x");
    writeFile(dir.native("locked.xml"), "x");
    setReadOnly(dir.native("locked.xml"), true);
    makeFolder(dir.native("Sub"));
    writeFile(dir.native("Sub/inner.xml"), "x");
    FileStatus old;
    ASSERT_TRUE(getFileStatus(dir.system("plain.xml"), old));
    old.lastWrite -= 123456789;
    ASSERT_TRUE(setFileStatus(dir.system("plain.xml"), old));

    const OpenFolder folder(dir.system());
    for (const wchar_t* name : {L"plain.xml", L"locked.xml", L"Sub", L"Sub\\inner.xml"}) {
        SCOPED_TRACE(toUtf8(name));
        FileStatus byName;
        FileStatus byPath;
        ASSERT_TRUE(folder.getStatus(name, byName));
        ASSERT_TRUE(getFileStatus(dir.system() + name, byPath));
        EXPECT_EQ(byName.attributes, byPath.attributes);
        EXPECT_EQ(byName.lastWrite, byPath.lastWrite);
    }
    FileStatus status;
    std::error_code why;
    EXPECT_FALSE(folder.getStatus(L"missing.xml", status, &why));
    EXPECT_EQ(why, std::errc::no_such_file_or_directory);
}

// --- New-file copies ---

// Each shipped name copied through open folders and, into a twin of the
// user's folder, by path: the results, the reasons and the trees are the
// same, whatever form the name is taken in.
TEST(OpenFolderTest, CopyNewFile_DoesWhatTheFailIfExistsCopyByPathDoes_ForEveryFormOfTakenName) {
    TempFolder shipped;
    TempFolder user;
    TempFolder twin;
    plantShippedAndPresent(shipped, user);
    plantShippedAndPresent(shipped, twin);
    const Tree before = treeOf(user.path());

    const OpenFolder source(shipped.system());
    OpenFolder destination(user.system());
    for (const wchar_t* name : {L"new.xml", L"taken.xml", L"locked.xml", L"folder.xml", L"Case.xml", L"zeta.XML",
                                L"sub\\inner.xml", L"missing.xml", L"new.xml"}) {
        SCOPED_TRACE(toUtf8(name));
        std::error_code byName;
        std::error_code byPath;
        EXPECT_EQ(destination.copyNewFile(source, name, &byName),
                  copyFile(shipped.system() + name, twin.system() + name, FailIfExists::yes, &byPath));
        EXPECT_EQ(byName, byPath);
    }
    EXPECT_EQ(treeOf(user.path()), treeOf(twin.path()));
    EXPECT_NE(treeOf(user.path()), before);
}

// The names are read once, at the first copy; a file that appears at
// another name afterwards is still never overwritten.
TEST(OpenFolderTest, CopyNewFile_NeverOverwritesAFileThatAppearsAfterTheFirstCopy) {
    TempFolder shipped;
    TempFolder user;
    writeFile(shipped.native("first.xml"), "shipped first");
    writeFile(shipped.native("later.xml"), "shipped later");

    const OpenFolder source(shipped.system());
    OpenFolder destination(user.system());
    ASSERT_TRUE(destination.copyNewFile(source, L"first.xml"));
    writeFile(user.native("later.xml"), "appeared meanwhile");
    std::error_code why;
    EXPECT_FALSE(destination.copyNewFile(source, L"later.xml", &why));
    EXPECT_EQ(why, std::errc::file_exists);
    EXPECT_FALSE(destination.copyNewFile(source, L"first.xml", &why));
    EXPECT_EQ(why, std::errc::file_exists);
    EXPECT_EQ(treeOf(user.path()), (Tree{"first.xml=shipped first", "later.xml=appeared meanwhile"}));
}

// Whichever call fails, a copy by name leaves its destination absent or
// whole, with the source's read-only attribute, and nothing else.
TEST(OpenFolderTest, CopyNewFile_LeavesNoDestinationOrAWholeOne_WhicheverCallFails) {
    for (std::uint64_t n = 1;; ++n) {
        SCOPED_TRACE("call " + std::to_string(n) + " fails");
        TempFolder shipped;
        TempFolder user;
        writeFile(shipped.native("new.xml"), "shipped");
        setReadOnly(shipped.native("new.xml"), true);
        writeFile(user.native("kept.xml"), "user's");
        const OpenFolder source(shipped.system());
        OpenFolder destination(user.system());

        armFault(n, std::errc::no_space_on_device);
        const bool done = destination.copyNewFile(source, L"new.xml");
        const bool failed = failedFileCall().has_value();
        disarmFault();

        Tree expected = {"kept.xml=user's"};
        if (done)
            expected.push_back("new.xml=shipped (read-only)");
        EXPECT_EQ(treeOf(user.path()), expected);
        if (!failed) {
            EXPECT_TRUE(done);
            break;
        }
    }
}

TEST(OpenFolderTest, CopyNewFile_IntoAFolderThatIsNotThere_FailsAsTheCopyByPathFails) {
    TempFolder shipped;
    TempFolder user;
    writeFile(shipped.native("file.xml"), "shipped");
    const OpenFolder source(shipped.system());
    OpenFolder destination(user.system("missing/"));

    std::error_code byName;
    std::error_code byPath;
    EXPECT_FALSE(destination.copyNewFile(source, L"file.xml", &byName));
    EXPECT_FALSE(copyFile(shipped.system("file.xml"), user.system("missing/file.xml"), FailIfExists::yes, &byPath));
    EXPECT_EQ(byName, byPath);
    EXPECT_TRUE(treeOf(user.path()).empty());
}

// --- New-file copies together ---

// A shipped folder for copies made together: a file with an old time, a
// read-only one, one not in the first batch, and a folder.
const std::vector<std::wstring> shippedNames = {L"a.xml", L"b.xml", L"sub", L"missing.xml"};

void plantShipped(const TempFolder& shipped) {
    writeFile(shipped.native("a.xml"), "shipped a");
    writeFile(shipped.native("b.xml"), "shipped b");
    writeFile(shipped.native("c.xml"), "shipped c");
    setReadOnly(shipped.native("b.xml"), true);
    makeFolder(shipped.native("sub"));
    FileStatus old;
    ASSERT_TRUE(getFileStatus(shipped.system("a.xml"), old));
    old.lastWrite -= 123456789;
    ASSERT_TRUE(setFileStatus(shipped.system("a.xml"), old));
}

#ifndef _WIN32
mode_t permissionsOf(const fs::path& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}
#endif

// Copies into an empty folder give each name what a copy by path gives it,
// the copies keep their times and attributes, and the folder stays the one
// it was: with its permissions, nothing left beside it, and still served by
// the open folder for what comes after.
TEST(OpenFolderTest, CopyNewFiles_IntoAnEmptyFolder_DoWhatCopiesByPathDo_AndTheFolderStaysItself) {
    TempFolder shipped;
    TempFolder user;
    plantShipped(shipped);
    makeFolder(user.native("dest"));
    makeFolder(user.native("twin"));
#ifndef _WIN32
    ASSERT_EQ(::chmod(user.native("dest").c_str(), 0750), 0);
#endif

    const OpenFolder source(shipped.system());
    OpenFolder destination(user.system("dest\\"));
    const std::vector<std::error_code> outcomes = destination.copyNewFiles(source, shippedNames);
    ASSERT_EQ(outcomes.size(), shippedNames.size());
    for (std::size_t i = 0; i < shippedNames.size(); ++i) {
        const std::wstring& name = shippedNames[i];
        std::error_code byPath;
        copyFile(shipped.system() + name, user.system("twin\\") + name, FailIfExists::yes, &byPath);
        EXPECT_EQ(outcomes[i], byPath) << toUtf8(name);
    }
    EXPECT_EQ(treeOf(user.path()), (Tree{"dest/", "dest/a.xml=shipped a", "dest/b.xml=shipped b (read-only)", "twin/",
                                         "twin/a.xml=shipped a", "twin/b.xml=shipped b (read-only)"}));
    FileStatus shippedA;
    FileStatus copiedA;
    ASSERT_TRUE(getFileStatus(shipped.system("a.xml"), shippedA));
    ASSERT_TRUE(destination.getStatus(L"a.xml", copiedA));
    EXPECT_EQ(copiedA.lastWrite, shippedA.lastWrite);
#ifndef _WIN32
    EXPECT_EQ(permissionsOf(user.native("dest")), 0750u);
#endif

    std::error_code why;
    EXPECT_FALSE(destination.copyNewFile(source, L"a.xml", &why));
    EXPECT_EQ(why, std::errc::file_exists);
    EXPECT_TRUE(destination.copyNewFile(source, L"c.xml"));
    EXPECT_EQ(readFile(user.native("dest/c.xml")), "shipped c");
}

// The folder was empty when the names were read, and a file appeared in it
// before the copies were put in place: that file stays, and the others go in.
TEST(OpenFolderTest, CopyNewFiles_IntoAFolderThatFilledMeanwhile_KeepWhatAppeared) {
    TempFolder shipped;
    TempFolder user;
    plantShipped(shipped);
    writeFile(shipped.native("later.xml"), "shipped later");
    makeFolder(user.native("dest"));

    const OpenFolder source(shipped.system());
    OpenFolder destination(user.system("dest\\"));
    EXPECT_EQ(destination.copyNewFiles(source, {L"missing.xml"}).at(0), std::errc::no_such_file_or_directory);
    writeFile(user.native("dest/later.xml"), "appeared meanwhile");
    const std::vector<std::error_code> outcomes = destination.copyNewFiles(source, {L"a.xml", L"later.xml"});
    EXPECT_EQ(outcomes, (std::vector<std::error_code>{{}, std::make_error_code(std::errc::file_exists)}));
    EXPECT_EQ(treeOf(user.path()), (Tree{"dest/", "dest/a.xml=shipped a", "dest/later.xml=appeared meanwhile"}));
}

// Whichever call fails, each copy is in the folder whole exactly when its
// outcome says it was made, and nothing is left beside the folder.
TEST(OpenFolderTest, CopyNewFiles_IntoAnEmptyFolder_LeaveEachCopyWholeOrAbsent_WhicheverCallFails) {
    for (std::uint64_t n = 1;; ++n) {
        SCOPED_TRACE("call " + std::to_string(n) + " fails");
        TempFolder shipped;
        TempFolder user;
        plantShipped(shipped);
        makeFolder(user.native("dest"));
        const OpenFolder source(shipped.system());
        OpenFolder destination(user.system("dest\\"));

        armFault(n, std::errc::no_space_on_device);
        const std::vector<std::error_code> outcomes = destination.copyNewFiles(source, {L"a.xml", L"b.xml"});
        const bool failed = failedFileCall().has_value();
        disarmFault();

        ASSERT_EQ(outcomes.size(), 2u);
        Tree expected = {"dest/"};
        if (!outcomes[0])
            expected.push_back("dest/a.xml=shipped a");
        if (!outcomes[1])
            expected.push_back("dest/b.xml=shipped b (read-only)");
        EXPECT_EQ(treeOf(user.path()), expected);
        if (!failed) {
            EXPECT_EQ(expected.size(), 3u);
            break;
        }
    }
}

#ifndef _WIN32
// A folder reached through a link gets the copies; the link stays a link,
// never replaced by a folder.
TEST(OpenFolderTest, CopyNewFiles_IntoAnEmptyFolderBehindALink_FillTheFolder_AndTheLinkStays) {
    TempFolder shipped;
    TempFolder user;
    TempFolder outside;
    plantShipped(shipped);
    fs::create_directory_symlink(outside.path(), user.native("dest"));

    const OpenFolder source(shipped.system());
    OpenFolder destination(user.system("dest\\"));
    const std::vector<std::error_code> outcomes = destination.copyNewFiles(source, {L"a.xml", L"b.xml"});
    EXPECT_EQ(outcomes, std::vector<std::error_code>(2));
    EXPECT_EQ(treeOf(user.path()), (Tree{"dest@"}));
    EXPECT_EQ(treeOf(outside.path()), (Tree{"a.xml=shipped a", "b.xml=shipped b (read-only)"}));
}

// The hidden folder a killed run was filling, named after its writer, goes
// with its torn files, read-only ones included, when copies next fill the
// folder it was for.
TEST(OpenFolderTest, CopyNewFiles_IntoAnEmptyFolder_RemoveTheHiddenFolderAKilledRunLeft) {
    const std::string gone = ".dest.2147483644-0.tmp"; // no system gives a process this id
    TempFolder shipped;
    TempFolder user;
    plantShipped(shipped);
    makeFolder(user.native("dest"));
    writeFile(user.native(gone + "/a.xml"), "torn");
    setReadOnly(user.native(gone + "/a.xml"), true);
    writeFile(user.native(".dest.notes/kept.txt"), "user's");

    const OpenFolder source(shipped.system());
    OpenFolder destination(user.system("dest\\"));
    EXPECT_EQ(destination.copyNewFiles(source, {L"a.xml"}), std::vector<std::error_code>(1));
    EXPECT_EQ(treeOf(user.path()),
              (Tree{".dest.notes/", ".dest.notes/kept.txt=user's", "dest/", "dest/a.xml=shipped a"}));
}

// What a new folder would not have is never lost to the copies: extended
// attributes (an ACL among them) stay on the folder.
TEST(OpenFolderTest, CopyNewFiles_IntoAnEmptyFolder_KeepTheFoldersExtendedAttributes) {
    TempFolder shipped;
    TempFolder user;
    plantShipped(shipped);
    makeFolder(user.native("dest"));
    const std::string dest = user.native("dest").native();
    if (::setxattr(dest.c_str(), "user.tn", "kept", 4, 0) != 0)
        GTEST_SKIP() << "this file system keeps no extended attributes: " << std::strerror(errno);

    const OpenFolder source(shipped.system());
    OpenFolder destination(user.system("dest\\"));
    EXPECT_EQ(destination.copyNewFiles(source, {L"a.xml", L"b.xml"}), std::vector<std::error_code>(2));
    char value[8] = {};
    EXPECT_EQ(::getxattr(dest.c_str(), "user.tn", value, sizeof value), 4);
    EXPECT_STREQ(value, "kept");
    EXPECT_EQ(treeOf(user.path()), (Tree{"dest/", "dest/a.xml=shipped a", "dest/b.xml=shipped b (read-only)"}));
}
#endif

// A path without its trailing backslash is a prefix of the names' paths, as
// folder + name makes it.
TEST(OpenFolderTest, APathWithoutItsBackslash_PrefixesTheNames_AsFolderPlusNameDoes) {
    TempFolder shipped;
    TempFolder user;
    writeFile(shipped.native("a.xml"), "shipped");
    writeFile(user.native("copy-b.xml"), "user's");
    const OpenFolder source(shipped.system());
    OpenFolder destination(user.system("copy-"));

    EXPECT_TRUE(destination.copyNewFile(source, L"a.xml"));
    std::error_code why;
    EXPECT_FALSE(destination.copyNewFile(source, L"b.xml", &why));
    EXPECT_EQ(why, std::errc::file_exists);
    FileStatus status;
    EXPECT_TRUE(destination.getStatus(L"a.xml", status));
    EXPECT_EQ(listedKinds(destination, L"*.xml"), (std::vector<std::wstring>{L"copy-a.xml", L"copy-b.xml"}));
    EXPECT_EQ(treeOf(user.path()), (Tree{"copy-a.xml=shipped", "copy-b.xml=user's"}));
}

} // namespace
} // namespace tern::platform
