// What an installation leaves on the (Wine) machine, read back for checks:
// shortcuts through the shell's link object, the uninstall log as a profile
// file, registry values; and the clean-up that puts the machine back.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace machine {

struct Shortcut {
    bool loaded = false;
    std::string target, arguments, description;
};
Shortcut ReadShortcut(const std::string& linkPath);

// The lines of a profile file in order, blank lines left out.
struct ProfileLine {
    std::string section, key, value;
    bool operator==(const ProfileLine& other) const
    {
        return section == other.section && key == other.key && value == other.value;
    }
};
std::vector<ProfileLine> ReadProfile(const std::string& path);

struct RegistryValue {
    bool present = false;
    DWORD type = 0;
    std::string data;  // the stored bytes, terminating zero included
};
RegistryValue ReadValue(HKEY root, const std::string& key, const std::string& name);
bool KeyExists(HKEY root, const std::string& key);
void DeleteKeyTree(HKEY root, const std::string& key);
void DeleteValue(HKEY root, const std::string& key, const std::string& name);

std::string ProgramsFolder();
// A folder of the shell by its CSIDL number, such as CSIDL_PROFILE.
std::string SpecialFolder(int csidl);
std::string TempFolder();
// Names of the "osf" staging files in the temporary folder.
std::vector<std::string> StagingFiles();

// Closes every top-level window of the class and title (posts WM_CLOSE) and
// waits until none is left.
void CloseWindows(const char* className, const char* title);

}  // namespace machine
