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
BOOL IsValidInstallDir();
LRESULT RunInstall(HWND dialog);
