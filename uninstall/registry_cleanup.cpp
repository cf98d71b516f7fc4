// Registry cleanup: the keys and values that the log's "Registry.del" names.
#include "uninstall.h"
#include "uninstall_log.h"

static const struct {
    char mnemonic[256];
    HKEY key;
} RootKeyTable[] = {
    {"HKCR", HKEY_CLASSES_ROOT},     {"HKCU", HKEY_CURRENT_USER}, {"HKLM", HKEY_LOCAL_MACHINE},
    {"HKU", HKEY_USERS},             {"HKPD", HKEY_PERFORMANCE_DATA},
    {"HKCC", HKEY_CURRENT_CONFIG},   {"HDD", HKEY_DYN_DATA},
};

BOOL LookUpRootKey(const char* mnemonic, HKEY* key)
{
    for (unsigned i = 0; i < sizeof RootKeyTable / sizeof RootKeyTable[0]; i++) {
        if (lstrcmpiA(mnemonic, RootKeyTable[i].mnemonic) == 0) {
            *key = RootKeyTable[i].key;
            return TRUE;
        }
    }
    return FALSE;
}

void DeleteKeyTree(HKEY root, const char* subKey)
{
    HKEY key = NULL;
    if (RegOpenKeyExA(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    DWORD count = 0;
    // A failed count is taken as no sub-keys, never as an undefined number.
    if (RegQueryInfoKeyA(key, NULL, NULL, NULL, &count, NULL, NULL, NULL, NULL, NULL, NULL,
                         NULL) != ERROR_SUCCESS)
        count = 0;

    char name[256];
    char child[256];
    int subKeyLength = lstrlenA(subKey);
    // Highest index first, so that deleting one does not move those still to come.
    while (count != 0) {
        ZeroMemory(name, sizeof name);
        DWORD nameLength = sizeof name;
        if (RegEnumKeyExA(key, count - 1, name, &nameLength, NULL, NULL, NULL, NULL) ==
            ERROR_NO_MORE_ITEMS)
            break;
        // A child path that does not fit is skipped: cut, it would name another key.
        if (subKeyLength + 1 + lstrlenA(name) < (int)sizeof child) {
            ZeroMemory(child, sizeof child);
            wsprintfA(child, "%s\\%s", subKey, name);
            DeleteKeyTree(root, child);
        }
        count--;
    }
    RegDeleteKeyA(root, subKey);
    RegCloseKey(key);
}

void DeleteKeyValue(HKEY root, const char* subKey, const char* valueName)
{
    HKEY key = NULL;
    if (RegOpenKeyExA(root, subKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, valueName);
    RegCloseKey(key);
}

// Reads one numbered "Registry.del" key of entry n into value (256
// characters); its length, which is 255 when it may have been cut.
static DWORD ReadEntry(const char* format, int n, char* value)
{
    char key[256];
    ZeroMemory(key, sizeof key);
    wsprintfA(key, format, n);
    ZeroMemory(value, 256);
    return GetPrivateProfileStringA(RegistrySection, key, "", value, 256, ActiveLogPath);
}

void RegistryCleanup()
{
    char mnemonic[256];
    char subKey[256];
    char valueName[256];
    int n = 1;
    for (ReadEntry(RootKey, n, mnemonic); mnemonic[0] != '\0'; ReadEntry(RootKey, ++n, mnemonic)) {
        HKEY root = NULL;
        if (!LookUpRootKey(mnemonic, &root))
            continue;
        // Never anything on a root key itself; and a cut name would name
        // another key or value.
        if (ReadEntry(SubKeyKey, n, subKey) >= 255 || subKey[0] == '\0')
            continue;
        if (ReadEntry(ValueKey, n, valueName) >= 255)
            continue;
        if (valueName[0] != '\0')
            DeleteKeyValue(root, subKey, valueName);
        else
            DeleteKeyTree(root, subKey);
    }
}
