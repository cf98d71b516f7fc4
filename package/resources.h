// The files a setup program carries: SZDD files stored as resources of its
// own executable, staged to a temporary file and expanded through LZ32.
#pragma once

#include <windows.h>

// The stored bytes of resource id of the type ("Files", "Uninst"), or null.
// They belong to the program image: read-only, never released.
const BYTE* FindPackageResource(const char* typeName, WORD id, DWORD* count);

// Writes bytes to a new "osf" file in the temporary folder, whose path goes
// to stagingPath (260 characters). FALSE when no complete file was written;
// stagingPath is empty when no file was made at all.
BOOL StageResource(const BYTE* bytes, DWORD count, char* stagingPath);

// Expands the SZDD file source into target. TRUE only when target is
// complete: the source is an SZDD file, and target holds exactly the size
// its header promises.
BOOL ExpandFile(const char* target, const char* source);
