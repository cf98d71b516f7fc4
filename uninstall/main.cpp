// The uninstaller's entry. Its two phases are not built yet: with nothing to
// read it stops at once, as it does for a log without a product name.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return 0;
}
