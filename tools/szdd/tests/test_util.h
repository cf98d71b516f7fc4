// Helpers shared by the szdd tests: a private temporary folder, whole-file
// reads and writes, and fixed-seed data.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace szdd::test {

using Bytes = std::vector<uint8_t>;

// A fresh folder removed with everything in it when the object goes.
class TempDir {
public:
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "szdd-test-XXXXXX").string();
        if (::mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = tmpl;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Returns the path of name inside the folder.
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Reads a whole file (empty if it cannot be read).
inline Bytes ReadBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// Writes a whole file.
inline void WriteBytes(const std::string& path, const Bytes& data) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    if (!f) throw std::runtime_error("cannot write " + path);
}

// Returns the bytes of a string.
inline Bytes ToBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Returns size fixed-seed pseudo-random bytes drawn from the first `alphabet` of `symbols`
// (all byte values by default).
inline Bytes PseudoRandom(size_t size, uint32_t seed, unsigned alphabet = 256, const std::string& symbols = "") {
    std::mt19937 gen(seed);  // its output sequence is fixed by the standard
    Bytes out(size);
    for (uint8_t& b : out) {
        uint32_t r = gen() % alphabet;
        b = symbols.empty() ? uint8_t(r) : uint8_t(symbols[r]);
    }
    return out;
}

// Returns text repeated to exactly size bytes.
inline Bytes Periodic(const std::string& text, size_t size) {
    Bytes out(size);
    for (size_t i = 0; i < size; ++i) out[i] = uint8_t(text[i % text.size()]);
    return out;
}

}  // namespace szdd::test
