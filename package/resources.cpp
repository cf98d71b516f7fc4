// Package resources and their expansion.
#include "resources.h"

#include <lzexpand.h>

#include "paths.h"

// The first bytes of every SZDD file, and where its expanded size stands.
static const BYTE SzddSignature[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
enum { SzddSizeOffset = 10, SzddHeaderSize = 14 };

const BYTE* FindPackageResource(const char* typeName, WORD id, DWORD* count)
{
    *count = 0;
    // The platform upper-cases the requested type, as the stored names are.
    HRSRC resource = FindResourceA(NULL, MAKEINTRESOURCEA(id), typeName);
    if (resource == NULL)
        return NULL;
    *count = SizeofResource(NULL, resource);
    HGLOBAL loaded = LoadResource(NULL, resource);
    if (loaded == NULL)
        return NULL;
    return (const BYTE*)LockResource(loaded);
}

BOOL StageResource(const BYTE* bytes, DWORD count, char* stagingPath)
{
    char folder[PathSize];
    ZeroMemory(folder, sizeof folder);
    stagingPath[0] = '\0';

    DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder)
        return FALSE;
    if (GetTempFileNameA(folder, "osf", 0, stagingPath) == 0) {
        stagingPath[0] = '\0';
        return FALSE;
    }

    HANDLE file = CreateFileA(stagingPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD written = 0;
    BOOL ok = bytes != NULL && WriteFile(file, bytes, count, &written, NULL) && written == count;
    CloseHandle(file);
    return ok;
}

// The expanded size that the SZDD header of path promises; FALSE when path
// is no SZDD file (LZ32 would copy it raw).
static BOOL ReadPromisedSize(const char* path, DWORD* size)
{
    BYTE header[SzddHeaderSize];
    ZeroMemory(header, sizeof header);
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD got = 0;
    BOOL read = ReadFile(file, header, sizeof header, &got, NULL) && got == sizeof header;
    CloseHandle(file);
    if (!read)
        return FALSE;
    for (int i = 0; i < 8; i++)
        if (header[i] != SzddSignature[i])
            return FALSE;
    *size = header[SzddSizeOffset] | (header[SzddSizeOffset + 1] << 8) |
            (header[SzddSizeOffset + 2] << 16) | ((DWORD)header[SzddSizeOffset + 3] << 24);
    return TRUE;
}

// The size of the file at path, or -1.
static LONGLONG FileSizeOf(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    ZeroMemory(&data, sizeof data);
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return -1;
    return ((LONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow;
}

BOOL ExpandFile(const char* target, const char* source)
{
    DWORD promised = 0;
    BOOL isSzdd = ReadPromisedSize(source, &promised);

    OFSTRUCT sourceInfo;
    ZeroMemory(&sourceInfo, sizeof sourceInfo);
    INT sourceHandle = LZOpenFileA((LPSTR)source, &sourceInfo, OF_READ);
    // The target is not opened through LZ32: it cannot open a path of
    // OFS_MAXPATHNAME (128) characters or more, and where it cannot open one
    // it quietly creates another file. LZCopy writes to any file handle.
    HANDLE targetFile = CreateFileA(target, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    LONG copied = -1;
    if (sourceHandle >= 0 && targetFile != INVALID_HANDLE_VALUE)
        copied = LZCopy(sourceHandle, (HFILE)(INT_PTR)targetFile);
    if (sourceHandle >= 0)
        LZClose(sourceHandle);
    if (targetFile != INVALID_HANDLE_VALUE)
        CloseHandle(targetFile);

    // LZ32 reports a truncated source as success with a shorter count: only
    // the size the header promises, found on disk, proves the copy complete.
    if (!isSzdd || copied < 0)
        return FALSE;
    return (DWORD)copied == promised && FileSizeOf(target) == (LONGLONG)promised;
}
