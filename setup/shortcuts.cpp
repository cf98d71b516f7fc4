// Start-menu shortcuts, made through the shell's link object.
#include <shlobj.h>

#include "paths.h"
#include "setup.h"

BOOL ShortcutPath(char* result, const char* title)
{
    result[0] = '\0';
    // Without a program group there is nowhere to put shortcuts.
    if (ProgramGroupDir[0] == '\0' || !JoinPath(result, ProgramGroupDir, title))
        return FALSE;
    int length = PathLength(result);
    if (length + 4 > PathSize - 1) {
        result[0] = '\0';
        return FALSE;
    }
    lstrcpyA(result + length, ".lnk");
    return TRUE;
}

void CreateShortcut(const char* linkPath, const char* target, const char* arguments,
                    const char* description)
{
    IShellLinkA* link = NULL;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                (void**)&link)))
        return;
    link->SetPath(target);
    if (arguments != NULL)
        link->SetArguments(arguments);
    link->SetDescription(description);

    IPersistFile* file = NULL;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file))) {
        WCHAR widePath[PathSize];
        ZeroMemory(widePath, sizeof widePath);
        MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, PathSize);
        file->Save(widePath, TRUE);
        file->Release();
    }
    link->Release();
}

void NotifyProgramGroup()
{
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHA, ProgramGroupDir, NULL);
}
