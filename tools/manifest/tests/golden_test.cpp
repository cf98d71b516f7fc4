// The sample product's manifest, generated at build time: its description is
// compiled into this test with the programs' own header and checked field by
// field, and the resource script and build settings are checked as text.
#include <gtest/gtest.h>

#include <cstring>

#include "setup_description.h"
#include "test_util.h"

namespace wrenfield::manifest::test {
namespace {

TEST(ManifestGolden, DescriptionHoldsTheSampleProduct) {
    const SetupDescription& d = Description;
    EXPECT_STREQ(d.productName, "Fernwickhold");
    EXPECT_STREQ(d.defaultFolderName, "Fernwickhold");
    EXPECT_STREQ(d.runningWindowTitle, "Fernwickhold");
    EXPECT_STREQ(d.runningWindowClass, "Fernwickhold");

    ASSERT_EQ(PayloadRowCount, 3);
    const struct {
        unsigned short id;
        const char* name;
        const char* shortcut;
    } files[] = {
        {289, "Fernwickhold.exe", "Fernwickhold"},
        {304, "Fernwickhold.chm", "Fernwickhold Help"},
        {303, "ReadMe.doc", "ReadMe"},
    };
    for (int i = 0; i < PayloadRowCount; ++i) {
        EXPECT_EQ(d.files.resourceId[i], files[i].id) << "file row " << i;
        EXPECT_STREQ(d.files.fileName[i], files[i].name) << "file row " << i;
        EXPECT_STREQ(d.files.shortcutName[i], files[i].shortcut) << "file row " << i;
    }

    ASSERT_EQ(RegistryRowCount, 3);
    const struct {
        const char* root;
        const char* key;
        const char* value;
    } registry[] = {
        {"HKCU", "Software\\Fernwickhold", ""},
        {"HKCU", "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Fernwickhold"},
        {"HKLM", "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Fernwickhold", ""},
    };
    for (int i = 0; i < RegistryRowCount; ++i) {
        EXPECT_STREQ(d.registryCleanup.rootName[i], registry[i].root) << "registry row " << i;
        EXPECT_STREQ(d.registryCleanup.subKey[i], registry[i].key) << "registry row " << i;
        EXPECT_STREQ(d.registryCleanup.valueName[i], registry[i].value) << "registry row " << i;
    }

    ASSERT_EQ(ObsoleteFileCount, 2);
    EXPECT_STREQ(d.obsoleteFiles[0], "Register.txt");
    EXPECT_STREQ(d.obsoleteFiles[1], "Readme.txt");
    EXPECT_STREQ(d.launchParameters, "/s");
    EXPECT_EQ(d.mainFileIndex, 0);
    EXPECT_EQ(d.launchFileIndex, 0);
}

TEST(ManifestGolden, GeneratedTextsOfTheSampleProduct) {
    const std::filesystem::path dir = SAMPLE_GENERATED;
    EXPECT_EQ(ReadText(dir / "setup_rows.h"),
              "// Row counts of the setup description: generated from product.toml, do not edit.\n"
              "#pragma once\n"
              "\n"
              "enum { PayloadRowCount = 3, RegistryRowCount = 3, ObsoleteFileCount = 2 };\n");

    // The layout of the hand-written description it replaces.
    EXPECT_EQ(ReadText(dir / "setup_description.cpp"),
              R"(// The setup description of Fernwickhold: generated from product.toml, do not edit.
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
)");

    EXPECT_EQ(ReadText(dir / "payload.rc"),
              "// The payload resources of Fernwickhold: generated from product.toml, do not edit.\n"
              "LANGUAGE 9, 1\n"
              "289 FILES \"289.szdd\"\n"
              "304 FILES \"304.szdd\"\n"
              "303 FILES \"303.szdd\"\n"
              "292 UNINST \"292.szdd\"\n");

    EXPECT_EQ(ReadText(dir / "payload.cmake"),
              "# The payload of Fernwickhold: generated from product.toml, do not edit.\n"
              "set(PRODUCT_KEY \"fernwickhold\")\n"
              "set(PRODUCT_NAME \"Fernwickhold\")\n"
              "set(PRODUCT_VERSION \"1.0.5\")\n"
              "set(PRODUCT_PUBLISHER \"Fernwick Works\")\n"
              "set(PAYLOAD_IDS 289 304 303)\n"
              "set(PAYLOAD_289_BUILT \"Fernwickhold.exe\")\n"
              "set(PAYLOAD_289_NAME \"Fernwickhold.exe\")\n"
              "set(PAYLOAD_304_BUILT \"Fernwickhold.chm\")\n"
              "set(PAYLOAD_304_NAME \"Fernwickhold.chm\")\n"
              "set(PAYLOAD_303_SOURCE \"" SAMPLE_DIR "/ReadMe.doc\")\n"
              "set(PAYLOAD_303_NAME \"ReadMe.doc\")\n");
}

}  // namespace
}  // namespace wrenfield::manifest::test
