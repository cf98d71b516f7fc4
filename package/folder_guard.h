// Which folders may be named for removal with everything in them. The
// uninstaller removes the installation folder with all it holds, so setup
// refuses to install into, and the uninstaller refuses to remove, a folder
// whose removal would take far more than one product.
#pragma once

#include <windows.h>

enum FolderVerdict {
    FolderAllowed,
    FolderEmpty,       // no text at all
    FolderNotFull,     // not "X:\..." nor "\\server\share\..."
    FolderRoot,        // a drive root or share root
    FolderShared,      // the Windows, Program Files, profile, Desktop,
                       // Documents or Start-menu Programs folder, a folder
                       // above one of them, or one inside the Windows folder
};

FolderVerdict CheckFolder(const char* path);
