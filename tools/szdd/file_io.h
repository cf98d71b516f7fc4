// Whole-file reading and all-or-nothing writing for the szdd command-line tool.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace szdd::io {

// Reads a whole regular file; on failure returns false and sets error.
bool ReadFile(const std::string& path, std::vector<uint8_t>& data, std::string& error);

// Writes a file under a temporary name in the same folder and renames it into place,
// so a failure never leaves a partial file at path. On failure returns false and sets error.
bool WriteFileAtomic(const std::string& path, const uint8_t* data, size_t size, std::string& error);

}  // namespace szdd::io
