// The install sequence started by OK: check the typed folder, wait while the
// product runs, then make every change in one fixed order.
#include "folder_guard.h"
#include "paths.h"
#include "setup.h"
#include "setup_description.h"
#include "uninstall_log.h"

char UninstallLogPath[260];
int FolderEntryCount;
int RegistryEntryCount;

BOOL IsValidInstallDir()
{
    static const char forbidden[] = "/*?\"<>|";
    for (const char* p = InstallDir; *p != '\0'; p++)
        for (const char* f = forbidden; *f != '\0'; f++)
            if (*p == *f)
                return FALSE;
    return TRUE;
}

// Shows a message box with the setup caption, owned by the dialog.
static int Ask(const char* text, UINT type)
{
    return MessageBoxA(SetupDialog, text, Caption, type);
}

// The uninstall command holds InstallDir twice; beyond this it does not fit.
enum { MaxInstallDirLength = 118 };

BOOL IsInstallDirAccepted()
{
    int length = PathLength(InstallDir);
    int meaningful = length > 0 && InstallDir[length - 1] == '\\' ? length - 1 : length;
    if (meaningful > MaxInstallDirLength) {
        Ask("The directory you entered is too long. Please choose one of at most 118 characters.",
            MB_OK);
        return FALSE;
    }

    char message[512];
    ZeroMemory(message, sizeof message);
    switch (CheckFolder(InstallDir)) {
    case FolderAllowed:
        return TRUE;
    case FolderEmpty:
        Ask("Please enter the directory you wish to install this program in.", MB_OK);
        return FALSE;
    case FolderNotFull:
        Ask("Please enter a full path, beginning with a drive (such as C:\\) or a network "
            "share (such as \\\\server\\share\\).",
            MB_OK);
        return FALSE;
    case FolderRoot:
        Ask("Setup cannot install into the root of a drive or network share. Please choose a "
            "directory of its own for this program.",
            MB_OK);
        return FALSE;
    case FolderShared:
        // InstallDir is at most 119 characters here, so the text fits.
        wsprintfA(message,
                  "Setup cannot install into %s: it holds much more than this program, and "
                  "uninstalling would remove it with everything in it. Please choose a "
                  "directory of its own for this program.",
                  InstallDir);
        Ask(message, MB_OK);
        return FALSE;
    }
    return FALSE;
}

// TRUE when InstallDir holds anything (other than "." and "..").
static BOOL HoldsAnything(const char* folder)
{
    char pattern[PathSize];
    WIN32_FIND_DATAA entry;
    ZeroMemory(pattern, sizeof pattern);
    ZeroMemory(&entry, sizeof entry);
    if (!JoinPath(pattern, folder, "*"))
        return FALSE;
    HANDLE search = FindFirstFileA(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return FALSE;
    BOOL found = FALSE;
    do {
        if (lstrcmpA(entry.cFileName, ".") != 0 && lstrcmpA(entry.cFileName, "..") != 0)
            found = TRUE;
    } while (!found && FindNextFileA(search, &entry));
    FindClose(search);
    return found;
}

BOOL ConfirmForeignFolder()
{
    if (!HoldsAnything(InstallDir))
        return TRUE;
    // A folder that an earlier setup of this product made is ours to update.
    char name[256];
    ZeroMemory(name, sizeof name);
    GetPrivateProfileStringA(AppSection, NameKey, "", name, sizeof name, UninstallLogPath);
    if (lstrcmpiA(name, Description.productName) == 0)
        return TRUE;

    char message[768];
    ZeroMemory(message, sizeof message);
    // InstallDir (at most 119) and the product name (at most 123) fit.
    wsprintfA(message,
              "The directory %s is not empty.\n\nIf you install %s here, uninstalling it will "
              "remove this directory with everything in it, including files that do not "
              "belong to %s.\n\nDo you want to install here anyway?",
              InstallDir, Description.productName, Description.productName);
    return Ask(message, MB_YESNO | MB_ICONWARNING) == IDYES;
}

void LogFolder(const char* folder, const char* nuke)
{
    char key[256];
    ZeroMemory(key, sizeof key);
    int n = ++FolderEntryCount;
    wsprintfA(key, PathKey, n);
    WritePrivateProfileStringA(FoldersSection, key, folder, UninstallLogPath);
    wsprintfA(key, NukeKey, n);
    WritePrivateProfileStringA(FoldersSection, key, nuke, UninstallLogPath);
}

void LogRegistryEntry(const char* root, const char* keyPath, const char* valueName)
{
    char key[256];
    ZeroMemory(key, sizeof key);
    int n = ++RegistryEntryCount;
    wsprintfA(key, RootKey, n);
    WritePrivateProfileStringA(RegistrySection, key, root, UninstallLogPath);
    wsprintfA(key, SubKeyKey, n);
    WritePrivateProfileStringA(RegistrySection, key, keyPath, UninstallLogPath);
    // No value name: the uninstaller removes the whole key tree.
    if (valueName[0] != '\0') {
        wsprintfA(key, ValueKey, n);
        WritePrivateProfileStringA(RegistrySection, key, valueName, UninstallLogPath);
    }
}

void LogAppName()
{
    WritePrivateProfileStringA(AppSection, NameKey, Description.productName, UninstallLogPath);
}

// Creates folder and every folder above it.
static void CreateFolder(const char* folder)
{
    char chain[PathSize];
    ZeroMemory(chain, sizeof chain);
    lstrcpynA(chain, folder, sizeof chain);
    if (AppendBackslash(chain))
        CreateDirectoryChain(chain);
}

void PrepareFolders()
{
    // Without a Programs folder there is no program group to make or log.
    if (ProgramGroupDir[0] != '\0')
        RemoveFolderTree(ProgramGroupDir);
    CreateFolder(InstallDir);
    LogFolder(InstallDir, "yes");  // the first write: it creates the log
    if (ProgramGroupDir[0] != '\0') {
        CreateFolder(ProgramGroupDir);
        LogFolder(ProgramGroupDir, "yes");
    }
}

// TRUE while the product counts as running: its main file in InstallDir is
// in use, or its main window is open.
static BOOL IsProductRunning(const char* mainFilePath)
{
    if (GetFileAttributesA(mainFilePath) != INVALID_FILE_ATTRIBUTES && IsFileInUse(mainFilePath))
        return TRUE;
    return FindWindowA(Description.runningWindowClass, Description.runningWindowTitle) != NULL;
}

BOOL WaitForRunningCopy()
{
    char prompt[256];
    char mainFilePath[PathSize];
    ZeroMemory(prompt, sizeof prompt);
    ZeroMemory(mainFilePath, sizeof mainFilePath);
    wsprintfA(prompt, RunningCopyPrompt, Description.productName);
    JoinPath(mainFilePath, InstallDir, Description.files.fileName[Description.mainFileIndex]);

    while (IsProductRunning(mainFilePath))
        if (Ask(prompt, MB_OKCANCEL) == IDCANCEL)
            return FALSE;

    PrepareFolders();
    WritePrivateProfileStringA(UninstallSection, WaitForKey, mainFilePath, UninstallLogPath);
    return TRUE;
}

void DeleteObsoleteFiles()
{
    char path[PathSize];
    for (int i = 0; i < ObsoleteFileCount; i++) {
        ZeroMemory(path, sizeof path);
        if (JoinPath(path, InstallDir, Description.obsoleteFiles[i]))
            DeleteFileA(path);
    }
}

void LogRegistryCleanup()
{
    for (int i = 0; i < RegistryRowCount; i++)
        LogRegistryEntry(Description.registryCleanup.rootName[i],
                         Description.registryCleanup.subKey[i],
                         Description.registryCleanup.valueName[i]);
}

LRESULT RunInstall(HWND dialog)
{
    ZeroMemory(InstallDir, sizeof InstallDir);
    GetDlgItemTextA(dialog, InstallDirEditId, InstallDir, sizeof InstallDir);
    JoinPath(UninstallLogPath, InstallDir, LogFileName);

    if (!IsValidInstallDir()) {
        MessageBoxA(dialog, "The directory you entered is not a valid name.", Caption, MB_OK);
        return 0;
    }
    // Refusals and the question come before anything is changed.
    if (!IsInstallDirAccepted() || !ConfirmForeignFolder())
        return 0;
    if (!WaitForRunningCopy()) {
        DestroyWindow(dialog);
        return 0;
    }
    LogAppName();
    DeleteObsoleteFiles();
    DeployPayload();
    LogRegistryCleanup();
    RegisterUninstaller();
    if (!ReportFailedFiles())
        LaunchProduct();
    DestroyWindow(dialog);
    return 0;
}
