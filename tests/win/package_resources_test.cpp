// Package resources and their expansion through the platform's LZ32, and
// our compressor proved by that independent decoder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixtures.h"
#include "resources.h"
#include "szdd.h"

using fixtures::ReadFileText;
using fixtures::ScratchFolder;
using fixtures::WriteFileText;

namespace {

// Ids of this test program's own package resources (tests/win/package_test.rc).
enum { FixtureFilesId = 1001, FixtureUninstId = 1002 };

std::string StoredBytes(const char* type, WORD id)
{
    DWORD count = 0;
    const BYTE* bytes = FindPackageResource(type, id, &count);
    return bytes ? std::string((const char*)bytes, count) : "";
}

std::string TempFolder()
{
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    return folder;
}

TEST(FindPackageResource, FindsTheUpperCaseTypesByTheirRequestedNames)
{
    std::string compressed = ReadFileText(fixtures::FromLinuxPath(WRENFIELD_FIXTURE_SZDD));
    ASSERT_FALSE(compressed.empty());
    EXPECT_EQ(compressed, StoredBytes("Files", FixtureFilesId));
    EXPECT_EQ(compressed, StoredBytes("Uninst", FixtureUninstId));
    EXPECT_EQ("", StoredBytes("Files", 4242)) << "a missing resource gives nothing";
}

TEST(StageResource, WritesTheStoredBytesToAFreshOsfFileInTheTemporaryFolder)
{
    DWORD count = 0;
    const BYTE* bytes = FindPackageResource("Files", FixtureFilesId, &count);
    ASSERT_NE(nullptr, bytes);

    char first[MAX_PATH] = {};
    char second[MAX_PATH] = {};
    ASSERT_TRUE(StageResource(bytes, count, first));
    ASSERT_TRUE(StageResource(bytes, count, second));
    for (const char* staged : {first, second}) {
        std::string path = staged;
        std::string folder = TempFolder();
        ASSERT_EQ(0, _strnicmp(folder.c_str(), path.c_str(), folder.size())) << path;
        EXPECT_EQ(0, _strnicmp("osf", path.c_str() + folder.size(), 3)) << path;
        std::string content = ReadFileText(path);
        EXPECT_EQ(std::string((const char*)bytes, count), content);
        EXPECT_EQ(0, content.compare(0, 8, "SZDD\x88\xF0\x27\x33", 8));
    }
    EXPECT_NE(0, lstrcmpiA(first, second)) << "two stagings share a name";
    DeleteFileA(first);
    DeleteFileA(second);
}

TEST(ExpandFile, GivesBackTheSourceUnderTheTargetsNameWhateverTheHeaderSays)
{
    ScratchFolder scratch("expand");
    std::string original = ReadFileText(fixtures::FromLinuxPath(WRENFIELD_FIXTURE_ORIGINAL));
    ASSERT_FALSE(original.empty());
    DWORD count = 0;
    const BYTE* bytes = FindPackageResource("Files", FixtureFilesId, &count);
    char staged[MAX_PATH] = {};
    ASSERT_TRUE(StageResource(bytes, count, staged));

    // The header's last character is 'o'; the installed name is ours alone.
    std::string target = scratch / "Installed.bin";
    EXPECT_TRUE(ExpandFile(target.c_str(), staged));
    EXPECT_EQ(original, ReadFileText(target));
    EXPECT_FALSE(fixtures::Exists(scratch / "Installed.bi_"));
    DeleteFileA(staged);
}

TEST(ExpandFile, ReportsEveryIncompleteExpansion)
{
    ScratchFolder scratch("expand-bad");
    std::vector<uint8_t> data(5000);
    for (size_t i = 0; i < data.size(); i++)
        data[i] = (uint8_t)(i * 7 + i / 13);
    std::vector<uint8_t> good = szdd::Compress(data.data(), data.size(), 'n');
    std::string whole(good.begin(), good.end());

    std::string promisesMore = whole;
    promisesMore[10] = (char)((5001) & 0xFF);
    promisesMore[11] = (char)((5001) >> 8);

    struct {
        const char* what;
        std::string source;
    } cases[] = {
        {"truncated data", whole.substr(0, whole.size() / 2)},
        {"a header promising more", promisesMore},
        {"no SZDD signature (LZ32 would copy it raw)", std::string(data.begin(), data.end())},
        {"a header only", whole.substr(0, 14)},
    };
    for (const auto& c : cases) {
        std::string source = scratch / "source.bin";
        std::string target = scratch / "target.bin";
        WriteFileText(source, c.source);
        EXPECT_FALSE(ExpandFile(target.c_str(), source.c_str())) << c.what;
    }

    std::string target = scratch / "target.bin";
    EXPECT_FALSE(ExpandFile(target.c_str(), (scratch / "missing.bin").c_str())) << "missing source";
}

// Our compressor's output, expanded by the platform's own decoder.
std::vector<uint8_t> Periodic(size_t size)
{
    std::vector<uint8_t> data(size);
    for (size_t i = 0; i < size; i++)
        data[i] = (uint8_t)"Fernwickhold setup: "[i % 20];
    return data;
}

std::vector<uint8_t> Random(size_t size)
{
    std::vector<uint8_t> data(size);
    uint32_t x = 2463534242u;
    for (uint8_t& b : data) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = (uint8_t)x;
    }
    return data;
}

TEST(ExpandFile, ThePlatformExpandsWhatOurCompressorMakesByteForByte)
{
    ScratchFolder scratch("lz32");
    std::vector<uint8_t> all256(256);
    for (int i = 0; i < 256; i++)
        all256[i] = (uint8_t)i;
    std::vector<uint8_t> spacesFirst(40, ' ');
    spacesFirst.push_back('x');
    std::string self = ReadFileText(fixtures::FromLinuxPath(WRENFIELD_SETUP));
    ASSERT_FALSE(self.empty());

    struct {
        const char* what;
        std::vector<uint8_t> data;
    } cases[] = {
        {"empty", {}},
        {"one byte", {'A'}},
        {"spaces at the very start", spacesFirst},
        {"all 256 byte values", all256},
        {"periodic, 4095 bytes", Periodic(4095)},  // 5
        {"periodic, 4096 bytes", Periodic(4096)},
        {"periodic, 4097 bytes", Periodic(4097)},
        {"random", Random(70000)},
        {"a real PE file", std::vector<uint8_t>(self.begin(), self.end())},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> packed = szdd::Compress(c.data.data(), c.data.size(), 'x');
        std::string source = scratch / "packed.sz_";
        std::string target = scratch / "unpacked.bin";
        WriteFileText(source, std::string(packed.begin(), packed.end()));
        EXPECT_TRUE(ExpandFile(target.c_str(), source.c_str())) << c.what;
        EXPECT_TRUE(ReadFileText(target) == std::string(c.data.begin(), c.data.end())) << c.what;
        DeleteFileA(target.c_str());
    }
}

}  // namespace
