// Deferred deletion of the uninstaller's temporary copy, through the platform
// or, where it refuses, through the [Rename] section of WinInit.Ini.
#include "paths.h"
#include "uninstall.h"

static const char RenameHeader[] = "[Rename]\r\n";
enum { RenameHeaderLength = 10, RenameLineSize = 1024 };

// Offset of the first "[Rename]\r\n" in content, searched up to its first
// zero byte; -1 when there is none.
static LONG FindHeader(const BYTE* content, DWORD size)
{
    DWORD end = 0;
    while (end < size && content[end] != 0)
        end++;
    for (DWORD i = 0; i + RenameHeaderLength <= end; i++) {
        DWORD j = 0;
        while (j < RenameHeaderLength && content[i + j] == (BYTE)RenameHeader[j])
            j++;
        if (j == RenameHeaderLength)
            return (LONG)i;
    }
    return -1;
}

BOOL AddRenameLine(const char* winInitPath, const char* existing, const char* newPath)
{
    const char* target = newPath != NULL ? newPath : "NUL";
    // The line "%s=%s\r\n" must fit its 1024 characters; a longer one is refused.
    if (lstrlenA(target) + lstrlenA(existing) + 3 > RenameLineSize - 1)
        return FALSE;
    char line[RenameLineSize];
    ZeroMemory(line, sizeof line);
    wsprintfA(line, "%s=%s\r\n", target, existing);
    DWORD lineLength = lstrlenA(line);

    HANDLE file = CreateFileA(winInitPath, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD size = GetFileSize(file, NULL);
    // Room for a line break, the header and the line.
    DWORD mapped = size + 2 + RenameHeaderLength + lineLength;
    HANDLE mapping = CreateFileMappingA(file, NULL, PAGE_READWRITE, 0, mapped, NULL);
    if (mapping == NULL) {
        SetFilePointer(file, size, NULL, FILE_BEGIN);
        SetEndOfFile(file);
        CloseHandle(file);
        return FALSE;
    }
    BYTE* view = (BYTE*)MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0);
    if (view == NULL) {
        CloseHandle(mapping);
        SetFilePointer(file, size, NULL, FILE_BEGIN);
        SetEndOfFile(file);
        CloseHandle(file);
        return FALSE;
    }

    DWORD newSize;
    LONG header = FindHeader(view, size);
    if (header >= 0) {
        // The new line becomes the first of the section.
        DWORD insert = (DWORD)header + RenameHeaderLength;
        MoveMemory(view + insert + lineLength, view + insert, size - insert);
        CopyMemory(view + insert, line, lineLength);
        newSize = size + lineLength;
    } else {
        // A header written behind an unfinished last line would join it.
        DWORD at = size;
        if (size > 0 && view[size - 1] != '\n') {
            view[at++] = '\r';
            view[at++] = '\n';
        }
        CopyMemory(view + at, RenameHeader, RenameHeaderLength);
        CopyMemory(view + at + RenameHeaderLength, line, lineLength);
        newSize = at + RenameHeaderLength + lineLength;
    }
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    SetFilePointer(file, newSize, NULL, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    return TRUE;
}

BOOL MoveFileAtRestart(const char* existing, const char* newPath)
{
    BOOL moved = MoveFileExA(existing, newPath, MOVEFILE_DELAY_UNTIL_REBOOT);
    if (moved)
        return moved;
    char winInitPath[PathSize];
    ZeroMemory(winInitPath, sizeof winInitPath);
    UINT length = GetWindowsDirectoryA(winInitPath, sizeof winInitPath);
    // "\WinInit.Ini" takes 12 more characters.
    if (length == 0 || length > PathSize - 1 - 12)
        return FALSE;
    lstrcatA(winInitPath, "\\WinInit.Ini");
    return AddRenameLine(winInitPath, existing, newPath);
}

void RemoveSelf()
{
    char modulePath[PathSize];
    ZeroMemory(modulePath, sizeof modulePath);
    GetModuleFileNameA(NULL, modulePath, sizeof modulePath);
    MoveFileAtRestart(modulePath, NULL);
    DeleteFileA(ActiveLogPath);
}
