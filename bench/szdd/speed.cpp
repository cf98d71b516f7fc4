// In-process speed of the SZDD codec on one file, without process start-up and
// file I/O: prints "<compressed bytes> <compress MB/s> <expand MB/s>" (best runs).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "szdd.h"

namespace {

using Clock = std::chrono::steady_clock;

// Runs fn repeatedly (at least 3 times, then until about a second has passed); returns the best time in seconds.
template <typename Fn>
double BestTime(Fn fn) {
    double best = 1e30, total = 0;
    for (int run = 0; run < 3 || (total < 1.0 && run < 100); ++run) {
        auto start = Clock::now();
        fn();
        double t = std::chrono::duration<double>(Clock::now() - start).count();
        best = std::min(best, t);
        total += t;
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: szdd_speed FILE\n");
        return 2;
    }
    std::ifstream f(argv[1], std::ios::binary);
    if (!f) {
        std::fprintf(stderr, "szdd_speed: %s: cannot open\n", argv[1]);
        return 1;
    }
    const std::vector<uint8_t> data((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    std::vector<uint8_t> packed, back;
    double tc = BestTime([&] { packed = szdd::Compress(data.data(), data.size(), 'x'); });
    double te = BestTime([&] {
        if (szdd::Expand(packed.data(), packed.size(), back) != szdd::Error::Ok) back.clear();
    });
    if (back != data) {
        std::fprintf(stderr, "szdd_speed: %s: round trip failed\n", argv[1]);
        return 1;
    }
    const double mb = double(data.size()) / 1e6;
    std::printf("%zu %.1f %.1f\n", packed.size(), mb / tc, mb / te);
    return 0;
}
