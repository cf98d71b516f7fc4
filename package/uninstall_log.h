// The uninstall log "Uninst.ini": the only channel from the setup program to
// the uninstaller. A profile file, written and read one key at a time.
#pragma once

#define LogFileName "Uninst.ini"

// Sections, in the order a fresh log holds them ("Nuke" only in the
// uninstaller's temporary copy).
#define FoldersSection "Folders.del"
#define UninstallSection "Uninstall"
#define AppSection "App"
#define RegistrySection "Registry.del"
#define NukeSection "Nuke"

// Keys; the numbered ones take the entry number with "%d", from 1.
#define PathKey "Path%d"
#define NukeKey "Nuke%d"
#define WaitForKey "WaitFor"
#define NameKey "Name"
#define RootKey "Key%d"
#define SubKeyKey "SubKey%d"
#define ValueKey "Value%d"

// The prompt of both programs while the product runs, formatted with the
// product name (at most 123 characters, so it fits 256).
#define RunningCopyPrompt                                                          \
    "You must close the currently running version of %s to continue with setup.\n" \
    "Press OK after you have closed it, or Cancel to quit setup."
