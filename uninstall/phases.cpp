// Uninstaller entry and its two phases.
#include "paths.h"
#include "uninstall.h"
#include "uninstall_log.h"

#include <shellapi.h>

char ActiveLogPath[260];
char AppName[256];
char Caption[256];
char TempExePath[260];
char TempLogPath[260];

// Longest product name that every message and the caption can hold.
enum { MaxAppNameLength = 123 };

// Copies at most size - 1 characters of text into buffer.
static void CopyBounded(char* buffer, int size, const char* text)
{
    lstrcpynA(buffer, text, size);
}

BOOL ReadCommandLine(const char* arguments)
{
    ZeroMemory(ActiveLogPath, sizeof ActiveLogPath);
    for (const char* p = arguments; *p != '\0'; p++) {
        if (p[0] == '/' && p[1] == 'x' && p[2] == ':') {
            // A longer tail would be cut into another path: take none.
            if (lstrlenA(p + 3) < (int)sizeof ActiveLogPath)
                CopyBounded(ActiveLogPath, sizeof ActiveLogPath, p + 3);
            return TRUE;
        }
    }
    if (lstrlenA(arguments) < (int)sizeof ActiveLogPath)
        CopyBounded(ActiveLogPath, sizeof ActiveLogPath, arguments);
    return FALSE;
}

BOOL LoadAppName()
{
    ZeroMemory(AppName, sizeof AppName);
    ZeroMemory(Caption, sizeof Caption);
    if (ActiveLogPath[0] == '\0')
        return FALSE;
    DWORD length = GetPrivateProfileStringA(AppSection, NameKey, "", AppName, sizeof AppName,
                                            ActiveLogPath);
    if (length == 0)
        return FALSE;
    // Cut to what the messages can hold.
    AppName[MaxAppNameLength] = '\0';
    wsprintfA(Caption, "%s Setup", AppName);
    return TRUE;
}

// TRUE when something exists at path.
static BOOL Exists(const char* path)
{
    return path[0] != '\0' && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

BOOL WaitForProductClosed()
{
    char text[256];
    char waitPath[PathSize];
    ZeroMemory(text, sizeof text);
    ZeroMemory(waitPath, sizeof waitPath);
    wsprintfA(text, RunningCopyPrompt, AppName);
    GetPrivateProfileStringA(UninstallSection, WaitForKey, "", waitPath, sizeof waitPath,
                             ActiveLogPath);
    if (!Exists(waitPath))
        return TRUE;
    while (IsFileInUse(waitPath)) {
        if (MessageBoxA(NULL, text, Caption, MB_OKCANCEL) == IDCANCEL)
            return FALSE;
        if (!Exists(waitPath))
            return TRUE;
    }
    return TRUE;
}

void CopyToTempFile(const char* source, char* target, const char* extension)
{
    char folder[PathSize];
    ZeroMemory(folder, sizeof folder);
    target[0] = '\0';
    DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder)
        return;
    if (GetTempFileNameA(folder, "osf", 0, target) == 0) {
        target[0] = '\0';
        return;
    }
    DeleteFileA(target);
    int nameLength = lstrlenA(target);
    if (nameLength < 3) {
        target[0] = '\0';
        return;
    }
    CopyMemory(target + nameLength - 3, extension, 3);
    CopyFileA(source, target, FALSE);
}

void RelocateToTemp()
{
    char modulePath[PathSize];
    ZeroMemory(modulePath, sizeof modulePath);
    GetModuleFileNameA(NULL, modulePath, sizeof modulePath);
    CopyToTempFile(modulePath, TempExePath, "exe");
    CopyToTempFile(ActiveLogPath, TempLogPath, "ini");
    if (TempLogPath[0] != '\0')
        WritePrivateProfileStringA(NukeSection, WaitForKey, modulePath, TempLogPath);
}

void RelaunchFromTemp()
{
    // Without both copies there is nothing sound to start.
    if (TempExePath[0] == '\0' || TempLogPath[0] == '\0')
        return;
    char parameters[268];
    ZeroMemory(parameters, sizeof parameters);
    wsprintfA(parameters, "/x:%s", TempLogPath);
    ShellExecuteA(NULL, "open", TempExePath, parameters, NULL, SW_SHOWNORMAL);
}

// Phase 1 normally ends at once; a file that stays in use (read-only, no
// rights) must not keep phase 2 spinning for ever.
enum { WaitForPhaseOnePause = 100, WaitForPhaseOneLimit = 60000 };

void WaitForPhaseOneExit()
{
    char waitPath[PathSize];
    ZeroMemory(waitPath, sizeof waitPath);
    GetPrivateProfileStringA(NukeSection, WaitForKey, "", waitPath, sizeof waitPath, ActiveLogPath);
    DWORD start = GetTickCount();
    while (Exists(waitPath) && IsFileInUse(waitPath)) {
        if (GetTickCount() - start >= WaitForPhaseOneLimit)
            return;
        Sleep(WaitForPhaseOnePause);
    }
}

void OfferRestart()
{
    char text[256];
    ZeroMemory(text, sizeof text);
    wsprintfA(text, "%s setup needs to restart your machine. Would you like to restart now?",
              AppName);
    if (MessageBoxA(NULL, text, Caption, MB_YESNO) != IDYES)
        return;

    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        HANDLE token = NULL;
        TOKEN_PRIVILEGES privileges;
        ZeroMemory(&privileges, sizeof privileges);
        OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token);
        LookupPrivilegeValueA(NULL, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        AdjustTokenPrivileges(token, FALSE, &privileges, sizeof privileges, NULL, NULL);
    }
    ExitWindowsEx(EWX_REBOOT, 0);
}

int RunPhaseOne()
{
    if (!LoadAppName())
        return 0;
    if (!WaitForProductClosed())
        return 0;
    char text[256];
    ZeroMemory(text, sizeof text);
    wsprintfA(text, "Are you sure you want to uninstall %s?", AppName);
    if (MessageBoxA(NULL, text, Caption, MB_YESNO) != IDYES)
        return 1;
    RegistryCleanup();
    RelocateToTemp();
    RelaunchFromTemp();
    return 1;
}

int RunPhaseTwo()
{
    if (!LoadAppName())
        return 0;
    WaitForPhaseOneExit();
    FolderCleanup();
    RemoveSelf();
    OfferRestart();
    return 1;
}

int RunUninstaller(const char* arguments)
{
    return ReadCommandLine(arguments) ? RunPhaseTwo() : RunPhaseOne();
}
