// Expand on hand-made files: well-formed ones (checked against libmspack too)
// and damaged ones, each of which must give its own error.
#include <gtest/gtest.h>

#include "mspack_util.h"
#include "szdd.h"
#include "test_util.h"

namespace szdd::test {
namespace {

// Returns an SZDD file: a header stating size, then body.
Bytes Szdd(uint32_t size, const Bytes& body, uint8_t mode = kModeA) {
    Bytes out(std::begin(kSignature), std::end(kSignature));
    out.push_back(mode);
    out.push_back('t');
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(size >> (8 * i)));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// "abcabcabcabc": three literals, then a match 3 back (ring 0xFF0) of 9 bytes.
const Bytes kAbcBody = {0x07, 'a', 'b', 'c', 0xF0, 0xF6};
const Bytes kAbc = Szdd(12, kAbcBody);

struct GoodCase {
    const char* name;
    Bytes file;
    std::string expanded;
};

// Names the case in test listings.
void PrintTo(const GoodCase& c, std::ostream* os) { *os << c.name; }

const GoodCase kGoodCases[] = {
    {"Empty", Szdd(0, {}), ""},
    {"LiteralsThenMatch", kAbc, "abcabcabcabc"},
    // The decoder must not look at control bits past the last item.
    {"UnusedControlBitsIgnored", Szdd(3, {0xFF, 'a', 'b', 'c'}), "abc"},
    // Ring position 0 has not been written yet: it still holds a space.
    {"MatchIntoInitialSpaces", Szdd(5, {0x00, 0x00, 0x02}), "     "},
    // Ring position 0xFF0 is the write position itself: 4096 back, read before written.
    {"MatchAFullTurnBack", Szdd(18, {0x00, 0xF0, 0xFF}), std::string(18, ' ')},
    // Two spaces from before the start, then the output, then what the match itself wrote.
    {"MatchFromSpacesIntoOutput", Szdd(7, {0x03, 'a', 'b', 0xEE, 0xF2}), "ab  ab "},
    // One back, overlapping itself: a run.
    {"OverlappingRun", Szdd(19, {0x01, 'a', 0xF0, 0xFF}), std::string(19, 'a')},
    // A file that ends exactly with a full control group has no further byte.
    {"FullGroupAtEnd", Szdd(8, {0xFF, '1', '2', '3', '4', '5', '6', '7', '8'}), "12345678"},
};

class ExpandGood : public ::testing::TestWithParam<GoodCase> {};

TEST_P(ExpandGood, GivesTheStatedBytesAsLibmspackDoes) {
    const GoodCase& c = GetParam();
    Bytes out;
    ASSERT_EQ(Expand(c.file.data(), c.file.size(), out), Error::Ok);
    EXPECT_EQ(std::string(out.begin(), out.end()), c.expanded);

    MspackResult theirs = MspackExpand(c.file);
    ASSERT_EQ(theirs.error, MSPACK_ERR_OK);
    EXPECT_EQ(std::string(theirs.data.begin(), theirs.data.end()), c.expanded);
}

INSTANTIATE_TEST_SUITE_P(Files, ExpandGood, ::testing::ValuesIn(kGoodCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct BadCase {
    const char* name;
    Bytes file;
    Error error;
};

// Names the case in test listings.
void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }

// Returns file with its last n bytes removed.
Bytes Cut(Bytes file, size_t n) {
    file.resize(file.size() - n);
    return file;
}

// Returns file with bytes appended.
Bytes Append(Bytes file, const Bytes& more) {
    file.insert(file.end(), more.begin(), more.end());
    return file;
}

const BadCase kBadCases[] = {
    {"EmptyInput", {}, Error::TruncatedHeader},
    {"HeaderCutShort", Bytes(kAbc.begin(), kAbc.begin() + 13), Error::TruncatedHeader},
    {"SignatureOnly", Bytes(std::begin(kSignature), std::end(kSignature)), Error::TruncatedHeader},
    {"PlainText", ToBytes("hello"), Error::BadSignature},
    {"WindowsExecutable", Bytes{'M', 'Z', 0x90, 0x00, 0x03, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00}, Error::BadSignature},
    {"LastSignatureByteWrong", [] { Bytes f = kAbc; f[7] ^= 1; return f; }(), Error::BadSignature},
    {"ModeB", Szdd(12, kAbcBody, 'B'), Error::UnknownMode},
    {"ModeLowercaseA", Szdd(12, kAbcBody, 'a'), Error::UnknownMode},
    {"EndsInsideMatch", Cut(kAbc, 1), Error::TruncatedData},
    {"HeaderOnlyButSizeStated", Szdd(12, {}), Error::SizeMismatch},
    {"StatesOneByteMore", Szdd(13, kAbcBody), Error::SizeMismatch},
    {"LastMatchRunsPastStatedSize", Szdd(11, kAbcBody), Error::SizeMismatch},
    {"HugeStatedSize", Szdd(0xFFFFFFFFu, kAbcBody), Error::SizeMismatch},
    {"ByteAfterLastItem", Append(kAbc, {0x00}), Error::TooMuchData},
    {"LiteralsPastStatedSize", Szdd(2, {0x07, 'a', 'b', 'c'}), Error::TooMuchData},
    {"DataForAnEmptyFile", Szdd(0, {0xFF, 'a'}), Error::TooMuchData},
    // After a full group the file ends; an extra, empty control byte is not tolerated.
    {"EmptyControlByteAtEnd", Szdd(8, {0xFF, '1', '2', '3', '4', '5', '6', '7', '8', 0x00}), Error::TooMuchData},
};

class ExpandBad : public ::testing::TestWithParam<BadCase> {};

TEST_P(ExpandBad, GivesItsErrorAndNoOutput) {
    const BadCase& c = GetParam();
    Bytes out = ToBytes("stale");
    EXPECT_EQ(Expand(c.file.data(), c.file.size(), out), c.error) << Describe(c.error);
    EXPECT_TRUE(out.empty());
}

INSTANTIATE_TEST_SUITE_P(Files, ExpandBad, ::testing::ValuesIn(kBadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReadInfo, ReportsHeaderFields) {
    Info info;
    ASSERT_EQ(ReadInfo(kAbc.data(), kAbc.size(), info), Error::Ok);
    EXPECT_EQ(info.lastChar, 't');
    EXPECT_EQ(info.expandedSize, 12u);

    Bytes big = Szdd(0xDEADBEEF, {});
    ASSERT_EQ(ReadInfo(big.data(), big.size(), info), Error::Ok);
    EXPECT_EQ(info.expandedSize, 0xDEADBEEFu);  // little-endian
}

}  // namespace
}  // namespace szdd::test
