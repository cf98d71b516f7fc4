// The uninstaller: process-wide state and its operations.
//
// One uninstallation runs as two processes of this program. Phase 1, started
// with the log path, confirms, removes the registry entries, copies itself
// and the log to the temporary folder and starts the copy with "/x:" and the
// copied log's path. Phase 2 waits for phase 1 to end, removes the folders,
// schedules its own deletion at restart and offers the restart.
#pragma once

#include <windows.h>

extern char ActiveLogPath[260];
extern char AppName[256];
extern char Caption[256];
extern char TempExePath[260];
extern char TempLogPath[260];

// Entry: chooses the phase from the argument text; returns the exit code.
int RunUninstaller(const char* arguments);
// Sets ActiveLogPath from the argument text; TRUE for phase 2.
BOOL ReadCommandLine(const char* arguments);
int RunPhaseOne();
int RunPhaseTwo();

BOOL LoadAppName();
BOOL WaitForProductClosed();
void RelocateToTemp();
void CopyToTempFile(const char* source, char* target, const char* extension);
void RelaunchFromTemp();
// Gives up after WaitForPhaseOneLimit milliseconds.
void WaitForPhaseOneExit();
void OfferRestart();

// Registry cleanup.
BOOL LookUpRootKey(const char* mnemonic, HKEY* key);
void DeleteKeyTree(HKEY root, const char* subKey);
void DeleteKeyValue(HKEY root, const char* subKey, const char* valueName);
void RegistryCleanup();

// Folder cleanup.
void FolderCleanup();

// Deferred deletion and self-removal. The WinInit.Ini edit takes the file's
// path so that tests can point it at a file of their own.
BOOL MoveFileAtRestart(const char* existing, const char* newPath);
BOOL AddRenameLine(const char* winInitPath, const char* existing, const char* newPath);
void RemoveSelf();
