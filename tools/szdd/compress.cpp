// SZDD compression with an optimal parse. A literal costs 9 bits (its control bit
// and the byte), a match 17 bits whatever its length or distance, and the file's
// data size is ceil(bits / 8) bytes, so minimising bits over all parses gives the
// smallest file. Because every shorter length of a match is also a match, the
// longest match at each position is all the parse needs to know.
#include <algorithm>
#include <stdexcept>

#include "format.h"
#include "match_finder.h"
#include "szdd.h"

namespace szdd {

using namespace detail;

namespace {

constexpr uint64_t kLiteralBits = 1 + 8;
constexpr uint64_t kMatchBits = 1 + 16;
constexpr uint8_t kLiteral = 0;  // parse choice for a literal; otherwise the match length
// Costs of the positions ahead of the one being decided (a match reaches 18 ahead).
constexpr size_t kCostRing = 32;

// Writes the header for size bytes of data.
void WriteHeader(uint8_t* p, uint32_t size, char lastChar) {
    std::copy(std::begin(kSignature), std::end(kSignature), p);
    p[kModeOffset] = kModeA;
    p[kLastCharOffset] = uint8_t(lastChar);
    for (int i = 0; i < 4; ++i) p[kSizeOffset + i] = uint8_t(size >> (8 * i));
}

// Chooses, back to front, the cheapest item at each position; returns the total bits.
// choice[i] becomes kLiteral or the length of the match to take at i.
uint64_t Parse(std::vector<uint8_t>& choice, size_t size) {
    uint64_t cost[kCostRing] = {};
    for (size_t i = size; i-- > 0;) {
        uint64_t best = UINT64_MAX;
        uint8_t pick = kLiteral;
        // Longest first and strict improvement: ties go to fewer, longer items.
        for (uint32_t len = choice[i]; len >= kMinMatch; --len) {
            uint64_t c = cost[(i + len) % kCostRing] + kMatchBits;
            if (c < best) {
                best = c;
                pick = uint8_t(len);
            }
        }
        uint64_t c = cost[(i + 1) % kCostRing] + kLiteralBits;
        if (c < best) {
            best = c;
            pick = kLiteral;
        }
        cost[i % kCostRing] = best;
        choice[i] = pick;
    }
    return cost[0];
}

}  // namespace

std::vector<uint8_t> Compress(const uint8_t* data, size_t size, char lastChar) {
    if (size > kMaxExpandedSize) throw std::length_error("szdd: input larger than 4 GiB - 1 bytes");
    Matches matches = FindLongestMatches(data, size);
    std::vector<uint8_t>& choice = matches.length;
    const uint64_t bits = Parse(choice, size);

    std::vector<uint8_t> out(kHeaderSize + (bits + 7) / 8);
    WriteHeader(out.data(), uint32_t(size), lastChar);
    uint8_t* o = out.data() + kHeaderSize;
    uint8_t* control = nullptr;
    size_t items = 0;
    for (size_t i = 0; i < size; ++items) {
        if (items % kItemsPerControl == 0) {
            control = o++;
            *control = 0;  // unused bits of the last one stay zero
        }
        if (choice[i] == kLiteral) {
            *control |= uint8_t(1u << (items % kItemsPerControl));
            *o++ = data[i++];
            continue;
        }
        const uint32_t len = choice[i];
        // A match distance d back from output position i sits at ring position start+i-d.
        const uint32_t ringPos = uint32_t(kRingStart + i - matches.distance[i]) % kRingSize;
        *o++ = uint8_t(ringPos);
        *o++ = uint8_t((ringPos >> 4 & 0xF0) | (len - kMinMatch));
        i += len;
    }
    return out;
}

}  // namespace szdd
