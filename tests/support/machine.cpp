#include "machine.h"

#include <shlobj.h>

#include <algorithm>

#include "fixtures.h"
#include "windriver.h"

namespace machine {

Shortcut ReadShortcut(const std::string& linkPath)
{
    Shortcut shortcut;
    CoInitialize(NULL);
    IShellLinkA* link = NULL;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   (void**)&link))) {
        IPersistFile* file = NULL;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file))) {
            WCHAR wide[MAX_PATH] = {};
            MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH);
            if (SUCCEEDED(file->Load(wide, STGM_READ))) {
                char text[1024] = {};
                shortcut.loaded = true;
                link->GetPath(text, sizeof text, NULL, SLGP_RAWPATH);
                shortcut.target = text;
                text[0] = '\0';
                link->GetArguments(text, sizeof text);
                shortcut.arguments = text;
                text[0] = '\0';
                link->GetDescription(text, sizeof text);
                shortcut.description = text;
            }
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return shortcut;
}

std::vector<ProfileLine> ReadProfile(const std::string& path)
{
    std::vector<ProfileLine> lines;
    std::string content = fixtures::ReadFileText(path);
    std::string section;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string line = content.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            lines.push_back({section, "", ""});
            continue;
        }
        size_t equals = line.find('=');
        lines.push_back({section, line.substr(0, equals),
                         equals == std::string::npos ? "" : line.substr(equals + 1)});
    }
    return lines;
}

RegistryValue ReadValue(HKEY root, const std::string& key, const std::string& name)
{
    RegistryValue value;
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExA(handle, name.c_str(), NULL, &value.type, NULL, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        RegQueryValueExA(handle, name.c_str(), NULL, &value.type, (BYTE*)&value.data[0], &size);
        value.data.resize(size);
        value.present = true;
    }
    RegCloseKey(handle);
    return value;
}

bool KeyExists(HKEY root, const std::string& key)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

void DeleteKeyTree(HKEY root, const std::string& key)
{
    RegDeleteTreeA(root, key.c_str());
    RegDeleteKeyA(root, key.c_str());
}

void DeleteValue(HKEY root, const std::string& key, const std::string& name)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(handle, name.c_str());
    RegCloseKey(handle);
}

std::string ProgramsFolder()
{
    return SpecialFolder(CSIDL_PROGRAMS);
}

std::string SpecialFolder(int csidl)
{
    char path[MAX_PATH] = {};
    SHGetFolderPathA(NULL, csidl, NULL, 0, path);
    return path;
}

std::string TempFolder()
{
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    return folder;
}

std::vector<std::string> StagingFiles()
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((TempFolder() + "osf*.tmp").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(entry.cFileName);
    while (FindNextFileA(search, &entry));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void CloseWindows(const char* className, const char* title)
{
    for (HWND window : driver::FindWindows(className, title)) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        driver::WaitGone(window);
    }
}

}  // namespace machine
