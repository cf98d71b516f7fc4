// Setup entry, single-instance guard, window class, dialog and message loop.
#include "setup.h"

#include <commctrl.h>
#include <objbase.h>

#include "setup_description.h"

char Caption[256];
HINSTANCE SetupInstance;
HWND SetupDialog;

int InitSetupInstance(HINSTANCE instance)
{
    wsprintfA(Caption, "%s Setup", Description.productName);

    // Another setup of the same product is open: show it instead of starting twice.
    HWND other = FindWindowA("Setup", Caption);
    if (other != NULL) {
        ShowWindow(other, SW_SHOW);
        SetForegroundWindow(other);
        return 0;
    }

    WNDCLASSA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = SetupWindowProc;
    windowClass.cbClsExtra = 0;
    // A class that the dialog manager uses must reserve the dialog's window bytes.
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(SetupIconId));
    windowClass.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    windowClass.lpszMenuName = NULL;
    windowClass.lpszClassName = "Setup";
    return (WORD)RegisterClassA(&windowClass);
}

int CreateSetupDialog(HINSTANCE instance, int showCommand)
{
    SetupInstance = instance;
    InitCommonControls();
    // The template names class "Setup", so SetupWindowProc is the window procedure.
    // (The same procedure serves as the dialog procedure; the types differ
    // only in the declared return type, both pointer-sized integers.)
    SetupDialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(SetupDialogId), NULL,
                                     (DLGPROC)(void*)SetupWindowProc, 0);
    if (SetupDialog == NULL)
        return 0;
    // The shortcuts made during the install need COM on this thread.
    CoInitialize(NULL);
    ProposeDefaultLocations();
    ShowWindow(SetupDialog, showCommand);
    UpdateWindow(SetupDialog);
    return 1;
}

LRESULT CALLBACK SetupWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        char greeting[256];
        ZeroMemory(greeting, sizeof greeting);
        wsprintfA(greeting, "Thank you for installing %s!", Description.productName);
        SetDlgItemTextA(window, GreetingTextId, greeting);
        SetWindowTextA(window, Caption);
        return TRUE;  // focus goes to the first tab stop, the edit box
    }
    case WM_COMMAND:
        // Only the id counts: any notification from OK or Cancel acts.
        switch (LOWORD(wParam)) {
        case IDOK:
            return RunInstall(window);
        case IDCANCEL:
            DestroyWindow(window);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_DESTROY:
        CoUninitialize();
        PostQuitMessage(0);
        return 0;
    }
    // Not DefDlgProcA: WM_CLOSE must reach the default window procedure,
    // which destroys the window.
    return DefWindowProcA(window, message, wParam, lParam);
}

int RunSetup(HINSTANCE instance, int showCommand)
{
    if (!InitSetupInstance(instance))
        return 0;
    if (!CreateSetupDialog(instance, showCommand))
        return 0;

    MSG message;
    ZeroMemory(&message, sizeof message);
    while (GetMessageA(&message, NULL, 0, 0)) {
        if (!IsDialogMessageA(SetupDialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return (int)message.wParam;
}
