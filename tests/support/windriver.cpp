#include "windriver.h"

namespace driver {

Process StartCommandLine(const std::string& commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    Process process;
    if (CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info)) {
        CloseHandle(info.hThread);
        process.handle = info.hProcess;
        process.id = info.dwProcessId;
    }
    return process;
}

Process Start(const std::string& exe, const std::string& args)
{
    std::string line = "\"" + exe + "\"";
    if (!args.empty())
        line += " " + args;
    return StartCommandLine(line);
}

DWORD WaitExit(Process& process, DWORD timeout)
{
    if (process.handle == NULL)
        return STILL_ACTIVE;
    if (WaitForSingleObject(process.handle, timeout) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.handle, &code);
    CloseHandle(process.handle);
    process.handle = NULL;
    return code;
}

void Kill(Process& process)
{
    if (process.handle == NULL)
        return;
    TerminateProcess(process.handle, 99);
    WaitForSingleObject(process.handle, kWait);
    CloseHandle(process.handle);
    process.handle = NULL;
}

std::string ClassOf(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string Text(HWND window)
{
    char text[1024] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, (LPARAM)text, SMTO_ABORTIFHUNG,
                        kWait, NULL);
    return text;
}

namespace {

struct Search {
    const char* className;
    const char* title;
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM param)
{
    Search* search = (Search*)param;
    if (search->className && ClassOf(window) != search->className)
        return TRUE;
    if (search->title && Text(window) != search->title)
        return TRUE;
    if (search->processId) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != search->processId)
            return TRUE;
    }
    search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> Find(const char* className, const char* title, DWORD processId)
{
    Search search = {className, title, processId, {}};
    EnumWindows(Collect, (LPARAM)&search);
    return search.found;
}

}  // namespace

std::vector<HWND> FindWindows(const char* className, const char* title)
{
    return Find(className, title, 0);
}

HWND WaitForWindow(const char* className, const char* title, DWORD processId, DWORD timeout)
{
    DWORD start = GetTickCount();
    for (;;) {
        std::vector<HWND> found = Find(className, title, processId);
        for (HWND window : found)
            if (IsWindowVisible(window))
                return window;
        if (GetTickCount() - start > timeout)
            return NULL;
        Sleep(50);
    }
}

bool WaitGone(HWND window, DWORD timeout)
{
    DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start > timeout)
            return false;
        Sleep(50);
    }
    return true;
}

std::string ItemText(HWND dialog, int id)
{
    return Text(GetDlgItem(dialog, id));
}

void SetItemText(HWND dialog, int id, const std::string& text)
{
    SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0, (LPARAM)text.c_str(),
                        SMTO_ABORTIFHUNG, kWait, NULL);
}

namespace {

BOOL CALLBACK CollectChild(HWND window, LPARAM param)
{
    std::vector<Child>* children = (std::vector<Child>*)param;
    children->push_back({window, ClassOf(window), (int)GetWindowLongPtrA(window, GWLP_ID),
                         Text(window)});
    return TRUE;
}

}  // namespace

std::vector<Child> Children(HWND parent)
{
    std::vector<Child> children;
    EnumChildWindows(parent, CollectChild, (LPARAM)&children);
    return children;
}

void Command(HWND window, int id, int code)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, code), 0);
}

void CloseBox(HWND window)
{
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

HWND WaitForMessageBox(const char* caption, DWORD processId, DWORD timeout)
{
    return WaitForWindow("#32770", caption, processId, timeout);
}

std::string MessageBoxText(HWND box)
{
    // The message is the one static control that holds text.
    for (const Child& child : Children(box))
        if (_stricmp(child.className.c_str(), "Static") == 0 && !child.text.empty())
            return child.text;
    return "";
}

}  // namespace driver
