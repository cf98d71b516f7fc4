#include "fixtures.h"

namespace fixtures {

std::string FromLinuxPath(const char* path)
{
    std::string windows = path;
    if (windows.empty())
        return "";
    for (char& c : windows)
        if (c == '/')
            c = '\\';
    return "Z:" + windows;
}

std::string SetupProgram()
{
    return FromLinuxPath(WRENFIELD_SETUP);
}

std::string ShippedSetupProgram()
{
    return FromLinuxPath(WRENFIELD_SHIPPED_SETUP);
}

ScratchFolder::ScratchFolder(const char* tag)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    static int counter = 0;
    char name[MAX_PATH] = {};
    wsprintfA(name, "%swrf-%s-%lu-%d", temp, tag, GetCurrentProcessId(), ++counter);
    path_ = name;
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), NULL);
}

ScratchFolder::~ScratchFolder()
{
    RemoveTree(path_);
}

void WriteFileText(const std::string& path, const std::string& content)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, content.data(), (DWORD)content.size(), &written, NULL);
    CloseHandle(file);
}

std::string ReadFileText(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return "";
    std::string content;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got > 0)
        content.append(buffer, got);
    CloseHandle(file);
    return content;
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveTree(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(path.c_str());
        return;
    }
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAA entry;
        HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                std::string name = entry.cFileName;
                if (name != "." && name != "..")
                    RemoveTree(path + "\\" + name);
            } while (FindNextFileA(search, &entry));
            FindClose(search);
        }
    }
    RemoveDirectoryA(path.c_str());
}

SavedRegistryValue::SavedRegistryValue(HKEY root, const char* subKey, const char* name)
    : root_(root), subKey_(subKey), name_(name)
{
    HKEY key;
    if (RegOpenKeyExA(root_, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, NULL, &type_, NULL, &size) == ERROR_SUCCESS) {
        data_.resize(size);
        RegQueryValueExA(key, name, NULL, &type_, (BYTE*)&data_[0], &size);
        data_.resize(size);
        present_ = true;
    }
    RegCloseKey(key);
}

SavedRegistryValue::~SavedRegistryValue()
{
    HKEY key;
    if (RegCreateKeyExA(root_, subKey_.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) !=
        ERROR_SUCCESS)
        return;
    if (present_)
        RegSetValueExA(key, name_.c_str(), 0, type_, (const BYTE*)data_.data(),
                       (DWORD)data_.size());
    else
        RegDeleteValueA(key, name_.c_str());
    RegCloseKey(key);
}

}  // namespace fixtures
