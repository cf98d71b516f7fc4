// The shipped setup program (the 32-bit build) as a file: its PE header and
// its resources, read back through the platform's resource functions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixtures.h"

namespace {

const WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

class ShippedProgram : public ::testing::Test {
protected:
    void Load(const std::string& path)
    {
        path_ = path;
        module_ = LoadLibraryExA(path_.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, module_) << "cannot load " << path_ << " as data";
    }
    // The strings of the version record, which must hold each pair.
    void ExpectVersionStrings(const std::vector<std::pair<const char*, const char*>>& strings)
    {
        DWORD handle = 0;
        DWORD size = GetFileVersionInfoSizeA(path_.c_str(), &handle);
        ASSERT_GT(size, 0u);
        std::vector<char> info(size);
        ASSERT_TRUE(GetFileVersionInfoA(path_.c_str(), 0, size, info.data()));
        for (const auto& s : strings) {
            char* value = NULL;
            UINT length = 0;
            std::string query = std::string("\\StringFileInfo\\040904B0\\") + s.first;
            ASSERT_TRUE(VerQueryValueA(info.data(), query.c_str(), (void**)&value, &length)) << s.first;
            EXPECT_STREQ(s.second, value) << s.first;
        }
    }
    // One icon group of one 32 by 32 image in 16 colours, 744 bytes.
    void ExpectIconGroup(int id);
    void TearDown() override
    {
        if (module_)
            FreeLibrary(module_);
    }
    // The bytes of a resource stored in language 1033.
    std::string Resource(LPCSTR type, int id)
    {
        HRSRC found = FindResourceExA(module_, type, MAKEINTRESOURCEA(id), kEnglishUs);
        if (!found)
            return "";
        const char* data = (const char*)LockResource(LoadResource(module_, found));
        return std::string(data, SizeofResource(module_, found));
    }

    std::string path_;
    HMODULE module_ = NULL;
};

class ShippedSetup : public ShippedProgram {
protected:
    void SetUp() override
    {
        ASSERT_NE('\0', WRENFIELD_SHIPPED_SETUP[0]) << "no shipped setup program was configured";
        Load(fixtures::ShippedSetupProgram());
    }
};

class ShippedUninstaller : public ShippedProgram {
protected:
    void SetUp() override
    {
        ASSERT_NE('\0', WRENFIELD_SHIPPED_UNINST[0]) << "no shipped uninstaller was configured";
        Load(fixtures::FromLinuxPath(WRENFIELD_SHIPPED_UNINST));
    }
};

TEST_F(ShippedSetup, IsA32BitGuiProgram)
{
    std::string file = fixtures::ReadFileText(path_);
    ASSERT_GT(file.size(), 0x200u);
    const IMAGE_DOS_HEADER* dos = (const IMAGE_DOS_HEADER*)file.data();
    ASSERT_EQ(IMAGE_DOS_SIGNATURE, dos->e_magic);
    const IMAGE_NT_HEADERS32* nt = (const IMAGE_NT_HEADERS32*)(file.data() + dos->e_lfanew);
    ASSERT_EQ((DWORD)IMAGE_NT_SIGNATURE, nt->Signature);
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, nt->FileHeader.Machine);
    EXPECT_EQ(IMAGE_NT_OPTIONAL_HDR32_MAGIC, nt->OptionalHeader.Magic);
    EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, nt->OptionalHeader.Subsystem);
}

// Reads a classic dialog template item by item.
struct TemplateReader {
    const BYTE* p;
    WORD Word() { WORD w = *(const WORD*)p; p += 2; return w; }
    DWORD Dword() { DWORD d = *(const DWORD*)p; p += 4; return d; }
    short Short() { return (short)Word(); }
    // A name or ordinal: "#n" for an ordinal.
    std::string NameOrOrdinal()
    {
        if (*(const WORD*)p == 0xFFFF) {
            p += 2;
            return "#" + std::to_string(Word());
        }
        return Wide();
    }
    std::string Wide()
    {
        std::string text;
        while (WORD c = Word())
            text += (char)c;
        return text;
    }
    void AlignDword(const BYTE* base) { while ((p - base) % 4) p++; }
};

TEST_F(ShippedSetup, Dialog288IsTheClassicTemplateWithItsFiveControls)
{
    std::string bytes = Resource(RT_DIALOG, 288);
    ASSERT_FALSE(bytes.empty()) << "no dialog 288 in language 1033";
    const BYTE* base = (const BYTE*)bytes.data();
    TemplateReader r{base};
    ASSERT_NE(0xFFFF, ((const WORD*)base)[1]) << "an extended template, not the classic form";

    EXPECT_EQ((DWORD)(WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_CENTER |
                      DS_SETFONT | DS_3DLOOK),
              r.Dword());
    EXPECT_EQ(0u, r.Dword()) << "extended style";
    WORD count = r.Word();
    EXPECT_EQ(5, count);
    EXPECT_EQ(0, r.Short());
    EXPECT_EQ(0, r.Short());
    EXPECT_EQ(237, r.Short());
    EXPECT_EQ(86, r.Short());
    EXPECT_EQ("", r.NameOrOrdinal()) << "menu";
    // windres stores the class name upper-cased; class names are compared without case.
    EXPECT_EQ(0, _stricmp("Setup", r.NameOrOrdinal().c_str())) << "class";
    EXPECT_EQ("", r.Wide()) << "title";
    EXPECT_EQ(8, r.Word());
    EXPECT_EQ("MS Sans Serif", r.Wide());

    struct Control {
        std::string className;  // predefined classes are stored as atoms
        WORD id;
        std::string text;
        short x, y, cx, cy;
        DWORD style;
    };
    const Control expected[] = {
        {"#129", 1007, "", 9, 40, 220, 14,
         WS_CHILD | WS_VISIBLE | WS_BORDER | WS_GROUP | WS_TABSTOP | ES_AUTOHSCROLL},
        {"#128", 1, "OK", 61, 65, 50, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
        {"#128", 2, "Cancel", 126, 65, 50, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON},
        {"#130", 65535, "Enter the directory you wish to install this program in:", 9, 25, 164, 8,
         WS_CHILD | WS_VISIBLE | SS_LEFT},
        {"#130", 1008, "", 9, 10, 220, 8, WS_CHILD | WS_VISIBLE | SS_LEFT},
    };
    for (int i = 0; i < count && i < 5; i++) {
        const Control& e = expected[i];
        r.AlignDword(base);
        EXPECT_EQ(e.style, r.Dword()) << "control " << i + 1 << " style";
        EXPECT_EQ(0u, r.Dword()) << "control " << i + 1 << " extended style";
        EXPECT_EQ(e.x, r.Short()) << "control " << i + 1;
        EXPECT_EQ(e.y, r.Short()) << "control " << i + 1;
        EXPECT_EQ(e.cx, r.Short()) << "control " << i + 1;
        EXPECT_EQ(e.cy, r.Short()) << "control " << i + 1;
        EXPECT_EQ(e.id, r.Word()) << "control " << i + 1;
        EXPECT_EQ(e.className, r.NameOrOrdinal()) << "control " << i + 1;
        EXPECT_EQ(e.text, r.NameOrOrdinal()) << "control " << i + 1;
        EXPECT_EQ(0, r.Word()) << "control " << i + 1 << " creation data";
    }
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colorCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)

void ShippedProgram::ExpectIconGroup(int id)
{
    std::string group = Resource(RT_GROUP_ICON, id);
    ASSERT_EQ(6u + sizeof(IconGroupEntry), group.size());
    const WORD* header = (const WORD*)group.data();
    EXPECT_EQ(1, header[1]) << "type: icon";
    EXPECT_EQ(1, header[2]) << "one image";
    const IconGroupEntry* entry = (const IconGroupEntry*)(group.data() + 6);
    EXPECT_EQ(32, entry->width);
    EXPECT_EQ(32, entry->height);
    EXPECT_EQ(16, entry->colorCount);
    EXPECT_EQ(4, entry->bitCount);
    EXPECT_EQ(744u, entry->bytesInRes);
    EXPECT_EQ(744u, Resource(RT_ICON, entry->id).size());
}

TEST_F(ShippedSetup, IconGroup287HoldsOne32By32SixteenColourImage)
{
    ExpectIconGroup(287);
}

TEST_F(ShippedUninstaller, IconGroup117AndVersionRecord)
{
    ExpectIconGroup(117);
    // The same picture as the setup program's.
    HMODULE setup = LoadLibraryExA(fixtures::ShippedSetupProgram().c_str(), NULL,
                                   LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, setup);
    HRSRC found = FindResourceExA(setup, RT_ICON, MAKEINTRESOURCEA(1), kEnglishUs);
    ASSERT_NE(nullptr, found);
    std::string setupIcon((const char*)LockResource(LoadResource(setup, found)),
                          SizeofResource(setup, found));
    FreeLibrary(setup);
    EXPECT_EQ(setupIcon, Resource(RT_ICON, 1));

    ASSERT_FALSE(Resource(RT_VERSION, 1).empty()) << "no version record in language 1033";
    ExpectVersionStrings({{"FileDescription", "Wrenfield Uninstaller"},
                          {"FileVersion", "1.0"},
                          {"InternalName", "Uninst"},
                          {"OriginalFilename", "Uninst.exe"},
                          {"ProductName", "Wrenfield"},
                          {"ProductVersion", "1.0"},
                          {"Comments", " "},
                          {"LegalTrademarks", " "},
                          {"PrivateBuild", " "},
                          {"SpecialBuild", " "}});
}

TEST_F(ShippedSetup, VersionResourceHoldsEveryString)
{
    ASSERT_FALSE(Resource(RT_VERSION, 1).empty()) << "no version resource 1 in language 1033";
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path_.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path_.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", (void**)&fixed, &length));
    EXPECT_EQ(MAKELONG(0, 1), fixed->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(0, 5), fixed->dwFileVersionLS);
    EXPECT_EQ(MAKELONG(0, 1), fixed->dwProductVersionMS);
    EXPECT_EQ(MAKELONG(0, 5), fixed->dwProductVersionLS);
    EXPECT_EQ(0x3Fu, fixed->dwFileFlagsMask);
    EXPECT_EQ(0x28u, fixed->dwFileFlags);
    EXPECT_EQ((DWORD)VOS__WINDOWS32, fixed->dwFileOS);
    EXPECT_EQ((DWORD)VFT_APP, fixed->dwFileType);
    EXPECT_EQ(0u, fixed->dwFileSubtype);
    EXPECT_EQ(0u, fixed->dwFileDateMS);
    EXPECT_EQ(0u, fixed->dwFileDateLS);

    WORD* translation = NULL;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", (void**)&translation, &length));
    ASSERT_EQ(4u, length);
    EXPECT_EQ(0x0409, translation[0]);
    EXPECT_EQ(0x04B0, translation[1]);

    const char* const strings[][2] = {
        {"Comments", " "},
        {"FileDescription", "Wrenfield Installer"},
        {"FileVersion", "1.05"},
        {"InternalName", "Setup"},
        {"LegalTrademarks", " "},  // 5
        {"OriginalFilename", "Setup.exe"},
        {"PrivateBuild", " "},
        {"ProductName", "Wrenfield"},
        {"ProductVersion", "1.05"},
        {"SpecialBuild", " "},  // 10
        {"CompanyName", "Wrenfield Software"},
        {"LegalCopyright", "Copyright (C) 2026 Wrenfield Software"},
    };
    for (const auto& s : strings) {
        char* value = NULL;
        std::string query = std::string("\\StringFileInfo\\040904B0\\") + s[0];
        ASSERT_TRUE(VerQueryValueA(info.data(), query.c_str(), (void**)&value, &length)) << s[0];
        EXPECT_STREQ(s[1], value) << s[0];
    }
}

}  // namespace
