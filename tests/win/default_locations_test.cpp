// The proposal of the installation folder and the program group, and the
// test of the typed folder's characters.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>

#include "fixtures.h"
#include "setup.h"

namespace {

const char kVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";

// A window with an edit box 1007 standing in for the setup dialog.
class FakeDialog {
public:
    FakeDialog()
    {
        window_ = CreateWindowA("Static", "", WS_OVERLAPPED, 0, 0, 100, 100, NULL, NULL, NULL, NULL);
        CreateWindowA("Edit", "", WS_CHILD, 0, 0, 50, 20, window_, (HMENU)(INT_PTR)InstallDirEditId,
                      NULL, NULL);
        SetupDialog = window_;
    }
    ~FakeDialog()
    {
        DestroyWindow(window_);
        SetupDialog = NULL;
    }
    std::string EditText() const
    {
        char text[1024] = {};
        GetDlgItemTextA(window_, InstallDirEditId, text, sizeof text);
        return text;
    }

private:
    HWND window_;
};

struct ProposalCase {
    bool present;
    std::string value;
    std::string expected;
};

TEST(ProposeDefaultLocations, ProposesTheProductFolderUnderProgramFiles)
{
    fixtures::SavedRegistryValue saved(HKEY_LOCAL_MACHINE, kVersionKey, "ProgramFilesDir");
    char programs[MAX_PATH] = {};
    ASSERT_EQ(S_OK, SHGetFolderPathA(NULL, CSIDL_PROGRAMS, NULL, 0, programs));

    const ProposalCase cases[] = {
        {true, "D:\\Apps", "D:\\Apps\\Fernwickhold"},
        {true, "D:\\Apps\\", "D:\\Apps\\Fernwickhold"},
        {true, "", "C:\\Program Files\\Fernwickhold"},
        {false, "", "C:\\Program Files\\Fernwickhold"},
        // Too long to be a path (260 bytes with its zero): no proposal at all.
        {true, "D:\\" + std::string(256, 'p'), ""},  // 5
        // Fits, but not with the folder name joined: no cut proposal either.
        {true, "D:\\" + std::string(245, 'p'), ""},
        {true, "D:\\" + std::string(243, 'p'), "D:\\" + std::string(243, 'p') + "\\Fernwickhold"},
    };
    int row = 0;
    for (const ProposalCase& c : cases) {
        row++;
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kVersionKey, 0, KEY_ALL_ACCESS, &key));
        if (c.present)
            RegSetValueExA(key, "ProgramFilesDir", 0, REG_SZ, (const BYTE*)c.value.c_str(),
                           (DWORD)c.value.size() + 1);
        else
            RegDeleteValueA(key, "ProgramFilesDir");
        RegCloseKey(key);

        // As in a fresh process.
        lstrcpyA(ProgramFilesPath, "C:\\Program Files");
        ZeroMemory(InstallDir, sizeof InstallDir);
        ZeroMemory(ProgramGroupDir, sizeof ProgramGroupDir);
        FakeDialog dialog;
        ProposeDefaultLocations();

        EXPECT_EQ(c.expected, InstallDir) << "row " << row;
        EXPECT_EQ(c.expected, dialog.EditText()) << "row " << row;
        EXPECT_EQ(std::string(programs) + "\\Fernwickhold", ProgramGroupDir) << "row " << row;
    }
}

TEST(IsValidInstallDir, RefusesExactlyTheSevenForbiddenCharacters)
{
    struct {
        const char* dir;
        bool valid;
    } cases[] = {
        {"C:\\Program Files\\Fernwickhold", true},
        {"C:\\a:b", true},
        {"", true},
        {"relative\\folder", true},
        {"C:/Fernwickhold", false},  // 5
        {"C:\\Fern*", false},
        {"C:\\Fern?", false},
        {"C:\\\"Fern\"", false},
        {"C:\\<Fern", false},
        {"C:\\Fern>", false},  // 10
        {"C:\\Fern|hold", false},
    };
    int row = 0;
    for (const auto& c : cases) {
        row++;
        lstrcpyA(InstallDir, c.dir);
        EXPECT_EQ(c.valid, IsValidInstallDir() != FALSE) << "row " << row << ": " << c.dir;
    }
    InstallDir[0] = '\0';
}

}  // namespace
