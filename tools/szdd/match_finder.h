// Exact longest-match search for SZDD's LZSS: for every input position, the
// longest string (3 to 18 bytes) that also starts within the 4096 bytes before
// it, counting the ring buffer's initial spaces as the bytes before the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "format.h"

namespace szdd::detail {

// Matches reach back at most the whole ring.
inline constexpr uint32_t kWindowSize = kRingSize;

struct Matches {
    std::vector<uint8_t> length;     // 0 where no match of kMinMatch bytes exists
    std::vector<uint16_t> distance;  // 1..kWindowSize back from the position; valid where length > 0
};

// Finds the longest match at every position of data (binary trees over the window).
// rebasePeriod only matters past 2 GiB; tests lower it to reach that path cheaply.
Matches FindLongestMatches(const uint8_t* data, size_t size, uint32_t rebasePeriod = 1u << 31);

}  // namespace szdd::detail
