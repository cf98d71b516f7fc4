// RemoveFolderTree meets links to folders. Wine cannot make a link from a
// Windows program, so tests/win/with-links.sh lays out the fixture with Linux
// symbolic links (which Wine shows as reparse points) and passes its folder.
//
//   <fixture>\outside\precious.txt
//   <fixture>\tree\a.txt
//   <fixture>\tree\link        -> ..\outside
//   <fixture>\tree\sub\link    -> ..\..\outside
//   <fixture>\toplink          -> outside
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "fixtures.h"
#include "paths.h"

namespace {

std::string FixtureFolder()
{
    const char* folder = std::getenv("WRENFIELD_LINK_FIXTURE");
    return folder ? fixtures::FromLinuxPath(folder) : "";
}

TEST(RemoveFolderTree, RemovesLinksToFoldersWithoutTouchingTheirTarget)
{
    std::string fixture = FixtureFolder();
    ASSERT_FALSE(fixture.empty()) << "run through with-links.sh";
    std::string outside = fixture + "\\outside";
    ASSERT_TRUE(fixtures::Exists(outside + "\\precious.txt"));
    DWORD attributes = GetFileAttributesA((fixture + "\\tree\\link").c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    ASSERT_TRUE(attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        << "the platform does not show the link as a reparse point";

    RemoveFolderTree((fixture + "\\tree").c_str());
    EXPECT_TRUE(fixtures::Exists(outside + "\\precious.txt"));
    EXPECT_FALSE(fixtures::Exists(fixture + "\\tree\\a.txt"));
    // Windows removes a link to a folder with RemoveDirectory; Wine 8 cannot
    // remove one at all, so there the links, and the folders above them, stay.
    bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != NULL;
    EXPECT_EQ(wine, fixtures::Exists(fixture + "\\tree\\link"));
    EXPECT_EQ(wine, fixtures::Exists(fixture + "\\tree\\sub\\link"));

    // A link passed in as the folder itself goes the same way.
    RemoveFolderTree((fixture + "\\toplink").c_str());
    EXPECT_TRUE(fixtures::Exists(outside + "\\precious.txt"));
    EXPECT_EQ(wine, fixtures::Exists(fixture + "\\toplink"));
}

}  // namespace
