// The uninstaller's functions against the real platform: the command line,
// the registry and folder cleanup driven by a log, and the WinInit.Ini edit.
#include <gtest/gtest.h>

#include <string>

#include "fixtures.h"
#include "machine.h"
#include "uninstall.h"

#include <shlobj.h>

using fixtures::Exists;
using fixtures::IsFolder;
using fixtures::ReadFileText;
using fixtures::ScratchFolder;
using fixtures::WriteFileText;

namespace {

TEST(ReadCommandLine, ChoosesThePhaseAndTheLogPath)
{
    const std::string longText(300, 'p');
    struct {
        std::string arguments;
        bool phaseTwo;
        std::string log;
    } cases[] = {
        {"", false, ""},
        {"C:\\Fern\\Uninst.ini", false, "C:\\Fern\\Uninst.ini"},
        {"\"C:\\Fern Wick\\Uninst.ini\"", false, "\"C:\\Fern Wick\\Uninst.ini\""},
        {"C:\\Fern\\Uninst.ini  ", false, "C:\\Fern\\Uninst.ini  "},
        {"/x:C:\\Temp\\osf1.ini", true, "C:\\Temp\\osf1.ini"},  // 5
        {"junk /x:C:\\Temp\\osf1.ini", true, "C:\\Temp\\osf1.ini"},
        {"/X:C:\\Temp\\osf1.ini", false, "/X:C:\\Temp\\osf1.ini"},
        {"/x:a/x:b", true, "a/x:b"},
        // Too long for the path: taken as no path at all, never cut.
        {std::string(259, 'p'), false, std::string(259, 'p')},
        {longText, false, ""},  // 10
        {"/x:" + longText, true, ""},
    };
    int row = 0;
    for (const auto& c : cases) {
        row++;
        EXPECT_EQ(c.phaseTwo, ReadCommandLine(c.arguments.c_str()) != FALSE) << "row " << row;
        EXPECT_EQ(c.log, ActiveLogPath) << "row " << row;
    }
}

TEST(LoadAppName, ReadsTheNameAndCutsItToWhatTheMessagesHold)
{
    ScratchFolder scratch("appname");
    struct {
        std::string content;
        bool loaded;
        std::string name;
    } cases[] = {
        {"[App]\r\nName=Fernwickhold\r\n", true, "Fernwickhold"},
        {"[App]\r\nName=\r\n", false, ""},
        {"[Other]\r\nName=Fernwickhold\r\n", false, ""},
        {"[App]\r\nName=" + std::string(200, 'n') + "\r\n", true, std::string(123, 'n')},
    };
    int row = 0;
    for (const auto& c : cases) {
        row++;
        std::string log = scratch / "Uninst.ini";
        WriteFileText(log, c.content);
        lstrcpyA(ActiveLogPath, log.c_str());
        EXPECT_EQ(c.loaded, LoadAppName() != FALSE) << "row " << row;
        EXPECT_EQ(c.name, AppName) << "row " << row;
        EXPECT_EQ(c.loaded ? c.name + " Setup" : "", Caption) << "row " << row;
    }
    lstrcpyA(ActiveLogPath, (scratch / "missing.ini").c_str());
    EXPECT_FALSE(LoadAppName());
}

TEST(CopyToTempFile, CopiesUnderAnOsfNameWithTheExtensionReplaced)
{
    ScratchFolder scratch("copy");
    std::string source = scratch / "log.ini";
    WriteFileText(source, "[App]\r\nName=X\r\n");
    char target[MAX_PATH] = {};
    CopyToTempFile(source.c_str(), target, "ini");
    std::string path = target;
    std::string temp = machine::TempFolder();
    ASSERT_EQ(0, _strnicmp(temp.c_str(), path.c_str(), temp.size())) << path;
    EXPECT_EQ(0, _strnicmp("osf", path.c_str() + temp.size(), 3)) << path;
    EXPECT_EQ(".ini", path.substr(path.size() - 4));
    EXPECT_EQ(ReadFileText(source), ReadFileText(path));
    EXPECT_FALSE(Exists(path.substr(0, path.size() - 3) + "tmp")) << "the empty name stays";
    DeleteFileA(path.c_str());
}

const std::string kTestKey = "Software\\WrenfieldTest";

void SetValue(const std::string& key, const char* name, const char* text)
{
    HKEY handle;
    RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &handle, NULL);
    RegSetValueExA(handle, name, 0, REG_SZ, (const BYTE*)text, lstrlenA(text) + 1);
    RegCloseKey(handle);
}

bool Has(const std::string& key) { return machine::KeyExists(HKEY_CURRENT_USER, key); }
bool HasValue(const std::string& key, const char* name)
{
    return machine::ReadValue(HKEY_CURRENT_USER, key, name).present;
}

class RegistryCleanupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        machine::DeleteKeyTree(HKEY_CURRENT_USER, kTestKey);
        SetValue(kTestKey + "\\Tree\\A\\B\\C", "deep", "1");
        SetValue(kTestKey + "\\Tree\\A", "mid", "1");
        SetValue(kTestKey + "\\Tree\\D", "side", "1");
        SetValue(kTestKey + "\\Values", "gone", "1");
        SetValue(kTestKey + "\\Values", "kept", "1");
        SetValue(kTestKey + "\\Values\\Sub", "inner", "1");
        SetValue(kTestKey + "\\Other", "x", "1");
    }
    void TearDown() override
    {
        machine::DeleteKeyTree(HKEY_CURRENT_USER, kTestKey);
        DeleteFileA(log_.c_str());
    }
    void Run(const std::string& entries)
    {
        WriteFileText(log_, "[Registry.del]\r\n" + entries);
        lstrcpyA(ActiveLogPath, log_.c_str());
        RegistryCleanup();
    }
    std::string log_ = machine::TempFolder() + "wrf-registry.ini";
};

TEST_F(RegistryCleanupTest, RemovesWholeTreesAndSingleValues)
{
    Run("Key1=HKCU\r\nSubKey1=" + kTestKey + "\\Tree\r\n"
        "Key2=hkcu\r\nSubKey2=" + kTestKey + "\\Values\r\nValue2=gone\r\n");
    EXPECT_FALSE(Has(kTestKey + "\\Tree"));
    EXPECT_TRUE(Has(kTestKey + "\\Values"));
    EXPECT_FALSE(HasValue(kTestKey + "\\Values", "gone"));
    EXPECT_TRUE(HasValue(kTestKey + "\\Values", "kept"));
    EXPECT_TRUE(Has(kTestKey + "\\Values\\Sub"));
    EXPECT_TRUE(Has(kTestKey + "\\Other"));

    // A second run finds nothing more to do.
    Run("Key1=HKCU\r\nSubKey1=" + kTestKey + "\\Tree\r\n"
        "Key2=hkcu\r\nSubKey2=" + kTestKey + "\\Values\r\nValue2=gone\r\n");
    EXPECT_TRUE(HasValue(kTestKey + "\\Values", "kept"));
    EXPECT_TRUE(Has(kTestKey + "\\Other"));
}

TEST_F(RegistryCleanupTest, SkipsUnknownRootsAndEmptyKeysAndStopsAtTheFirstGap)
{
    Run("Key1=HKEY_CURRENT_USER\r\nSubKey1=" + kTestKey + "\\Other\r\n"
        "Key2=HKCU\r\nSubKey2=\r\n"
        "Key3=HKCU\r\nSubKey3=" + kTestKey + "\\Tree\\D\r\n"
        "Key5=HKCU\r\nSubKey5=" + kTestKey + "\\Values\r\n");
    EXPECT_TRUE(Has(kTestKey + "\\Other")) << "an unknown root was used";
    EXPECT_TRUE(Has("Software")) << "an empty key reached the root";
    EXPECT_FALSE(Has(kTestKey + "\\Tree\\D")) << "the entry after the skipped ones was not done";
    EXPECT_TRUE(Has(kTestKey + "\\Values")) << "the walk went past the missing Key4";
    EXPECT_TRUE(Has(kTestKey + "\\Tree\\A\\B\\C"));
}

TEST_F(RegistryCleanupTest, ACutNameIsNeverUsed)
{
    // 255 characters may be the cut front of a longer name: skipped.
    std::string longKey = kTestKey + "\\" + std::string(255 - kTestKey.size() - 1, 'k');
    SetValue(longKey, "v", "1");
    Run("Key1=HKCU\r\nSubKey1=" + longKey + "tail\r\n");
    EXPECT_TRUE(Has(longKey));
}

TEST_F(RegistryCleanupTest, SkipsAChildWhosePathDoesNotFitAndKeepsItsParent)
{
    std::string parent = kTestKey + "\\" + std::string(240 - kTestKey.size(), 'p');
    SetValue(parent, "v", "1");
    // Made relative to its parent: the whole path is too long to name at once.
    HKEY parentKey, childKey;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, parent.c_str(), 0, KEY_ALL_ACCESS, &parentKey));
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(parentKey, std::string(30, 'c').c_str(), 0, NULL, 0,
                                             KEY_ALL_ACCESS, NULL, &childKey, NULL));
    RegCloseKey(childKey);
    RegCloseKey(parentKey);
    Run("Key1=HKCU\r\nSubKey1=" + parent + "\r\n");
    EXPECT_TRUE(Has(parent)) << "the parent went although its child could not";
}

class FolderCleanupTest : public ::testing::Test {
protected:
    void TearDown() override { DeleteFileA(log_.c_str()); }
    void Run(const std::string& entries)
    {
        WriteFileText(log_, "[Folders.del]\r\n" + entries);
        lstrcpyA(ActiveLogPath, log_.c_str());
        FolderCleanup();
    }
    // A folder with a.txt, .profile and sub\b.txt.
    std::string Tree(const std::string& root)
    {
        CreateDirectoryA(root.c_str(), NULL);
        WriteFileText(root + "\\a.txt", "a");
        WriteFileText(root + "\\.profile", "p");
        CreateDirectoryA((root + "\\sub").c_str(), NULL);
        WriteFileText(root + "\\sub\\b.txt", "b");
        return root;
    }
    std::string log_ = machine::TempFolder() + "wrf-folders.ini";
    ScratchFolder scratch_{"folders"};
};

TEST_F(FolderCleanupTest, RemovesTreesOrFilesAsTheModeSays)
{
    struct {
        const char* mode;  // null: no Nuke key at all
        bool tree;
    } cases[] = {{"yes", true}, {"YES", true}, {"no", false}, {"", false}, {nullptr, false}};
    int row = 0;
    for (const auto& c : cases) {
        row++;
        std::string root = Tree(scratch_ / ("T" + std::to_string(row)));
        Run("Path1=" + root + (row % 2 ? "\\" : "") + "\r\n" +
            (c.mode ? "Nuke1=" + std::string(c.mode) + "\r\n" : ""));
        EXPECT_FALSE(Exists(root + "\\a.txt")) << "row " << row;
        if (c.tree) {
            EXPECT_TRUE(Exists(root + "\\.profile")) << "row " << row;
            EXPECT_FALSE(Exists(root + "\\sub")) << "row " << row;
        } else {
            EXPECT_FALSE(Exists(root + "\\.profile")) << "row " << row;
            EXPECT_TRUE(Exists(root + "\\sub\\b.txt")) << "row " << row;
        }
    }
}

TEST_F(FolderCleanupTest, GoesOnPastAMissingFolderAndStopsAtAnEmptyPath)
{
    std::string present = Tree(scratch_ / "present");
    std::string after = Tree(scratch_ / "after");
    Run("Path1=" + scratch_ / "missing" + "\r\nNuke1=yes\r\n"
        "Path2=" + present + "\r\nNuke2=yes\r\n"
        "Path3=\r\nNuke3=yes\r\n"
        "Path4=" + after + "\r\nNuke4=yes\r\n");
    EXPECT_FALSE(Exists(present + "\\sub"));
    EXPECT_TRUE(Exists(after + "\\sub")) << "the walk went past an empty Path3";

    Run("Path1=\r\nPath2=" + after + "\r\nNuke2=yes\r\n");
    EXPECT_TRUE(Exists(after + "\\sub")) << "an empty Path1 must end the walk";
}

TEST_F(FolderCleanupTest, NeverRemovesAFolderThatHoldsMoreThanTheProduct)
{
    // Each refused folder gets a canary file that a removal would take.
    std::string profile = machine::SpecialFolder(CSIDL_PROFILE);
    const std::string refused[] = {
        "relative\\folder", "C:\\", "C:\\windows", "C:\\Program Files", "C:\\users",
        profile, machine::SpecialFolder(CSIDL_DESKTOPDIRECTORY), machine::SpecialFolder(CSIDL_PERSONAL), machine::ProgramsFolder(),
        "C:\\Program Files\\..\\",
    };
    int row = 0;
    for (const std::string& folder : refused) {
        row++;
        std::string canary = (folder == "relative\\folder" ? scratch_.path() : folder) +
                             (folder.back() == '\\' ? "" : "\\") + "wrf-canary.txt";
        char previous[MAX_PATH] = {};
        GetCurrentDirectoryA(sizeof previous, previous);
        SetCurrentDirectoryA(scratch_.path().c_str());
        CreateDirectoryA((scratch_ / "relative").c_str(), NULL);
        CreateDirectoryA((scratch_ / "relative\\folder").c_str(), NULL);
        if (folder == "relative\\folder")
            canary = scratch_ / "relative\\folder\\wrf-canary.txt";
        WriteFileText(canary, "c");
        Run("Path1=" + folder + "\r\nNuke1=no\r\n");
        SetCurrentDirectoryA(previous);
        EXPECT_TRUE(Exists(canary)) << "row " << row << ": " << folder;
        DeleteFileA(canary.c_str());
    }
}

// The WinInit.Ini edit on files the test prepares.
struct WinInitCase {
    const char* what;
    bool exists;
    std::string before;
    std::string after;
};

TEST(AddRenameLine, PutsTheLineFirstInTheRenameSection)
{
    const std::string line = "NUL=C:\\Temp\\osf1.exe\r\n";
    const std::string header = "[Rename]\r\n";
    std::string zeroFirst = std::string("[x]\r\n") + '\0' + header + "old=one\r\n";
    const WinInitCase cases[] = {
        {"missing", false, "", header + line},
        {"empty", true, "", header + line},
        {"header with lines", true, "[boot]\r\na=b\r\n" + header + "old=one\r\n[x]\r\n",
         "[boot]\r\na=b\r\n" + header + line + "old=one\r\n[x]\r\n"},
        {"header in another case", true, "[rename]\r\nold=one\r\n",
         "[rename]\r\nold=one\r\n" + header + line},
        {"header with a line feed only", true, "[Rename]\nold=one\r\n",
         "[Rename]\nold=one\r\n" + header + line},  // 5
        {"header behind a zero byte", true, zeroFirst, zeroFirst + header + line},
        {"no line break at the end", true, "[boot]\r\na=b", "[boot]\r\na=b\r\n" + header + line},
    };
    ScratchFolder scratch("wininit");
    int row = 0;
    for (const WinInitCase& c : cases) {
        row++;
        std::string path = scratch / "WinInit.Ini";
        DeleteFileA(path.c_str());
        if (c.exists)
            WriteFileText(path, c.before);
        EXPECT_TRUE(AddRenameLine(path.c_str(), "C:\\Temp\\osf1.exe", NULL)) << c.what;
        EXPECT_EQ(c.after, ReadFileText(path)) << "row " << row << ": " << c.what;
    }
}

TEST(AddRenameLine, TwoRequestsLeaveTheLaterFirstAndLongNamesAreRefused)
{
    ScratchFolder scratch("wininit2");
    std::string path = scratch / "WinInit.Ini";
    ASSERT_TRUE(AddRenameLine(path.c_str(), "C:\\a.exe", NULL));
    ASSERT_TRUE(AddRenameLine(path.c_str(), "C:\\b.exe", "C:\\c.exe"));
    EXPECT_EQ("[Rename]\r\nC:\\c.exe=C:\\b.exe\r\nNUL=C:\\a.exe\r\n", ReadFileText(path));

    std::string before = ReadFileText(path);
    std::string longName = "C:\\" + std::string(1020, 'l');
    EXPECT_FALSE(AddRenameLine(path.c_str(), longName.c_str(), NULL));
    EXPECT_EQ(before, ReadFileText(path));
}

TEST(MoveFileAtRestart, UsesThePlatformFirstAndLeavesWinInitAlone)
{
    const char* sessionKey = "System\\CurrentControlSet\\Control\\Session Manager";
    fixtures::SavedRegistryValue saved(HKEY_LOCAL_MACHINE, sessionKey, "PendingFileRenameOperations");
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    std::string winInit = std::string(windows) + "\\WinInit.Ini";
    std::string winInitBefore = ReadFileText(winInit);
    bool winInitExisted = Exists(winInit);

    ScratchFolder scratch("restart");
    std::string file = scratch / "later.exe";
    WriteFileText(file, "x");
    EXPECT_TRUE(MoveFileAtRestart(file.c_str(), NULL));
    machine::RegistryValue pending =
        machine::ReadValue(HKEY_LOCAL_MACHINE, sessionKey, "PendingFileRenameOperations");
    EXPECT_NE(std::string::npos, pending.data.find("later.exe"));
    EXPECT_EQ(winInitExisted, Exists(winInit));
    EXPECT_EQ(winInitBefore, ReadFileText(winInit));
}

}  // namespace
