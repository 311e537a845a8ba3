#include "platform/file_system.h"

#include "platform/fault_injection.h"
#include "platform/open_folder.h"
#include "platform/process.h"
#include "platform/text.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
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
using test::makeFolder;
using test::readFile;
using test::setReadOnly;
using test::TempFolder;
using test::Tree;
using test::treeOf;
using test::writeFile;

// 2020-02-02 02:02:02 UTC plus 1234567 units of 100 ns.
constexpr FileTime someTime = 132250825220000000 + 1234567;
// 1969-12-31 23:59:59.9999999 UTC, one unit before the POSIX epoch.
constexpr FileTime justBefore1970 = 116444736000000000 - 1;

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
        makeFolder(dir.native("Sub"));
        fs::create_directory_symlink(outside.path(), dir.native("ToOutside"));
        fs::create_symlink(outside.native("secret.txt"), dir.native("ToFile"));
    }

    TempFolder dir;
    TempFolder outside;
};

// --- Read-only files stop deletion, writes and copies, also for root ---

TEST_F(FileSystemTest, DeleteFile_Fails_ForAReadOnlyFileOrAFolder) {
    writeFile(dir.native("locked.txt"), "keep");
    setReadOnly(dir.native("locked.txt"), true);
    makeFolder(dir.native("sub"));

    std::error_code why;
    EXPECT_FALSE(deleteFile(dir.system("locked.txt"), &why));
    EXPECT_EQ(why, std::errc::permission_denied);
    EXPECT_FALSE(deleteFile(dir.system("sub")));
    EXPECT_EQ(treeOf(dir.path()), (Tree{"locked.txt=keep (read-only)", "sub/"}));
}

TEST_F(FileSystemTest, CopyFile_KeepsAttributesAndTime_AndReplacesOnlyAWritableDestinationWhenAllowed) {
    struct Case {
        const char* name;
        bool sourceReadOnly;
        const char* destination; // its content before, if it exists
        bool destinationReadOnly;
        FailIfExists policy;
        std::errc why; // why the copy fails; errc() when it succeeds
        const char* after;
    };
    const Case cases[] = {
        {"read-only source", true, nullptr, false, FailIfExists::yes, std::errc(), "old.txt=new (read-only)"},
        {"writable, may replace", false, "old", false, FailIfExists::no, std::errc(), "old.txt=new"},
        {"read-only source, may replace", true, "old", false, FailIfExists::no, std::errc(),
         "old.txt=new (read-only)"},
        {"read-only, may replace", false, "old", true, FailIfExists::no, std::errc::permission_denied,
         "old.txt=old (read-only)"},
        {"writable, fail if exists", false, "old", false, FailIfExists::yes, std::errc::file_exists, "old.txt=old"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder scratch;
        writeFile(scratch.native("new.txt"), "new");
        setLastWrite(scratch.system("new.txt"), someTime);
        setReadOnly(scratch.native("new.txt"), c.sourceReadOnly);
        if (c.destination) {
            writeFile(scratch.native("old.txt"), c.destination);
            setReadOnly(scratch.native("old.txt"), c.destinationReadOnly);
        }

        std::error_code why;
        const bool copied = copyFile(scratch.system("new.txt"), scratch.system("old.txt"), c.policy, &why);
        EXPECT_EQ(copied, c.why == std::errc());
        if (copied) {
            const FileStatus copy = statusOf(scratch.system("old.txt"));
            EXPECT_EQ(copy.attributes, std::uint32_t{attrArchive | (c.sourceReadOnly ? attrReadOnly : 0u)});
            EXPECT_EQ(copy.lastWrite, someTime);
        } else {
            EXPECT_EQ(why, c.why);
        }
        const char* source = c.sourceReadOnly ? "new.txt=new (read-only)" : "new.txt=new";
        EXPECT_EQ(treeOf(scratch.path()), (Tree{source, c.after}));
    }
}

TEST_F(FileSystemTest, CopyFile_Fails_WhenSourceIsMissingOrFolder) {
    makeFolder(dir.native("sub"));
    std::error_code why;
    EXPECT_FALSE(copyFile(dir.system("missing.txt"), dir.system("copy.txt"), FailIfExists::no, &why));
    EXPECT_EQ(why, std::errc::no_such_file_or_directory);
    EXPECT_FALSE(copyFile(dir.system("sub"), dir.system("copy.txt"), FailIfExists::yes));
    EXPECT_EQ(treeOf(dir.path()), Tree{"sub/"});
}

TEST_F(FileSystemTest, CopyFile_LeavesFileIntact_WhenCopiedOntoItself) {
    writeFile(dir.native("self.txt"), "precious");
    fs::create_symlink(dir.native("self.txt"), dir.native("alias.txt"));

    for (const FailIfExists policy : {FailIfExists::no, FailIfExists::yes}) {
        EXPECT_FALSE(copyFile(dir.system("self.txt"), dir.system("self.txt"), policy));
        EXPECT_FALSE(copyFile(dir.system("self.txt"), dir.system("alias.txt"), policy));
    }
    EXPECT_EQ(treeOf(dir.path()), (Tree{"alias.txt@", "self.txt=precious"}));
}

// --- Links: deleted and described as themselves, written through ---

// Links in the folder point outside it, to a read-only file, a writable
// file, a folder and a file that does not exist yet.
TEST_F(FileSystemTest, DeletesAndAttributeChanges_ActOnALinkItself_NeverOnItsTarget) {
    writeFile(outside.native("locked.txt"), "locked");
    setReadOnly(outside.native("locked.txt"), true);
    writeFile(outside.native("plain.txt"), "plain");
    writeFile(outside.native("Folder/keep.txt"), "keep");
    writeFile(dir.native("new.txt"), "new");
    fs::create_symlink(outside.native("locked.txt"), dir.native("ToLocked"));
    fs::create_symlink(outside.native("plain.txt"), dir.native("ToPlain"));
    fs::create_symlink(outside.native("planted.txt"), dir.native("Dangling"));
    fs::create_directory_symlink(outside.native("Folder"), dir.native("ToFolder"));

    EXPECT_TRUE(deleteFile(dir.system("ToLocked")));
    EXPECT_TRUE(removeFolder(dir.system("ToFolder/")));
    EXPECT_TRUE(setAttributes(dir.system("ToPlain"), attrReadOnly));
    EXPECT_FALSE(copyFile(dir.system("new.txt"), dir.system("Dangling"), FailIfExists::yes));

    EXPECT_EQ(treeOf(dir.path()), (Tree{"Dangling@", "ToPlain@", "new.txt=new"}));
    EXPECT_EQ(treeOf(outside.path()),
              (Tree{"Folder/", "Folder/keep.txt=keep", "locked.txt=locked (read-only)", "plain.txt=plain"}));
}

// A save or a replacing copy onto a link replaces the file the link leads
// to, through a chain of links, and the link stays: as Windows' file
// functions write through a link. The target's read-only attribute stops
// it; a link that leads nowhere or to a folder is refused.
TEST_F(FileSystemTest, SaveAndReplacingCopy_OntoALink_ReplaceItsTarget_KeepingTheLinkAndTheReadOnlyAttribute) {
    struct Case {
        const char* name;
        const char* link;
        std::errc why; // errc() when the write goes through
        Tree outsideAfter;
    };
    const Case cases[] = {
        {"to a writable file", "ToPlain", std::errc(),
         {"Folder/", "locked.txt=locked (read-only)", "plain.txt=new"}},
        {"to a link to a writable file", "ToToPlain", std::errc(),
         {"Folder/", "locked.txt=locked (read-only)", "plain.txt=new"}},
        {"to a read-only file", "ToLocked", std::errc::permission_denied,
         {"Folder/", "locked.txt=locked (read-only)", "plain.txt=plain"}},
        {"nowhere", "Dangling", std::errc::no_such_file_or_directory,
         {"Folder/", "locked.txt=locked (read-only)", "plain.txt=plain"}},
        {"to a folder", "ToFolder", std::errc::is_a_directory,
         {"Folder/", "locked.txt=locked (read-only)", "plain.txt=plain"}},
    };
    const Tree links = {"Dangling@", "ToFolder@", "ToLocked@", "ToPlain@", "ToToPlain@", "new.txt=new"};
    for (const bool copying : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (copying ? ", copied" : ", saved"));
            TempFolder folder, target;
            writeFile(target.native("locked.txt"), "locked");
            setReadOnly(target.native("locked.txt"), true);
            writeFile(target.native("plain.txt"), "plain");
            makeFolder(target.native("Folder"));
            writeFile(folder.native("new.txt"), "new");
            fs::create_symlink(target.native("locked.txt"), folder.native("ToLocked"));
            fs::create_symlink(target.native("plain.txt"), folder.native("ToPlain"));
            fs::create_symlink(folder.native("ToPlain"), folder.native("ToToPlain"));
            fs::create_symlink(target.native("planted.txt"), folder.native("Dangling"));
            fs::create_directory_symlink(target.native("Folder"), folder.native("ToFolder"));

            std::error_code why;
            const bool written =
                copying ? copyFile(folder.system("new.txt"), folder.system(c.link), FailIfExists::no, &why)
                        : writeFileReplacing(folder.system(c.link), "new", &why);
            EXPECT_EQ(written, c.why == std::errc());
            EXPECT_EQ(why, std::make_error_condition(c.why));
            EXPECT_EQ(treeOf(folder.path()), links);
            EXPECT_EQ(treeOf(target.path()), c.outsideAfter);
        }
    }
}

TEST_F(FileSystemTest, IsFolder_FollowsLinks_AndExistsSeesDanglingLinks) {
    writeFile(dir.native("file.txt"), "");
    makeFolder(dir.native("sub"));
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

// --- Identity ---

TEST_F(FileSystemTest, FileIdentity_IsOneForEveryPathToAFolder_AndResolvePathGivesItsOneSpelling) {
    writeFile(dir.native("Folder/Sub/file.txt"), "");
    FileIdentity folder, throughParent, sub, file;
    ASSERT_TRUE(getFileIdentity(dir.system("Folder"), folder));
    ASSERT_TRUE(getFileIdentity(dir.system("Folder/Sub/../"), throughParent));
    ASSERT_TRUE(getFileIdentity(dir.system("Folder/Sub"), sub));
    ASSERT_TRUE(getFileIdentity(dir.system("Folder/Sub/file.txt"), file));
    EXPECT_EQ(folder, throughParent);
    EXPECT_NE(folder, sub);
    EXPECT_NE(sub, file);

    std::wstring resolved, throughParentResolved;
    ASSERT_TRUE(resolvePath(dir.system("Folder"), resolved));
    ASSERT_TRUE(resolvePath(dir.system("Folder/Sub/.."), throughParentResolved));
    EXPECT_EQ(throughParentResolved, resolved);
    EXPECT_EQ(resolved.substr(resolved.size() - 7), L"\\Folder");
    FileIdentity sameFolder;
    ASSERT_TRUE(getFileIdentity(resolved, sameFolder));
    EXPECT_EQ(sameFolder, folder);

    std::error_code why;
    EXPECT_FALSE(getFileIdentity(dir.system("missing"), folder, &why));
    EXPECT_EQ(why, std::errc::no_such_file_or_directory);
    EXPECT_FALSE(resolvePath(dir.system("missing"), resolved, &why));
    EXPECT_EQ(why, std::errc::no_such_file_or_directory);
}

TEST_F(FileSystemTest, FileIdentityAndResolvePath_FollowLinks) {
    makeFolder(outside.native("Target"));
    fs::create_directory_symlink(outside.native("Target"), dir.native("Link"));
    FileIdentity link, target;
    ASSERT_TRUE(getFileIdentity(dir.system("Link"), link));
    ASSERT_TRUE(getFileIdentity(outside.system("Target"), target));
    EXPECT_EQ(link, target);
    std::wstring throughLink, direct;
    ASSERT_TRUE(resolvePath(dir.system("Link"), throughLink));
    ASSERT_TRUE(resolvePath(outside.system("Target"), direct));
    EXPECT_EQ(throughLink, direct);
}

// --- Whole-file reads and replacement ---

TEST_F(FileSystemTest, WriteFileReplacing_ReplacesOrCreatesTheWholeFile_LeavingNoTemporaryFile) {
    writeFile(dir.native("settings.xml"), "<old/>");
    ASSERT_TRUE(writeFileReplacing(dir.system("settings.xml"), "<new/>"));
    ASSERT_TRUE(writeFileReplacing(dir.system("fresh.xml"), "<fresh/>"));
    EXPECT_EQ(treeOf(dir.path()), (Tree{"fresh.xml=<fresh/>", "settings.xml=<new/>"}));
}

TEST_F(FileSystemTest, WriteFileReplacingWith_WritesThePiecesInOrder_OrNothing_WhenTheWriterGivesUp) {
    writeFile(dir.native("settings.xml"), "<old/>");
    ASSERT_TRUE(writeFileReplacingWith(dir.system("settings.xml"), [](FileWriter& writer) {
        return writer.write("<new>") && writer.write("") && writer.write("</new>");
    }));
    std::error_code why;
    EXPECT_FALSE(writeFileReplacingWith(
        dir.system("settings.xml"),
        [](FileWriter& writer) {
            writer.write("<half");
            return false;
        },
        &why));
    EXPECT_EQ(why, std::errc::operation_canceled);
    EXPECT_FALSE(writeFileReplacingWith(dir.system("fresh.xml"), [](FileWriter&) { return false; }));
    EXPECT_EQ(treeOf(dir.path()), (Tree{"settings.xml=<new></new>"}));
}

// Small pieces reach the file in blocks, each one system call; a large
// piece goes as it is. Once a block fails, nothing more is put.
TEST(FileWriter, PutsSmallPiecesInBlocks_AndNothingAfterAFailure) {
    std::vector<std::string> put;
    FileWriter writer([&](std::string_view bytes) {
        put.emplace_back(bytes);
        return bytes.size() > 100'000 ? std::make_error_code(std::errc::no_space_on_device) : std::error_code();
    });
    const std::string large(70'000, 'x');
    EXPECT_TRUE(writer.write("a"));
    EXPECT_TRUE(writer.write("b"));
    EXPECT_TRUE(put.empty());
    EXPECT_TRUE(writer.write(large));
    EXPECT_TRUE(writer.write("c"));
    EXPECT_TRUE(writer.flush());
    EXPECT_EQ(put, (std::vector<std::string>{"ab", large, "c"}));
    EXPECT_FALSE(writer.failure());

    EXPECT_FALSE(writer.write(std::string(100'001, 'y')));
    EXPECT_FALSE(writer.write("d"));
    EXPECT_FALSE(writer.flush());
    EXPECT_EQ(put.size(), 4u);
    EXPECT_EQ(writer.failure(), std::errc::no_space_on_device);
}

TEST_F(FileSystemTest, WriteFileReplacing_ChangesNothing_ForAReadOnlyTargetAFolderOrAMissingFolder) {
    writeFile(dir.native("locked.xml"), "<old/>");
    setReadOnly(dir.native("locked.xml"), true);
    makeFolder(dir.native("sub"));

    std::error_code why;
    EXPECT_FALSE(writeFileReplacing(dir.system("locked.xml"), "<new/>", &why));
    EXPECT_EQ(why, std::errc::permission_denied);
    EXPECT_FALSE(writeFileReplacing(dir.system("sub"), "x"));
    EXPECT_FALSE(writeFileReplacing(dir.system("missing/file.xml"), "x"));
    EXPECT_EQ(treeOf(dir.path()), (Tree{"locked.xml=<old/> (read-only)", "sub/"}));
}

TEST_F(FileSystemTest, ReplaceFile_MovesOverAWritableTarget_AndRefusesAReadOnlyOne) {
    writeFile(dir.native("new.tmp"), "new");
    writeFile(dir.native("target.xml"), "old");
    writeFile(dir.native("other.tmp"), "other");
    writeFile(dir.native("locked.xml"), "locked");
    setReadOnly(dir.native("locked.xml"), true);

    EXPECT_TRUE(replaceFile(dir.system("new.tmp"), dir.system("target.xml")));
    EXPECT_FALSE(replaceFile(dir.system("other.tmp"), dir.system("locked.xml")));
    EXPECT_EQ(treeOf(dir.path()), (Tree{"locked.xml=locked (read-only)", "other.tmp=other", "target.xml=new"}));
}

TEST_F(FileSystemTest, ReadFile_ReadsWholeContent_AndFailsForMissingFile) {
    const std::string bytes = std::string("line\r\n\0binary", 14) + std::string(200000, 'z');
    writeFile(dir.native("data.bin"), bytes);
    std::string read;
    ASSERT_TRUE(platform::readFile(dir.system("data.bin"), read));
    EXPECT_EQ(read, bytes);
    EXPECT_FALSE(platform::readFile(dir.system("missing.bin"), read));
}

// A file over the limit is refused before a byte of it is read; a sparse
// file takes no room on disk.
TEST_F(FileSystemTest, ReadFile_RefusesAFileLargerThanTheLimit_WithItsReason) {
    writeFile(dir.native("huge.xml"), "<a/>");
    fs::resize_file(dir.native("huge.xml"), maxReadSize + 1);
    std::string read = "kept";
    std::error_code why;
    EXPECT_FALSE(platform::readFile(dir.system("huge.xml"), read, &why));
    EXPECT_EQ(why, FileError::tooLarge);
    EXPECT_EQ(why.message(), "larger than the 256 MiB a file may have to be read");
    EXPECT_EQ(read, "kept");
}

// A device or a pipe has no end to read to, or makes the read wait for a
// writer: it is refused at once, and never copied.
TEST_F(FileSystemTest, ReadAndCopy_RefuseADeviceOrAPipe_AtOnce) {
#ifdef _WIN32
    const std::vector<std::wstring> devices = {L"NUL", L"\\\\.\\NUL"};
#else
    // The pipe lies outside the folder listed below: listing it would read it.
    ASSERT_EQ(::mkfifo(outside.native("pipe").c_str(), 0644), 0);
    const std::vector<std::wstring> devices = {L"\\dev\\zero", L"\\dev\\null", outside.system("pipe")};
#endif
    for (const std::wstring& device : devices) {
        SCOPED_TRACE(toUtf8(device));
        std::string read;
        std::error_code why;
        EXPECT_FALSE(platform::readFile(device, read, &why));
        EXPECT_EQ(why, FileError::notRegularFile);
        EXPECT_FALSE(copyFile(device, dir.system("copy.xml"), FailIfExists::yes));
    }
    EXPECT_TRUE(treeOf(dir.path()).empty());
}

#ifndef _WIN32
// A new file is made with the permissions it is to have, and they are set
// only where the umask withheld some: copies, by path or by name, get the
// source's whole, and a save keeps those of the file it replaces.
TEST_F(FileSystemTest, CopiesAndSaves_KeepThePermissionsWhole_WhereTheUmaskWithholdsSome) {
    constexpr mode_t shared = 0664;
    for (const char* name : {"source.xml", "saved.xml", "replaced.xml"}) {
        writeFile(dir.native(name), "old");
        ASSERT_EQ(::chmod(dir.native(name).c_str(), shared), 0);
    }
    makeFolder(dir.native("by name"));

    const mode_t umaskBefore = ::umask(077);
    EXPECT_TRUE(copyFile(dir.system("source.xml"), dir.system("new.xml"), FailIfExists::yes));
    EXPECT_TRUE(copyFile(dir.system("source.xml"), dir.system("replaced.xml"), FailIfExists::no));
    EXPECT_TRUE(writeFileReplacing(dir.system("saved.xml"), "new"));
    const OpenFolder source(dir.system());
    EXPECT_TRUE(OpenFolder(dir.system("by name\\")).copyNewFile(source, L"source.xml"));
    EXPECT_TRUE(writeFileReplacing(dir.system("created.xml"), "new"));
    ::umask(umaskBefore);

    const auto permissions = [&](const std::string& name) {
        struct stat status {};
        EXPECT_EQ(::stat(dir.native(name).c_str(), &status), 0) << name;
        return status.st_mode & 07777;
    };
    for (const char* name : {"new.xml", "replaced.xml", "saved.xml", "by name/source.xml"})
        EXPECT_EQ(permissions(name), shared) << name;
    EXPECT_EQ(permissions("created.xml"), 0600u) << "a file new to its place gets what the umask leaves";
}
#endif

// --- What killed saves leave, and failures at any call ---

// No system gives a process this id.
const std::string goneProcess = "2147483644";

// A save finds the files that killed saves left in its folder, named after
// their writer (".NAME.PID-N.tmp"): those whose process no longer runs go,
// read-only or not, whichever file they were for. This process's own, other
// folders' and files of any other name stay.
TEST_F(FileSystemTest, WriteFileReplacing_RemovesTheTemporaryFilesOfProcessesGone_FromItsFolder) {
    const std::string own = std::to_string(currentProcessId());
    writeFile(dir.native(".Display.xml." + goneProcess + "-0.tmp"), "torn");
    writeFile(dir.native(".Draw_Common.xml." + goneProcess + "-12.tmp"), "torn");
    setReadOnly(dir.native(".Draw_Common.xml." + goneProcess + "-12.tmp"), true);
    writeFile(dir.native(".Display.xml." + own + "-7.tmp"), "in the making");
    writeFile(dir.native("Sub/.Display.xml." + goneProcess + "-1.tmp"), "torn elsewhere");
    const std::vector<std::string> others = {"Display.xml.tmp", ".Display.xml.x-0.tmp",
                                             ".Display.xml." + goneProcess + ".tmp", ".7-0.tmp",
                                             "notes." + goneProcess + "-0.tmp", ".notes." + goneProcess + "-0.txt"};
    for (const std::string& name : others)
        writeFile(dir.native(name), "the user's");
    writeFile(dir.native("Display.xml"), "old");

    ASSERT_TRUE(writeFileReplacing(dir.system("Display.xml"), "new"));

    Tree expected = {".Display.xml." + own + "-7.tmp=in the making", "Display.xml=new", "Sub/",
                     "Sub/.Display.xml." + goneProcess + "-1.tmp=torn elsewhere"};
    for (const std::string& name : others)
        expected.push_back(name + "=the user's");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(treeOf(dir.path()), expected);
}

// Every counted call of a save and of the replacing copies is made to fail in
// turn, until one runs without reaching the failure: each failure leaves
// the old file, read-only source and all, and nothing beside it.
TEST_F(FileSystemTest, SaveAndReplacingCopy_LeaveTheOldFileAndNothingElse_WhicheverCallFails) {
    const std::pair<const char*, std::function<bool(const TempFolder&)>> operations[] = {
        {"save", [](const TempFolder& folder) { return writeFileReplacing(folder.system("target.xml"), "new"); }},
        {"save in pieces",
         [](const TempFolder& folder) {
             return writeFileReplacingWith(folder.system("target.xml"), [](FileWriter& writer) {
                 return writer.write("n") && writer.write("e") && writer.write("w");
             });
         }},
        {"replacing copy",
         [](const TempFolder& folder) {
             return copyFile(folder.system("source.xml"), folder.system("target.xml"), FailIfExists::no);
         }},
        // Given the target's own attributes: the read-only source's never show.
        {"copy as the target",
         [](const TempFolder& folder) {
             return copyFileAs(folder.system("source.xml"), folder.system("target.xml"), attrArchive);
         }},
    };
    for (const auto& [name, operation] : operations) {
        for (std::uint64_t n = 1;; ++n) {
            SCOPED_TRACE(std::string(name) + ", call " + std::to_string(n) + " fails");
            TempFolder folder;
            writeFile(folder.native("source.xml"), "new");
            setReadOnly(folder.native("source.xml"), true);
            writeFile(folder.native("target.xml"), "old");

            armFault(n, std::errc::no_space_on_device);
            const bool done = operation(folder);
            const bool failed = failedFileCall().has_value();
            disarmFault();

            const std::string copied =
                std::string(name) == "replacing copy" ? "target.xml=new (read-only)" : "target.xml=new";
            EXPECT_EQ(done, !failed);
            EXPECT_EQ(treeOf(folder.path()), (Tree{"source.xml=new (read-only)", failed ? "target.xml=old" : copied}));
            if (!failed)
                break;
        }
    }
}

// A copy to a new file is written beside and moved into place: whichever
// call fails, or wherever a process is killed, the destination is either
// missing or whole, never torn (a later run would keep a torn one, as it
// keeps every file that exists). A stale file of a killed copy goes.
TEST_F(FileSystemTest, NewFileCopy_LeavesNoDestinationOrAWholeOne_WhicheverCallFails) {
    for (std::uint64_t n = 1;; ++n) {
        SCOPED_TRACE("call " + std::to_string(n) + " fails");
        TempFolder folder;
        writeFile(folder.native("source.xml"), "new");
        setReadOnly(folder.native("source.xml"), true);
        writeFile(folder.native(".target.xml." + goneProcess + "-0.tmp"), "torn");

        armFault(n, std::errc::no_space_on_device);
        const bool done = copyFile(folder.system("source.xml"), folder.system("target.xml"), FailIfExists::yes);
        const bool failed = failedFileCall().has_value();
        disarmFault();

        Tree expected = {"source.xml=new (read-only)"};
        if (done)
            expected.push_back("target.xml=new (read-only)");
        Tree tree = treeOf(folder.path());
        if (!failed) { // and the killed copy's file is gone
            EXPECT_TRUE(done);
            EXPECT_EQ(tree, expected);
            break;
        }
        // A failed clean-up may leave the killed copy's file, never one of its own.
        tree.erase(std::remove(tree.begin(), tree.end(), ".target.xml." + goneProcess + "-0.tmp=torn"), tree.end());
        EXPECT_EQ(tree, expected);
    }
}

// --- Attributes and times ---

TEST_F(FileSystemTest, FindFilesAndGetAttributes_DescribeEntriesAsThemselves_InCaseInsensitiveOrder) {
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
    for (const FolderEntry& entry : expected) {
        std::uint32_t attributes = 0;
        EXPECT_TRUE(getAttributes(dir.system() + entry.name, attributes));
        EXPECT_EQ(attributes, entry.attributes) << toNativePath(entry.name);
    }
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

TEST_F(FileSystemTest, FileStatus_KeepsTimeTo100Nanoseconds_AroundThePosixEpoch_AndZeroLeavesIt) {
    writeFile(dir.native("file.txt"), "");
    for (const FileTime time : {someTime, justBefore1970}) {
        setLastWrite(dir.system("file.txt"), time);
        EXPECT_EQ(statusOf(dir.system("file.txt")).lastWrite, time);
    }
    ASSERT_TRUE(setFileStatus(dir.system("file.txt"), FileStatus{0, attrReadOnly}));
    EXPECT_EQ(statusOf(dir.system("file.txt")).lastWrite, justBefore1970);
    EXPECT_TRUE(isReadOnly(dir.native("file.txt")));
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

// --- Folder listings ---

TEST_F(FileSystemTest, FindFiles_MatchesWildcardsWithoutRegardToCase_AndFailsWhereThereIsNoFolder) {
    for (const char* name : {"a.xml", "B.Xml", "c.xmlx", "d.XML.bak", "readme", "ab.txt"})
        writeFile(dir.native(name), "");
    using Names = std::vector<std::wstring>;
    const std::pair<const char*, Names> cases[] = {
        {"*.XML", {L"a.xml", L"B.Xml"}},
        {"?.x*", {L"a.xml", L"B.Xml", L"c.xmlx", L"d.XML.bak"}},
        {"*.x?l", {L"a.xml", L"B.Xml"}},
        {"*X*L*", {L"a.xml", L"B.Xml", L"c.xmlx", L"d.XML.bak"}},
        {"README", {L"readme"}},
        {"a?.txt", {L"ab.txt"}},
        {"*.*", {L"a.xml", L"ab.txt", L"B.Xml", L"c.xmlx", L"d.XML.bak", L"readme"}},
        {"*.json", {}},
    };
    for (const auto& [pattern, expected] : cases) {
        std::vector<FolderEntry> entries;
        EXPECT_TRUE(findFiles(dir.system(pattern), entries)) << pattern;
        Names names;
        for (const FolderEntry& entry : entries)
            names.push_back(entry.name);
        EXPECT_EQ(names, expected) << pattern;
    }
    std::vector<FolderEntry> entries;
    EXPECT_FALSE(findFiles(dir.system("missing/*.*"), entries));
    EXPECT_FALSE(findFiles(dir.system("a.xml/*.*"), entries));
    EXPECT_TRUE(entries.empty());
}

TEST_F(FileSystemTest, FindFiles_FoldsNonAsciiLetters_AsWindowsDoes) {
    for (const char* name : {"été.xml", "Été2.xml", "ÉCOLE.txt", "москва.txt", "straße.txt", "ǆ.txt", "ı.txt"})
        writeFile(dir.path() / fs::u8path(name), "");
    using Names = std::vector<std::string>;
    const std::pair<const char*, Names> cases[] = {
        {"É*", {"ÉCOLE.txt", "été.xml", "Été2.xml"}},
        {"ÉTÉ.XML", {"été.xml"}},
        {"*.*", {"straße.txt", "ÉCOLE.txt", "été.xml", "Été2.xml", "ı.txt", "ǆ.txt", "москва.txt"}},
        {"МОСКВА.*", {"москва.txt"}},
        {"Ǆ.TXT", {"ǆ.txt"}},
        {"STRASSE.txt", {}},
        {"I.txt", {}},
    };
    for (const auto& [pattern, expected] : cases) {
        std::vector<FolderEntry> entries;
        EXPECT_TRUE(findFiles(dir.system() + fromUtf8(pattern), entries)) << pattern;
        Names names;
        for (const FolderEntry& entry : entries)
            names.push_back(toUtf8(entry.name));
        EXPECT_EQ(names, expected) << pattern;
    }
}

// --- Folders ---

TEST_F(FileSystemTest, MakeAndRemoveFolder_HandleOneEmptyFolder_AndNothingElse) {
    EXPECT_TRUE(platform::makeFolder(dir.system("new/")));
    EXPECT_FALSE(platform::makeFolder(dir.system("new/")));
    EXPECT_FALSE(platform::makeFolder(dir.system("missing/child/")));
    writeFile(dir.native("new/file.txt"), "");
    EXPECT_FALSE(removeFolder(dir.system("new")));
    EXPECT_FALSE(removeFolder(dir.system("new/file.txt")));
    EXPECT_EQ(treeOf(dir.path()), (Tree{"new/", "new/file.txt="}));
    ASSERT_TRUE(deleteFile(dir.system("new/file.txt")));
    EXPECT_TRUE(removeFolder(dir.system("new")));
    EXPECT_TRUE(treeOf(dir.path()).empty());
}

// --- Path mapping ---

TEST(PathMappingTest, SystemAndNativePaths_MapOntoEachOther_KeepingTrailingSeparatorsAndNonAsciiNames) {
    const std::pair<std::wstring, fs::path> cases[] = {
        {L"\\tmp\\x\\", "/tmp/x/"},
        {L"Config\\Display.xml", "Config/Display.xml"},
        {L"", ""},
        {L"\\tmp\\\u8a2d\u5b9a\\\u00e9t\u00e9.xml", fs::u8path("/tmp/\xe8\xa8\xad\xe5\xae\x9a/\xc3\xa9t\xc3\xa9.xml")},
    };
    for (const auto& [system, native] : cases) {
        EXPECT_EQ(toNativePath(system), native) << native;
        EXPECT_EQ(toSystemPath(native), system) << native;
    }
}

} // namespace
} // namespace tern::platform
