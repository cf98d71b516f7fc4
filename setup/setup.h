// The setup program: process-wide state and its operations.
#pragma once

#include <windows.h>

// Ids of the setup program's own resources and controls.
enum {
    SetupIconId = 287,
    SetupDialogId = 288,
    InstallDirEditId = 1007,
    GreetingTextId = 1008,
};

extern char Caption[256];             // "<product> Setup": title and message box caption
extern HINSTANCE SetupInstance;
extern HWND SetupDialog;              // set when created, never cleared
extern char ProgramGroupDir[260];     // Start-menu Programs folder + product name
extern char ProgramFilesPath[260];
extern char InstallDir[260];          // the installation folder as typed
extern char UninstallLogPath[260];

// Entry and dialog.
int InitSetupInstance(HINSTANCE instance);
int CreateSetupDialog(HINSTANCE instance, int showCommand);
LRESULT CALLBACK SetupWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int RunSetup(HINSTANCE instance, int showCommand);

// Default locations.
void ProposeDefaultLocations();

// Install sequence.
extern int FolderEntryCount;
extern int RegistryEntryCount;
BOOL IsValidInstallDir();
BOOL IsInstallDirAccepted();
BOOL ConfirmForeignFolder();
BOOL WaitForRunningCopy();
void PrepareFolders();
void LogFolder(const char* folder, const char* nuke);
void LogRegistryEntry(const char* root, const char* keyPath, const char* valueName);
void LogAppName();
void DeleteObsoleteFiles();
void LogRegistryCleanup();
LRESULT RunInstall(HWND dialog);

// Payload deployment. DeployFile replaces a file only with a complete one;
// the files that failed are named by ReportFailedFiles (TRUE when any did).
BOOL DeployFile(const char* fileName, const BYTE* bytes, DWORD count);
void DeployPayload();
BOOL ReportFailedFiles();

// Shortcuts. ShortcutPath is FALSE, with result empty, when there is no
// program group or the link path does not fit.
BOOL ShortcutPath(char* result, const char* title);
void CreateShortcut(const char* linkPath, const char* target, const char* arguments,
                    const char* description);
void NotifyProgramGroup();

// Uninstaller registration and launch.
void WriteRegistryString(HKEY root, const char* keyPath, const char* valueName, const char* text);
void RegisterUninstaller();
void LaunchProduct();
