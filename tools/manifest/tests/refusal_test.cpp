// Every refusal of the manifest tool, as one table: each row is the small
// manifest below with an edit or two, and either the fragment of the message
// it must be refused with and the line the message names, or nullptr where
// the edit stays just inside a limit and must be accepted. Each row also runs
// `generate`, which must write nothing at all on a refusal.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "cli.h"
#include "test_util.h"

namespace wrenfield::manifest::test {
namespace {

namespace fs = std::filesystem;

// Lines, for the expected line numbers:
//   1 [product]          13 [[file]]            24 [[file]]            30 [[registry]]
//   2 name               14 id = 300            25 id = 302            31 root = "HKCU"
//   3 folder             15 source              26 source              32 key
//   4 window_title       16 name                27 name                33 value
//   5 window_class       17 shortcut            28 shortcut            35 [[registry]]
//   6 main_file          19 [[file]]                                   36 root = "HKLM"
//   7 launch_file        20 id = 301                                   37 key (Add/Remove Programs)
//   8 launch_parameters  21 built
//   9 obsolete_files     22 name
//  10 version, 11 publisher
const std::string kBase = R"([product]
name = "Quillmere"
folder = "Quillmere"
window_title = "Quillmere"
window_class = "QuillmereMain"
main_file = 0
launch_file = 1
launch_parameters = "-quiet"
obsolete_files = ["Old.txt"]
version = "2.1"
publisher = "Quill Works"

[[file]]
id = 300
source = "quill.exe"
name = "Quill.exe"
shortcut = "Quillmere"

[[file]]
id = 301
built = "notes.txt"
name = 'docs\Notes.txt'

[[file]]
id = 302
source = "help/quill.chm"
name = "Quill.chm"
shortcut = "Quillmere Help"

[[registry]]
root = "HKCU"
key = 'Software\Quillmere'
value = "Settings"

[[registry]]
root = "HKLM"
key = 'Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmere'
)";

const std::string kArpLine = R"(key = 'Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmere')";

// Returns kBase with each line equal to an edit's first text replaced by its second
// ("" leaves the line blank, so that the lines below keep their numbers).
std::string Edited(std::initializer_list<std::pair<std::string, std::string>> edits) {
    std::string text = kBase;
    for (const auto& [from, to] : edits) {
        size_t at = ("\n" + text).find("\n" + from + "\n");
        if (at == std::string::npos) throw std::logic_error("no line '" + from + "' to edit");
        text.replace(at, from.size(), to);
    }
    return text;
}

// Returns kBase without lines first..last (1-based, inclusive).
std::string Cut(int first, int last) {
    std::istringstream in(kBase);
    std::string line, out;
    for (int n = 1; std::getline(in, line); ++n) {
        if (n < first || n > last) out += line + "\n";
    }
    return out;
}

std::string Chars(size_t n, char c) { return std::string(n, c); }

// A manifest line key = "text" with a literal (backslash-keeping) string.
std::string Literal(const std::string& key, const std::string& text) { return key + " = '" + text + "'"; }

struct Case {
    std::string manifest;
    const char* refusal;  // a fragment of the message; nullptr: accepted
    long line;            // the line the message names; 0: none
    bool withCMakeLists = true;
};

const std::string kName2 = R"(name = 'docs\Notes.txt')";  // the second row's installed name

std::vector<Case> Cases() {
    return {
        // 0: syntax and structure
        {Edited({{R"(name = "Quillmere")", R"(name = "Quillmere)"}}), "not valid TOML", 2},
        {Edited({{"[product]", "[produkt]"}}), "the manifest has an unknown key 'produkt'", 1},
        {"product = 1\n" + Cut(1, 11), "product must be a table ([product]), not an integer", 1},
        {"file = 3\n" + Cut(13, 29), "file must be rows ([[file]]), not an integer", 1},
        {Cut(13, 29), "has no [[file]] rows", 0},
        // 5
        {Cut(30, 37), "has no [[registry]] rows", 0},
        {"registry = [1]\n" + Cut(30, 37), "registry rows must be tables, not an integer", 1},
        {Edited({{R"(window_title = "Quillmere")", R"(windw_title = "Quillmere")"}}),
         "[product] has an unknown key 'windw_title'", 4},
        {Edited({{R"(shortcut = "Quillmere")", "shortcut = \"Quillmere\"\nicon = 2"}}),
         "[[file]] has an unknown key 'icon'", 18},
        {Edited({{R"(value = "Settings")", R"(valu = "Settings")"}}), "[[registry]] has an unknown key 'valu'", 33},
        // 10: missing keys name the table's header line
        {Edited({{R"(folder = "Quillmere")", ""}}), "[product] has no 'folder'", 1},
        {Edited({{"main_file = 0", ""}}), "[product] has no 'main_file'", 1},
        {Edited({{"launch_file = 1", ""}}), "[product] has no 'launch_file'", 1},
        {Edited({{"id = 301", ""}}), "[[file]] has no 'id'", 19},
        {Edited({{kName2, ""}}), "[[file]] has no 'name'", 19},
        // 15
        {Edited({{R"(root = "HKCU")", ""}}), "[[registry]] has no 'root'", 30},
        {Edited({{R"(key = 'Software\Quillmere')", ""}}), "[[registry]] has no 'key'", 30},
        {Edited({{R"(launch_parameters = "-quiet")", ""}, {R"(obsolete_files = ["Old.txt"])", ""},
                 {R"(version = "2.1")", ""}, {R"(publisher = "Quill Works")", ""}}),
         nullptr, 0},
        // wrong types
        {Edited({{"main_file = 0", R"(main_file = "0")"}}), "[product] main_file must be an integer, not a string", 6},
        {Edited({{"id = 300", "id = 300.0"}}), "[[file]] id must be an integer, not a floating-point number", 14},
        // 20
        {Edited({{R"(name = "Quillmere")", "name = 5"}}), "[product] name must be a string, not an integer", 2},
        {Edited({{R"(obsolete_files = ["Old.txt"])", R"(obsolete_files = "Old.txt")"}}),
         "[product] obsolete_files must be an array, not a string", 9},
        {Edited({{R"(obsolete_files = ["Old.txt"])", "obsolete_files = [3]"}}),
         "[product] obsolete_files entry must be a string, not an integer", 9},
        {Edited({{R"(shortcut = "Quillmere")", "shortcut = true"}}),
         "[[file]] shortcut must be a string, not a boolean", 17},
        // texts are printable ASCII: the programs use the ANSI code page
        {Edited({{R"(name = "Quillmere")", "name = \"Quillm\xC3\xA8re\""}}), "holds byte 0xC3 at character 7", 2},
        // 25
        {Edited({{R"(window_title = "Quillmere")", R"(window_title = "Quill\tmere")"}}), "holds byte 0x09", 4},
        {Edited({{R"(publisher = "Quill Works")", "publisher = \"Quill W\xC3\xB6rks\""}}), "holds byte 0xC3", 11},
        // lengths of the product's texts
        {Edited({{R"(name = "Quillmere")", R"(name = "")"}}), "[product] name is empty", 2},
        {Edited({{R"(name = "Quillmere")", "name = \"" + Chars(124, 'N') + "\""}}),
         "[product] name is 124 characters long; at most 123 fit", 2},
        {Edited({{R"(name = "Quillmere")", "name = \"" + Chars(123, 'N') + "\""},
                 {kArpLine, Literal("key", "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + Chars(123, 'N'))},
                 {R"(shortcut = "Quillmere")", R"(shortcut = "Q")"},
                 {R"(shortcut = "Quillmere Help")", R"(shortcut = "QH")"}}),
         nullptr, 0},
        // 30: with a 123-character product name a link name has 2 characters left
        {Edited({{R"(name = "Quillmere")", "name = \"" + Chars(123, 'N') + "\""},
                 {kArpLine, Literal("key", "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + Chars(123, 'N'))},
                 {R"(shortcut = "Quillmere")", R"(shortcut = "QHx")"}}),
         "[[file]] shortcut is 3 characters long; at most 2 fit", 17},
        {Edited({{R"(shortcut = "Quillmere")", "shortcut = \"" + Chars(116, 'S') + "\""}}), nullptr, 0},
        {Edited({{R"(shortcut = "Quillmere")", "shortcut = \"" + Chars(117, 'S') + "\""}}),
         "[[file]] shortcut is 117 characters long; at most 116 fit", 17},
        {Edited({{R"(folder = "Quillmere")", "folder = \"" + Chars(15, 'F') + "\""}}), nullptr, 0},
        {Edited({{R"(folder = "Quillmere")", "folder = \"" + Chars(16, 'F') + "\""}}),
         "[product] folder is 16 characters long; at most 15 fit", 3},
        // 35
        {Edited({{R"(folder = "Quillmere")", R"(folder = "")"}}), "[product] folder is empty", 3},
        {Edited({{R"(window_title = "Quillmere")", "window_title = \"" + Chars(15, 'T') + "\""}}), nullptr, 0},
        {Edited({{R"(window_title = "Quillmere")", "window_title = \"" + Chars(16, 'T') + "\""}}),
         "[product] window_title is 16 characters long; at most 15 fit", 4},
        {Edited({{R"(window_class = "QuillmereMain")", "window_class = \"" + Chars(15, 'C') + "\""}}), nullptr, 0},
        {Edited({{R"(window_class = "QuillmereMain")", "window_class = \"" + Chars(16, 'C') + "\""}}),
         "[product] window_class is 16 characters long; at most 15 fit", 5},
        // 40
        {Edited({{R"(window_class = "QuillmereMain")", R"(window_class = "")"}}), "[product] window_class is empty", 5},
        {Edited({{R"(launch_parameters = "-quiet")", "launch_parameters = \"" + Chars(255, 'p') + "\""}}), nullptr, 0},
        {Edited({{R"(launch_parameters = "-quiet")", "launch_parameters = \"" + Chars(256, 'p') + "\""}}),
         "[product] launch_parameters is 256 characters long; at most 255 fit", 8},
        // the product name and the folder become folder names
        {Edited({{R"(folder = "Quillmere")", R"(folder = 'Quill\mere')"}}), "holds the character '\\'", 3},
        {Edited({{R"(name = "Quillmere")", R"(name = "Quill: Deluxe")"}}), "holds the character ':'", 2},
        // 45
        {Edited({{R"(folder = "Quillmere")", R"(folder = "Quillmere.")"}}), "ending in '.'", 3},
        {Edited({{R"(folder = "Quillmere")", R"(folder = "aux")"}}), "names the device AUX", 3},
        // payload file names
        {Edited({{kName2, "name = ''"}}), "[[file]] name is empty", 22},
        {Edited({{kName2, Literal("name", "docs\\" + Chars(130, 'n') + ".txt")}}), nullptr, 0},
        {Edited({{kName2, Literal("name", "docs\\" + Chars(131, 'n') + ".txt")}}),
         "[[file]] name is 140 characters long; at most 139 fit", 22},
        // 50
        {Edited({{kName2, R"(name = 'C:\Quill\Notes.txt')"}}), "starts with a drive letter", 22},
        {Edited({{kName2, R"(name = '\docs\Notes.txt')"}}), "starts with a backslash", 22},
        {Edited({{kName2, R"(name = '..\Notes.txt')"}}), "has a '..' component", 22},
        {Edited({{kName2, R"(name = 'docs\..\..\Notes.txt')"}}), "has a '..' component", 22},
        {Edited({{kName2, R"(name = 'docs\\Notes.txt')"}}), "has an empty folder name", 22},
        // 55
        {Edited({{kName2, R"(name = 'docs\')"}}), "ends with a backslash", 22},
        {Edited({{kName2, R"(name = '.\Notes.txt')"}}), "has a '.' component", 22},
        {Edited({{kName2, R"(name = 'docs.\Notes.txt')"}}), "ending in '.'", 22},
        {Edited({{kName2, R"(name = 'docs\Notes.txt ')"}}), "ending in ' '", 22},
        {Edited({{kName2, R"(name = 'NUL.txt')"}}), "names the device NUL", 22},
        // 60
        {Edited({{kName2, R"(name = 'docs\com1')"}}), "names the device COM1", 22},
        {Edited({{kName2, R"(name = 'docs/Notes.txt')"}}), "holds the character '/'", 22},
        {Edited({{kName2, R"(name = 'Notes*.txt')"}}), "holds the character '*'", 22},
        {Edited({{kName2, R"(name = 'Notes?.txt')"}}), "holds the character '?'", 22},
        {Edited({{kName2, R"(name = 'Say"Notes.txt')"}}), "holds the character '\"'", 22},
        // 65
        {Edited({{kName2, R"(name = 'Notes<.txt')"}}), "holds the character '<'", 22},
        {Edited({{kName2, R"(name = 'Notes>.txt')"}}), "holds the character '>'", 22},
        {Edited({{kName2, R"(name = 'Notes|.txt')"}}), "holds the character '|'", 22},
        {Edited({{kName2, R"(name = 'docs:Notes.txt')"}}), "holds the character ':'", 22},
        {Edited({{kName2, R"(name = 'QUILL.EXE')"}}), "is already installed by the row on line 16", 22},
        // 70: shortcut names
        {Edited({{R"(shortcut = "Quillmere")", R"(shortcut = 'Quill\mere')"}}), "holds the character '\\'", 17},
        {Edited({{R"(shortcut = "Quillmere")", R"(shortcut = "Quill/mere")"}}), "holds the character '/'", 17},
        {Edited({{R"(shortcut = "Quillmere")", R"(shortcut = "Quill?")"}}), "holds the character '?'", 17},
        {Edited({{R"(shortcut = "Quillmere")", R"(shortcut = "con")"}}), "names the device CON", 17},
        {Edited({{R"(shortcut = "Quillmere Help")", R"(shortcut = "QUILLMERE")"}}),
         "is already made by the row on line 17", 28},
        // 75
        {Edited({{R"(shortcut = "Quillmere")", R"(shortcut = "")"}}), nullptr, 0},
        // where the files come from
        {Edited({{R"(source = "quill.exe")", R"(source = "missing.exe")"}}), "no such file", 15},
        {Edited({{R"(source = "quill.exe")", R"(source = "help")"}}), "is a folder, not a file", 15},
        {Edited({{R"(source = "quill.exe")", R"(source = "/quill.exe")"}}), "must be relative to the manifest's folder", 15},
        {Edited({{R"(source = "help/quill.chm")", R"(source = 'help\quill.chm')"}}), "separate folders with '/'", 26},
        // 80
        {Edited({{R"(source = "quill.exe")", R"(source = "")"}}), "[[file]] source is empty", 15},
        {Edited({{R"(source = "quill.exe")", R"(source = "../quillmere/quill.exe")"}}), nullptr, 0},
        {Edited({{R"(source = "quill.exe")", "source = \"quill.exe\"\nbuilt = \"quill.exe\""}}),
         "has both 'source' and 'built'", 16},
        {Edited({{R"(source = "quill.exe")", ""}}), "has neither 'source' nor 'built'", 13},
        {Edited({{R"(built = "notes.txt")", R"(built = "out/notes.txt")"}}), "without folders", 21},
        // 85
        {kBase, "needs a CMakeLists.txt in the manifest's folder", 21, false},
        // resource ids
        {Edited({{"id = 300", "id = 0"}}), "[[file]] id 0 is not a resource id (1..65535)", 14},
        {Edited({{"id = 300", "id = 65536"}}), "[[file]] id 65536 is not a resource id (1..65535)", 14},
        {Edited({{"id = 300", "id = 65535"}}), nullptr, 0},
        {Edited({{"id = 300", "id = 1"}}), "id 1 is one of the programs' own resource ids", 14},
        // 90
        {Edited({{"id = 300", "id = 117"}}), "id 117 is one of the programs' own resource ids", 14},
        {Edited({{"id = 300", "id = 287"}}), "id 287 is one of the programs' own resource ids", 14},
        {Edited({{"id = 300", "id = 288"}}), "id 288 is one of the programs' own resource ids", 14},
        {Edited({{"id = 301", "id = 292"}}), "id 292 is one of the programs' own resource ids", 20},
        {Edited({{"id = 301", "id = 300"}}), "id 300 is already used on line 14", 20},
        // 95: registry roots, exactly as the uninstaller spells them
        {Edited({{R"(root = "HKCU")", R"(root = "HKEY_CURRENT_USER")"}}),
         "root \"HKEY_CURRENT_USER\" is not one of HKCR, HKCU, HKLM, HKU, HKPD, HKCC, HDD", 31},
        {Edited({{R"(root = "HKCU")", R"(root = "hkcu")"}}), "root \"hkcu\" is not one of", 31},
        {Edited({{R"(root = "HKCU")", R"(root = "HKCR")"}}), nullptr, 0},
        {Edited({{R"(root = "HKCU")", R"(root = "HKU")"}}), nullptr, 0},
        {Edited({{R"(root = "HKCU")", R"(root = "HKPD")"}}), nullptr, 0},
        // 100
        {Edited({{R"(root = "HKCU")", R"(root = "HKCC")"}}), nullptr, 0},
        {Edited({{R"(root = "HKCU")", R"(root = "HDD")"}}), nullptr, 0},
        // registry keys and values
        {Edited({{R"(key = 'Software\Quillmere')", "key = ''"}}), "[[registry]] key is empty", 32},
        {Edited({{R"(key = 'Software\Quillmere')", Literal("key", "S" + Chars(254, 'k'))}}), nullptr, 0},
        {Edited({{R"(key = 'Software\Quillmere')", Literal("key", "S" + Chars(255, 'k'))}}),
         "[[registry]] key is 256 characters long; at most 255 fit", 32},
        // 105
        {Edited({{R"(key = 'Software\Quillmere')", R"(key = '\Software\Quillmere')"}}),
         "must not start or end with a backslash", 32},
        {Edited({{R"(key = 'Software\Quillmere')", R"(key = 'Software\\Quillmere')"}}),
         "must not start or end with a backslash or double one", 32},
        {Edited({{R"(value = "Settings")", "value = \"" + Chars(255, 'v') + "\""}}), nullptr, 0},
        {Edited({{R"(value = "Settings")", "value = \"" + Chars(256, 'v') + "\""}}),
         "[[registry]] value is 256 characters long; at most 255 fit", 33},
        // the Add/Remove Programs row that setup writes
        {Edited({{kArpLine, R"(key = 'Software\Quillmere\Other')"}}),
         R"(lacks the Add/Remove Programs row that setup writes: root = "HKLM", key = 'Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmere', no value)",
         0},
        // 110
        {Edited({{R"(root = "HKLM")", R"(root = "HKCU")"}}), "lacks the Add/Remove Programs row", 0},
        {Edited({{kArpLine, kArpLine + "\nvalue = \"DisplayName\""}}),
         "row of the Add/Remove Programs key must have no value", 38},
        {Edited({{kArpLine, R"(key = 'SOFTWARE\microsoft\Windows\CurrentVersion\Uninstall\quillMERE')"}}), nullptr, 0},
        // row indexes
        {Edited({{"main_file = 0", "main_file = 3"}}), "[product] main_file 3 is not a [[file]] row (0..2)", 6},
        {Edited({{"main_file = 0", "main_file = -1"}}), "[product] main_file -1 is not a [[file]] row", 6},
        // 115
        {Edited({{"main_file = 0", "main_file = 2"}}), nullptr, 0},
        {Edited({{"launch_file = 1", "launch_file = -2"}}),
         "[product] launch_file -2 is neither -1 nor a [[file]] row (0..2)", 7},
        {Edited({{"launch_file = 1", "launch_file = 3"}}), "[product] launch_file 3 is neither -1 nor a [[file]] row", 7},
        {Edited({{"launch_file = 1", "launch_file = -1"}}), nullptr, 0},
        // obsolete files follow the payload names' rules
        {Edited({{R"(obsolete_files = ["Old.txt"])", R"(obsolete_files = [""])"}}),
         "[product] obsolete_files entry is empty", 9},
        // 120
        {Edited({{R"(obsolete_files = ["Old.txt"])", "obsolete_files = [\"" + Chars(139, 'o') + "\"]"}}), nullptr, 0},
        {Edited({{R"(obsolete_files = ["Old.txt"])", "obsolete_files = [\"" + Chars(140, 'o') + "\"]"}}),
         "[product] obsolete_files entry is 140 characters long; at most 139 fit", 9},
        {Edited({{R"(obsolete_files = ["Old.txt"])", R"(obsolete_files = ['..\Old.txt'])"}}), "has a '..' component", 9},
        {Edited({{R"(obsolete_files = ["Old.txt"])", R"(obsolete_files = ["Old|.txt"])"}}), "holds the character '|'", 9},
        {Edited({{R"(obsolete_files = ["Old.txt"])", R"(obsolete_files = ["Old.txt", "quill.EXE"])"}}),
         "\"quill.EXE\" is also installed by a [[file]] row", 9},
        // 125
        {Edited({{R"(obsolete_files = ["Old.txt"])", "obsolete_files = []"}}), nullptr, 0},
    };
}

// Writes the manifest with its files: a source file, one in a sub-folder, and the
// CMakeLists.txt that builds the "built" rows.
fs::path WriteProduct(const TempDir& dir, const Case& c) {
    const fs::path folder = dir.path() / "quillmere";
    WriteText(folder / "product.toml", c.manifest);
    WriteText(folder / "quill.exe", "MZ");
    WriteText(folder / "help" / "quill.chm", "ITSF");
    if (c.withCMakeLists) WriteText(folder / "CMakeLists.txt", "# builds notes.txt\n");
    return folder / "product.toml";
}

TEST(ManifestRefusals, EachNamesFileLineAndReasonAndGenerateWritesNothing) {
    const std::vector<Case> cases = Cases();
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        TempDir dir;
        const fs::path manifest = WriteProduct(dir, c);
        const fs::path existing = dir.path() / "out", fresh = dir.path() / "fresh";
        fs::create_directory(existing);

        std::ostringstream out, err, out2, err2;
        int code = RunCommandLine({"generate", manifest.string(), existing.string()}, out, err);
        int code2 = RunCommandLine({"generate", manifest.string(), fresh.string()}, out2, err2);
        const std::string message = err.str();

        if (!c.refusal) {
            EXPECT_EQ(code, kExitOk) << "row " << i << ": refused: " << message;
            EXPECT_EQ(Listing(existing).size(), 4u) << "row " << i;
            continue;
        }
        const std::string where =
            "wrenfield-manifest: " + manifest.string() + (c.line ? ":" + std::to_string(c.line) + ":" : ": ");
        EXPECT_EQ(code, kExitRefused) << "row " << i;
        EXPECT_EQ(message.rfind(where, 0), 0u) << "row " << i << ": got " << message << "expected it to begin " << where;
        EXPECT_NE(message.find(c.refusal), std::string::npos)
            << "row " << i << ": got " << message << "expected to find " << c.refusal;
        EXPECT_EQ(message.find('\n'), message.size() - 1) << "row " << i << ": one line: " << message;
        EXPECT_EQ(code2, kExitRefused) << "row " << i;
        EXPECT_EQ(err2.str(), message) << "row " << i;
        EXPECT_TRUE(Listing(existing).empty()) << "row " << i << ": files left in the output folder";
        EXPECT_FALSE(fs::exists(fresh)) << "row " << i << ": the output folder was created";
    }
}

}  // namespace
}  // namespace wrenfield::manifest::test
