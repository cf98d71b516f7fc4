// Path and folder helpers shared by the setup program and the uninstaller.
//
// A path is a zero-terminated ANSI text of at most 259 characters in a
// 260-character buffer; the backslash is the only separator. A path that
// would not fit is refused, never cut: a cut path names another folder,
// and these helpers create and remove folders.
#pragma once

#include <windows.h>

enum { PathSize = MAX_PATH };

// Length of a text, or PathSize when it has no terminator within PathSize
// characters (too long to be a path).
int PathLength(const char* text);

// Writes folder + "\" (unless it ends in one) + name into result.
// result may be folder's own buffer. Returns FALSE, with result empty,
// when the joined path does not fit.
BOOL JoinPath(char* result, const char* folder, const char* name);

// Adds a trailing backslash to text (a PathSize buffer) unless it has one.
// Returns FALSE, with text emptied, when the backslash does not fit.
BOOL AppendBackslash(char* text);

// Creates every folder that leads up to the last backslash of path.
void CreateDirectoryChain(const char* path);

// Removes folder with everything below it, except entries whose names begin
// with a full stop. Links to folders are removed as links, never followed.
void RemoveFolderTree(const char* folder);

// Deletes the files that lie directly in folder, which ends with a backslash.
void RemoveFolderFiles(const char* folder);

// TRUE when path cannot be opened for exclusive writing (in use, but also
// missing, read-only or a folder).
BOOL IsFileInUse(const char* path);
