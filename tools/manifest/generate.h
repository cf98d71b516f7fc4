// The files generated from a manifest for the Windows build of its setup program.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "manifest.h"

namespace wrenfield::manifest {

inline constexpr char kRowsHeaderName[] = "setup_rows.h";                // the row counts
inline constexpr char kDescriptionName[] = "setup_description.cpp";      // the Description record
inline constexpr char kResourceScriptName[] = "payload.rc";              // the payload resources
inline constexpr char kBuildSettingsName[] = "payload.cmake";            // what the build reads

// The longest line the generated C++ keeps a table column on before it puts one text per line.
inline constexpr size_t kMaxLineWidth = 100;

struct GeneratedFile {
    std::string name;  // file name in the output folder
    std::string text;
};

// Returns the four generated files of a validated manifest, in the order listed above.
std::vector<GeneratedFile> Generate(const Manifest& manifest);

// Returns text as the inside of a C string literal: backslash, quote and '?' (no
// trigraphs) escaped, any byte outside printable ASCII as a three-digit octal escape.
std::string EscapeC(std::string_view text);

// Returns text as the inside of a CMake quoted argument holding one list element:
// backslash, quote, '$' and ';' escaped, so it reads back as written and never splits.
std::string EscapeCMake(std::string_view text);

}  // namespace wrenfield::manifest
