// Exact longest-match search for SZDD's LZSS, with binary trees (one per hash of
// the first three bytes) over the last 4096 positions, in the manner of LZMA's bt
// finder but without a depth limit: every position of the window stays reachable,
// so the longest match found is the longest there is.
#include "match_finder.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace szdd::detail {
namespace {

constexpr uint32_t kNil = 0;
// Positions start past the window size, so kNil always reads as "out of the window".
constexpr uint32_t kGuard = kWindowSize + 1;
// Comparisons load 8 bytes at a time and may run this far past the last position.
constexpr uint32_t kPad = kMaxMatch + 8;
// Tree nodes are kept for positions up to kWindowSize back, plus the one being added.
constexpr uint32_t kCyclicSize = 2 * kWindowSize;
constexpr uint32_t kCyclicMask = kCyclicSize - 1;
constexpr uint32_t kHashBits = 16;

// Hashes the three bytes at p.
inline uint32_t Hash3(const uint8_t* p) {
    uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    return (v * 0x9E3779B1u) >> (32 - kHashBits);
}

// Returns how many of the first kMaxMatch bytes of a and b agree, given that the first len do.
inline uint32_t Extend(const uint8_t* a, const uint8_t* b, uint32_t len) {
#if defined(__GNUC__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    while (len < kMaxMatch) {
        uint64_t x, y;
        std::memcpy(&x, a + len, 8);
        std::memcpy(&y, b + len, 8);
        if (uint64_t diff = x ^ y) {
            return std::min(len + uint32_t(__builtin_ctzll(diff)) / 8, kMaxMatch);
        }
        len += 8;
    }
    return kMaxMatch;
#else
    while (len < kMaxMatch && a[len] == b[len]) ++len;
    return len;
#endif
}

// Binary search trees of window positions ordered by the kMaxMatch bytes that start
// there. Each new position becomes the root of its tree, so every node is newer than
// the nodes below it and a node out of the window means its whole subtree is too.
class BinaryTrees {
public:
    BinaryTrees() : head_(size_t(1) << kHashBits, kNil), son_(2 * kCyclicSize, kNil) {}

    // Adds position pos of base as its tree's root; returns the longest match found
    // among the window's positions and sets distance to how far back it starts.
    uint32_t Insert(const uint8_t* base, uint32_t pos, uint32_t& distance) {
        const uint8_t* cur = base + pos;
        uint32_t& head = head_[Hash3(cur)];
        uint32_t match = head;
        head = pos;
        uint32_t* left = &son_[2 * (pos & kCyclicMask)];  // gets the next smaller node
        uint32_t* right = left + 1;                       // gets the next greater node
        uint32_t lenLeft = 0, lenRight = 0, best = 0;
        for (;;) {
            uint32_t delta = pos - match;
            if (delta > kWindowSize) {
                *left = *right = kNil;
                return best;
            }
            const uint8_t* cand = base + match;
            uint32_t len = Extend(cand, cur, std::min(lenLeft, lenRight));
            if (len > best) {
                best = len;
                distance = delta;
            }
            uint32_t* pair = &son_[2 * (match & kCyclicMask)];
            if (len == kMaxMatch) {
                // Same key: the new position replaces the old one, which can never
                // again be the only longest match.
                *left = pair[0];
                *right = pair[1];
                return best;
            }
            if (cand[len] < cur[len]) {
                *left = match;
                left = pair + 1;
                match = *left;
                lenLeft = len;
            } else {
                *right = match;
                right = pair;
                match = *right;
                lenRight = len;
            }
        }
    }

    // Moves every stored position shift back; those that would fall below 1 become kNil.
    void Rebase(uint32_t shift) {
        for (auto* table : {&head_, &son_}) {
            for (uint32_t& p : *table) p = p > shift ? p - shift : kNil;
        }
    }

private:
    std::vector<uint32_t> head_;  // root of each hash's tree
    std::vector<uint32_t> son_;   // smaller/greater child of each cyclic slot
};

}  // namespace

Matches FindLongestMatches(const uint8_t* data, size_t size, uint32_t rebasePeriod) {
    // Rebasing keeps 32-bit positions: moving back by half the period (a multiple of
    // the cyclic size) leaves each position's slot and every in-window distance intact.
    if (rebasePeriod % (2 * kCyclicSize) != 0 || rebasePeriod < 4 * kCyclicSize) {
        throw std::invalid_argument("szdd: rebase period must be a multiple of 16384, at least 32768");
    }
    const uint32_t shift = rebasePeriod / 2;

    Matches m;
    m.length.assign(size, 0);
    m.distance.assign(size, 0);

    // The stream the decoder sees: the ring's initial spaces, then the data.
    std::vector<uint8_t> stream(kGuard + kWindowSize + size + kPad, 0);
    std::memset(stream.data() + kGuard, ' ', kWindowSize);
    if (size > 0) std::memcpy(stream.data() + kGuard + kWindowSize, data, size);

    BinaryTrees trees;
    const uint8_t* base = stream.data();
    uint32_t pos = kGuard;
    for (size_t i = 0; i < kWindowSize + size; ++i, ++pos) {
        if (pos == rebasePeriod) {
            trees.Rebase(shift);
            base += shift;
            pos -= shift;
        }
        uint32_t distance = 0;
        uint32_t len = trees.Insert(base, pos, distance);
        if (i < kWindowSize) continue;  // the spaces are only sources
        // The padding past the end may have lengthened the match; what is left of the
        // input bounds it, and within that bound every compared byte was real.
        size_t at = i - kWindowSize;
        len = uint32_t(std::min<size_t>(len, size - at));
        if (len >= kMinMatch) {
            m.length[at] = uint8_t(len);
            m.distance[at] = uint16_t(distance);
        }
    }
    return m;
}

}  // namespace szdd::detail
