// The install sequence, end to end: the real setup programs, driven through
// their dialogs and message boxes, and what they leave on the machine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixtures.h"
#include "machine.h"
#include "windriver.h"

#include <shlobj.h>

using fixtures::Exists;
using fixtures::ReadFileText;
using fixtures::WriteFileText;
using machine::ProfileLine;

namespace {

const char kArpKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string Join(const std::string& folder, const std::string& name)
{
    return folder.empty() || folder.back() != '\\' ? folder + "\\" + name : folder + name;
}

std::string ProductBinary(const char* name)
{
    return fixtures::FromLinuxPath(WRENFIELD_PRODUCT_BINARY_DIR) + "\\" + name;
}

std::string SourceFile(const char* relative)
{
    return fixtures::FromLinuxPath(WRENFIELD_SOURCE_DIR) + "\\" + relative;
}

struct Product {
    const char* name;
    std::string setup;
    std::string caption() const { return std::string(name) + " Setup"; }
    std::string group() const { return machine::ProgramsFolder() + "\\" + name; }
};

const Product kFernwickhold = {"Fernwickhold", fixtures::FromLinuxPath(WRENFIELD_SETUP)};
const Product kTinkerbox = {"Tinkerbox", fixtures::FromLinuxPath(WRENFIELD_TINKERBOX_SETUP)};
const Product kBrokenbox = {"Brokenbox", fixtures::FromLinuxPath(WRENFIELD_BROKENBOX_SETUP)};

// A setup program on screen, with the text of its dialog's edit box.
class SetupRun {
public:
    explicit SetupRun(const Product& product) : product_(product)
    {
        process_ = driver::Start(product.setup);
        dialog_ = driver::WaitForWindow("Setup", product.caption().c_str(), process_.id);
    }
    ~SetupRun() { driver::Kill(process_); }

    HWND dialog() const { return dialog_; }
    driver::Process& process() { return process_; }
    std::string typed() const { return driver::ItemText(dialog_, 1007); }
    void Type(const std::string& folder) { driver::SetItemText(dialog_, 1007, folder); }
    void PressOk() { driver::Command(dialog_, IDOK); }

    // The next message box of this setup program, or null.
    HWND WaitForBox() { return driver::WaitForMessageBox(product_.caption().c_str(), process_.id); }

    // Waits for the end; a message box on the way fails the test.
    DWORD WaitForEnd()
    {
        DWORD start = GetTickCount();
        while (GetTickCount() - start < driver::kWait) {
            if (WaitForSingleObject(process_.handle, 100) == WAIT_OBJECT_0)
                return driver::WaitExit(process_);
            for (HWND box : driver::FindWindows("#32770", product_.caption().c_str())) {
                ADD_FAILURE() << "unexpected message box: " << driver::MessageBoxText(box);
                driver::Command(box, IDCANCEL);
                driver::Command(box, IDOK);
            }
        }
        return STILL_ACTIVE;
    }

private:
    const Product& product_;
    driver::Process process_;
    HWND dialog_ = NULL;
};

// Closes the sample product that setup started, once its window is up: a
// program left running would outlive the test.
void CloseStartedProduct()
{
    HWND window = driver::WaitForWindow("Fernwickhold", "Fernwickhold");
    EXPECT_NE(nullptr, window) << "the product was not started";
    machine::CloseWindows("Fernwickhold", "Fernwickhold");
}

// Installs product into folder (the proposal when folder is empty); returns
// the folder used. The sample product, started at the end, is closed again
// unless leaveRunning.
std::string Install(const Product& product, const std::string& folder = "",
                    bool leaveRunning = false)
{
    SetupRun setup(product);
    EXPECT_NE(nullptr, setup.dialog()) << "no setup dialog";
    if (!setup.dialog())
        return "";
    if (!folder.empty())
        setup.Type(folder);
    std::string used = setup.typed();
    setup.PressOk();
    EXPECT_EQ(0u, setup.WaitForEnd()) << "setup did not end";
    if (&product == &kFernwickhold && !leaveRunning)
        CloseStartedProduct();
    return used;
}

class Installation : public ::testing::Test {
protected:
    void SetUp() override { CleanUp(); }
    void TearDown() override { CleanUp(); }

    // Remembers a folder to remove at the end.
    const std::string& Folder(const std::string& folder)
    {
        folders_.push_back(folder);
        return folders_.back();
    }

    void CleanUp()
    {
        machine::CloseWindows("Fernwickhold", "Fernwickhold");
        for (const std::string& folder : folders_)
            fixtures::RemoveTree(folder);
        for (const Product* product : {&kFernwickhold, &kTinkerbox, &kBrokenbox}) {
            fixtures::RemoveTree(product->group());
            machine::DeleteKeyTree(HKEY_LOCAL_MACHINE, std::string(kArpKey) + product->name);
            machine::DeleteKeyTree(HKEY_CURRENT_USER, std::string("Software\\") + product->name);
        }
        machine::DeleteValue(HKEY_CURRENT_USER, kRunKey, "Fernwickhold");
        fixtures::RemoveTree("C:\\Program Files\\Fernwickhold");
    }

    std::vector<std::string> folders_;
};

std::vector<ProfileLine> ExpectedSampleLog(const std::string& dir)
{
    std::string group = kFernwickhold.group();
    return {
        {"Folders.del", "", ""},
        {"Folders.del", "Path1", dir},
        {"Folders.del", "Nuke1", "yes"},
        {"Folders.del", "Path2", group},
        {"Folders.del", "Nuke2", "yes"},
        {"Uninstall", "", ""},
        {"Uninstall", "WaitFor", Join(dir, "Fernwickhold.exe")},
        {"App", "", ""},
        {"App", "Name", "Fernwickhold"},
        {"Registry.del", "", ""},
        {"Registry.del", "Key1", "HKCU"},
        {"Registry.del", "SubKey1", "Software\\Fernwickhold"},
        {"Registry.del", "Key2", "HKCU"},
        {"Registry.del", "SubKey2", kRunKey},
        {"Registry.del", "Value2", "Fernwickhold"},
        {"Registry.del", "Key3", "HKLM"},
        {"Registry.del", "SubKey3", std::string(kArpKey) + "Fernwickhold"},
    };
}

void ExpectLog(const std::vector<ProfileLine>& expected, const std::string& path)
{
    std::vector<ProfileLine> actual = machine::ReadProfile(path);
    ASSERT_EQ(expected.size(), actual.size()) << "lines of " << path;
    for (size_t i = 0; i < expected.size(); i++)
        EXPECT_TRUE(expected[i] == actual[i])
            << "line " << i + 1 << ": [" << actual[i].section << "] " << actual[i].key << "="
            << actual[i].value << ", expected [" << expected[i].section << "] " << expected[i].key
            << "=" << expected[i].value;
}

void ExpectSameFile(const std::string& expected, const std::string& actual)
{
    std::string want = ReadFileText(expected);
    ASSERT_FALSE(want.empty()) << "no source " << expected;
    EXPECT_TRUE(want == ReadFileText(actual)) << actual << " differs from " << expected;
}

void ExpectShortcut(const std::string& link, const std::string& target,
                    const std::string& arguments, const std::string& description)
{
    machine::Shortcut shortcut = machine::ReadShortcut(link);
    ASSERT_TRUE(shortcut.loaded) << "no shortcut " << link;
    EXPECT_EQ(0, _stricmp(target.c_str(), shortcut.target.c_str()))
        << link << " aims at " << shortcut.target;
    EXPECT_EQ(arguments, shortcut.arguments) << link;
    EXPECT_EQ(description, shortcut.description) << link;
}

void ExpectString(HKEY root, const std::string& key, const char* name, const std::string& text)
{
    machine::RegistryValue value = machine::ReadValue(root, key, name);
    ASSERT_TRUE(value.present) << key << " " << name;
    EXPECT_EQ((DWORD)REG_SZ, value.type) << name;
    EXPECT_EQ(text + '\0', value.data) << name << " with its terminating zero";
}

TEST_F(Installation, InstallsTheSampleProductCompletely)
{
    struct {
        std::string typed;   // empty: the proposal, under Program Files
        std::string remove;  // what the test removes afterwards
    } cases[] = {
        {"", "C:\\Program Files\\Fernwickhold"},
        {"C:\\Fern Wick Apps\\Fern hold", "C:\\Fern Wick Apps"},
        {"C:\\FernTrail\\", "C:\\FernTrail"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("typed folder: " + (c.typed.empty() ? std::string("(proposal)") : c.typed));
        Folder(c.remove);
        std::vector<std::string> staging = machine::StagingFiles();
        std::string dir = Install(kFernwickhold, c.typed, true);
        std::string log = Join(dir, "Uninst.ini");
        ExpectLog(ExpectedSampleLog(dir), log);

        ExpectSameFile(ProductBinary("Fernwickhold.exe"), Join(dir, "Fernwickhold.exe"));
        ExpectSameFile(ProductBinary("Fernwickhold.chm"), Join(dir, "Fernwickhold.chm"));
        ExpectSameFile(SourceFile("products\\fernwickhold\\ReadMe.doc"), Join(dir, "ReadMe.doc"));
        ExpectSameFile(fixtures::FromLinuxPath(WRENFIELD_UNINST), Join(dir, "Uninst.exe"));

        std::string group = kFernwickhold.group();
        ExpectShortcut(group + "\\Fernwickhold.lnk", Join(dir, "Fernwickhold.exe"), "", "Fernwickhold");
        ExpectShortcut(group + "\\Fernwickhold Help.lnk", Join(dir, "Fernwickhold.chm"), "",
                       "Fernwickhold Help");
        ExpectShortcut(group + "\\ReadMe.lnk", Join(dir, "ReadMe.doc"), "", "ReadMe");
        ExpectShortcut(group + "\\Uninstall Fernwickhold.lnk", Join(dir, "Uninst.exe"), log,
                       "Uninstall Fernwickhold");

        std::string arp = std::string(kArpKey) + "Fernwickhold";
        ExpectString(HKEY_LOCAL_MACHINE, arp, "DisplayName", "Fernwickhold");
        ExpectString(HKEY_LOCAL_MACHINE, arp, "UninstallString",
                     "\"" + Join(dir, "Uninst.exe") + "\" " + log);

        // Started once, with "/s".
        ASSERT_NE(nullptr, driver::WaitForWindow("Fernwickhold", "Fernwickhold"))
            << "the product was not started";
        EXPECT_EQ(1u, driver::FindWindows("Fernwickhold", "Fernwickhold").size());
        machine::RegistryValue line =
            machine::ReadValue(HKEY_CURRENT_USER, "Software\\Fernwickhold", "LastCommandLine");
        EXPECT_EQ(std::string("/s") + '\0', line.data);

        EXPECT_EQ(staging, machine::StagingFiles()) << "a staging file was left behind";
        CleanUp();
    }
}

TEST_F(Installation, TheUninstallCommandStartsTheUninstallerEvenWithADecoyProgram)
{
    // Unquoted, "C:\Program Files\..." would start C:\Program.exe.
    const std::string decoy = "C:\\Program.exe";
    ASSERT_TRUE(CopyFileA(ProductBinary("Fernwickhold.exe").c_str(), decoy.c_str(), FALSE));
    std::string dir = Install(kFernwickhold);

    machine::RegistryValue command = machine::ReadValue(
        HKEY_LOCAL_MACHINE, std::string(kArpKey) + "Fernwickhold", "UninstallString");
    ASSERT_TRUE(command.present);
    driver::Process uninstaller = driver::StartCommandLine(command.data.c_str());
    ASSERT_NE(nullptr, uninstaller.handle) << "CreateProcess refused " << command.data;
    char image[MAX_PATH] = {};
    DWORD size = sizeof image;
    QueryFullProcessImageNameA(uninstaller.handle, 0, image, &size);
    EXPECT_EQ(0, _stricmp(Join(dir, "Uninst.exe").c_str(), image)) << "started " << image;
    // It asks about this product only if it received the log's path.
    HWND box = driver::WaitForMessageBox(kFernwickhold.caption().c_str(), uninstaller.id);
    ASSERT_NE(nullptr, box) << "the uninstaller did not find the log";
    EXPECT_EQ("Are you sure you want to uninstall Fernwickhold?", driver::MessageBoxText(box));
    driver::Command(box, IDNO);
    EXPECT_EQ(1u, driver::WaitExit(uninstaller));
    DeleteFileA(decoy.c_str());
}

TEST_F(Installation, WaitsWhileTheProductRuns)
{
    // The product's window is open: the prompt comes, and again after OK.
    driver::Process product = driver::Start(ProductBinary("Fernwickhold.exe"));
    ASSERT_NE(nullptr, driver::WaitForWindow("Fernwickhold", "Fernwickhold", product.id));
    {
        SetupRun setup(kFernwickhold);
        ASSERT_NE(nullptr, setup.dialog());
        std::string dir = Folder(setup.typed());
        setup.PressOk();
        const char* prompt =
            "You must close the currently running version of Fernwickhold to continue with "
            "setup.\nPress OK after you have closed it, or Cancel to quit setup.";
        HWND box = setup.WaitForBox();
        ASSERT_NE(nullptr, box) << "no wait prompt";
        EXPECT_EQ(prompt, driver::MessageBoxText(box));
        driver::Command(box, IDOK);
        ASSERT_TRUE(driver::WaitGone(box));
        box = setup.WaitForBox();
        ASSERT_NE(nullptr, box) << "no second prompt while the product still runs";
        EXPECT_FALSE(Exists(Join(dir, "Uninst.ini"))) << "changed before the wait ended";

        // Closed, then OK: the installation goes on.
        machine::CloseWindows("Fernwickhold", "Fernwickhold");
        EXPECT_EQ(0u, driver::WaitExit(product));
        driver::Command(box, IDOK);
        EXPECT_EQ(0u, setup.WaitForEnd());
        EXPECT_TRUE(Exists(Join(dir, "Uninst.ini")));
        CloseStartedProduct();
    }
    CleanUp();

    // Cancel at the prompt ends setup and changes nothing.
    product = driver::Start(ProductBinary("Fernwickhold.exe"));
    ASSERT_NE(nullptr, driver::WaitForWindow("Fernwickhold", "Fernwickhold", product.id));
    {
        SetupRun setup(kFernwickhold);
        ASSERT_NE(nullptr, setup.dialog());
        std::string dir = setup.typed();
        setup.PressOk();
        HWND box = setup.WaitForBox();
        ASSERT_NE(nullptr, box);
        driver::Command(box, IDCANCEL);
        EXPECT_EQ(0u, driver::WaitExit(setup.process()));
        EXPECT_FALSE(Exists(dir));
        EXPECT_FALSE(Exists(kFernwickhold.group()));
    }
    machine::CloseWindows("Fernwickhold", "Fernwickhold");
    driver::WaitExit(product);
}

TEST_F(Installation, AReadOnlyMainFileCountsAsRunning)
{
    const std::string& dir = Folder("C:\\FernReadOnly");
    CreateDirectoryA(dir.c_str(), NULL);
    WriteFileText(Join(dir, "Uninst.ini"), "[App]\r\nName=Fernwickhold\r\n");
    WriteFileText(Join(dir, "Fernwickhold.exe"), "old");
    SetFileAttributesA(Join(dir, "Fernwickhold.exe").c_str(), FILE_ATTRIBUTE_READONLY);

    SetupRun setup(kFernwickhold);
    ASSERT_NE(nullptr, setup.dialog());
    setup.Type(dir);
    setup.PressOk();
    HWND box = setup.WaitForBox();
    ASSERT_NE(nullptr, box) << "no wait prompt for a read-only main file";
    driver::Command(box, IDCANCEL);
    EXPECT_EQ(0u, driver::WaitExit(setup.process()));
    EXPECT_EQ("old", ReadFileText(Join(dir, "Fernwickhold.exe")));
}

TEST_F(Installation, RefusesFoldersWhoseRemovalWouldTakeMoreThanTheProduct)
{
    std::string profile = machine::SpecialFolder(CSIDL_PROFILE);
    const std::string refused[] = {
        "C:\\Fern|hold",  // the seven characters: its own message
        "",
        "Fernwickhold",
        "C:Fernwickhold",
        "C:\\",  // 5
        "\\\\server\\share",
        "\\\\server\\share\\",
        "C:\\" + std::string(116, 'f'),  // 119 characters
        "C:\\windows",
        "C:\\windows\\system32",  // 10
        "C:\\Program Files",
        "C:\\Program Files\\",
        "C:\\Program Files\\..",
        profile.substr(0, profile.rfind('\\')),  // above the profile
        profile,  // 15
        machine::SpecialFolder(CSIDL_DESKTOPDIRECTORY),
        machine::SpecialFolder(CSIDL_PERSONAL),
        machine::ProgramsFolder(),
        "c:\\PROGRAM FILES",
    };
    SetupRun setup(kFernwickhold);
    ASSERT_NE(nullptr, setup.dialog());
    int row = 0;
    for (const std::string& folder : refused) {
        row++;
        setup.Type(folder);
        setup.PressOk();
        HWND box = setup.WaitForBox();
        ASSERT_NE(nullptr, box) << "row " << row << ": no refusal for " << folder;
        std::string text = driver::MessageBoxText(box);
        if (row == 1)
            EXPECT_EQ("The directory you entered is not a valid name.", text);
        else
            EXPECT_FALSE(text.empty()) << "row " << row;
        driver::Command(box, IDOK);
        ASSERT_TRUE(driver::WaitGone(box)) << "row " << row;
        EXPECT_TRUE(IsWindow(setup.dialog())) << "row " << row;
        EXPECT_EQ(folder, setup.typed()) << "row " << row;
        EXPECT_FALSE(Exists(kFernwickhold.group())) << "row " << row;
    }
    EXPECT_FALSE(Exists("C:\\" + std::string(116, 'f')));
    EXPECT_FALSE(machine::KeyExists(HKEY_LOCAL_MACHINE, std::string(kArpKey) + "Fernwickhold"));

    // 118 characters still fit; the log starts at the first entry.
    const std::string& dir = Folder("C:\\" + std::string(115, 'f'));
    setup.Type(dir);
    setup.PressOk();
    EXPECT_EQ(0u, setup.WaitForEnd());
    CloseStartedProduct();
    ExpectLog(ExpectedSampleLog(dir), Join(dir, "Uninst.ini"));
}

TEST_F(Installation, InstallsOverAnEarlierInstallation)
{
    const std::string& dir = Folder("C:\\FernAgain");
    Install(kFernwickhold, dir);
    std::string group = kFernwickhold.group();
    WriteFileText(group + "\\extra.txt", "put there by the user");
    WriteFileText(Join(dir, "Register.txt"), "obsolete");
    WriteFileText(Join(dir, "Readme.txt"), "obsolete");
    WriteFileText(Join(dir, "Fernwickhold.chm"), "an older help file");
    WritePrivateProfileStringA("Folders.del", "Path2", "stale", Join(dir, "Uninst.ini").c_str());

    Install(kFernwickhold, dir);
    EXPECT_FALSE(Exists(group + "\\extra.txt"));
    EXPECT_TRUE(Exists(group + "\\Fernwickhold.lnk"));
    EXPECT_FALSE(Exists(Join(dir, "Register.txt")));
    EXPECT_FALSE(Exists(Join(dir, "Readme.txt")));
    ExpectSameFile(ProductBinary("Fernwickhold.chm"), Join(dir, "Fernwickhold.chm"));
    ExpectLog(ExpectedSampleLog(dir), Join(dir, "Uninst.ini"));
    ExpectString(HKEY_LOCAL_MACHINE, std::string(kArpKey) + "Fernwickhold", "UninstallString",
                 "\"" + Join(dir, "Uninst.exe") + "\" " + Join(dir, "Uninst.ini"));
}

TEST_F(Installation, AsksBeforeInstallingIntoAFolderHoldingOtherData)
{
    const std::string& dir = Folder("C:\\Foreign Data");
    CreateDirectoryA(dir.c_str(), NULL);
    WriteFileText(Join(dir, "mine.txt"), "not the product's");

    SetupRun setup(kFernwickhold);
    ASSERT_NE(nullptr, setup.dialog());
    setup.Type(dir);
    setup.PressOk();
    HWND box = setup.WaitForBox();
    ASSERT_NE(nullptr, box) << "no question for a folder holding other data";
    EXPECT_NE(std::string::npos, driver::MessageBoxText(box).find("not empty"));
    driver::Command(box, IDNO);
    ASSERT_TRUE(driver::WaitGone(box));
    EXPECT_TRUE(IsWindow(setup.dialog()));
    EXPECT_EQ(dir, setup.typed());
    EXPECT_FALSE(Exists(Join(dir, "Uninst.ini")));
    EXPECT_FALSE(Exists(kFernwickhold.group()));

    setup.PressOk();
    box = setup.WaitForBox();
    ASSERT_NE(nullptr, box);
    driver::Command(box, IDYES);
    EXPECT_EQ(0u, setup.WaitForEnd());
    CloseStartedProduct();
    EXPECT_TRUE(Exists(Join(dir, "Fernwickhold.exe")));
    EXPECT_EQ("not the product's", ReadFileText(Join(dir, "mine.txt")));
}

TEST_F(Installation, ASecondProductWithSubFolderNoShortcutAndNothingStarted)
{
    const std::string& dir = Folder("C:\\Tinkerbox");
    Install(kTinkerbox, dir);
    ExpectSameFile(SourceFile("tests\\products\\tinkerbox\\guide.txt"), Join(dir, "docs\\guide.txt"));
    ExpectSameFile(SourceFile("tests\\products\\tinkerbox\\tinker.txt"), Join(dir, "tinker.txt"));
    std::string group = kTinkerbox.group();
    ExpectShortcut(group + "\\Tinker Notes.lnk", Join(dir, "tinker.txt"), "", "Tinker Notes");
    EXPECT_TRUE(Exists(group + "\\Uninstall Tinkerbox.lnk"));
    EXPECT_FALSE(Exists(group + "\\.lnk"));
    ExpectLog({{"Folders.del", "", ""},
               {"Folders.del", "Path1", dir},
               {"Folders.del", "Nuke1", "yes"},
               {"Folders.del", "Path2", group},
               {"Folders.del", "Nuke2", "yes"},
               {"Uninstall", "", ""},
               {"Uninstall", "WaitFor", Join(dir, "tinker.txt")},
               {"App", "", ""},
               {"App", "Name", "Tinkerbox"},
               {"Registry.del", "", ""},
               {"Registry.del", "Key1", "HKCU"},
               {"Registry.del", "SubKey1", "Software\\Tinkerbox"},
               {"Registry.del", "Key2", "HKLM"},
               {"Registry.del", "SubKey2", std::string(kArpKey) + "Tinkerbox"}},
              Join(dir, "Uninst.ini"));
}

TEST_F(Installation, KeepsTheOldFileWhenItsResourceCannotBeExpanded)
{
    const std::string& dir = Folder("C:\\Brokenbox");
    CreateDirectoryA(dir.c_str(), NULL);
    WriteFileText(Join(dir, "Uninst.ini"), "[App]\r\nName=Brokenbox\r\n");
    // The old main program is a real one, so that a start would show.
    std::string old = Join(dir, "Brokenbox.exe");
    ASSERT_TRUE(CopyFileA(ProductBinary("Fernwickhold.exe").c_str(), old.c_str(), FALSE));
    std::vector<std::string> staging = machine::StagingFiles();

    SetupRun setup(kBrokenbox);
    ASSERT_NE(nullptr, setup.dialog());
    setup.Type(dir);
    setup.PressOk();
    HWND box = setup.WaitForBox();
    ASSERT_NE(nullptr, box) << "no message about the file that failed";
    EXPECT_NE(std::string::npos, driver::MessageBoxText(box).find("Brokenbox.exe"));
    EXPECT_EQ(std::string::npos, driver::MessageBoxText(box).find("notes.txt"));
    driver::Command(box, IDOK);
    EXPECT_EQ(0u, driver::WaitExit(setup.process()));

    ExpectSameFile(ProductBinary("Fernwickhold.exe"), old);
    // Not started: a running program could not be opened for exclusive writing.
    HANDLE file = CreateFileA(old.c_str(), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    EXPECT_NE(INVALID_HANDLE_VALUE, file) << "the product was started";
    CloseHandle(file);
    EXPECT_TRUE(driver::FindWindows("Fernwickhold", "Fernwickhold").empty());
    // The rest went on, so that the user can remove what was installed.
    ExpectSameFile(SourceFile("tests\\products\\brokenbox\\notes.txt"), Join(dir, "notes.txt"));
    EXPECT_TRUE(Exists(Join(dir, "Uninst.exe")));
    EXPECT_TRUE(machine::KeyExists(HKEY_LOCAL_MACHINE, std::string(kArpKey) + "Brokenbox"));
    EXPECT_EQ(staging, machine::StagingFiles());
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(Join(dir, "osf*.tmp").c_str(), &entry);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search) << "a partly expanded file was left behind";
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

}  // namespace
