// Payload deployment: each file of the product, expanded into InstallDir
// and followed by its shortcut.
#include "paths.h"
#include "resources.h"
#include "setup.h"
#include "setup_description.h"

// Names of the files that could not be installed, one a line.
static char FailedFiles[1024];
static int FailedFileCount;

// Remembers a file that could not be installed.
static void RememberFailure(const char* fileName)
{
    FailedFileCount++;
    int used = lstrlenA(FailedFiles);
    int length = lstrlenA(fileName);
    if (used + length + 2 < (int)sizeof FailedFiles) {
        lstrcpyA(FailedFiles + used, fileName);
        lstrcpyA(FailedFiles + used + length, "\n");
    }
}

// Writes the folder part of path (up to its last backslash) into folder.
static void FolderOf(const char* path, char* folder)
{
    int length = PathLength(path);
    while (length > 0 && path[length - 1] != '\\')
        length--;
    lstrcpynA(folder, path, length + 1);
}

BOOL DeployFile(const char* fileName, const BYTE* bytes, DWORD count)
{
    char staging[PathSize];
    char target[PathSize];
    char folder[PathSize];
    char fresh[PathSize];
    ZeroMemory(staging, sizeof staging);
    ZeroMemory(target, sizeof target);
    ZeroMemory(folder, sizeof folder);
    ZeroMemory(fresh, sizeof fresh);

    BOOL ok = bytes != NULL && StageResource(bytes, count, staging) &&
              JoinPath(target, InstallDir, fileName);
    if (ok) {
        CreateDirectoryChain(target);
        // Expanded beside the target under a fresh name, and put in place only
        // when complete: a failed expansion never costs the file it replaces.
        FolderOf(target, folder);
        ok = GetTempFileNameA(folder[0] ? folder : ".\\", "osf", 0, fresh) != 0;
        if (ok) {
            ok = ExpandFile(fresh, staging) &&
                 MoveFileExA(fresh, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED);
            if (!ok)
                DeleteFileA(fresh);
        }
    }
    if (staging[0] != '\0')
        DeleteFileA(staging);
    if (!ok)
        RememberFailure(fileName);
    return ok;
}

void DeployPayload()
{
    char linkPath[PathSize];
    char targetPath[PathSize];
    for (int i = 0; i < PayloadRowCount; i++) {
        DWORD count = 0;
        const BYTE* bytes = FindPackageResource("Files", Description.files.resourceId[i], &count);
        DeployFile(Description.files.fileName[i], bytes, count);
        if (Description.files.shortcutName[i][0] == '\0')
            continue;
        ZeroMemory(linkPath, sizeof linkPath);
        ZeroMemory(targetPath, sizeof targetPath);
        if (ShortcutPath(linkPath, Description.files.shortcutName[i]) &&
            JoinPath(targetPath, InstallDir, Description.files.fileName[i]))
            CreateShortcut(linkPath, targetPath, NULL, Description.files.shortcutName[i]);
    }
    NotifyProgramGroup();
}

BOOL ReportFailedFiles()
{
    if (FailedFileCount == 0)
        return FALSE;
    char message[1400];
    ZeroMemory(message, sizeof message);
    wsprintfA(message,
              "Setup could not install these files:\n\n%s\n%s was not started. Close any "
              "program that uses them and run setup again.",
              FailedFiles, Description.productName);
    MessageBoxA(SetupDialog, message, Caption, MB_OK | MB_ICONERROR);
    return TRUE;
}
