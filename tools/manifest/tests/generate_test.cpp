// What `generate` writes: a second, small product (one file from a sub-folder,
// nothing launched, no shortcut, no obsolete files) checked text by text; the
// escaping of C and CMake strings; and the command line run as a program.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <sstream>
#include <vector>

#include "cli.h"
#include "generate.h"
#include "manifest.h"
#include "test_util.h"

namespace wrenfield::manifest::test {
namespace {

namespace fs = std::filesystem;

// Texts that need escaping on purpose: quotes and '?' in the window title,
// backslashes in the parameters, '$' and ';' in the publisher.
const char kTallowmere[] = R"(# A second product, as small as a manifest gets.
[product]
name = "Tallowmere"
folder = "Tallow"
window_title = 'Say "hi"?'
window_class = "TallowFrame"
main_file = 0
launch_file = -1
launch_parameters = '/log C:\Temp\tallow.log'
obsolete_files = []
version = "0.9"
publisher = "Tallow $5; Ltd"

[[file]]
id = 500
source = "text/guide.txt"
name = 'docs\guide.txt'
shortcut = ""

[[registry]]
root = "HKLM"
key = 'Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallowmere'
)";

// Writes the Tallowmere product into dir/tallowmere and returns its manifest's path.
fs::path WriteTallowmere(const TempDir& dir) {
    const fs::path folder = dir.path() / "tallowmere";
    WriteText(folder / "product.toml", kTallowmere);
    WriteText(folder / "text" / "guide.txt", "Open it, read it.\n");
    return folder / "product.toml";
}

TEST(ManifestGenerate, SecondProductWritesWhatItShould) {
    TempDir dir;
    const fs::path manifest = WriteTallowmere(dir);
    const fs::path out = dir.path() / "gen" / "tallowmere";
    std::ostringstream so, se;
    ASSERT_EQ(RunCommandLine({"generate", manifest.string(), out.string()}, so, se), kExitOk) << se.str();
    EXPECT_EQ(Listing(out), (std::set<std::string>{"setup_rows.h", "setup_description.cpp", "payload.rc", "payload.cmake"}));

    EXPECT_EQ(ReadText(out / "setup_rows.h"),
              "// Row counts of the setup description: generated from product.toml, do not edit.\n"
              "#pragma once\n"
              "\n"
              "enum { PayloadRowCount = 1, RegistryRowCount = 1, ObsoleteFileCount = 0 };\n");

    // No obsolete files: one empty name, for the header sizes the array for one at least.
    EXPECT_EQ(ReadText(out / "setup_description.cpp"),
              R"(// The setup description of Tallowmere: generated from product.toml, do not edit.
#include "setup_description.h"

const SetupDescription Description = {
    "Tallowmere",
    "Tallow",
    "Say \"hi\"\?",
    "TallowFrame",
    {
        {500},
        {"docs\\guide.txt"},
        {""},
    },
    {
        {"HKLM"},
        {"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tallowmere"},
        {""},
    },
    {""},
    "/log C:\\Temp\\tallow.log",
    0,
    -1,
};
)");

    EXPECT_EQ(ReadText(out / "payload.rc"),
              "// The payload resources of Tallowmere: generated from product.toml, do not edit.\n"
              "LANGUAGE 9, 1\n"
              "500 FILES \"500.szdd\"\n"
              "292 UNINST \"292.szdd\"\n");

    const std::string source = (dir.path() / "tallowmere" / "text" / "guide.txt").string();
    EXPECT_EQ(ReadText(out / "payload.cmake"),
              "# The payload of Tallowmere: generated from product.toml, do not edit.\n"
              "set(PRODUCT_KEY \"tallowmere\")\n"
              "set(PRODUCT_NAME \"Tallowmere\")\n"
              "set(PRODUCT_VERSION \"0.9\")\n"
              "set(PRODUCT_PUBLISHER \"Tallow \\$5\\; Ltd\")\n"
              "set(PAYLOAD_IDS 500)\n"
              "set(PAYLOAD_500_SOURCE \"" + EscapeCMake(source) + "\")\n"
              "set(PAYLOAD_500_NAME \"docs\\\\guide.txt\")\n");
}

TEST(ManifestGenerate, LoadKeepsRowsInFileOrder) {
    TempDir dir;
    const fs::path folder = dir.path() / "p";
    WriteText(folder / "a", "a");
    WriteText(folder / "product.toml", R"([product]
name = "P"
folder = "P"
window_title = "P"
window_class = "P"
main_file = 2
launch_file = 1

[[file]]
id = 900
source = "a"
name = "c.txt"

[[file]]
id = 20
source = "a"
name = "b.txt"

[[file]]
id = 400
source = "./a"
name = "a.txt"

[[registry]]
root = "HKLM"
key = 'Software\Microsoft\Windows\CurrentVersion\Uninstall\P'

[[registry]]
root = "HKCU"
key = "Software"
value = "P"
)");
    Manifest m;
    Problem problem;
    ASSERT_TRUE(Load(folder / "product.toml", m, problem)) << problem.Message();
    ASSERT_EQ(m.files.size(), 3u);
    EXPECT_EQ(m.files[0].id, 900);
    EXPECT_EQ(m.files[1].id, 20);
    EXPECT_EQ(m.files[2].id, 400);
    EXPECT_EQ(m.files[2].source, (folder / "a").string());  // "./a" comes out plain
    ASSERT_EQ(m.registry.size(), 2u);
    EXPECT_EQ(m.registry[1].value, "P");
    EXPECT_EQ(m.mainFile, 2);
    EXPECT_EQ(m.launchFile, 1);
    EXPECT_TRUE(m.version.empty());
    EXPECT_TRUE(m.obsoleteFiles.empty());
    EXPECT_EQ(m.productKey, "p");
}

TEST(ManifestGenerate, LongColumnsPutOneTextPerLine) {
    Manifest m;
    m.fileName = "product.toml";
    m.name = "Wide";
    for (int i = 0; i < 8; ++i) m.files.push_back({uint16_t(1000 + i), "/x", "", "file" + std::to_string(i) + ".txt", ""});
    m.registry.push_back({"HKLM", std::string(kUninstallKeyPrefix) + "Wide", ""});
    const std::string text = Generate(m)[1].text;
    // 8 ids fit on a line; 8 names of 9 characters and their quotes and commas do not.
    EXPECT_NE(text.find("        {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007},\n"), std::string::npos) << text;
    EXPECT_NE(text.find("        {\"file0.txt\",\n         \"file1.txt\",\n"), std::string::npos) << text;
    EXPECT_NE(text.find("         \"file7.txt\"},\n"), std::string::npos) << text;
    for (size_t begin = 0, end; (end = text.find('\n', begin)) != std::string::npos; begin = end + 1) {
        EXPECT_LE(end - begin, kMaxLineWidth) << text.substr(begin, end - begin);
    }
}

TEST(ManifestGenerate, EscapesCStrings) {
    struct {
        std::string text, escaped;
    } const cases[] = {
        {"plain text", "plain text"},
        {R"(Software\Run)", R"(Software\\Run)"},
        {R"(say "hi")", R"(say \"hi\")"},
        {"?" "?=", R"(\?\?=)"},  // never a trigraph
        {"tab\there", R"(tab\011here)"},
        // 5
        {std::string("nul\0" "1", 5), R"(nul\0001)"},  // three digits: the 1 is not taken in
        {"\x7F\xC3\xA8", R"(\177\303\250)"},
        {"", ""},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(EscapeC(cases[i].text), cases[i].escaped) << "row " << i;
    }
}

TEST(ManifestGenerate, EscapesCMakeStrings) {
    struct {
        std::string text, escaped;
    } const cases[] = {
        {"plain text", "plain text"},
        {R"(docs\guide.txt)", R"(docs\\guide.txt)"},
        {R"(a "b")", R"(a \"b\")"},
        {"${HOME}", R"(\${HOME})"},
        {"a;b", R"(a\;b)"},
        // 5
        {"line\nnext\r\tx", R"(line\nnext\r\tx)"},
        {"@VAR@ #x (y)", "@VAR@ #x (y)"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(EscapeCMake(cases[i].text), cases[i].escaped) << "row " << i;
    }
}

// CMake itself reads the escaped values back as written, one list element each.
TEST(ManifestGenerate, CMakeReadsEscapedValuesBack) {
    TempDir dir;
    const std::string values[] = {R"(C:\a "b" ${c} ;d;)", "x;y", R"(\)", "$"};
    std::string script;
    for (size_t i = 0; i < std::size(values); ++i) {
        script += "set(V \"" + EscapeCMake(values[i]) + "\")\n";
        script += "list(LENGTH V n)\nforeach(item ${V})\n  file(APPEND \"${OUT}\" \"[${item}]${n}\\n\")\nendforeach()\n";
    }
    WriteText(dir.path() / "read.cmake", script);
    const std::string result = (dir.path() / "result.txt").string();
    const std::string command = std::string("\"") + CMAKE_COMMAND + "\" -DOUT=\"" + result + "\" -P \"" +
                                (dir.path() / "read.cmake").string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::string expected;
    for (const std::string& v : values) expected += "[" + v + "]1\n";
    EXPECT_EQ(ReadText(result), expected);
}

struct RunResult {
    int exitCode = -1;
    std::string out, err;
};

// Runs the wrenfield-manifest program with args, capturing its output.
RunResult RunProgram(const TempDir& dir, const std::vector<std::string>& args) {
    const fs::path outPath = dir.path() / ".stdout", errPath = dir.path() / ".stderr";
    pid_t pid = ::fork();
    if (pid == 0) {
        int o = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int e = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (o < 0 || e < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0) _exit(127);
        std::vector<char*> argv{const_cast<char*>(MANIFEST_CLI)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(MANIFEST_CLI, argv.data());
        _exit(127);
    }
    RunResult r;
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) r.exitCode = WEXITSTATUS(status);
    r.out = ReadText(outPath);
    r.err = ReadText(errPath);
    fs::remove(outPath);
    fs::remove(errPath);
    return r;
}

TEST(ManifestProgram, ChecksGeneratesAndRefuses) {
    TempDir dir;
    const fs::path manifest = WriteTallowmere(dir);
    const fs::path out = dir.path() / "out";

    RunResult r = RunProgram(dir, {"check", manifest.string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, manifest.string() + ": ok: Tallowmere: payload rows 1, registry rows 1, obsolete files 0\n");

    // A second run replaces the files and leaves no temporary file behind.
    for (int run = 0; run < 2; ++run) {
        r = RunProgram(dir, {"generate", manifest.string(), out.string()});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out + r.err, "");
        EXPECT_EQ(Listing(out), (std::set<std::string>{"setup_rows.h", "setup_description.cpp", "payload.rc", "payload.cmake"}));
    }

    // A refusal: exit 1, one line naming the file and the line, the earlier output untouched.
    const std::string before = ReadText(out / "setup_description.cpp");
    std::string text = kTallowmere;
    text.replace(text.find("id = 500"), 8, "id = 288");
    WriteText(manifest, text);
    r = RunProgram(dir, {"generate", manifest.string(), out.string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "wrenfield-manifest: " + manifest.string() +
                         ":15: [[file]] id 288 is one of the programs' own resource ids (1, 117, 287, 288, 292)\n");
    EXPECT_EQ(ReadText(out / "setup_description.cpp"), before);
    EXPECT_EQ(Listing(out).size(), 4u);

    r = RunProgram(dir, {"check", manifest.string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
}

TEST(ManifestProgram, RefusesWhatItCannotReadOrWrite) {
    TempDir dir;
    const fs::path manifest = WriteTallowmere(dir);
    WriteText(dir.path() / "file", "not a folder");
    struct {
        std::vector<std::string> args;
        int exitCode;
        std::string fragment;
    } const cases[] = {
        {{}, 2, "no command given"},
        {{"check"}, 2, "check takes one manifest"},
        {{"generate", manifest.string()}, 2, "generate takes a manifest and an output folder"},
        {{"compile", manifest.string()}, 2, "unknown command 'compile'"},
        {{"check", (dir.path() / "none.toml").string()}, 1, "none.toml: cannot open: No such file or directory"},
        // 5
        {{"check", dir.path().string()}, 1, ": is a folder, not a manifest file"},
        {{"generate", manifest.string(), (dir.path() / "file").string()}, 1, "file: cannot create the folder"},
        {{"generate", manifest.string(), (dir.path() / "file" / "sub").string()}, 1, "sub: cannot create the folder"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        RunResult r = RunProgram(dir, cases[i].args);
        EXPECT_EQ(r.exitCode, cases[i].exitCode) << "row " << i << ": " << r.err;
        EXPECT_NE(r.err.find(cases[i].fragment), std::string::npos) << "row " << i << ": " << r.err;
    }
    EXPECT_EQ(ReadText(dir.path() / "file"), "not a folder");
    EXPECT_EQ(Listing(dir.path()), (std::set<std::string>{"tallowmere", "file"}));
}

TEST(ManifestProgram, SyntaxErrorsGiveLineAndColumn) {
    TempDir dir;
    const fs::path manifest = dir.path() / "broken" / "product.toml";
    WriteText(manifest, "[product]\nname = \"A\"\nfolder = = \"A\"\n");
    RunResult r = RunProgram(dir, {"check", manifest.string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.rfind("wrenfield-manifest: " + manifest.string() + ":3:10: not valid TOML: ", 0), 0u) << r.err;
}

}  // namespace
}  // namespace wrenfield::manifest::test
