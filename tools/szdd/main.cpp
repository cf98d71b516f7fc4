// szdd: compress files to SZDD, expand them, and show their headers.
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "file_io.h"
#include "szdd.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // a file could not be read, decoded or written
constexpr int kExitUsage = 2;

constexpr char kUsage[] =
    "usage: szdd compress IN OUT [--last-char C]   (C: one character, '' for none;\n"
    "                                             default: last character of IN's name)\n"
    "       szdd expand IN OUT\n"
    "       szdd info FILE\n";

// Prints a usage error and returns the usage exit code.
int UsageError(const std::string& message) {
    std::fprintf(stderr, "szdd: %s\n%s", message.c_str(), kUsage);
    return kExitUsage;
}

// Prints an error about a file and returns the failure exit code.
int FileError(const std::string& path, const std::string& message) {
    std::fprintf(stderr, "szdd: %s: %s\n", path.c_str(), message.c_str());
    return kExitFailed;
}

// Returns the last character of the file name in path, 0 if there is none.
char LastCharOfName(const std::string& path) {
    size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.empty() ? '\0' : name.back();
}

// Compresses in to out; lastChar < 0 means take it from in's name.
int CompressFile(const std::string& in, const std::string& out, int lastChar) {
    constexpr char kTooLarge[] = "too large for SZDD (over 4 GiB - 1 bytes)";
    std::error_code ec;
    if (auto size = std::filesystem::file_size(in, ec); !ec && size > szdd::kMaxExpandedSize) {
        return FileError(in, kTooLarge);  // before reading it all
    }
    std::vector<uint8_t> data;
    std::string error;
    if (!szdd::io::ReadFile(in, data, error)) return FileError(in, error);
    if (data.size() > szdd::kMaxExpandedSize) return FileError(in, kTooLarge);
    char c = lastChar < 0 ? LastCharOfName(in) : char(lastChar);
    std::vector<uint8_t> packed = szdd::Compress(data.data(), data.size(), c);
    if (!szdd::io::WriteFileAtomic(out, packed.data(), packed.size(), error)) return FileError(out, error);
    return kExitOk;
}

// Expands in to out.
int ExpandFile(const std::string& in, const std::string& out) {
    std::vector<uint8_t> packed, data;
    std::string error;
    if (!szdd::io::ReadFile(in, packed, error)) return FileError(in, error);
    if (szdd::Error e = szdd::Expand(packed.data(), packed.size(), data); e != szdd::Error::Ok) {
        return FileError(in, szdd::Describe(e));
    }
    if (!szdd::io::WriteFileAtomic(out, data.data(), data.size(), error)) return FileError(out, error);
    return kExitOk;
}

// Prints the header of path; the data itself is not checked.
int ShowInfo(const std::string& path) {
    std::vector<uint8_t> packed;
    std::string error;
    if (!szdd::io::ReadFile(path, packed, error)) return FileError(path, error);
    szdd::Info info;
    if (szdd::Error e = szdd::ReadInfo(packed.data(), packed.size(), info); e != szdd::Error::Ok) {
        return FileError(path, szdd::Describe(e));
    }
    std::printf("file:            %s\n", path.c_str());
    std::printf("signature:       ok\n");
    std::printf("mode:            %c\n", char(szdd::kModeA));
    if (info.lastChar == 0) {
        std::printf("last character:  none (0x00)\n");
    } else if (info.lastChar >= 0x20 && info.lastChar < 0x7F) {
        std::printf("last character:  '%c' (0x%02X)\n", info.lastChar, info.lastChar);
    } else {
        std::printf("last character:  0x%02X\n", info.lastChar);
    }
    std::printf("expanded size:   %" PRIu32 " bytes\n", info.expandedSize);
    std::printf("stored size:     %zu bytes\n", packed.size());
    if (info.expandedSize > 0) {
        std::printf("ratio:           %.1f%%\n", 100.0 * double(packed.size()) / info.expandedSize);
    } else {
        std::printf("ratio:           n/a (empty)\n");
    }
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return UsageError("no command given");
    if (args[0] == "-h" || args[0] == "--help" || args[0] == "help") {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    const std::string command = args[0];
    std::vector<std::string> files;
    int lastChar = -1;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string value;
        if (a == "--last-char") {
            if (i + 1 == args.size()) return UsageError("--last-char needs a value");
            value = args[++i];
        } else if (a.rfind("--last-char=", 0) == 0) {
            value = a.substr(std::strlen("--last-char="));
        } else if (a.size() > 1 && a[0] == '-') {
            return UsageError("unknown option '" + a + "'");
        } else {
            files.push_back(a);
            continue;
        }
        if (command != "compress") return UsageError("--last-char only applies to compress");
        if (value.size() > 1) return UsageError("--last-char takes one character, not '" + value + "'");
        lastChar = value.empty() ? 0 : uint8_t(value[0]);
    }

    if (command == "compress" || command == "expand") {
        if (files.size() != 2) return UsageError(command + " takes an input and an output file");
        return command == "compress" ? CompressFile(files[0], files[1], lastChar) : ExpandFile(files[0], files[1]);
    }
    if (command == "info") {
        if (files.size() != 1) return UsageError("info takes one file");
        return ShowInfo(files[0]);
    }
    return UsageError("unknown command '" + command + "'");
}
