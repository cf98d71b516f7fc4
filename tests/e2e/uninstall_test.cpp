// The uninstaller, end to end: the sample product installed by the real
// setup program, then removed by the real uninstaller through its message
// boxes, started the ways the system starts it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fixtures.h"
#include "machine.h"
#include "windriver.h"

using fixtures::Exists;

namespace {

const char kCaption[] = "Fernwickhold Setup";
const char kArpKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Fernwickhold";
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kSessionKey[] = "System\\CurrentControlSet\\Control\\Session Manager";

std::string SampleProgram()
{
    return fixtures::FromLinuxPath(WRENFIELD_PRODUCT_BINARY_DIR) + "\\Fernwickhold.exe";
}

// The copies of the uninstaller in the temporary folder.
std::vector<std::string> TempCopies(const char* pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((machine::TempFolder() + pattern).c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do
            names.push_back(machine::TempFolder() + entry.cFileName);
        while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> Added(const std::vector<std::string>& before,
                               const std::vector<std::string>& after)
{
    std::vector<std::string> added;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                        std::back_inserter(added));
    return added;
}

class Uninstallation : public ::testing::Test {
protected:
    void SetUp() override
    {
        CleanUp();
        // Another program's Run value, which must survive.
        HKEY key;
        RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL);
        RegSetValueExA(key, "WrenfieldOther", 0, REG_SZ, (const BYTE*)"other.exe", 10);
        RegCloseKey(key);
        Install();
    }
    void TearDown() override
    {
        CleanUp();
        machine::DeleteValue(HKEY_CURRENT_USER, kRunKey, "WrenfieldOther");
    }
    void CleanUp()
    {
        machine::CloseWindows("Fernwickhold", "Fernwickhold");
        fixtures::RemoveTree(dir_);
        fixtures::RemoveTree(machine::ProgramsFolder() + "\\Fernwickhold");
        machine::DeleteKeyTree(HKEY_LOCAL_MACHINE, kArpKey);
        machine::DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Fernwickhold");
        machine::DeleteValue(HKEY_CURRENT_USER, kRunKey, "Fernwickhold");
    }

    // Installs the sample into dir_ and closes the product that setup starts.
    void Install()
    {
        driver::Process setup = driver::Start(fixtures::FromLinuxPath(WRENFIELD_SETUP));
        HWND dialog = driver::WaitForWindow("Setup", kCaption, setup.id);
        ASSERT_NE(nullptr, dialog);
        driver::SetItemText(dialog, 1007, dir_);
        driver::Command(dialog, IDOK);
        ASSERT_EQ(0u, driver::WaitExit(setup));
        ASSERT_NE(nullptr, driver::WaitForWindow("Fernwickhold", "Fernwickhold"));
        machine::CloseWindows("Fernwickhold", "Fernwickhold");
        ASSERT_TRUE(Exists(log_));
        ASSERT_TRUE(machine::KeyExists(HKEY_CURRENT_USER, "Software\\Fernwickhold"));
        ASSERT_TRUE(machine::ReadValue(HKEY_CURRENT_USER, kRunKey, "Fernwickhold").present);
    }

    void ExpectNothingRemoved()
    {
        EXPECT_TRUE(Exists(dir_ + "\\Fernwickhold.exe"));
        EXPECT_TRUE(Exists(machine::ProgramsFolder() + "\\Fernwickhold\\Fernwickhold.lnk"));
        EXPECT_TRUE(machine::KeyExists(HKEY_LOCAL_MACHINE, kArpKey));
        EXPECT_TRUE(machine::KeyExists(HKEY_CURRENT_USER, "Software\\Fernwickhold"));
        EXPECT_TRUE(machine::ReadValue(HKEY_CURRENT_USER, kRunKey, "Fernwickhold").present);
    }

    std::string dir_ = "C:\\Program Files\\Fernwickhold";
    std::string log_ = dir_ + "\\Uninst.ini";
    std::string uninstaller_ = dir_ + "\\Uninst.exe";
};

TEST_F(Uninstallation, RemovesEverythingStartedEitherWay)
{
    fixtures::SavedRegistryValue pending(HKEY_LOCAL_MACHINE, kSessionKey,
                                         "PendingFileRenameOperations");
    // A decoy that an unquoted command would start instead.
    const std::string decoy = "C:\\Program.exe";
    ASSERT_TRUE(CopyFileA(SampleProgram().c_str(), decoy.c_str(), FALSE));

    machine::RegistryValue arp = machine::ReadValue(HKEY_LOCAL_MACHINE, kArpKey, "UninstallString");
    struct {
        const char* how;
        std::string commandLine;
    } ways[] = {
        {"the uninstall shortcut", "\"" + uninstaller_ + "\" " + log_},
        {"the Add/Remove Programs command", arp.data.c_str()},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        if (!Exists(log_))
            Install();
        std::vector<std::string> exesBefore = TempCopies("osf*.exe");
        std::vector<std::string> logsBefore = TempCopies("osf*.ini");

        driver::Process phaseOne = driver::StartCommandLine(way.commandLine);
        ASSERT_NE(nullptr, phaseOne.handle);
        HWND box = driver::WaitForMessageBox(kCaption, phaseOne.id);
        ASSERT_NE(nullptr, box) << "no confirmation: the uninstaller did not read the log";
        EXPECT_EQ("Are you sure you want to uninstall Fernwickhold?", driver::MessageBoxText(box));
        driver::Command(box, IDYES);
        EXPECT_EQ(1u, driver::WaitExit(phaseOne));

        box = driver::WaitForMessageBox(kCaption);
        ASSERT_NE(nullptr, box) << "no restart question from phase 2";
        EXPECT_EQ("Fernwickhold setup needs to restart your machine. Would you like to restart now?",
                  driver::MessageBoxText(box));
        DWORD phaseTwoId = 0;
        GetWindowThreadProcessId(box, &phaseTwoId);
        driver::Process phaseTwo;
        phaseTwo.handle = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, phaseTwoId);
        driver::Command(box, IDNO);
        EXPECT_EQ(1u, driver::WaitExit(phaseTwo));

        EXPECT_FALSE(Exists(dir_));
        EXPECT_FALSE(Exists(machine::ProgramsFolder() + "\\Fernwickhold"));
        EXPECT_FALSE(machine::KeyExists(HKEY_CURRENT_USER, "Software\\Fernwickhold"));
        EXPECT_FALSE(machine::ReadValue(HKEY_CURRENT_USER, kRunKey, "Fernwickhold").present);
        EXPECT_TRUE(machine::ReadValue(HKEY_CURRENT_USER, kRunKey, "WrenfieldOther").present);
        EXPECT_FALSE(machine::KeyExists(HKEY_LOCAL_MACHINE, kArpKey));
        EXPECT_TRUE(Added(logsBefore, TempCopies("osf*.ini")).empty()) << "the copied log stays";

        // The copied uninstaller waits for deletion at restart.
        std::vector<std::string> copies = Added(exesBefore, TempCopies("osf*.exe"));
        ASSERT_EQ(1u, copies.size());
        machine::RegistryValue renames =
            machine::ReadValue(HKEY_LOCAL_MACHINE, kSessionKey, "PendingFileRenameOperations");
        std::string name = copies[0].substr(copies[0].rfind('\\') + 1);
        EXPECT_NE(std::string::npos, renames.data.find(name)) << name << " is not registered";
        EXPECT_TRUE(driver::FindWindows("Fernwickhold", "Fernwickhold").empty())
            << "the decoy was started";
    }
    DeleteFileA(decoy.c_str());

    // A restart of the prefix carries out the pending deletions.
    std::vector<std::string> copies = TempCopies("osf*.exe");
    driver::Process reboot = driver::StartCommandLine("wineboot.exe -r");
    ASSERT_NE(nullptr, reboot.handle);
    driver::WaitExit(reboot, 120000);
    for (const std::string& copy : copies)
        EXPECT_FALSE(Exists(copy)) << copy << " survived the restart";
}

TEST_F(Uninstallation, WaitsForTheRunningProductAndCancelChangesNothing)
{
    driver::Process product = driver::Start(dir_ + "\\Fernwickhold.exe");
    ASSERT_NE(nullptr, driver::WaitForWindow("Fernwickhold", "Fernwickhold", product.id));
    driver::Process uninstaller = driver::Start(uninstaller_, log_);
    HWND box = driver::WaitForMessageBox(kCaption, uninstaller.id);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("You must close the currently running version of Fernwickhold to continue with "
              "setup.\nPress OK after you have closed it, or Cancel to quit setup.",
              driver::MessageBoxText(box));
    driver::Command(box, IDOK);
    ASSERT_TRUE(driver::WaitGone(box));
    box = driver::WaitForMessageBox(kCaption, uninstaller.id);
    ASSERT_NE(nullptr, box);
    EXPECT_NE(std::string::npos, driver::MessageBoxText(box).find("You must close"))
        << "the product still runs: the wait must come again";
    driver::Command(box, IDCANCEL);
    EXPECT_EQ(0u, driver::WaitExit(uninstaller));
    machine::CloseWindows("Fernwickhold", "Fernwickhold");
    driver::WaitExit(product);
    ExpectNothingRemoved();
}

TEST_F(Uninstallation, NoToTheConfirmationChangesNothing)
{
    std::vector<std::string> exesBefore = TempCopies("osf*.exe");
    driver::Process uninstaller = driver::Start(uninstaller_, log_);
    HWND box = driver::WaitForMessageBox(kCaption, uninstaller.id);
    ASSERT_NE(nullptr, box);
    driver::Command(box, IDNO);
    EXPECT_EQ(1u, driver::WaitExit(uninstaller));
    ExpectNothingRemoved();
    EXPECT_EQ(exesBefore, TempCopies("osf*.exe"));
}

TEST_F(Uninstallation, EndsSilentlyWithoutALogItCanRead)
{
    const std::string arguments[] = {"", "\"" + log_ + "\"", "/X:" + log_};
    for (const std::string& args : arguments) {
        driver::Process uninstaller = driver::Start(uninstaller_, args);
        EXPECT_EQ(0u, driver::WaitExit(uninstaller)) << "arguments: " << args;
        EXPECT_TRUE(driver::FindWindows("#32770", kCaption).empty()) << "arguments: " << args;
    }
    ExpectNothingRemoved();
}

}  // namespace
