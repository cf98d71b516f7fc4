// The compiled-in record of what one setup build installs.
//
// Every table is stored column by column, as the setup program has always
// kept it: all resource ids, then all file names, then all shortcut names;
// row i is the triple at index i. Loops run over every row: an empty text
// never ends a table.
#pragma once

// The row counts of the product being built (generated with the description).
#include "setup_rows.h"

// The product's files, in installation order.
struct PayloadFile {
    unsigned short resourceId[PayloadRowCount];   // type "Files"
    char fileName[PayloadRowCount][260];          // relative to InstallDir
    char shortcutName[PayloadRowCount][260];      // without ".lnk"; empty: none
};

// Registry data that the uninstaller removes.
struct RegistryCleanupEntry {
    char rootName[RegistryRowCount][256];         // "HKCU", "HKLM", ...
    char subKey[RegistryRowCount][256];
    char valueName[RegistryRowCount][256];        // empty: the whole key tree
};

struct SetupDescription {
    char productName[256];
    char defaultFolderName[16];
    char runningWindowTitle[16];
    char runningWindowClass[16];
    PayloadFile files;
    RegistryCleanupEntry registryCleanup;
    char obsoleteFiles[ObsoleteFileCount > 0 ? ObsoleteFileCount : 1][260];
    char launchParameters[256];
    int mainFileIndex;
    int launchFileIndex;                          // negative: start nothing
};

extern const SetupDescription Description;
