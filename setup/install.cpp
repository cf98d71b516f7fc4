// The install sequence started by OK.
#include "paths.h"
#include "setup.h"
#include "setup_description.h"

char UninstallLogPath[260];

BOOL IsValidInstallDir()
{
    static const char forbidden[] = "/*?\"<>|";
    for (const char* p = InstallDir; *p != '\0'; p++)
        for (const char* f = forbidden; *f != '\0'; f++)
            if (*p == *f)
                return FALSE;
    return TRUE;
}

LRESULT RunInstall(HWND dialog)
{
    ZeroMemory(InstallDir, sizeof InstallDir);
    GetDlgItemTextA(dialog, InstallDirEditId, InstallDir, sizeof InstallDir);
    JoinPath(UninstallLogPath, InstallDir, "Uninst.ini");

    if (!IsValidInstallDir()) {
        MessageBoxA(dialog, "The directory you entered is not a valid name.", Caption, MB_OK);
        return 0;
    }
    // The steps that change the machine are not part of this build yet: the
    // dialog stays open rather than pretend that anything was installed.
    return 0;
}
