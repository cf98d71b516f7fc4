// Path and folder helpers shared by the setup program and the uninstaller.
#include "paths.h"

// Length of a text, or PathSize when it does not fit a path buffer.
int PathLength(const char* text)
{
    int length = 0;
    while (length < PathSize && text[length] != '\0')
        length++;
    return length;
}

// TRUE when text is not empty and its last byte is a backslash.
static BOOL EndsWithBackslash(const char* text, int length)
{
    return length > 0 && text[length - 1] == '\\';
}

BOOL JoinPath(char* result, const char* folder, const char* name)
{
    char copy[PathSize];
    ZeroMemory(copy, sizeof copy);

    int folderLength = PathLength(folder);
    int nameLength = PathLength(name);
    int slash = EndsWithBackslash(folder, folderLength) ? 0 : 1;
    if (folderLength + slash + nameLength > PathSize - 1) {
        result[0] = '\0';
        return FALSE;
    }
    // The folder is copied first because result may be the folder itself.
    CopyMemory(copy, folder, folderLength);
    if (slash)
        copy[folderLength] = '\\';
    wsprintfA(result, "%s%s", copy, name);
    return TRUE;
}

BOOL AppendBackslash(char* text)
{
    int length = PathLength(text);
    if (EndsWithBackslash(text, length))
        return TRUE;
    if (length + 1 > PathSize - 1) {
        text[0] = '\0';
        return FALSE;
    }
    text[length] = '\\';
    text[length + 1] = '\0';
    return TRUE;
}

void CreateDirectoryChain(const char* path)
{
    int length = PathLength(path);
    if (length == 0 || length >= PathSize)
        return;

    char prefix[PathSize];
    ZeroMemory(prefix, sizeof prefix);
    // Shortest prefix first, so that every parent exists before its child;
    // prefixes that exist already (the drive root) simply fail.
    for (int i = 0; i < length; i++) {
        prefix[i] = path[i];
        if (path[i] == '\\')
            CreateDirectoryA(prefix, NULL);
    }
}

// TRUE for a junction or symbolic link, which must go without its target.
static BOOL IsLink(DWORD attributes)
{
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Removes the content of folder, depth first, then folder itself.
static void RemoveTreeBelow(const char* folder)
{
    char pattern[PathSize];
    char entryPath[PathSize];
    WIN32_FIND_DATAA entry;
    ZeroMemory(pattern, sizeof pattern);
    ZeroMemory(entryPath, sizeof entryPath);
    ZeroMemory(&entry, sizeof entry);

    if (!JoinPath(pattern, folder, "*.*"))
        return;  // nothing below can be named, so the folder cannot go either

    HANDLE search = FindFirstFileA(pattern, &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (entry.cFileName[0] == '.')
                continue;
            if (!JoinPath(entryPath, folder, entry.cFileName))
                continue;
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA(entryPath);
            else if (IsLink(entry.dwFileAttributes))
                RemoveDirectoryA(entryPath);
            else
                RemoveTreeBelow(entryPath);
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(folder);
}

void RemoveFolderTree(const char* folder)
{
    // Joined by the rules, an empty folder would name the current drive's root.
    if (folder[0] == '\0')
        return;
    DWORD attributes = GetFileAttributesA(folder);
    if (attributes != INVALID_FILE_ATTRIBUTES && IsLink(attributes)) {
        RemoveDirectoryA(folder);
        return;
    }
    RemoveTreeBelow(folder);
}

void RemoveFolderFiles(const char* folder)
{
    char pattern[PathSize];
    char entryPath[PathSize];
    WIN32_FIND_DATAA entry;
    ZeroMemory(pattern, sizeof pattern);
    ZeroMemory(entryPath, sizeof entryPath);
    ZeroMemory(&entry, sizeof entry);

    int folderLength = PathLength(folder);
    if (folderLength == 0 || folderLength + 3 > PathSize - 1)
        return;
    wsprintfA(pattern, "%s*.*", folder);

    HANDLE search = FindFirstFileA(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        if (folderLength + PathLength(entry.cFileName) > PathSize - 1)
            continue;
        wsprintfA(entryPath, "%s%s", folder, entry.cFileName);
        DeleteFileA(entryPath);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

BOOL IsFileInUse(const char* path)
{
    // Wine running as root grants write access to read-only files; Windows
    // does not, and the attribute says what Windows would do.
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return TRUE;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return TRUE;
    CloseHandle(file);
    return FALSE;
}
