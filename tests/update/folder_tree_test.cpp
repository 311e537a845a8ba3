#include "update/folder_tree.h"

#include "platform/file_system.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace tern::update {
namespace {

using test::makeFolder;
using test::setReadOnly;
using test::TempFolder;
using test::Tree;
using test::treeOf;
using test::writeFile;

class FolderTreeTest : public ::testing::Test {
protected:
    // A relative path below the test folder, `prefix` followed by a long
    // name, whose system path is exactly `length` characters.
    std::string pathOfLength(const std::string& prefix, std::size_t length) const {
        return prefix + std::string(length - dir.system(prefix).size(), 'n');
    }

    // A link to a folder and a link to a file, both outside the test folder,
    // at the bottom of `folder`'s tree: what a careless walk would follow.
    void plantLinksOutside(const std::string& folder) {
        writeFile(outside.native("Secret/keep.txt"), "outside");
        writeFile(outside.native("note.txt"), "note");
        makeFolder(dir.native(folder + "/Sub/Deeper"));
        fs::create_directory_symlink(outside.native("Secret"), dir.native(folder + "/Sub/Deeper/ToOutside"));
        fs::create_symlink(outside.native("note.txt"), dir.native(folder + "/Sub/ToFile"));
    }

    const Tree outsideTree{"Secret/", "Secret/keep.txt=outside", "note.txt=note"};

    TempFolder dir;
    TempFolder outside;
};

// --- createFolderTree ---

TEST_F(FolderTreeTest, CreateFolderTree_MakesUpToDepthMissingAncestors_AndAcceptsAnExistingFolder) {
    writeFile(dir.native("Existing/file.txt"), "x");
    struct Case {
        std::wstring path;
        int depth;
        bool result;
    };
    const Case cases[] = {
        {dir.system("Existing/"), 0, true},
        {dir.system("Existing"), 4, true},
        {dir.system("a/b/c/"), 2, true},
        {dir.system("a/x"), 4, true},
        {dir.system("m/n/o/"), 1, false},
        {dir.system("missing/child"), 0, false},
        {dir.system("Existing"), -1, false},
        {dir.system("New"), -1, false},
        {L"", 1, false},
        {L"relative", 1, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(createFolderTree(c.path.c_str(), c.depth), c.result) << fs::path(c.path) << " depth " << c.depth;
    EXPECT_FALSE(createFolderTree(nullptr, 1));
    EXPECT_EQ(treeOf(dir.path()), (Tree{"Existing/", "Existing/file.txt=x", "a/", "a/b/", "a/b/c/", "a/x/"}));
}

TEST_F(FolderTreeTest, CreateFolderTree_CreatesPathOf260Characters_ButNot261) {
    const std::string longest = pathOfLength("", 260);
    const std::string tooLong = pathOfLength("", 261);
    const std::string existingTooLong = pathOfLength("", 262);
    makeFolder(dir.native(existingTooLong));

    EXPECT_TRUE(createFolderTree(dir.system(longest).c_str(), 1));
    EXPECT_FALSE(createFolderTree(dir.system(tooLong).c_str(), 1));
    EXPECT_FALSE(createFolderTree(dir.system(existingTooLong).c_str(), 0));
    EXPECT_EQ(treeOf(dir.path()), (Tree{longest + "/", existingTooLong + "/"}));
}

// --- copyFolderTree ---

TEST_F(FolderTreeTest, CopyFolderTree_CopiesFilesAndSubFolders_KeepingDestinationFiles) {
    writeFile(dir.native("src/a.txt"), "new a");
    writeFile(dir.native("src/locked.txt"), "locked");
    setReadOnly(dir.native("src/locked.txt"), true);
    writeFile(dir.native("src/Sub/b.txt"), "b");
    makeFolder(dir.native("src/Sub/Empty"));
    // A sibling whose name starts like the source's is no folder inside it.
    writeFile(dir.native("src2/a.txt"), "mine");

    EXPECT_TRUE(copyFolderTree(dir.system("src2").c_str(), dir.system("src").c_str()));
    EXPECT_EQ(treeOf(dir.native("src2")),
              (Tree{"Sub/", "Sub/Empty/", "Sub/b.txt=b", "a.txt=mine", "locked.txt=locked (read-only)"}));
}

TEST_F(FolderTreeTest, CopyFolderTree_CreatesDestination_WhenSourceIsEmpty) {
    makeFolder(dir.native("src"));
    EXPECT_TRUE(copyFolderTree(dir.system("dst/").c_str(), dir.system("src/").c_str()));
    EXPECT_EQ(treeOf(dir.path()), (Tree{"dst/", "src/"}));
}

TEST_F(FolderTreeTest, CopyFolderTree_ChangesNothing_ForABadSourceOrADestinationTooDeepOrInsideTheSource) {
    writeFile(dir.native("file.txt"), "x");
    writeFile(dir.native("src/Sub/b.txt"), "b");
    const Tree before = treeOf(dir.path());
    const std::pair<std::wstring, std::wstring> cases[] = {
        {dir.system("dst"), dir.system("missing")},
        {dir.system("dst"), dir.system("file.txt")},
        {L"", dir.system("src")},
        {dir.system("missing/dst"), dir.system("src")},
        {dir.system("src/Sub/Copy"), dir.system("src")},
        {dir.system("src/Sub/../Copy/"), dir.system("src/")},
        {dir.system("src"), dir.system("src")},
    };
    for (const auto& [destination, source] : cases)
        EXPECT_FALSE(copyFolderTree(destination.c_str(), source.c_str())) << fs::path(destination);
    EXPECT_FALSE(copyFolderTree(dir.system("dst").c_str(), nullptr));
    EXPECT_FALSE(copyFolderTree(nullptr, dir.system("src").c_str()));
    EXPECT_EQ(treeOf(dir.path()), before);
}

// "case" and "Case" are one folder on Windows, where a copy from one into
// the other would never end, and two on a case-sensitive file system.
TEST_F(FolderTreeTest, CopyFolderTree_TellsFoldersApartByCase_OnlyWhereTheFileSystemDoes) {
    writeFile(dir.native("probe"), "");
    const bool caseSensitive = !platform::exists(dir.system("PROBE"));
    writeFile(dir.native("Case/a.txt"), "a");
    makeFolder(dir.native("case"));
    const Tree before = treeOf(dir.path());

    const bool copied = copyFolderTree(dir.system("case/Copy").c_str(), dir.system("Case").c_str());
    EXPECT_EQ(copied, caseSensitive);
    if (caseSensitive)
        EXPECT_EQ(treeOf(dir.path()), (Tree{"Case/", "Case/a.txt=a", "case/", "case/Copy/", "case/Copy/a.txt=a",
                                            "probe="}));
    else
        EXPECT_EQ(treeOf(dir.path()), before);
}

TEST_F(FolderTreeTest, CopyFolderTree_YieldsFalse_WhenASubFolderCannotBeCopied_ButCopiesTheRest) {
    writeFile(dir.native("src/a.txt"), "a");
    writeFile(dir.native("src/Sub/Deeper/c.txt"), "c");
    writeFile(dir.native("dst/Sub"), "a file where the source has a folder");

    EXPECT_FALSE(copyFolderTree(dir.system("dst").c_str(), dir.system("src").c_str()));
    EXPECT_EQ(treeOf(dir.native("dst")), (Tree{"Sub=a file where the source has a folder", "a.txt=a"}));
}

TEST_F(FolderTreeTest, CopyFolderTree_NeverCopiesThroughLinks) {
    writeFile(dir.native("src/Sub/b.txt"), "b");
    plantLinksOutside("src");

    EXPECT_TRUE(copyFolderTree(dir.system("dst").c_str(), dir.system("src").c_str()));
    EXPECT_EQ(treeOf(dir.native("dst")), (Tree{"Sub/", "Sub/Deeper/", "Sub/b.txt=b"}));
    EXPECT_EQ(treeOf(outside.path()), outsideTree);
}

TEST_F(FolderTreeTest, CopyFolderTree_RefusesADestinationInsideTheSource_ReachedThroughALink) {
    writeFile(dir.native("src/Sub/b.txt"), "b");
    makeFolder(dir.native("elsewhere"));
    fs::create_directory_symlink(dir.native("src"), dir.native("ToSource"));
    fs::create_directory_symlink(dir.native("src/Sub"), dir.native("elsewhere/ToSub"));
    const Tree before = treeOf(dir.path());

    EXPECT_FALSE(copyFolderTree(dir.system("ToSource/Copy").c_str(), dir.system("src").c_str()));
    EXPECT_FALSE(copyFolderTree(dir.system("elsewhere/ToSub/Copy").c_str(), dir.system("src").c_str()));
    EXPECT_FALSE(copyFolderTree(dir.system("elsewhere/ToSub").c_str(), dir.system("ToSource").c_str()));
    EXPECT_EQ(treeOf(dir.path()), before);
}

TEST_F(FolderTreeTest, CopyFolderTree_AcceptsSourceOf260Characters_ButNot261) {
    // The files inside either source lie beyond the limit, so only the
    // destination folder itself tells the two apart.
    const std::string longest = pathOfLength("", 260);
    const std::string tooLong = pathOfLength("", 261);
    writeFile(dir.native(longest + "/a.txt"), "a");
    writeFile(dir.native(tooLong + "/a.txt"), "a");

    EXPECT_TRUE(copyFolderTree(dir.system("dst1").c_str(), dir.system(longest).c_str()));
    EXPECT_FALSE(copyFolderTree(dir.system("dst2").c_str(), dir.system(tooLong).c_str()));
    EXPECT_EQ(treeOf(dir.path()), (Tree{"dst1/", longest + "/", longest + "/a.txt=a", tooLong + "/",
                                        tooLong + "/a.txt=a"}));
}

TEST_F(FolderTreeTest, CopyFolderTree_LeavesOutFiles_WhosePathWouldExceed260Characters) {
    const std::string longest = pathOfLength("dst/", 260);
    const std::string name = longest.substr(4);
    writeFile(dir.native("src/" + name), "fits");
    writeFile(dir.native("src/" + name + "x"), "too long");

    EXPECT_TRUE(copyFolderTree(dir.system("dst").c_str(), dir.system("src").c_str()));
    EXPECT_EQ(treeOf(dir.native("dst")), Tree{name + "=fits"});
}

// --- deleteFolderContents ---

TEST_F(FolderTreeTest, DeleteFolderContents_DeletesWhatTheFlagsAsk_ForcingOnlyTopLevelReadOnlyFiles) {
    struct Case {
        bool recursive;
        bool forceReadOnly;
        Tree after;
    };
    const Case cases[] = {
        {false, false,
         {"Empty/", "Gone/", "Gone/Deeper/", "Gone/Deeper/d.txt=d", "Sub/", "Sub/b.txt=b",
          "Sub/locked.txt=locked (read-only)", "top.txt=top (read-only)"}},
        {false, true,
         {"Empty/", "Gone/", "Gone/Deeper/", "Gone/Deeper/d.txt=d", "Sub/", "Sub/b.txt=b",
          "Sub/locked.txt=locked (read-only)"}},
        {true, false, {"Sub/", "Sub/locked.txt=locked (read-only)", "top.txt=top (read-only)"}},
        {true, true, {"Sub/", "Sub/locked.txt=locked (read-only)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "recursive " << c.recursive << ", forceReadOnly " << c.forceReadOnly);
        TempFolder scratch;
        writeFile(scratch.native("top.txt"), "top");
        setReadOnly(scratch.native("top.txt"), true);
        writeFile(scratch.native("plain.txt"), "plain");
        writeFile(scratch.native("Sub/locked.txt"), "locked");
        setReadOnly(scratch.native("Sub/locked.txt"), true);
        writeFile(scratch.native("Sub/b.txt"), "b");
        writeFile(scratch.native("Gone/Deeper/d.txt"), "d");
        makeFolder(scratch.native("Empty"));

        EXPECT_TRUE(deleteFolderContents(scratch.system("").c_str(), c.recursive, c.forceReadOnly));
        EXPECT_EQ(treeOf(scratch.path()), c.after);
    }
}

TEST_F(FolderTreeTest, DeleteFolderContents_YieldsTrue_OnlyWhenSomeFileWasAttempted) {
    writeFile(dir.native("Sub/a.txt"), "a");
    makeFolder(dir.native("Empty"));
    EXPECT_FALSE(deleteFolderContents(dir.system("").c_str(), false, false));
    EXPECT_EQ(treeOf(dir.path()), (Tree{"Empty/", "Sub/", "Sub/a.txt=a"}));
    EXPECT_TRUE(deleteFolderContents(dir.system("").c_str(), true, false));
    EXPECT_TRUE(treeOf(dir.path()).empty());
}

TEST_F(FolderTreeTest, DeleteFolderContents_RemovesLinksAsEntries_LeavingTheirTargets) {
    plantLinksOutside("Tree");
    fs::create_directory_symlink(outside.native("Secret"), dir.native("Tree/ToOutside"));
    fs::create_symlink(outside.native("note.txt"), dir.native("Tree/ToFile"));

    // Without recursion a link to a folder counts as a sub-folder and stays.
    EXPECT_TRUE(deleteFolderContents(dir.system("Tree").c_str(), false, false));
    EXPECT_EQ(treeOf(dir.native("Tree")), (Tree{"Sub/", "Sub/Deeper/", "Sub/Deeper/ToOutside@", "Sub/ToFile@",
                                                "ToOutside@"}));
    EXPECT_TRUE(deleteFolderContents(dir.system("Tree").c_str(), true, true));
    EXPECT_TRUE(treeOf(dir.native("Tree")).empty());
    EXPECT_EQ(treeOf(outside.path()), outsideTree);
}

TEST_F(FolderTreeTest, DeleteFolderContents_SkipsFiles_WhosePathExceeds260Characters) {
    const std::string longest = pathOfLength("", 260);
    writeFile(dir.native(longest), "fits");
    writeFile(dir.native(longest + "x"), "too long");

    EXPECT_TRUE(deleteFolderContents(dir.system("").c_str(), false, false));
    EXPECT_EQ(treeOf(dir.path()), Tree{longest + "x=too long"});
}

TEST_F(FolderTreeTest, DeleteFolderContents_YieldsFalse_ForMissingFileOrTooLongFolder) {
    writeFile(dir.native("file.txt"), "x");
    const std::string tooLong = pathOfLength("", 261);
    writeFile(dir.native(tooLong + "/a.txt"), "a");

    EXPECT_FALSE(deleteFolderContents(nullptr, true, true));
    EXPECT_FALSE(deleteFolderContents(L"", true, true));
    EXPECT_FALSE(deleteFolderContents(dir.system("missing").c_str(), true, true));
    EXPECT_FALSE(deleteFolderContents(dir.system("file.txt").c_str(), true, true));
    EXPECT_FALSE(deleteFolderContents(dir.system(tooLong).c_str(), true, true));
    EXPECT_EQ(treeOf(dir.path()), (Tree{"file.txt=x", tooLong + "/", tooLong + "/a.txt=a"}));
}

} // namespace
} // namespace tern::update
