// Product manifests: the TOML file that describes what one product's setup
// program installs. Reading one validates it completely, so that everything
// generated from it fits the fixed buffers of the setup program and the
// uninstaller.
//
//   [product]     name, folder, window_title, window_class, main_file,
//                 launch_file (required); launch_parameters, obsolete_files,
//                 version, publisher (optional)
//   [[file]]      id, source or built, name (required); shortcut (optional)
//   [[registry]]  root, key (required); value (optional; empty: the whole key)
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace wrenfield::manifest {

// Lengths in characters (bytes: every text is printable ASCII).
inline constexpr size_t kMaxProductName = 123;       // "Thank you for installing %s!" and friends
inline constexpr size_t kMaxShortName = 15;          // folder, window title and class: char[16]
inline constexpr size_t kMaxRegistryText = 255;      // char[256]
inline constexpr size_t kMaxLaunchParameters = 255;  // char[256]
inline constexpr size_t kMaxPath = 259;              // MAX_PATH less the terminator
inline constexpr size_t kMaxInstallFolder = 119;     // the longest install folder setup accepts
inline constexpr size_t kMaxInstalledName = kMaxPath - kMaxInstallFolder - 1;  // 139
inline constexpr size_t kProgramsFolderBudget = 128;  // the Start-menu Programs folder
inline constexpr std::string_view kLinkExtension = ".lnk";

// Resource ids of the programs' own resources, which the payload must not take.
inline constexpr uint16_t kReservedIds[] = {1, 117, 287, 288, 292};
inline constexpr uint16_t kUninstallerId = 292;

// The registry roots the uninstaller knows.
inline constexpr std::string_view kRegistryRoots[] = {"HKCR", "HKCU", "HKLM", "HKU", "HKPD", "HKCC", "HDD"};

// Setup registers the uninstaller under this key plus the product name.
inline constexpr std::string_view kUninstallKeyPrefix = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// One file that setup installs.
struct PayloadRow {
    uint16_t id = 0;        // resource id of the compressed file
    std::string source;     // absolute path of the file; empty for a built file
    std::string built;      // file name in the product's build folder; empty for a source file
    std::string name;       // installed name, relative to the install folder
    std::string shortcut;   // Start-menu link name without ".lnk"; empty: none
};

// Registry data that the uninstaller removes.
struct RegistryRow {
    std::string root;
    std::string key;
    std::string value;  // empty: the whole key
};

struct Manifest {
    std::string fileName;    // the manifest's own file name, without its folder
    std::string productKey;  // the name of the manifest's folder
    std::string name;
    std::string folder;
    std::string windowTitle;
    std::string windowClass;
    int mainFile = 0;
    int launchFile = -1;  // -1: start nothing
    std::string launchParameters;
    std::vector<std::string> obsoleteFiles;
    std::string version;
    std::string publisher;
    std::vector<PayloadRow> files;
    std::vector<RegistryRow> registry;
};

// Why a manifest was refused.
struct Problem {
    std::string file;  // the manifest's path as given
    long line = 0;     // 0: no line
    long column = 0;   // 0: no column
    std::string reason;

    // "file:line:column: reason", leaving out what is not known.
    std::string Message() const;
};

// Reads and validates the manifest at path. On refusal returns false and sets problem.
bool Load(const std::filesystem::path& path, Manifest& manifest, Problem& problem);

// Validates manifest text as if it had been read from path: source files are
// looked up in path's folder. On refusal returns false and sets problem.
bool Parse(std::string_view text, const std::filesystem::path& path, Manifest& manifest, Problem& problem);

}  // namespace wrenfield::manifest
