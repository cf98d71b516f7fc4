// The szdd command-line tool: a round trip through files, and failures that must
// exit non-zero, name the file, and leave no output (not even a temporary one).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <set>

#include "szdd.h"
#include "test_util.h"

namespace szdd::test {
namespace {

struct RunResult {
    int exitCode = -1;
    std::string out, err;
};

// Runs the szdd tool with args in folder dir, capturing its output.
RunResult RunCli(const TempDir& dir, const std::vector<std::string>& args) {
    const std::string outPath = dir.File(".stdout"), errPath = dir.File(".stderr");
    pid_t pid = ::fork();
    if (pid == 0) {
        int o = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int e = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (o < 0 || e < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0 || ::chdir(dir.path().c_str()) != 0) _exit(127);
        std::vector<char*> argv{const_cast<char*>(SZDD_CLI)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(SZDD_CLI, argv.data());
        _exit(127);
    }
    RunResult r;
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) r.exitCode = WEXITSTATUS(status);
    Bytes o = ReadBytes(outPath), e = ReadBytes(errPath);
    r.out.assign(o.begin(), o.end());
    r.err.assign(e.begin(), e.end());
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return r;
}

// Returns the names in dir.
std::set<std::string> Listing(const TempDir& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

const Bytes kText = ToBytes("Setup copies the files.\nSetup copies the files again.\n");

TEST(Cli, CompressInfoExpandRoundTrip) {
    TempDir dir;
    WriteBytes(dir.File("notes.txt"), kText);

    RunResult r = RunCli(dir, {"compress", "notes.txt", "notes.tx_"});
    ASSERT_EQ(r.exitCode, 0) << r.err;

    r = RunCli(dir, {"info", "notes.tx_"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("signature:       ok"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("last character:  't'"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("expanded size:   " + std::to_string(kText.size()) + " bytes"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("stored size:     " + std::to_string(ReadBytes(dir.File("notes.tx_")).size())),
              std::string::npos)
        << r.out;

    r = RunCli(dir, {"expand", "notes.tx_", "back.txt"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(ReadBytes(dir.File("back.txt")) == kText);
    EXPECT_EQ(Listing(dir), (std::set<std::string>{"notes.txt", "notes.tx_", "back.txt"}));
}

TEST(Cli, LastCharacterCanBeGiven) {
    TempDir dir;
    WriteBytes(dir.File("setup.exe"), kText);
    for (const auto& [option, expected] : std::vector<std::pair<std::string, uint8_t>>{
             {"--last-char=Q", 'Q'}, {"--last-char=", 0}}) {
        RunResult r = RunCli(dir, {"compress", "setup.exe", "setup.ex_", option});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        Bytes packed = ReadBytes(dir.File("setup.ex_"));
        Info info;
        ASSERT_EQ(ReadInfo(packed.data(), packed.size(), info), Error::Ok);
        EXPECT_EQ(info.lastChar, expected) << option;
    }
}

struct FailCase {
    const char* name;
    std::vector<std::string> args;
    int exitCode;
    std::string mentions;  // expected in the error message
};

// Names the case in test listings.
void PrintTo(const FailCase& c, std::ostream* os) { *os << c.name; }

const FailCase kFailCases[] = {
    {"CompressMissingInput", {"compress", "missing.txt", "out"}, 1, "missing.txt"},
    {"CompressFolder", {"compress", "folder", "out"}, 1, "folder"},
    {"CompressTooLarge", {"compress", "huge.bin", "out"}, 1, "huge.bin: too large"},
    {"CompressIntoMissingFolder", {"compress", "plain.txt", "nowhere/out"}, 1, "nowhere/out"},
    {"ExpandPlainText", {"expand", "plain.txt", "out"}, 1, "plain.txt: not an SZDD file"},
    {"ExpandTruncated", {"expand", "cut.tx_", "out"}, 1, "cut.tx_"},
    {"ExpandOverExistingFile", {"expand", "cut.tx_", "keep.txt"}, 1, "cut.tx_"},
    // The temporary file is written, then cannot replace a folder: it must go away.
    {"ExpandOntoFolder", {"expand", "good.tx_", "folder"}, 1, "folder: cannot create"},
    {"InfoPlainText", {"info", "plain.txt"}, 1, "plain.txt"},
    {"LastCharTooLong", {"compress", "plain.txt", "out", "--last-char", "ab"}, 2, "one character"},
    {"LastCharOnExpand", {"expand", "good.tx_", "out", "--last-char", "a"}, 2, "--last-char"},
    {"UnknownCommand", {"squeeze", "plain.txt", "out"}, 2, "squeeze"},
    {"MissingOperand", {"compress", "plain.txt"}, 2, "usage"},
    {"NoArguments", {}, 2, "usage"},
};

class CliFails : public ::testing::TestWithParam<FailCase> {};

TEST_P(CliFails, ExitsNonZeroAndLeavesNoOutput) {
    const FailCase& c = GetParam();
    TempDir dir;
    WriteBytes(dir.File("plain.txt"), kText);
    Bytes good = Compress(kText.data(), kText.size(), 't');
    WriteBytes(dir.File("good.tx_"), good);
    WriteBytes(dir.File("cut.tx_"), Bytes(good.begin(), good.end() - 3));
    WriteBytes(dir.File("keep.txt"), ToBytes("old"));
    std::filesystem::create_directory(dir.path() / "folder");
    {
        std::ofstream(dir.File("huge.bin")).close();
        std::filesystem::resize_file(dir.File("huge.bin"), uint64_t(kMaxExpandedSize) + 1);  // sparse
    }
    const std::set<std::string> before = Listing(dir);

    RunResult r = RunCli(dir, c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    EXPECT_NE(r.err.find(c.mentions), std::string::npos) << r.err;
    EXPECT_EQ(Listing(dir), before);  // nothing new, temporary or not
    EXPECT_TRUE(ReadBytes(dir.File("keep.txt")) == ToBytes("old"));
}

INSTANTIATE_TEST_SUITE_P(Cases, CliFails, ::testing::ValuesIn(kFailCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace szdd::test
