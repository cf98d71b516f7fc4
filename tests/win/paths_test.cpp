// The path and folder helpers against the real platform.
#include <gtest/gtest.h>

#include <string>

#include "fixtures.h"
#include "paths.h"

using fixtures::Exists;
using fixtures::IsFolder;
using fixtures::ScratchFolder;
using fixtures::WriteFileText;

namespace {

std::string Repeat(char c, size_t n) { return std::string(n, c); }

struct JoinCase {
    std::string folder, name, expected;
};

TEST(JoinPath, JoinsByTheBackslashRule)
{
    const JoinCase cases[] = {
        {"C:\\Program Files", "Fernwickhold", "C:\\Program Files\\Fernwickhold"},
        {"C:\\", "Uninst.ini", "C:\\Uninst.ini"},
        {"", "Uninst.ini", "\\Uninst.ini"},
        {"C:\\A", "", "C:\\A\\"},
        {"C:\\A\\", "", "C:\\A\\"},  // 5
        {"C:\\A", "\\b", "C:\\A\\\\b"},
        {"C:/A", "b", "C:/A\\b"},
        // Boundaries: 259 characters fit, 260 do not; nothing is ever cut.
        {Repeat('f', 257), "x", Repeat('f', 257) + "\\x"},
        {Repeat('f', 258), "x", ""},
        {Repeat('f', 257) + "\\", "x", Repeat('f', 257) + "\\x"},  // 10
        {"C:\\A", Repeat('n', 254), "C:\\A\\" + Repeat('n', 254)},
        {"C:\\A", Repeat('n', 255), ""},
        {Repeat('f', 300), "x", ""},
    };
    int row = 0;
    for (const JoinCase& c : cases) {
        row++;
        char result[PathSize];
        memset(result, 'z', sizeof result);
        BOOL joined = JoinPath(result, c.folder.c_str(), c.name.c_str());
        EXPECT_EQ(c.expected, result) << "row " << row;
        EXPECT_EQ(!c.expected.empty(), joined != FALSE) << "row " << row;

        // The result buffer may be the folder's own buffer.
        char inPlace[400] = {};
        memcpy(inPlace, c.folder.c_str(), c.folder.size() < PathSize ? c.folder.size() : 0);
        if (c.folder.size() < PathSize) {
            JoinPath(inPlace, inPlace, c.name.c_str());
            EXPECT_EQ(c.expected, inPlace) << "row " << row << " in place";
        }
    }
}

struct AppendCase {
    std::string text, expected;
};

TEST(AppendBackslash, AddsOneBackslashOrRefuses)
{
    const AppendCase cases[] = {
        {"C:\\Fernwickhold", "C:\\Fernwickhold\\"},
        {"C:\\Fernwickhold\\", "C:\\Fernwickhold\\"},
        {"", "\\"},
        {Repeat('a', 258), Repeat('a', 258) + "\\"},
        {Repeat('a', 259), ""},  // 5: the backslash does not fit
        {Repeat('a', 258) + "\\", Repeat('a', 258) + "\\"},
    };
    int row = 0;
    for (const AppendCase& c : cases) {
        row++;
        char text[PathSize];
        memset(text, 'z', sizeof text);
        memcpy(text, c.text.c_str(), c.text.size() + 1);
        AppendBackslash(text);
        EXPECT_EQ(c.expected, text) << "row " << row;
    }
}

TEST(AppendBackslash, EndsTheTextRightAfterTheBackslash)
{
    char text[PathSize] = "C:\\Fernwickhold\\Older\\Longer";
    text[15] = '\0';  // "C:\Fernwickhold" with an earlier, longer text behind it
    AppendBackslash(text);
    EXPECT_STREQ("C:\\Fernwickhold\\", text);
}

TEST(CreateDirectoryChain, CreatesEveryFolderUpToTheLastBackslash)
{
    ScratchFolder scratch("chain");
    CreateDirectoryChain((scratch / "A\\B\\file.txt").c_str());
    EXPECT_TRUE(IsFolder(scratch / "A"));
    EXPECT_TRUE(IsFolder(scratch / "A\\B"));
    EXPECT_FALSE(Exists(scratch / "A\\B\\file.txt"));

    CreateDirectoryChain((scratch / "C\\D").c_str());
    EXPECT_TRUE(IsFolder(scratch / "C"));
    EXPECT_FALSE(Exists(scratch / "C\\D"));

    CreateDirectoryChain((scratch / "E\\F\\").c_str());
    EXPECT_TRUE(IsFolder(scratch / "E\\F"));
}

TEST(CreateDirectoryChain, RefusesAPathTooLongRatherThanCreatingPartOfIt)
{
    ScratchFolder scratch("chain-long");
    std::string path = scratch / "Q\\";
    path += Repeat('x', 300 - path.size()) + "\\";
    CreateDirectoryChain(path.c_str());
    EXPECT_FALSE(Exists(scratch / "Q"));

    CreateDirectoryChain("");  // nothing to do, and nothing happens
}

// A folder a.txt, sub\b.txt, sub\deep\c.txt, .profile, .cache\x.txt.
void MakeTree(const std::string& root)
{
    CreateDirectoryA(root.c_str(), NULL);
    WriteFileText(root + "\\a.txt", "a");
    CreateDirectoryA((root + "\\sub").c_str(), NULL);
    WriteFileText(root + "\\sub\\b.txt", "b");
    CreateDirectoryA((root + "\\sub\\deep").c_str(), NULL);
    WriteFileText(root + "\\sub\\deep\\c.txt", "c");
    WriteFileText(root + "\\.profile", "p");
    CreateDirectoryA((root + "\\.cache").c_str(), NULL);
    WriteFileText(root + "\\.cache\\x.txt", "x");
}

TEST(RemoveFolderTree, RemovesAllButDotEntriesAndKeepsTheFolderTheyHoldUp)
{
    ScratchFolder scratch("tree");
    std::string root = scratch / "T";
    MakeTree(root);
    RemoveFolderTree(root.c_str());
    EXPECT_FALSE(Exists(root + "\\a.txt"));
    EXPECT_FALSE(Exists(root + "\\sub"));
    EXPECT_TRUE(Exists(root + "\\.profile"));
    EXPECT_TRUE(Exists(root + "\\.cache\\x.txt"));
    EXPECT_TRUE(IsFolder(root));
}

TEST(RemoveFolderTree, RemovesTheWholeFolderWithOrWithoutTrailingBackslash)
{
    ScratchFolder scratch("tree-all");
    for (const char* name : {"plain", "slash\\"}) {
        std::string root = scratch / name;
        CreateDirectoryA(root.c_str(), NULL);
        CreateDirectoryA((root + "\\sub").c_str(), NULL);
        WriteFileText(root + "\\sub\\b.txt", "b");
        RemoveFolderTree(root.c_str());
        EXPECT_FALSE(Exists(root)) << name;
    }
}

TEST(RemoveFolderTree, LeavesAReadOnlyFileAndTheFoldersAboveIt)
{
    ScratchFolder scratch("tree-ro");
    std::string root = scratch / "T";
    CreateDirectoryA(root.c_str(), NULL);
    WriteFileText(root + "\\other.txt", "o");
    CreateDirectoryA((root + "\\sub").c_str(), NULL);
    WriteFileText(root + "\\sub\\ro.txt", "r");
    SetFileAttributesA((root + "\\sub\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    RemoveFolderTree(root.c_str());
    EXPECT_FALSE(Exists(root + "\\other.txt"));
    EXPECT_TRUE(Exists(root + "\\sub\\ro.txt"));
    EXPECT_TRUE(IsFolder(root + "\\sub"));
}

TEST(RemoveFolderTree, DoesNothingForAMissingFolder)
{
    ScratchFolder scratch("tree-missing");
    WriteFileText(scratch / "keep.txt", "k");
    RemoveFolderTree((scratch / "missing").c_str());
    EXPECT_TRUE(Exists(scratch / "keep.txt"));
}

TEST(RemoveFolderFiles, DeletesOnlyTheFilesDirectlyInTheFolder)
{
    ScratchFolder scratch("files");
    std::string root = scratch / "T";
    MakeTree(root);
    RemoveFolderFiles((root + "\\").c_str());
    EXPECT_FALSE(Exists(root + "\\a.txt"));
    EXPECT_FALSE(Exists(root + "\\.profile"));
    EXPECT_TRUE(Exists(root + "\\sub\\b.txt"));
    EXPECT_TRUE(Exists(root + "\\.cache\\x.txt"));
    EXPECT_TRUE(IsFolder(root));

    RemoveFolderFiles((scratch / "missing\\").c_str());  // nothing listed, nothing done
}

TEST(RemoveFolderFiles, DoesNothingForAnEmptyFolderText)
{
    // Unguarded, "" + "*.*" would list the current folder.
    ScratchFolder scratch("files-empty");
    WriteFileText(scratch / "keep.txt", "k");
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(scratch.path().c_str()));
    RemoveFolderFiles("");
    SetCurrentDirectoryA(previous);
    EXPECT_TRUE(Exists(scratch / "keep.txt"));
}

TEST(RemoveFolderFiles, RefusesAPatternThatDoesNotFit)
{
    // A folder of 257 characters plus "*.*" is 260: one too many.
    char folder[PathSize] = {};
    std::string text = "C:\\" + Repeat('a', 253) + "\\";
    ASSERT_EQ(257u, text.size());
    memcpy(folder, text.c_str(), text.size());
    RemoveFolderFiles(folder);  // must neither overrun nor list anything
    SUCCEED();
}

TEST(IsFileInUse, CountsEveryFailedExclusiveOpenAsInUse)
{
    ScratchFolder scratch("inuse");
    std::string closed = scratch / "closed.txt";
    std::string held = scratch / "held.txt";
    std::string readOnly = scratch / "ro.txt";
    WriteFileText(closed, "c");
    WriteFileText(held, "h");
    WriteFileText(readOnly, "r");
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);

    struct {
        std::string path;
        BOOL inUse;
    } cases[] = {
        {closed, FALSE},
        {held, TRUE},
        {scratch / "missing.txt", TRUE},
        {readOnly, TRUE},
        {scratch.path(), TRUE},
    };
    int row = 0;
    for (const auto& c : cases) {
        row++;
        EXPECT_EQ(c.inUse, IsFileInUse(c.path.c_str()) != FALSE) << "row " << row << ": " << c.path;
    }
    CloseHandle(holder);
    EXPECT_TRUE(Exists(closed)) << "the test must not change the file";
}

}  // namespace
