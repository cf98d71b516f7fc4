// The setup description of Fernwickhold.
#include "setup_description.h"

const SetupDescription Description = {
    "Fernwickhold",
    "Fernwickhold",
    "Fernwickhold",
    "Fernwickhold",
    {
        {289, 304, 303},
        {"Fernwickhold.exe", "Fernwickhold.chm", "ReadMe.doc"},
        {"Fernwickhold", "Fernwickhold Help", "ReadMe"},
    },
    {
        {"HKCU", "HKCU", "HKLM"},
        {"Software\\Fernwickhold",
         "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
         "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Fernwickhold"},
        {"", "Fernwickhold", ""},
    },
    {"Register.txt", "Readme.txt"},
    "/s",
    0,
    0,
};
