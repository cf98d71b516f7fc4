// Round trips through Compress and Expand, with libmspack expanding the same
// files byte for byte, over inputs chosen for the ring buffer's edge cases.
#include <gtest/gtest.h>

#include <functional>

#include "mspack_util.h"
#include "szdd.h"
#include "test_util.h"

namespace szdd::test {
namespace {

struct RoundTripCase {
    const char* name;
    std::function<Bytes()> make;
};

// Names the case in test listings.
void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

// Returns a 4096-byte random block twice over: the copy can only come from exactly 4096 back.
Bytes RandomBlockTwice() {
    Bytes block = PseudoRandom(4096, 7);
    Bytes out = block;
    out.insert(out.end(), block.begin(), block.end());
    return out;
}

// Returns text that starts with spaces, which can come from the ring's initial fill.
Bytes SpacesFirst() {
    Bytes out(40, ' ');
    Bytes tail = ToBytes("hello,    world;  spaces again         end");
    out.insert(out.end(), tail.begin(), tail.end());
    return out;
}

// Returns each byte value once, in order.
Bytes AllByteValues() {
    Bytes out(256);
    for (int i = 0; i < 256; ++i) out[i] = uint8_t(i);
    return out;
}

const std::string kPhrase = "The quick brown fox jumps over the lazy dog. 0123456789\n";

const RoundTripCase kRoundTripCases[] = {
    {"Empty", [] { return Bytes(); }},
    {"OneByte", [] { return ToBytes("Z"); }},
    {"SpacesAtStart", SpacesFirst},
    {"OnlySpaces5000", [] { return Bytes(5000, ' '); }},
    {"AllByteValues", AllByteValues},
    {"Periodic4095", [] { return Periodic(kPhrase, 4095); }},
    {"Periodic4096", [] { return Periodic(kPhrase, 4096); }},
    {"Periodic4097", [] { return Periodic(kPhrase, 4097); }},
    {"RandomBlockTwice", RandomBlockTwice},
    {"LongRunOfOneByte", [] { return Bytes(100000, 0xAB); }},
    {"SmallAlphabet", [] { return PseudoRandom(30000, 11, 3, "ab "); }},
    {"Incompressible", [] { return PseudoRandom(200000, 42); }},
    {"OwnExecutable", [] { return ReadBytes("/proc/self/exe"); }},
};

class RoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTrip, ExpandsBackAndLibmspackAgrees) {
    const Bytes input = GetParam().make();
    if (std::string(GetParam().name) == "OwnExecutable") {
        ASSERT_GT(input.size(), 1000u);
    }

    const Bytes packed = Compress(input.data(), input.size(), 'x');

    Info info;
    ASSERT_EQ(ReadInfo(packed.data(), packed.size(), info), Error::Ok);
    EXPECT_EQ(info.expandedSize, input.size());
    EXPECT_EQ(info.lastChar, 'x');

    Bytes ours;
    ASSERT_EQ(Expand(packed.data(), packed.size(), ours), Error::Ok);
    EXPECT_TRUE(ours == input) << "our expansion differs";

    MspackResult theirs = MspackExpand(packed);
    ASSERT_EQ(theirs.error, MSPACK_ERR_OK);
    EXPECT_EQ(theirs.format, MSSZDD_FMT_NORMAL);
    EXPECT_EQ(theirs.length, static_cast<long long>(input.size()));
    EXPECT_EQ(theirs.lastChar, 'x');
    EXPECT_TRUE(theirs.data == input) << "libmspack's expansion differs";
}

INSTANTIATE_TEST_SUITE_P(Inputs, RoundTrip, ::testing::ValuesIn(kRoundTripCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace szdd::test
