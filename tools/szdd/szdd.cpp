// SZDD header parsing and expansion. Expansion is strict: the data must yield
// exactly the size the header states and end with its last item; only the
// unused bits of the final control byte are ignored (encoders leave them zero).
#include "szdd.h"

#include <algorithm>
#include <cstring>

#include "format.h"

namespace szdd {

using namespace detail;

namespace {

// A two-byte match yields at most 18 bytes; nothing yields more per input byte.
constexpr size_t kMaxExpansion = kMaxMatch / 2;

// Reads a little-endian 32-bit value.
uint32_t ReadLE32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

const char* Describe(Error error) {
    switch (error) {
        case Error::Ok: return "ok";
        case Error::TruncatedHeader: return "truncated header (shorter than 14 bytes)";
        case Error::BadSignature: return "not an SZDD file (bad signature)";
        case Error::UnknownMode: return "unknown compression mode (only 'A' exists)";
        case Error::TruncatedData: return "truncated data (ends inside a match)";
        case Error::SizeMismatch: return "data expands to fewer or more bytes than the header states (truncated or damaged)";
        case Error::TooMuchData: return "data left over after the stated size";
    }
    return "unknown error";
}

Error ReadInfo(const uint8_t* data, size_t size, Info& info) {
    // A short file that is plainly something else is reported as such.
    if (size > 0 && std::memcmp(data, kSignature, std::min(size, kSignatureSize)) != 0) {
        return Error::BadSignature;
    }
    if (size > kModeOffset && data[kModeOffset] != kModeA) return Error::UnknownMode;
    if (size < kHeaderSize) return Error::TruncatedHeader;
    info.lastChar = data[kLastCharOffset];
    info.expandedSize = ReadLE32(data + kSizeOffset);
    return Error::Ok;
}

Error Expand(const uint8_t* data, size_t size, std::vector<uint8_t>& out) {
    out.clear();
    Info info;
    if (Error e = ReadInfo(data, size, info); e != Error::Ok) return e;
    const uint8_t* in = data + kHeaderSize;
    const uint8_t* const end = data + size;
    const size_t want = info.expandedSize;

    // Never trust the header for the allocation: the input cannot yield more than
    // kMaxExpansion bytes per byte, and a match past cap is refused below.
    const size_t avail = size_t(end - in);
    const size_t cap = avail >= want / kMaxExpansion + 1 ? want : avail * kMaxExpansion;
    std::vector<uint8_t> buf(cap);
    uint8_t* const o = buf.data();

    size_t produced = 0;
    while (produced < want) {
        if (in == end) return Error::SizeMismatch;  // complete items, but too few bytes
        unsigned control = *in++;
        for (unsigned item = 0; item < kItemsPerControl && produced < want; ++item, control >>= 1) {
            if (in == end) return Error::SizeMismatch;
            if (control & 1) {
                if (produced == cap) return Error::TruncatedData;  // cannot happen, see cap
                o[produced++] = *in++;
                continue;
            }
            if (end - in < 2) return Error::TruncatedData;
            const uint32_t ringPos = in[0] | uint32_t(in[1] & 0xF0) << 4;
            const size_t len = (in[1] & 0x0F) + kMinMatch;
            in += 2;
            if (len > want - produced) return Error::SizeMismatch;  // runs past the stated size
            if (len > cap - produced) return Error::TruncatedData;  // cannot happen, see cap

            // The ring holds the last 4096 bytes of (initial spaces + output), so a ring
            // position is a distance back from the current one; 0 means a full turn.
            size_t dist = (kRingStart + produced - ringPos) % kRingSize;
            if (dist == 0) dist = kRingSize;
            uint8_t* dst = o + produced;
            if (dist <= produced) {
                const uint8_t* src = dst - dist;
                if (dist >= len) {
                    std::memcpy(dst, src, len);
                } else {
                    for (size_t t = 0; t < len; ++t) dst[t] = src[t];  // overlapping copy repeats
                }
            } else {
                // Starts among the ring's initial spaces and may run on into the output.
                const size_t spaces = std::min(len, dist - produced);
                std::memset(dst, kRingFill, spaces);
                for (size_t t = spaces; t < len; ++t) dst[t] = o[produced + t - dist];
            }
            produced += len;
        }
    }
    if (in != end) return Error::TooMuchData;
    out = std::move(buf);
    return Error::Ok;
}

}  // namespace szdd
