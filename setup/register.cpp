// The uninstaller, its Add/Remove Programs entry and shortcut, and the start
// of the installed product.
#include "setup.h"

#include <shellapi.h>

#include "paths.h"
#include "resources.h"
#include "setup_description.h"

void WriteRegistryString(HKEY root, const char* keyPath, const char* valueName, const char* text)
{
    HKEY key = NULL;
    if (RegCreateKeyExA(root, keyPath, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL,
                        &key, NULL) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, valueName, 0, REG_SZ, (const BYTE*)text, lstrlenA(text) + 1);
    RegCloseKey(key);
}

void RegisterUninstaller()
{
    DWORD count = 0;
    const BYTE* bytes = FindPackageResource("Uninst", 292, &count);
    DeployFile("Uninst.exe", bytes, count);

    char uninstallerPath[PathSize];
    char command[2 * PathSize + 4];
    char keyPath[256];
    char title[256];
    char linkPath[PathSize];
    ZeroMemory(uninstallerPath, sizeof uninstallerPath);
    ZeroMemory(command, sizeof command);
    ZeroMemory(keyPath, sizeof keyPath);
    ZeroMemory(title, sizeof title);
    ZeroMemory(linkPath, sizeof linkPath);

    JoinPath(uninstallerPath, InstallDir, "Uninst.exe");
    // Quoted: unquoted, a path with blanks starts another program, or none.
    wsprintfA(command, "\"%s\" %s", uninstallerPath, UninstallLogPath);
    wsprintfA(keyPath, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\%s",
              Description.productName);
    WriteRegistryString(HKEY_LOCAL_MACHINE, keyPath, "DisplayName", Description.productName);
    WriteRegistryString(HKEY_LOCAL_MACHINE, keyPath, "UninstallString", command);

    wsprintfA(title, "Uninstall %s", Description.productName);
    if (ShortcutPath(linkPath, title))
        CreateShortcut(linkPath, uninstallerPath, UninstallLogPath, title);
}

void LaunchProduct()
{
    if (Description.launchFileIndex < 0)
        return;
    Sleep(200);
    char path[PathSize];
    ZeroMemory(path, sizeof path);
    if (!JoinPath(path, InstallDir, Description.files.fileName[Description.launchFileIndex]))
        return;
    ShellExecuteA(NULL, "open", path, Description.launchParameters, NULL, SW_SHOWNORMAL);
}
