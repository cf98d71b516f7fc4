// The sample product that setup installs, started as a process: its window,
// what it records under HKCU, and its start-with-Windows registration.
#include <gtest/gtest.h>

#include <string>

#include "fixtures.h"
#include "windriver.h"

namespace {

const char kName[] = "Fernwickhold";
const char kProductKey[] = "Software\\Fernwickhold";
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string ProductDir()
{
    return fixtures::FromLinuxPath(WRENFIELD_PRODUCT_BINARY_DIR);
}

std::string ProgramPath()
{
    return ProductDir() + "\\Fernwickhold.exe";
}

// A REG_SZ value, or nothing when it is absent or of another type.
bool ReadString(const char* subKey, const char* name, std::string& text)
{
    char buffer[1024] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueA(HKEY_CURRENT_USER, subKey, name, RRF_RT_REG_SZ, NULL, buffer, &size) !=
        ERROR_SUCCESS)
        return false;
    text = buffer;
    return true;
}

bool KeyExists(const char* subKey)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

class SampleProduct : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fixtures::Exists(ProgramPath())) << "no product program at " << ProgramPath();
        ASSERT_TRUE(driver::FindWindows(kName, kName).empty()) << "Fernwickhold is running already";
        // Another test's leftovers would hide what this one checks; never delete them.
        ASSERT_FALSE(KeyExists(kProductKey)) << "HKCU\\" << kProductKey << " exists before the test";
        ownsProductKey_ = true;
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, kName);
    }

    void TearDown() override
    {
        if (ownsProductKey_)
            RegDeleteTreeA(HKEY_CURRENT_USER, kProductKey);
    }

    // Starts the product and waits for its main window; null on failure
    // (the process is then killed).
    HWND Launch(const std::string& args, driver::Process& process)
    {
        process = driver::Start(ProgramPath(), args);
        EXPECT_NE(nullptr, process.handle) << "could not start " << ProgramPath();
        if (!process.handle)
            return NULL;
        HWND window = driver::WaitForWindow(kName, kName, process.id);
        EXPECT_NE(nullptr, window) << "no window of class and title \"" << kName << "\"";
        if (!window)
            driver::Kill(process);
        return window;
    }

    // Closes the window with WM_CLOSE; the exit code, STILL_ACTIVE if it stayed.
    DWORD Close(HWND window, driver::Process& process)
    {
        PostMessageA(window, WM_CLOSE, 0, 0);
        DWORD code = driver::WaitExit(process);
        EXPECT_NE(STILL_ACTIVE, code) << "Fernwickhold did not end after WM_CLOSE";
        driver::Kill(process);
        return code;
    }

    DWORD RunAndClose(const std::string& args)
    {
        driver::Process process;
        HWND window = Launch(args, process);
        return window ? Close(window, process) : STILL_ACTIVE;
    }

    // Restores whatever Run value there was once the test's own is gone.
    fixtures::SavedRegistryValue savedRun_{HKEY_CURRENT_USER, kRunKey, kName};
    bool ownsProductKey_ = false;
};

// Arguments after the program's name, and the lpCmdLine the program gets:
// the C runtime drops the blanks between name and arguments, not after them.
struct Start {
    const char* args;
    const char* commandLine;
};

TEST_F(SampleProduct, StartupSwitchRegistersItToRunWithWindows)
{
    // Setup passes "/s"; a user or a shortcut may vary its case and blanks.
    const Start starts[] = {
        {"/s", "/s"},
        {"/S", "/S"},
        {"  /s ", "/s "},
        {"\t/S\t", "/S\t"},
    };
    for (const Start& start : starts) {
        SCOPED_TRACE(std::string("arguments \"") + start.args + "\"");
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, kName);
        EXPECT_EQ(0u, RunAndClose(start.args));

        std::string commandLine = "(absent)";
        EXPECT_TRUE(ReadString(kProductKey, "LastCommandLine", commandLine));
        EXPECT_EQ(start.commandLine, commandLine);
        std::string run = "(absent)";
        EXPECT_TRUE(ReadString(kRunKey, kName, run));
        EXPECT_EQ("\"" + ProgramPath() + "\"", run);
    }
}

TEST_F(SampleProduct, OtherCommandLinesLeaveTheRunValueAlone)
{
    const Start starts[] = {
        {"", ""},
        {"/x", "/x"},
        {"/s /x", "/s /x"},
        {"s", "s"},
        {"/silent", "/silent"},
        {"\"/s\"", "\"/s\""},
    };
    for (const Start& start : starts) {
        SCOPED_TRACE(std::string("arguments \"") + start.args + "\"");
        EXPECT_EQ(0u, RunAndClose(start.args));

        std::string commandLine = "(absent)";
        EXPECT_TRUE(ReadString(kProductKey, "LastCommandLine", commandLine));
        EXPECT_EQ(start.commandLine, commandLine);
        std::string run;
        EXPECT_FALSE(ReadString(kRunKey, kName, run)) << "Run value written: " << run;
    }
}

DWORD ReadNumber(const std::string& subKey, const char* name)
{
    DWORD number = 0xFFFFFFFF, size = sizeof number;
    RegGetValueA(HKEY_CURRENT_USER, subKey.c_str(), name, RRF_RT_REG_DWORD, NULL, &number, &size);
    return number;
}

void WriteNumber(const std::string& subKey, const char* name, DWORD number)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, subKey.c_str(), name, REG_DWORD, &number, sizeof number);
}

TEST_F(SampleProduct, KeepsItsSettingsUnderItsOwnKey)
{
    const std::string settings = std::string(kProductKey) + "\\Settings";
    EXPECT_EQ(0u, RunAndClose(""));
    for (const char* name : {"Left", "Top", "Width", "Height"})
        EXPECT_NE(0xFFFFFFFFu, ReadNumber(settings, name)) << "no window position value " << name;
    EXPECT_TRUE(KeyExists((std::string(kProductKey) + "\\Recent Files").c_str()));
    std::string version;
    EXPECT_TRUE(ReadString(kProductKey, "Version", version));
    EXPECT_EQ("1.0.5", version);
}

TEST_F(SampleProduct, OpensWhereItWasClosed)
{
    const std::string settings = std::string(kProductKey) + "\\Settings";
    const struct {
        const char* name;
        DWORD value;
    } place[] = {{"Left", 40}, {"Top", 50}, {"Width", 420}, {"Height", 300}};
    for (const auto& value : place)
        WriteNumber(settings, value.name, value.value);

    driver::Process process;
    HWND window = Launch("", process);
    ASSERT_NE(nullptr, window);
    RECT shown = {};
    GetWindowRect(window, &shown);
    EXPECT_EQ(40, shown.left);
    EXPECT_EQ(50, shown.top);
    EXPECT_EQ(420, shown.right - shown.left);
    EXPECT_EQ(300, shown.bottom - shown.top);

    // Moved by the user, it remembers the new place when closed.
    SetWindowPos(window, NULL, 70, 80, 500, 350, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(0u, Close(window, process));
    EXPECT_EQ(70u, ReadNumber(settings, "Left"));
    EXPECT_EQ(80u, ReadNumber(settings, "Top"));
    EXPECT_EQ(500u, ReadNumber(settings, "Width"));
    EXPECT_EQ(350u, ReadNumber(settings, "Height"));
}

TEST_F(SampleProduct, HelpFileIsCompiledHtmlHelp)
{
    const std::string help = fixtures::ReadFileText(ProductDir() + "\\Fernwickhold.chm");
    ASSERT_GE(help.size(), 4u) << "no help file in " << ProductDir();
    EXPECT_EQ("ITSF", help.substr(0, 4));
}

}  // namespace
