#include "update/folder_tree.h"

#include "platform/file_system.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace tern::update {
namespace {

using test::isReadOnly;
using test::readFile;
using test::setReadOnly;
using test::TempFolder;
using test::writeFile;
using Tree = std::vector<std::string>;

// The whole tree below a folder, one line per entry in path order: "a/" for
// a folder, "a@" for a link (never followed), "a=text" for a file and its
// content, with " (read-only)" after a read-only file.
Tree treeOf(const fs::path& root) {
    Tree tree;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        const std::string name = it->path().lexically_relative(root).generic_string();
        if (it->is_symlink())
            tree.push_back(name + "@");
        else if (it->is_directory())
            tree.push_back(name + "/");
        else
            tree.push_back(name + "=" + readFile(it->path()) + (isReadOnly(it->path()) ? " (read-only)" : ""));
    }
    std::sort(tree.begin(), tree.end());
    return tree;
}

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
        fs::create_directories(dir.native(folder + "/Sub/Deeper"));
        fs::create_directory_symlink(outside.native("Secret"), dir.native(folder + "/Sub/Deeper/ToOutside"));
        fs::create_symlink(outside.native("note.txt"), dir.native(folder + "/Sub/ToFile"));
    }

    const Tree outsideTree{"Secret/", "Secret/keep.txt=outside", "note.txt=note"};

    TempFolder dir;
    TempFolder outside;
};

// --- createFolderTree ---

TEST_F(FolderTreeTest, CreateFolderTree_YieldsTrue_WhenFolderExists) {
    writeFile(dir.native("Existing/file.txt"), "x");
    EXPECT_TRUE(createFolderTree(dir.system("Existing/").c_str(), 0));
    EXPECT_TRUE(createFolderTree(dir.system("Existing").c_str(), 4));
    EXPECT_EQ(treeOf(dir.path()), (Tree{"Existing/", "Existing/file.txt=x"}));
}

TEST_F(FolderTreeTest, CreateFolderTree_CreatesMissingAncestors_UpToDepth) {
    EXPECT_TRUE(createFolderTree(dir.system("a/b/c/").c_str(), 2));
    EXPECT_TRUE(createFolderTree(dir.system("a/x").c_str(), 4));
    EXPECT_EQ(treeOf(dir.path()), (Tree{"a/", "a/b/", "a/b/c/", "a/x/"}));
}

TEST_F(FolderTreeTest, CreateFolderTree_YieldsFalse_WhenMoreAncestorsAreMissingThanDepthAllows) {
    EXPECT_FALSE(createFolderTree(dir.system("a/b/c/").c_str(), 1));
    EXPECT_FALSE(createFolderTree(dir.system("missing/child").c_str(), 0));
    EXPECT_TRUE(treeOf(dir.path()).empty());
}

TEST_F(FolderTreeTest, CreateFolderTree_YieldsFalse_ForNullEmptyNegativeDepthOrNoParent) {
    fs::create_directory(dir.native("Existing"));
    EXPECT_FALSE(createFolderTree(nullptr, 1));
    EXPECT_FALSE(createFolderTree(L"", 1));
    EXPECT_FALSE(createFolderTree(dir.system("New").c_str(), -1));
    EXPECT_FALSE(createFolderTree(dir.system("Existing").c_str(), -1));
    EXPECT_FALSE(createFolderTree(L"x", 1));
    EXPECT_FALSE(createFolderTree(L"relative", 1));
    EXPECT_EQ(treeOf(dir.path()), Tree{"Existing/"});
}

TEST_F(FolderTreeTest, CreateFolderTree_CreatesPathOf260Characters_ButNot261) {
    const std::string longest = pathOfLength("", 260);
    const std::string tooLong = pathOfLength("", 261);
    const std::string existingTooLong = pathOfLength("", 262);
    fs::create_directory(dir.native(existingTooLong));

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
    fs::create_directories(dir.native("src/Sub/Empty"));
    writeFile(dir.native("dst/a.txt"), "mine");

    EXPECT_TRUE(copyFolderTree(dir.system("dst").c_str(), dir.system("src").c_str()));
    EXPECT_EQ(treeOf(dir.native("dst")),
              (Tree{"Sub/", "Sub/Empty/", "Sub/b.txt=b", "a.txt=mine", "locked.txt=locked (read-only)"}));
}

TEST_F(FolderTreeTest, CopyFolderTree_CreatesDestination_WhenSourceIsEmpty) {
    fs::create_directory(dir.native("src"));
    EXPECT_TRUE(copyFolderTree(dir.system("dst/").c_str(), dir.system("src/").c_str()));
    EXPECT_EQ(treeOf(dir.path()), (Tree{"dst/", "src/"}));
}

TEST_F(FolderTreeTest, CopyFolderTree_YieldsFalse_WhenSourceIsNotAFolder) {
    writeFile(dir.native("file.txt"), "x");
    EXPECT_FALSE(copyFolderTree(dir.system("dst").c_str(), dir.system("missing").c_str()));
    EXPECT_FALSE(copyFolderTree(dir.system("dst").c_str(), dir.system("file.txt").c_str()));
    EXPECT_FALSE(copyFolderTree(dir.system("dst").c_str(), nullptr));
    EXPECT_FALSE(copyFolderTree(nullptr, dir.system("").c_str()));
    EXPECT_FALSE(copyFolderTree(L"", dir.system("").c_str()));
    EXPECT_EQ(treeOf(dir.path()), Tree{"file.txt=x"});
}

TEST_F(FolderTreeTest, CopyFolderTree_CreatesOnlyOneLevelOfDestination) {
    writeFile(dir.native("src/a.txt"), "a");
    EXPECT_FALSE(copyFolderTree(dir.system("missing/dst").c_str(), dir.system("src").c_str()));
    EXPECT_EQ(treeOf(dir.path()), (Tree{"src/", "src/a.txt=a"}));
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

TEST_F(FolderTreeTest, CopyFolderTree_RefusesDestinationInsideSource) {
    writeFile(dir.native("src/Sub/b.txt"), "b");
    const Tree before = treeOf(dir.path());

    EXPECT_FALSE(copyFolderTree(dir.system("src/Sub/Copy").c_str(), dir.system("src").c_str()));
    EXPECT_FALSE(copyFolderTree(dir.system("SRC/Sub/../Copy/").c_str(), dir.system("src/").c_str()));
    EXPECT_FALSE(copyFolderTree(dir.system("src").c_str(), dir.system("src").c_str()));
    EXPECT_EQ(treeOf(dir.path()), before);
}

TEST_F(FolderTreeTest, CopyFolderTree_AcceptsSiblingWhoseNameStartsLikeTheSource) {
    writeFile(dir.native("src/a.txt"), "a");
    EXPECT_TRUE(copyFolderTree(dir.system("src2").c_str(), dir.system("src").c_str()));
    EXPECT_EQ(treeOf(dir.native("src2")), Tree{"a.txt=a"});
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
    EXPECT_TRUE(treeOf(dir.native("dst1")).empty());
    EXPECT_FALSE(fs::exists(dir.native("dst2")));
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

TEST_F(FolderTreeTest, DeleteFolderContents_YieldsFalse_WhenNotRecursiveAndOnlySubFolders) {
    writeFile(dir.native("Sub/a.txt"), "a");
    fs::create_directory(dir.native("Empty"));
    const Tree before = treeOf(dir.path());

    EXPECT_FALSE(deleteFolderContents(dir.system("").c_str(), false, false));
    EXPECT_EQ(treeOf(dir.path()), before);
}

TEST_F(FolderTreeTest, DeleteFolderContents_DeletesTopFilesOnly_WhenNotRecursive) {
    writeFile(dir.native("a.txt"), "a");
    writeFile(dir.native("locked.txt"), "locked");
    setReadOnly(dir.native("locked.txt"), true);
    writeFile(dir.native("Sub/b.txt"), "b");

    EXPECT_TRUE(deleteFolderContents(dir.system("").c_str(), false, false));
    EXPECT_EQ(treeOf(dir.path()), (Tree{"Sub/", "Sub/b.txt=b", "locked.txt=locked (read-only)"}));
}

TEST_F(FolderTreeTest, DeleteFolderContents_ForcesTopLevelReadOnlyFiles_ButNotNestedOnes) {
    writeFile(dir.native("top.txt"), "top");
    setReadOnly(dir.native("top.txt"), true);
    writeFile(dir.native("plain.txt"), "plain");
    writeFile(dir.native("Sub/locked.txt"), "locked");
    setReadOnly(dir.native("Sub/locked.txt"), true);
    writeFile(dir.native("Sub/other.txt"), "other");
    writeFile(dir.native("Gone/Deeper/d.txt"), "d");

    EXPECT_TRUE(deleteFolderContents(dir.system("").c_str(), true, true));
    EXPECT_EQ(treeOf(dir.path()), (Tree{"Sub/", "Sub/locked.txt=locked (read-only)"}));
}

TEST_F(FolderTreeTest, DeleteFolderContents_YieldsTrue_WhenOnlyNestedFilesWereAttempted) {
    writeFile(dir.native("Sub/a.txt"), "a");
    EXPECT_TRUE(deleteFolderContents(dir.system("").c_str(), true, false));
    EXPECT_TRUE(treeOf(dir.path()).empty());
}

TEST_F(FolderTreeTest, DeleteFolderContents_RemovesLinksAsEntries_LeavingTheirTargets) {
    plantLinksOutside("Tree");
    EXPECT_TRUE(deleteFolderContents(dir.system("Tree").c_str(), true, true));
    EXPECT_TRUE(treeOf(dir.native("Tree")).empty());
    EXPECT_EQ(treeOf(outside.path()), outsideTree);
}

TEST_F(FolderTreeTest, DeleteFolderContents_KeepsLinkToFolder_WhenNotRecursive) {
    writeFile(outside.native("Secret/keep.txt"), "outside");
    writeFile(outside.native("note.txt"), "note");
    fs::create_directory_symlink(outside.native("Secret"), dir.native("ToOutside"));
    fs::create_symlink(outside.native("note.txt"), dir.native("ToFile"));

    EXPECT_TRUE(deleteFolderContents(dir.system("").c_str(), false, false));
    EXPECT_EQ(treeOf(dir.path()), Tree{"ToOutside@"});
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
