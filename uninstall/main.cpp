// The uninstaller's entry: its argument text is the log path (phase 1) or
// "/x:" and the copied log's path (phase 2).
#include "uninstall.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int)
{
    return RunUninstaller(arguments);
}
