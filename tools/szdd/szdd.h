// SZDD: the compressed-file format of MS-DOS/Windows COMPRESS.EXE and EXPAND.EXE.
// A 14-byte header (signature, mode 'A', the last character of the original
// file name, the expanded size) followed by LZSS data over a 4096-byte ring
// buffer that starts filled with spaces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace szdd {

inline constexpr uint8_t kSignature[8] = {0x53, 0x5A, 0x44, 0x44, 0x88, 0xF0, 0x27, 0x33};
inline constexpr uint8_t kModeA = 0x41;  // 'A': the only compression mode there is
inline constexpr size_t kHeaderSize = 14;
inline constexpr uint64_t kMaxExpandedSize = 0xFFFFFFFFu;  // the size field is 32 bits

// What can be wrong with an SZDD file.
enum class Error {
    Ok,
    TruncatedHeader,  // fewer than 14 bytes
    BadSignature,     // not an SZDD file
    UnknownMode,      // compression mode other than 'A'
    TruncatedData,    // the data ends inside a match (one of its two bytes is missing)
    SizeMismatch,     // the data expands to fewer or more bytes than the header states
    TooMuchData,      // bytes are left after the stated size has been produced
};

// Returns a short human-readable description of an error.
const char* Describe(Error error);

// The header fields.
struct Info {
    uint8_t lastChar = 0;       // last character of the original file name, 0 if unknown
    uint32_t expandedSize = 0;  // size of the file once expanded
};

// Parses and checks the header of an SZDD file.
Error ReadInfo(const uint8_t* data, size_t size, Info& info);

// Compresses data into the smallest SZDD file the format allows (optimal parse).
// Deterministic. Throws std::length_error if size exceeds kMaxExpandedSize.
std::vector<uint8_t> Compress(const uint8_t* data, size_t size, char lastChar);

// Expands a whole SZDD file. Strict: the data must produce exactly the stated size
// and end with its last item; only the unused bits of the final control byte are
// ignored. On error, out is left empty.
Error Expand(const uint8_t* data, size_t size, std::vector<uint8_t>& out);

}  // namespace szdd
