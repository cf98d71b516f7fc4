// Folders that must never be removed whole.
#include "folder_guard.h"

#include <shlobj.h>

#include "paths.h"

// Length of the "X:\" or "\\server\share\" part of path, or 0 when path is
// not a full path. *rootOnly is TRUE when nothing follows that part.
static int RootLength(const char* path, BOOL* rootOnly)
{
    int length = PathLength(path);
    int root = 0;
    if (length >= 3 && IsCharAlphaA(path[0]) && path[1] == ':' && path[2] == '\\') {
        root = 3;
    } else if (length >= 2 && path[0] == '\\' && path[1] == '\\') {
        // \\server\share, with both names present
        int i = 2;
        while (i < length && path[i] != '\\')
            i++;
        if (i == 2 || i >= length)
            return 0;
        int share = ++i;
        while (i < length && path[i] != '\\')
            i++;
        if (i == share)
            return 0;
        root = i < length ? i + 1 : i;
    }
    *rootOnly = root > 0 && root >= length;
    return root;
}

// Writes the canonical form of path into result: made absolute, "." and ".."
// resolved, long names for existing parts, no trailing backslash.
static BOOL Canonical(const char* path, char* result)
{
    char full[PathSize];
    ZeroMemory(full, sizeof full);
    DWORD length = GetFullPathNameA(path, sizeof full, full, NULL);
    if (length == 0 || length >= sizeof full)
        return FALSE;
    length = GetLongPathNameA(full, result, PathSize);
    if (length == 0 || length >= PathSize)
        lstrcpyA(result, full);
    int end = PathLength(result);
    if (end > 3 && result[end - 1] == '\\')
        result[end - 1] = '\0';
    return TRUE;
}

// TRUE when inner is outer or lies inside it (both canonical).
static BOOL Contains(const char* outer, const char* inner)
{
    int outerLength = PathLength(outer);
    int innerLength = PathLength(inner);
    if (outerLength == 0 || outerLength > innerLength)
        return FALSE;
    if (CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, outer, outerLength, inner, outerLength) !=
        CSTR_EQUAL)
        return FALSE;
    return innerLength == outerLength || inner[outerLength] == '\\' ||
           outer[outerLength - 1] == '\\';
}

FolderVerdict CheckFolder(const char* path)
{
    if (path[0] == '\0')
        return FolderEmpty;
    BOOL rootOnly = FALSE;
    if (RootLength(path, &rootOnly) == 0)
        return FolderNotFull;

    char folder[PathSize];
    ZeroMemory(folder, sizeof folder);
    if (!Canonical(path, folder))
        return FolderNotFull;
    if (rootOnly || (RootLength(folder, &rootOnly) > 0 && rootOnly))
        return FolderRoot;

    static const int shared[] = {CSIDL_WINDOWS,          CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86,
                                 CSIDL_PROFILE,          CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL,
                                 CSIDL_PROGRAMS};
    char special[PathSize];
    char canonical[PathSize];
    for (unsigned i = 0; i < sizeof shared / sizeof shared[0]; i++) {
        ZeroMemory(special, sizeof special);
        ZeroMemory(canonical, sizeof canonical);
        if (SHGetFolderPathA(NULL, shared[i], NULL, SHGFP_TYPE_CURRENT, special) != S_OK)
            continue;
        if (!Canonical(special, canonical))
            continue;
        // The folder itself, or one above it; and anything inside Windows.
        if (Contains(folder, canonical))
            return FolderShared;
        if (shared[i] == CSIDL_WINDOWS && Contains(canonical, folder))
            return FolderShared;
    }
    return FolderAllowed;
}
