// Folder cleanup: the folders that the log's "Folders.del" names.
#include "folder_guard.h"
#include "paths.h"
#include "uninstall.h"
#include "uninstall_log.h"

// Reads one numbered "Folders.del" key of entry n into value (260
// characters); its length, which is PathSize - 1 when it may have been cut.
static DWORD ReadEntry(const char* format, int n, char* value)
{
    char key[256];
    ZeroMemory(key, sizeof key);
    wsprintfA(key, format, n);
    ZeroMemory(value, PathSize);
    return GetPrivateProfileStringA(FoldersSection, key, "", value, PathSize, ActiveLogPath);
}

void FolderCleanup()
{
    char path[PathSize];
    char mode[PathSize];
    int n = 1;
    for (DWORD length = ReadEntry(PathKey, n, path); path[0] != '\0';
         length = ReadEntry(PathKey, ++n, path)) {
        // A cut path would name another folder.
        if (length >= PathSize - 1)
            continue;
        // The log is a text file anyone can edit: whatever it says, a folder
        // that holds far more than one product is never removed.
        if (CheckFolder(path) != FolderAllowed)
            continue;
        // A path that cannot take its backslash is skipped, never cut.
        if (!AppendBackslash(path))
            continue;
        ReadEntry(NukeKey, n, mode);
        if (lstrcmpiA(mode, "yes") == 0)
            RemoveFolderTree(path);
        else
            RemoveFolderFiles(path);
    }
}
