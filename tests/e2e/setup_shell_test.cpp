// The real setup program, started as a process and driven through its dialog.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>

#include "fixtures.h"
#include "machine.h"
#include "windriver.h"

namespace {

const char kCaption[] = "Fernwickhold Setup";

std::string SetupPath()
{
    return fixtures::SetupProgram();
}

std::string ProposedFolder()
{
    char value[MAX_PATH] = "C:\\Program Files";
    DWORD size = sizeof value;
    RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
                 "ProgramFilesDir", RRF_RT_REG_SZ, NULL, value, &size);
    return std::string(value) + "\\Fernwickhold";
}

// What an installation would leave; none of it may appear before OK installs.
void ExpectMachineUnchanged()
{
    EXPECT_FALSE(fixtures::Exists(ProposedFolder()));
    EXPECT_FALSE(fixtures::Exists(machine::ProgramsFolder() + "\\Fernwickhold"));
    HKEY key;
    EXPECT_NE(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                            "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Fernwickhold",
                            0, KEY_READ, &key));
}

// A running setup program; killed if a test leaves it behind.
class RunningSetup {
public:
    explicit RunningSetup(const std::string& args = "")
    {
        process_ = driver::Start(SetupPath(), args);
        if (process_.handle)
            dialog_ = driver::WaitForWindow("Setup", kCaption, process_.id);
    }
    ~RunningSetup() { driver::Kill(process_); }
    HWND dialog() const { return dialog_; }
    driver::Process& process() { return process_; }

private:
    driver::Process process_;
    HWND dialog_ = NULL;
};

class SetupShell : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(SetupPath().empty()) << "no setup program under test";
        ASSERT_TRUE(driver::FindWindows("Setup", kCaption).empty()) << "a setup dialog is open already";
        ExpectMachineUnchanged();
    }
};

TEST_F(SetupShell, ShowsTitleGreetingAndProposalWhateverTheCommandLine)
{
    for (const char* args : {"", "/s C:\\Other \"quoted text\" /x:ignored"}) {
        RunningSetup setup(args);
        ASSERT_NE(nullptr, setup.dialog()) << "no dialog \"" << kCaption << "\" with arguments: " << args;
        EXPECT_EQ(kCaption, driver::Text(setup.dialog()));
        EXPECT_EQ("Thank you for installing Fernwickhold!", driver::ItemText(setup.dialog(), 1008));
        EXPECT_EQ(ProposedFolder(), driver::ItemText(setup.dialog(), 1007));

        bool sawPrompt = false;
        for (const driver::Child& child : driver::Children(setup.dialog()))
            if (child.text == "Enter the directory you wish to install this program in:") {
                sawPrompt = true;
                EXPECT_EQ(0xFFFF, child.id & 0xFFFF);
            }
        EXPECT_TRUE(sawPrompt) << "the static text is missing";
        EXPECT_EQ("OK", driver::ItemText(setup.dialog(), IDOK));
        EXPECT_EQ("Cancel", driver::ItemText(setup.dialog(), IDCANCEL));

        driver::Command(setup.dialog(), IDCANCEL);
        EXPECT_EQ(0u, driver::WaitExit(setup.process()));
    }
    ExpectMachineUnchanged();
}

TEST_F(SetupShell, EveryWayOfClosingEndsWithExitCodeZeroAndChangesNothing)
{
    struct {
        const char* how;
        UINT message;
        WPARAM wParam;
    } ways[] = {
        {"Cancel button", WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED)},
        {"id 2 with another notification code", WM_COMMAND, MAKEWPARAM(IDCANCEL, 0x1234)},
        {"close box", WM_SYSCOMMAND, SC_CLOSE},
        {"WM_CLOSE", WM_CLOSE, 0},
    };
    for (const auto& way : ways) {
        RunningSetup setup;
        ASSERT_NE(nullptr, setup.dialog()) << way.how;
        PostMessageA(setup.dialog(), way.message, way.wParam, 0);
        EXPECT_EQ(0u, driver::WaitExit(setup.process())) << way.how;
        EXPECT_TRUE(driver::WaitGone(setup.dialog())) << way.how;
    }
    ExpectMachineUnchanged();
}

TEST_F(SetupShell, OkActsWhateverItsNotificationCodeAndOtherCommandsDoNot)
{
    RunningSetup setup;
    ASSERT_NE(nullptr, setup.dialog());
    const std::string typed = "C:\\Fern|hold";
    driver::SetItemText(setup.dialog(), 1007, typed);

    // A command from the edit box is no OK: handled, and nothing shown.
    SendMessageTimeoutA(setup.dialog(), WM_COMMAND, MAKEWPARAM(1007, EN_CHANGE), 0,
                        SMTO_ABORTIFHUNG, driver::kWait, NULL);
    EXPECT_TRUE(driver::FindWindows("#32770", kCaption).empty());

    driver::Command(setup.dialog(), IDOK, 0x77);
    HWND box = driver::WaitForMessageBox(kCaption, setup.process().id);
    ASSERT_NE(nullptr, box) << "no message box for an invalid folder";
    EXPECT_EQ("The directory you entered is not a valid name.", driver::MessageBoxText(box));
    driver::Command(box, IDOK);
    ASSERT_TRUE(driver::WaitGone(box));

    EXPECT_TRUE(IsWindow(setup.dialog()));
    EXPECT_EQ(typed, driver::ItemText(setup.dialog(), 1007));
    driver::Command(setup.dialog(), IDCANCEL);
    EXPECT_EQ(0u, driver::WaitExit(setup.process()));
    ExpectMachineUnchanged();
}

TEST_F(SetupShell, ASecondSetupBringsTheFirstToTheFrontAndEnds)
{
    RunningSetup first;
    ASSERT_NE(nullptr, first.dialog());

    // Put a window of our own in front, so that the change can be seen.
    HWND ours = CreateWindowA("Static", "in front", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                              100, NULL, NULL, NULL, NULL);
    SetForegroundWindow(ours);
    ASSERT_EQ(ours, GetForegroundWindow());

    driver::Process second = driver::Start(SetupPath(), "second");
    EXPECT_EQ(0u, driver::WaitExit(second));
    EXPECT_EQ(1u, driver::FindWindows("Setup", kCaption).size());
    EXPECT_EQ(first.dialog(), GetForegroundWindow());
    DestroyWindow(ours);

    // A minimised dialog is brought forward but stays minimised.
    ShowWindow(first.dialog(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(first.dialog()));
    driver::Process third = driver::Start(SetupPath());
    EXPECT_EQ(0u, driver::WaitExit(third));
    EXPECT_TRUE(IsIconic(first.dialog()));
    EXPECT_EQ(1u, driver::FindWindows("Setup", kCaption).size());

    driver::Command(first.dialog(), IDCANCEL);
    EXPECT_EQ(0u, driver::WaitExit(first.process()));
    ExpectMachineUnchanged();
}

}  // namespace
