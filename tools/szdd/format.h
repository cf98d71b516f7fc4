// Layout of SZDD files and of their LZSS data, shared by the encoder and decoder.
#pragma once

#include <cstddef>
#include <cstdint>

#include "szdd.h"

namespace szdd::detail {

// Header: signature, mode, last character of the name, expanded size (little-endian).
inline constexpr size_t kSignatureSize = sizeof kSignature;
inline constexpr size_t kModeOffset = 8;
inline constexpr size_t kLastCharOffset = 9;
inline constexpr size_t kSizeOffset = 10;
static_assert(kSizeOffset + 4 == kHeaderSize);

// The ring buffer: 4096 bytes, first all spaces, first written 16 bytes before its end.
inline constexpr uint32_t kRingSize = 4096;
inline constexpr uint32_t kRingStart = kRingSize - 16;
inline constexpr uint8_t kRingFill = ' ';

// Items: a control byte's bits, least significant first, say 1 = literal, 0 = match.
// A match is two bytes: ring position bits 0-7; then bits 8-11 (high nibble) and
// length - kMinMatch (low nibble).
inline constexpr unsigned kItemsPerControl = 8;
inline constexpr uint32_t kMinMatch = 3;
inline constexpr uint32_t kMaxMatch = kMinMatch + 15;

}  // namespace szdd::detail
