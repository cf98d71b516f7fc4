// The proposed installation folder and the Start-menu program group.
#include <shlobj.h>

#include "paths.h"
#include "setup.h"
#include "setup_description.h"

char ProgramGroupDir[260];
char ProgramFilesPath[260] = "C:\\Program Files";
char InstallDir[260];

// Puts the current user's Start-menu Programs folder into ProgramGroupDir,
// or leaves it empty when the shell cannot supply one.
static void FindProgramsFolder()
{
    LPITEMIDLIST items = NULL;
    ZeroMemory(ProgramGroupDir, sizeof ProgramGroupDir);
    if (FAILED(SHGetSpecialFolderLocation(NULL, CSIDL_PROGRAMS, &items)) || items == NULL)
        return;
    if (!SHGetPathFromIDListA(items, ProgramGroupDir))
        ProgramGroupDir[0] = '\0';
    CoTaskMemFree(items);
}

// Reads "ProgramFilesDir" into ProgramFilesPath. FALSE when the key cannot be
// opened or the value is too long to be a path: then nothing is proposed.
static BOOL ReadProgramFilesDir()
{
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0,
                      KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return FALSE;

    char value[260];
    DWORD type = 0;
    DWORD size = sizeof value;
    ZeroMemory(value, sizeof value);
    LONG result = RegQueryValueExA(key, "ProgramFilesDir", NULL, &type, (BYTE*)value, &size);
    RegCloseKey(key);

    if (result == ERROR_MORE_DATA || (result == ERROR_SUCCESS && size >= sizeof value))
        return FALSE;
    if (result == ERROR_SUCCESS) {
        value[size] = '\0';  // a stored text need not end with its zero
        lstrcpyA(ProgramFilesPath, value);
    }
    return TRUE;
}

void ProposeDefaultLocations()
{
    FindProgramsFolder();
    // An empty group stays empty: joined, it would name "\<product>" at the drive root.
    if (ProgramGroupDir[0] != '\0')
        JoinPath(ProgramGroupDir, ProgramGroupDir, Description.productName);

    if (!ReadProgramFilesDir())
        return;
    if (ProgramFilesPath[0] == '\0')
        lstrcpyA(ProgramFilesPath, "C:\\Program Files");
    JoinPath(InstallDir, ProgramFilesPath, Description.defaultFolderName);
    SetDlgItemTextA(SetupDialog, InstallDirEditId, InstallDir);
}
