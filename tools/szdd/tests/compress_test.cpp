// Compress: sizes where the optimum is known by hand, the match finder and the
// parse against a brute-force search straight from the format's definition,
// determinism, and the 32-bit size limit.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "match_finder.h"
#include "szdd.h"
#include "test_util.h"

namespace szdd::test {
namespace {

using detail::FindLongestMatches;
using detail::kMaxMatch;
using detail::kMinMatch;
using detail::kWindowSize;

// The byte the decoder sees at stream position k: the ring's spaces before the data.
uint8_t StreamAt(const Bytes& data, ptrdiff_t k) { return k < 0 ? ' ' : data[size_t(k)]; }

// Longest match at each position, trying every distance and copying byte by byte
// as the decoder does (so a match may run into its own output).
std::vector<uint8_t> BruteForceLengths(const Bytes& data) {
    std::vector<uint8_t> lengths(data.size(), 0);
    for (size_t i = 0; i < data.size(); ++i) {
        const size_t limit = std::min<size_t>(kMaxMatch, data.size() - i);
        size_t best = 0;
        for (ptrdiff_t d = 1; d <= ptrdiff_t(kWindowSize) && best < limit; ++d) {
            size_t len = 0;
            while (len < limit && StreamAt(data, ptrdiff_t(i + len) - d) == data[i + len]) ++len;
            best = std::max(best, len);
        }
        lengths[i] = best >= kMinMatch ? uint8_t(best) : 0;
    }
    return lengths;
}

// Fewest bits of any parse, given the longest match at each position.
uint64_t OptimalBits(const std::vector<uint8_t>& lengths) {
    std::vector<uint64_t> best(lengths.size() + 1, 0);
    for (size_t i = lengths.size(); i-- > 0;) {
        best[i] = best[i + 1] + 9;
        for (size_t len = kMinMatch; len <= lengths[i]; ++len) best[i] = std::min(best[i], best[i + len] + 17);
    }
    return best[0];
}

// Returns a periodic text with every 37th byte changed, so matches of all lengths occur.
Bytes MutatedText(size_t size, uint32_t seed) {
    Bytes out = Periodic("Setup copies the files, then registers the components. ", size);
    Bytes noise = PseudoRandom(size / 37 + 1, seed);
    for (size_t i = 0; i < size; i += 37) out[i] = noise[i / 37];
    return out;
}

// Returns a random block of 4097 bytes twice: the copy lies just out of reach.
Bytes BlockJustOutOfReach() {
    Bytes block = PseudoRandom(kWindowSize + 1, 9, 4, "wxyz");
    Bytes out = block;
    out.insert(out.end(), block.begin(), block.end());
    return out;
}

struct SizeCase {
    const char* name;
    Bytes input;
    size_t size;  // smallest possible file, worked out by hand
};

// Names the case in test listings.
void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.name; }

const SizeCase kKnownOptimum[] = {
    {"Empty", {}, 14},                                    // header only
    {"OneLiteral", ToBytes("a"), 14 + 2},                 // 9 bits
    {"EighteenSpaces", Bytes(18, ' '), 14 + 3},           // one match into the initial spaces
    {"NineteenSpaces", Bytes(19, ' '), 14 + 4},           // a match and a literal: 26 bits
    {"RunOfNineteen", Bytes(19, 'x'), 14 + 4},            // a literal, then 18 from one back
    {"TwoByteCycle", Periodic("ab", 18), 14 + 5},         // two literals and one match
    {"WindowOfSpaces", Bytes(4096, ' '), 14 + 485},       // ceil(4096/18) = 228 matches, 3876 bits
    {"NineLiteralsNeedTwoControlBytes", ToBytes("abcdefghi"), 14 + 11},
};

class KnownOptimum : public ::testing::TestWithParam<SizeCase> {};

TEST_P(KnownOptimum, IsReached) {
    const SizeCase& c = GetParam();
    Bytes packed = Compress(c.input.data(), c.input.size(), 'a');
    EXPECT_EQ(packed.size(), c.size);
    Bytes back;
    ASSERT_EQ(Expand(packed.data(), packed.size(), back), Error::Ok);
    EXPECT_TRUE(back == c.input);
}

INSTANTIATE_TEST_SUITE_P(Inputs, KnownOptimum, ::testing::ValuesIn(kKnownOptimum),
                         [](const auto& info) { return std::string(info.param.name); });

struct SearchCase {
    const char* name;
    Bytes input;
};

// Names the case in test listings.
void PrintTo(const SearchCase& c, std::ostream* os) { *os << c.name; }

const SearchCase kSearchCases[] = {
    {"TwoSymbols", PseudoRandom(9000, 1, 2, "ab")},
    {"SpacesAndLetters", PseudoRandom(9000, 2, 3, " a ")},
    {"FourSymbols", PseudoRandom(12000, 3, 4, "abcd")},
    {"AllByteValues", PseudoRandom(9000, 4)},
    {"MutatedText", MutatedText(20000, 5)},
    {"BlockJustOutOfReach", BlockJustOutOfReach()},
    {"SpacesThenText", [] {
         Bytes b(3000, ' ');
         Bytes t = MutatedText(6000, 6);
         b.insert(b.end(), t.begin(), t.end());
         return b;
     }()},
};

class AgainstBruteForce : public ::testing::TestWithParam<SearchCase> {};

// The binary trees must find exactly the longest match everywhere, and each reported
// distance must really give that match.
TEST_P(AgainstBruteForce, FinderIsExactAndParseIsOptimal) {
    const Bytes& data = GetParam().input;
    const std::vector<uint8_t> expected = BruteForceLengths(data);
    const detail::Matches m = FindLongestMatches(data.data(), data.size());
    ASSERT_EQ(m.length.size(), data.size());
    for (size_t i = 0; i < data.size(); ++i) {
        ASSERT_EQ(m.length[i], expected[i]) << "at " << i;
        if (m.length[i] == 0) continue;
        ASSERT_GE(m.distance[i], 1);
        ASSERT_LE(m.distance[i], kWindowSize);
        for (size_t t = 0; t < m.length[i]; ++t) {
            ASSERT_EQ(StreamAt(data, ptrdiff_t(i + t) - m.distance[i]), data[i + t]) << "at " << i;
        }
    }

    Bytes packed = Compress(data.data(), data.size(), 'a');
    EXPECT_EQ(packed.size(), kHeaderSize + (OptimalBits(expected) + 7) / 8);
    Bytes back;
    ASSERT_EQ(Expand(packed.data(), packed.size(), back), Error::Ok);
    EXPECT_TRUE(back == data);
}

INSTANTIATE_TEST_SUITE_P(Inputs, AgainstBruteForce, ::testing::ValuesIn(kSearchCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Positions are 32-bit and get moved back every 2 GiB; a short period takes the same path.
TEST(MatchFinder, StaysExactAcrossRebases) {
    const Bytes data = MutatedText(60000, 8);  // crosses several rebases at period 32768
    const detail::Matches m = FindLongestMatches(data.data(), data.size(), 32768);
    EXPECT_EQ(m.length, BruteForceLengths(data));
    const detail::Matches plain = FindLongestMatches(data.data(), data.size());
    EXPECT_EQ(m.length, plain.length);
    EXPECT_EQ(m.distance, plain.distance);
}

TEST(Compress, IsDeterministic) {
    const Bytes data = MutatedText(50000, 10);
    EXPECT_EQ(Compress(data.data(), data.size(), 'q'), Compress(data.data(), data.size(), 'q'));
}

TEST(Compress, RefusesWhatTheSizeFieldCannotHold) {
    if (sizeof(size_t) <= 4) GTEST_SKIP() << "sizes past 4 GiB cannot be expressed";
    // The size is checked before any byte is read, so a small buffer is enough.
    const uint8_t byte = 0;
    EXPECT_THROW(Compress(&byte, size_t(kMaxExpandedSize) + 1, 'a'), std::length_error);
}

}  // namespace
}  // namespace szdd::test
