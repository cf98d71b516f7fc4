// Yes to the uninstaller's restart question. Run only in a Wine prefix of its
// own (tests/restart/in-own-prefix.sh): under Wine the restart request ends
// every program that owns a window in the prefix, carries out the pending
// renames and deletions, and keeps the prefix's server running; programs
// without windows, such as this test, survive it.
#include <gtest/gtest.h>

#include <string>

#include "fixtures.h"
#include "machine.h"
#include "windriver.h"

namespace {

TEST(Restart, YesRestartsTheMachineAfterTheCleanup)
{
    const std::string folder = "C:\\Restartbox";
    fixtures::RemoveTree(folder);
    CreateDirectoryA(folder.c_str(), NULL);
    fixtures::WriteFileText(folder + "\\data.txt", "d");

    // What phase 1 would leave in the temporary folder: the copy of the
    // uninstaller and the copy of the log.
    std::string temp = machine::TempFolder();
    std::string copy = temp + "osfrestart.exe";
    std::string log = temp + "osfrestart.ini";
    ASSERT_TRUE(CopyFileA(fixtures::FromLinuxPath(WRENFIELD_UNINST).c_str(), copy.c_str(), FALSE));
    fixtures::WriteFileText(log, "[Folders.del]\r\nPath1=" + folder + "\r\nNuke1=yes\r\n"
                                 "[App]\r\nName=Restartbox\r\n");

    // A program with a window, which the restart must end.
    driver::Process bystander = driver::Start(
        fixtures::FromLinuxPath(WRENFIELD_PRODUCT_BINARY_DIR) + "\\Fernwickhold.exe");
    ASSERT_NE(nullptr, driver::WaitForWindow("Fernwickhold", "Fernwickhold", bystander.id));

    driver::Process phaseTwo = driver::Start(copy, "/x:" + log);
    HWND box = driver::WaitForMessageBox("Restartbox Setup", phaseTwo.id);
    ASSERT_NE(nullptr, box) << "no restart question";
    EXPECT_FALSE(fixtures::Exists(folder)) << "the cleanup comes before the question";
    EXPECT_FALSE(fixtures::Exists(log)) << "the copied log goes before the question";
    driver::Command(box, IDYES);

    EXPECT_NE((DWORD)STILL_ACTIVE, driver::WaitExit(phaseTwo, 120000)) << "the uninstaller runs on";
    EXPECT_NE((DWORD)STILL_ACTIVE, driver::WaitExit(bystander, 120000))
        << "the program with a window was not ended: no restart";
    // The pending deletion of the uninstaller's copy was carried out.
    DWORD start = GetTickCount();
    while (fixtures::Exists(copy) && GetTickCount() - start < driver::kWait)
        Sleep(100);
    EXPECT_FALSE(fixtures::Exists(copy)) << "the copy was not deleted at the restart";
}

}  // namespace
