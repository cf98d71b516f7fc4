// The setup program's entry: it takes no arguments and always ends with 0.
#include "setup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    return RunSetup(instance, showCommand);
}
