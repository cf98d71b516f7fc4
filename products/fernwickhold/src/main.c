/* Fernwickhold, the sample product: one main window that keeps its settings
 * under HKCU\Software\Fernwickhold like a real product. Setup starts it with
 * "/s" after installing it; it then registers itself to start with Windows. */
#include <windows.h>

#include "resource.h"

static const char kName[] = "Fernwickhold";
static const char kKey[] = "Software\\Fernwickhold";
static const char kSettingsKey[] = "Software\\Fernwickhold\\Settings";
static const char kRecentKey[] = "Software\\Fernwickhold\\Recent Files";
static const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

static void SetString(HKEY key, const char* name, const char* text)
{
    RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)text, lstrlenA(text) + 1);
}

static void SetNumber(HKEY key, const char* name, DWORD number)
{
    RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE*)&number, sizeof number);
}

static BOOL GetNumber(HKEY key, const char* name, DWORD* number)
{
    DWORD type = 0, size = sizeof *number;
    return RegQueryValueExA(key, name, NULL, &type, (BYTE*)number, &size) == ERROR_SUCCESS &&
           type == REG_DWORD && size == sizeof *number;
}

static HKEY OpenKey(const char* path)
{
    HKEY key = NULL;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, NULL, 0, KEY_READ | KEY_WRITE, NULL, &key,
                        NULL) != ERROR_SUCCESS)
        return NULL;
    return key;
}

/* "/s", compared case-insensitively, blanks around it allowed. */
static BOOL IsStartupSwitch(const char* line)
{
    char text[8];
    int length;
    while (*line == ' ' || *line == '\t')
        ++line;
    length = lstrlenA(line);
    while (length > 0 && (line[length - 1] == ' ' || line[length - 1] == '\t'))
        --length;
    if (length != 2)
        return FALSE;
    lstrcpynA(text, line, length + 1);
    return lstrcmpiA(text, "/s") == 0;
}

static void RegisterRun(void)
{
    char path[MAX_PATH + 2];
    DWORD length = GetModuleFileNameA(NULL, path + 1, MAX_PATH);
    HKEY key;
    if (length == 0 || length >= MAX_PATH)
        return;
    /* Quoted: the folder under Program Files has blanks. */
    path[0] = '"';
    path[length + 1] = '"';
    path[length + 2] = '\0';
    key = OpenKey(kRunKey);
    if (!key)
        return;
    SetString(key, kName, path);
    RegCloseKey(key);
}

static void RecordStart(const char* commandLine)
{
    HKEY key = OpenKey(kKey);
    if (key) {
        SetString(key, "LastCommandLine", commandLine);
        SetString(key, "Version", "1.0.5");
        RegCloseKey(key);
    }
    key = OpenKey(kRecentKey);
    if (key) {
        DWORD count;
        if (!GetNumber(key, "Max", &count))
            SetNumber(key, "Max", 4);
        RegCloseKey(key);
    }
}

/* Puts the window back where the user left it (workspace coordinates, as
 * saved), or shows it where the system chose. */
static void ShowAtSavedPlace(HWND window, int show)
{
    WINDOWPLACEMENT placement;
    DWORD left, top, width, height;
    BOOL saved = FALSE;
    HKEY key = OpenKey(kSettingsKey);
    if (key) {
        saved = GetNumber(key, "Left", &left) && GetNumber(key, "Top", &top) &&
                GetNumber(key, "Width", &width) && GetNumber(key, "Height", &height) &&
                width >= 120 && width <= 8192 && height >= 80 && height <= 8192 &&
                (int)left > -8192 && (int)left < 8192 && (int)top > -8192 && (int)top < 8192;
        RegCloseKey(key);
    }
    placement.length = sizeof placement;
    if (!saved || !GetWindowPlacement(window, &placement)) {
        ShowWindow(window, show);
        return;
    }
    placement.flags = 0;
    placement.showCmd = show;
    placement.rcNormalPosition.left = (int)left;
    placement.rcNormalPosition.top = (int)top;
    placement.rcNormalPosition.right = (int)left + (int)width;
    placement.rcNormalPosition.bottom = (int)top + (int)height;
    SetWindowPlacement(window, &placement);
}

static void SavePlace(HWND window)
{
    WINDOWPLACEMENT placement;
    HKEY key;
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement))
        return;
    key = OpenKey(kSettingsKey);
    if (!key)
        return;
    SetNumber(key, "Left", (DWORD)placement.rcNormalPosition.left);
    SetNumber(key, "Top", (DWORD)placement.rcNormalPosition.top);
    SetNumber(key, "Width",
              (DWORD)(placement.rcNormalPosition.right - placement.rcNormalPosition.left));
    SetNumber(key, "Height",
              (DWORD)(placement.rcNormalPosition.bottom - placement.rcNormalPosition.top));
    RegCloseKey(key);
}

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        RECT area;
        HDC dc = BeginPaint(window, &paint);
        GetClientRect(window, &area);
        SetBkMode(dc, TRANSPARENT);
        DrawTextA(dc, "Fernwickhold keeps the ledger of your household.", -1, &area,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        SavePlace(window);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    WNDCLASSA windowClass;
    HWND window;
    MSG message;
    (void)previous;

    RecordStart(commandLine ? commandLine : "");
    if (commandLine && IsStartupSwitch(commandLine))
        RegisterRun();

    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_FERNWICKHOLD));
    windowClass.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kName;
    if (!RegisterClassA(&windowClass))
        return 1;

    window = CreateWindowExA(0, kName, kName, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                             480, 320, NULL, NULL, instance, NULL);
    if (!window)
        return 1;
    ShowAtSavedPlace(window, show);
    UpdateWindow(window);

    ZeroMemory(&message, sizeof message);
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return (int)message.wParam;
}
