// Drives real programs through their windows, as a user would: start a
// process, find its dialog or message box by class and title, read and set
// texts, press buttons, wait for the end and read the exit code.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace driver {

// Generous: a cold Wine start can take seconds. Tests never time anything.
constexpr DWORD kWait = 30000;

struct Process {
    HANDLE handle = NULL;
    DWORD id = 0;
};

// Starts exe with the argument text args (may be empty) as one command line.
Process Start(const std::string& exe, const std::string& args = "");
// Starts a whole command line as the shell would pass it to CreateProcess.
Process StartCommandLine(const std::string& commandLine);
// Waits for the process to end; its exit code, or STILL_ACTIVE on time-out.
DWORD WaitExit(Process& process, DWORD timeout = kWait);
// Ends a process that a failed test left running, and closes its handle.
void Kill(Process& process);

// A top-level window of the class and title (either may be null), belonging
// to the process id when it is not 0; waits up to timeout. Null on time-out.
HWND WaitForWindow(const char* className, const char* title, DWORD processId = 0,
                   DWORD timeout = kWait);
// Every top-level window of the class and title, at this moment.
std::vector<HWND> FindWindows(const char* className, const char* title);
// Waits until the window is gone.
bool WaitGone(HWND window, DWORD timeout = kWait);

std::string ClassOf(HWND window);
// Text of a window of any process (WM_GETTEXT; GetWindowText reads only our own).
std::string Text(HWND window);
std::string ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::string& text);

struct Child {
    HWND window;
    std::string className;
    int id;
    std::string text;
};
std::vector<Child> Children(HWND parent);

// Posts WM_COMMAND with id and notification code, as a button press does.
void Command(HWND window, int id, int code = BN_CLICKED);
// Closes the window through its close box (system command SC_CLOSE).
void CloseBox(HWND window);

// A message box of the caption, and its message text.
HWND WaitForMessageBox(const char* caption, DWORD processId = 0, DWORD timeout = kWait);
std::string MessageBoxText(HWND box);

}  // namespace driver
