// Small fixtures for the Windows tests: scratch folders and files, paths of
// the programs under test, and registry values restored after a test.
#pragma once

#include <windows.h>

#include <string>

namespace fixtures {

// The Windows path of a file named by its Linux path (Wine shows the Linux
// file system as drive Z:).
std::string FromLinuxPath(const char* path);

// The programs under test.
std::string SetupProgram();         // the setup program that the tests run
std::string ShippedSetupProgram();  // the one that ships (32-bit), as a file

// A fresh folder in the temporary folder, removed with its content at the end.
class ScratchFolder {
public:
    explicit ScratchFolder(const char* tag);
    ~ScratchFolder();
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

void WriteFileText(const std::string& path, const std::string& content);
std::string ReadFileText(const std::string& path);
bool Exists(const std::string& path);
bool IsFolder(const std::string& path);
// Removes a tree whatever its attributes; links are removed, not followed.
void RemoveTree(const std::string& path);

// Remembers a registry value (or its absence) and puts it back at the end.
class SavedRegistryValue {
public:
    SavedRegistryValue(HKEY root, const char* subKey, const char* name);
    ~SavedRegistryValue();

private:
    HKEY root_;
    std::string subKey_, name_;
    bool present_ = false;
    DWORD type_ = 0;
    std::string data_;
};

}  // namespace fixtures
